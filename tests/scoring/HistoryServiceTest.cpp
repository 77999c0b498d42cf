// The history service on a real database file: one record per session, the misses
// that favour characters, the drills set up from the drills before, what it reports;
// and the advice after a checked copy.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QFile>
#include <QTemporaryDir>

#include "scoring/CopyAdvice.h"
#include "scoring/HistoryService.h"

namespace lumbrel {
namespace {

struct ServiceRig {
    QTemporaryDir dir;
    QString path = dir.filePath("history.sqlite");
    HistoryService service{path};
    std::vector<HistoryService::Report> reports;
    ServiceRig() {
        service.SetListener([this](const HistoryService::Report& r) { reports.push_back(r); });
    }
    std::vector<SessionRecord> Stored() {
        History h(path);
        return h.Open() ? h.Sessions() : std::vector<SessionRecord>{};
    }
};

SessionRecord Checked(double accuracy) {
    SessionRecord r;
    r.ended = QDateTime(QDate(2024, 5, 1), QTime(9, 0));
    r.source = QStringLiteral("groups");
    r.charactersSent = 100;
    r.accuracy = accuracy;
    return r;
}

TEST(HistoryService, ACopyCheckedAgainWritesOverItsSessionsRecordAndAProblemIsToldOnce) {
    ServiceRig rig;
    // session, accuracy, then the accuracies stored
    const std::vector<std::tuple<int, double, std::vector<double>>> steps = {
        {1, 50, {50}}, {1, 80, {80}}, {2, 60, {80, 60}}, {1, 90, {90, 60}}};
    for (const auto& [session, accuracy, expected] : steps) {
        EXPECT_TRUE(rig.service.StoreCheckedCopy(session, Checked(accuracy)).id.has_value());
        std::vector<double> stored;
        for (const SessionRecord& r : rig.Stored())
            stored.push_back(r.accuracy);
        EXPECT_EQ(stored, expected) << session << " " << accuracy;
    }
    // Its record deleted by the progress window meanwhile: checked again, it comes back.
    ASSERT_TRUE(rig.service.Open(HistoryService::Use::Write)->DeleteSession(rig.Stored()[1].id));
    EXPECT_TRUE(rig.service.StoreCheckedCopy(2, Checked(70)).id.has_value());
    EXPECT_EQ(rig.Stored().size(), 2u);
    EXPECT_TRUE(rig.reports.empty());

    // A history in a folder that is a file: nothing stored, the problem reported as new once.
    QFile(rig.dir.filePath("file")).open(QIODevice::WriteOnly);
    HistoryService unusable(rig.dir.filePath("file/history.sqlite"));
    unusable.SetListener([&rig](const HistoryService::Report& r) { rig.reports.push_back(r); });
    EXPECT_FALSE(unusable.StoreCheckedCopy(1, Checked(90)).usable);
    EXPECT_EQ(unusable.Open(HistoryService::Use::Write), nullptr);
    ASSERT_EQ(rig.reports.size(), 2u);
    EXPECT_FALSE(rig.reports[0].problem.isEmpty());
    EXPECT_TRUE(rig.reports[0].newProblem);
    EXPECT_FALSE(rig.reports[1].newProblem);
}

TEST(HistoryService, FavouredMissesFollowTheOptionAndARightAnswerPastTheTargetIsHalfAMiss) {
    ServiceRig rig;
    // answer, ms, early, then the tries and misses of its character (target 1 s)
    const std::vector<std::tuple<RecognitionAnswer, double, double>> answers = {
        {{"k", "k", 1000}, 1, 0}, {{"m", "m", 1001}, 1, 0.5},   {{"r", "x", 500}, 1, 1},
        {{"s", "", -1}, 1, 1},    {{"t", "t", -1, true}, 0, 0},
    };
    DrillRecord drill;
    for (const auto& a : answers)
        drill.answers.push_back(std::get<0>(a));
    ASSERT_TRUE(rig.service.Open(HistoryService::Use::Write)->AddDrill(drill));
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::DrillTarget, 1000);
    const auto source = rig.service.FavouredMissesSource(store);
    EXPECT_TRUE(source().isEmpty());
    store.Write(keys::FavourMissed, 1);
    const MissTallies tallies = source();
    for (const auto& [a, tries, missed] : answers) {
        EXPECT_DOUBLE_EQ(tallies.value(a.character).tries, tries) << a.character.toStdString();
        EXPECT_DOUBLE_EQ(tallies.value(a.character).missed, missed) << a.character.toStdString();
    }
}

TEST(HistoryService, DrillsAreSetUpFromTheDrillsBeforeOrWithoutThemWhenTheHistoryCannotBeUsed) {
    ServiceRig rig;
    History* history = rig.service.Open(HistoryService::Use::Write);
    ASSERT_NE(history, nullptr);
    DrillRecord known;  // k right and fast, m always wrong, in each of three drills
    known.answers.insert(known.answers.end(), kKnownAnswers, {"k", "k", 300});
    known.answers.insert(known.answers.end(), kKnownAnswers, {"m", "r", 300});
    for (int k = 0; k < kKnownDrills; ++k)
        ASSERT_TRUE(history->AddDrill(known));
    DrillRecord run;
    run.kind = DrillKind::Callsigns;
    run.calls = {{"K1ABC", "k1abc", 20, false, 100}, {"DL2XY", "dl2xv", 22, false, 0}};
    run.score = 100;
    ASSERT_TRUE(history->AddDrill(run));
    const auto realCalls = [] {
        return std::vector<std::string>{"W1AW"};
    };

    QFile(rig.dir.filePath("file")).open(QIODevice::WriteOnly);
    HistoryService unusable(rig.dir.filePath("file/history.sqlite"));
    for (HistoryService* service : {&rig.service, &unusable}) {
        const bool kept = service == &rig.service;
        HistoryService::RecognitionSetUp recognition = service->SetUpRecognition({"k", "m"}, {}, 1);
        EXPECT_EQ(recognition.keep != nullptr, kept);
        EXPECT_EQ(recognition.drill->Known(), kept ? QSet<QString>{"k"} : QSet<QString>{});
        EXPECT_EQ(recognition.drill->Weights(),
                  (kept ? std::vector<int>{25, 275} : std::vector<int>{25, 25}));
        for (const bool missedOnly : {false, true}) {
            HistoryService::CallsignSetUp callsigns =
                service->SetUpCallsignRun({.calls = 1}, 1, missedOnly, realCalls);
            EXPECT_EQ(callsigns.keep != nullptr, kept);
            EXPECT_EQ(callsigns.run->BestBefore(), kept ? std::optional<int>(100) : std::nullopt);
            EXPECT_EQ(callsigns.run->Call(), kept && missedOnly ? "DL2XY" : "W1AW");
        }
    }
}

TEST(CopyAdvice, TheKochVerdictFollowsTheSourceTheWholeSessionTheOfferAndTheCount) {
    using Verdict = CopyAdvice::Verdict;
    // source, seconds of a minute's session, characters in use, offered, copy, verdict
    const std::vector<std::tuple<SourceKind, int, int, bool, QString, Verdict>> cases = {
        {SourceKind::RandomGroups, 60, 5, true, "kmrsu kmrsu", Verdict::NextCharacter},
        {SourceKind::RandomGroups, 60, 5, false, "kmrsu kmrsu", Verdict::Reached},
        {SourceKind::RandomGroups, 60, 40, false, "kmrsu kmrsu", Verdict::EveryCharacter},
        {SourceKind::RandomGroups, 59, 5, false, "kmrsu kmrsu", Verdict::StoppedEarly},
        {SourceKind::RandomEntries, 10, 5, false, "kmrsu kmrsu", Verdict::WellCopied},
        {SourceKind::RandomGroups, 60, 5, true, "kmrsu kmxxx", Verdict::Short},
    };
    for (const auto& [source, seconds, count, offered, copy, verdict] : cases) {
        SessionSummary session;
        session.source = source;
        session.characterCount = count;
        session.sessionMinutes = 1;
        session.elapsedSeconds = seconds;
        session.text = "kmrsu kmrsu";
        const CopyAdvice advice = AdviseOnCopy(session, CopyScore::Score(session.text, copy),
                                               NextCharacterOffer{offered, count + 1, {}}, 40);
        EXPECT_EQ(advice.verdict, verdict) << copy.toStdString() << " " << seconds;
        EXPECT_EQ(advice.stoppedEarly.isEmpty(), verdict != Verdict::StoppedEarly);
        EXPECT_EQ(advice.shortfall.isEmpty(), verdict != Verdict::Short);
        EXPECT_EQ(advice.mostMissed.isEmpty(), verdict != Verdict::Short);
    }
}

}  // namespace
}  // namespace lumbrel
