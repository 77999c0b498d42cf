// The input is a text file, played as "Play Text File" plays it.
//
// First the file is read the way the trainer reads it, without the engine: the line
// reader must cut it into the same lines as a plain reading of its line ends (also when
// a chunk boundary of the reader falls anywhere in it), the kind found by the one-pass
// scan must agree with what the line source does, and every line of a file of
// parameter lines goes through the parameter line parser. Then a trainer on virtual
// time plays the file through its engine for a bounded number of buffers, so that what
// the symbol source picks is also rendered, and the session must come to rest.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/TextFileCheck.h"

using namespace lumbrel;
using lumbrel::fuzz::Session;

namespace {

// Plays the file through a trainer's engine for a bounded number of buffers.
void PlayThroughEngine(const QString& path, QByteArrayView input) {
    const std::uint32_t h = fuzz::InputHash(input);
    SettingsStore store = fuzz::EveryCharacterStore();
    fuzz::VarySignal(store, h);

    Session session(store, h);
    Trainer& t = session.trainer();
    // Dropped on the window or chosen in the open dialog: either way the file plays.
    if ((h >> 24) & 1)
        t.FilesDropped({path});
    else
        t.PlayTextFile(path);
    FUZZ_CHECK(t.SessionActive());
    FUZZ_CHECK(t.Source() == SourceKind::SequentialText);
    session.RunBounded(16, 10 * 60'000);

    // Nothing of a file of stations stays behind once its session is over.
    FUZZ_CHECK(!t.Display().ParameterLineMode());
    FUZZ_CHECK(!t.Signal().Switches().DriftOn);
    FUZZ_CHECK(t.Readouts().CommandsEnabled());
    FUZZ_CHECK(!t.Readouts().ClockRunning());
    session.CheckNoMessages();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = fuzz::WriteDataFile(QStringLiteral("Text Files/input.txt"), input);
    fuzz::CheckTextFileSource(path, input);
    fuzz::CheckLineReaderAcrossChunks(input);
    PlayThroughEngine(path, input);
    return 0;
}
