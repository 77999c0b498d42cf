// The input is the bytes of a history file.
//
// Opened only to read, the file stays byte for byte as it was and nothing is set
// beside it. Opened to write, it is used as it is, brought forward, or salvaged: then
// the damaged bytes are kept beside it, and the new history holds what reading showed
// (the same number of sessions). Either way the history then takes a session and
// reads back one more, or says why not; a history that cannot be opened says why and
// is left as it was.
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "scoring/History.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace lumbrel;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The files set beside the history (not its own -wal and -shm).
QStringList Beside(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral("history.sqlite.*")}, QDir::Files);
}

SessionRecord Sample() {
    SessionRecord r;
    r.ended = QDateTime(QDate(2024, 3, 1), QTime(8, 0));
    r.source = QStringLiteral("groups");
    r.order = QStringLiteral("koch");
    r.characterCount = 5;
    r.characterWpm = 25;
    r.charactersSent = 10;
    r.wrong = 1;
    r.accuracy = 90;
    r.characters = {{QStringLiteral("k"), 10, 0, 1, 0}};
    r.confusions = {{QStringLiteral("k"), QStringLiteral("r"), 1}};
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);  // Qt SQL loads its driver through it
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString folder = fuzz::DataFolder() + QStringLiteral("/history");
    QDir(folder).removeRecursively();
    const QString path = fuzz::WriteDataFile(QStringLiteral("history/history.sqlite"), bytes);

    std::optional<std::size_t> read;
    {
        History h(path);
        if (h.OpenToRead())
            read = h.Sessions().size();
        else
            FUZZ_CHECK(!h.Problem().isEmpty());
    }
    FUZZ_CHECK(ReadAll(path) == bytes);
    FUZZ_CHECK(Beside(folder).isEmpty());

    History h(path);
    if (!h.Open()) {
        FUZZ_CHECK(!h.Problem().isEmpty());
        FUZZ_CHECK(ReadAll(path) == bytes);
        FUZZ_CHECK(Beside(folder).isEmpty());
        return 0;
    }
    const std::size_t kept = h.Sessions().size();
    FUZZ_CHECK(read.has_value() && kept == *read);
    if (!h.SetAsidePath().isEmpty()) {
        FUZZ_CHECK(ReadAll(h.SetAsidePath()) == bytes);
        FUZZ_CHECK(!h.TakeNotice().isEmpty());
    }
    if (h.Add(Sample()))
        FUZZ_CHECK(h.Sessions().size() == kept + 1);
    else
        FUZZ_CHECK(!h.Problem().isEmpty());
    return 0;
}
