// The input is a .session facts file as lumbrel-score --save reads it beside a
// transcript. Facts that are read must lie in their ranges, and written again they read
// back the same; facts that are refused say which file.
#include <cstddef>
#include <cstdint>

#include "scoring/SessionFacts.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace lumbrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = fuzz::WriteDataFile(QStringLiteral("facts/lesson.session"), bytes);
    const SessionFacts facts = ReadSessionFacts(path);
    if (!facts.Ok()) {
        FUZZ_CHECK(facts.problem.contains(QStringLiteral("lesson.session")));
        return 0;
    }
    const SessionSummary& s = facts.session;
    FUZZ_CHECK(s.characterCount >= 2 && s.characterCount <= 64);
    FUZZ_CHECK(s.characterWpm >= 1 && s.characterWpm <= 200);
    FUZZ_CHECK(s.effectivePermille >= 1 && s.effectivePermille <= 1000);
    FUZZ_CHECK(s.sessionMinutes >= 1 && s.sessionMinutes <= 60);
    FUZZ_CHECK(s.elapsedSeconds >= 0 && s.elapsedSeconds <= 24 * 3600);

    const QString again = fuzz::DataFolder() + QStringLiteral("/facts/again.session");
    FUZZ_CHECK(WriteSessionFacts(again, s, facts.seed).isEmpty());
    const SessionFacts reread = ReadSessionFacts(again);
    FUZZ_CHECK(reread.Ok());
    FUZZ_CHECK(SessionFactsText(reread.session, reread.seed) == SessionFactsText(s, facts.seed));
    return 0;
}
