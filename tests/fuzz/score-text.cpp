// The input is the sent text and the copy as lumbrel-score reads them from two files,
// split at the first NUL byte (a copy with NUL bytes of its own is refused). Texts that
// are read score consistently: every character of each text is in the aligned pair
// once and in order, the counts add up, and a text scored against itself is perfect.
#include <cstddef>
#include <cstdint>

#include "scoring/CopyScore.h"
#include "scoring/TextInput.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace lumbrel;

namespace {

// The characters of one side of the aligned pair, and those of the text compared.
FUZZ_NO_COVERAGE void CheckSide(const CopyScore& score, const QString& text, bool sent) {
    QString side;
    for (const CopyScore::Column& column : score.Columns()) {
        side += sent ? column.sent : column.copied;  // empty where the side has nothing
    }
    FUZZ_CHECK(side == CopyScore::Normalise(text).remove(QLatin1Char(' ')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype split = bytes.indexOf('\0');
    const QByteArrayView sentBytes = split < 0 ? bytes : bytes.first(split);
    const QByteArrayView copyBytes = split < 0 ? QByteArrayView() : bytes.sliced(split + 1);
    const ScoringText sent =
        ReadScoringText(fuzz::WriteDataFile(QStringLiteral("score/sent.txt"), sentBytes));
    const ScoringText copy = DecodeScoringText(copyBytes.toByteArray(), QStringLiteral("copy.txt"));
    if (!sent.Ok() || !copy.Ok()) {
        FUZZ_CHECK(sent.Ok() ? copy.problem.contains(QStringLiteral("copy.txt"))
                             : sent.problem.contains(QStringLiteral("sent.txt")));
        return 0;
    }
    const CopyScore score = CopyScore::Score(sent.text, copy.text);
    CheckSide(score, sent.text, true);
    CheckSide(score, copy.text, false);
    FUZZ_CHECK(score.Correct() + score.Wrong() + score.Dropped() == score.CharactersSent());
    FUZZ_CHECK(score.Accuracy() >= 0 && score.Accuracy() <= 100);
    FUZZ_CHECK(score.Exact());  // the inputs a fuzzer makes are far below the work limit
    const CopyScore self = CopyScore::Score(sent.text, sent.text);
    FUZZ_CHECK(self.Errors() == 0 && self.Exact());
    return 0;
}
