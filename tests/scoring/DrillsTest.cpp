// The rules of the drills, driven by a scripted learner: instant recognition (the
// characters missed or slow come back more often, the outcome of each answer, the
// end, the result slowest first and the known rule) and callsign runs (the speed
// steps within its range, the points, one replay, the marked copy).
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QRegularExpression>

#include <map>
#include <set>

#include <QFile>
#include <QTemporaryDir>

#include "drills/DrillControllers.h"
#include "morse/LearningOrders.h"
#include "recording/WavFile.h"
#include "scoring/CallsignRun.h"
#include "scoring/DrillProgress.h"
#include "scoring/RecognitionDrill.h"
#include "session/VirtualSession.h"
#include "text/DataFolders.h"
#include "text/RealCalls.h"

namespace lumbrel {
namespace {

using Outcome = RecognitionDrill::Outcome;

TEST(RecognitionDrill, MissedAndSlowCharactersComeBackMoreOftenAndLeadTheResult)
{
    // k and m from the history: m missed half of 40 times, counted as 10 tries.
    RecognitionDrill weighed({"K", "m"}, {}, {{"k", {10, 0}}, {"m", {40, 20}}}, {}, 1);
    EXPECT_EQ(weighed.Weights(), (std::vector<int>{25, 150}));

    // Two earlier drills: k right and fast both times, m slow once.
    DrillRecord fast;
    fast.answers = {{"k", "k", 300}, {"m", "m", 500}};
    DrillRecord slow = fast;
    slow.answers[1].reactionMs = 1200;
    RecognitionOptions options;
    options.characters = 400;
    RecognitionDrill drill({"k", "m", "r", "s"}, options, {}, {fast, slow}, 7);

    // The learner: k at once, m a little later, r always taken for k, s slow and
    // every third s not at all; the drill runs on its own clock.
    std::map<QString, int> played;
    qint64 now = 0;
    while (!drill.Over(now)) {
        const QString c = drill.Next();
        const int n = ++played[c];
        const std::map<QString, std::pair<QString, int>> script = {
            {"k", {"k", 400}}, {"m", {"M", 800}}, {"r", {"k", 900}}, {"s", {n % 3 == 0 ? "" : "s", 1600}}};
        const auto& [answer, ms] = script.at(c);
        const Outcome outcome = drill.Answer(c, answer, answer.isEmpty() ? -1 : ms);
        EXPECT_EQ(outcome, c == "r" ? Outcome::Wrong : answer.isEmpty() ? Outcome::TooLate : Outcome::Right)
            << c.toStdString();
        now += 500 + (answer.isEmpty() ? options.timeLimitMs : ms);
    }
    EXPECT_EQ(drill.Answers().size(), 400u);
    EXPECT_GT(played["r"], 5 * played["k"]);
    EXPECT_GT(played["s"], 2 * played["m"]);
    EXPECT_GT(played["k"], 0);
    EXPECT_GT(played["m"], 0);

    const std::vector<RecognitionStats> results = drill.Results();
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(results[0].character, "r");
    EXPECT_EQ(results[0].right, 0);
    EXPECT_EQ(results[1].character, "s");
    EXPECT_EQ(results[1].medianMs, 1600);
    EXPECT_EQ(results[1].timedOut, played["s"] / 3);
    EXPECT_EQ(results[2].character, "m");
    EXPECT_EQ(results[3].character, "k");
    EXPECT_DOUBLE_EQ(results[3].Accuracy(), 100.0);
    // Known: right with a median under 1 s in each of the last three drills with it.
    EXPECT_EQ(drill.Known(), QSet<QString>{"k"});
    EXPECT_EQ(drill.Record(QDateTime(), 60).answers.size(), 400u);
}

TEST(RecognitionDrill, AnswersCountByTheTimeLimitAndTheDrillEndsByCountOrMinutes)
{
    RecognitionDrill drill({"k"}, {.characters = 0, .minutes = 1}, {}, {}, 3);
    for (const auto& [answer, ms, outcome] :
         {std::tuple{"K", 3000, Outcome::Right}, std::tuple{"k", 3001, Outcome::TooLate},
          std::tuple{"", -1, Outcome::TooLate}, std::tuple{"m", 100, Outcome::Wrong}})
        EXPECT_EQ(drill.Answer("k", answer, ms), outcome) << answer << ms;
    EXPECT_FALSE(drill.Over(59'999));
    EXPECT_TRUE(drill.Over(60'000));
    RecognitionDrill counted({"k"}, {.characters = 2}, {}, {}, 3);
    counted.Answer("k", "k", 100);
    EXPECT_FALSE(counted.Over(1'000'000));
    counted.Answer("k", "k", 100);
    EXPECT_TRUE(counted.Over(0));
}

TEST(CallsignRun, TheSpeedStepsWithEachCallWithinTenToEightyAndRightCallsScoreBySpeed)
{
    // R right, r right after a replay, W one character wrong; the speed before each call.
    struct Row {
        int start, step;
        const char* script;
        std::vector<int> speeds;
    };
    for (const Row& row : {Row{76, 3, "RRRWr", {76, 79, 80, 80, 77, 80}}, Row{12, 2, "WWRW", {12, 10, 10, 12, 10}},
                           Row{5, 50, "R", {10, 30}}}) {
        const int calls = static_cast<int>(std::strlen(row.script));
        CallsignRun run({.calls = calls, .startWpm = row.start, .stepWpm = row.step}, 11, 1000);
        int score = 0;
        int top = 0;
        for (int k = 0; k < calls; ++k) {
            const char step = row.script[k];
            ASSERT_EQ(run.Wpm(), row.speeds[static_cast<std::size_t>(k)]) << row.script << k;
            const QString call = run.Call();
            ASSERT_TRUE(call.contains(QRegularExpression("^[A-Z0-9/]*[0-9][A-Z]+(/[A-Z]+)?$"))) << call.toStdString();
            if (step == 'r') {
                EXPECT_TRUE(run.Replay());
                EXPECT_FALSE(run.Replay());
            }
            QString copy = call.toLower();
            if (step == 'W')
                copy.back() = copy.back() == QLatin1Char('x') ? QLatin1Char('y') : QLatin1Char('x');
            const auto checked = run.Enter(copy);
            ASSERT_TRUE(checked.has_value());
            const int full = row.speeds[static_cast<std::size_t>(k)] * static_cast<int>(call.size());
            EXPECT_EQ(checked->attempt.points, step == 'W' ? 0 : step == 'r' ? full / 2 : full);
            const auto& columns = checked->score.Columns();
            EXPECT_EQ(std::count_if(columns.begin(), columns.end(),
                                    [](const CopyScore::Column& c) { return c.mark == CopyScore::Mark::Wrong; }),
                      step == 'W' ? 1 : 0);
            score += checked->attempt.points;
            if (step != 'W')
                top = std::max(top, row.speeds[static_cast<std::size_t>(k)]);
        }
        EXPECT_EQ(run.Wpm(), row.speeds.back()) << row.script;
        EXPECT_TRUE(run.Over());
        EXPECT_TRUE(run.Call().isEmpty());
        EXPECT_FALSE(run.Enter("k1abc").has_value());
        EXPECT_EQ(run.Score(), score);
        EXPECT_EQ(run.TopWpm(), top);
        EXPECT_EQ(run.NewBest(), score > 1000);
        EXPECT_EQ(run.Missed().size(), static_cast<std::size_t>(std::count(row.script, row.script + calls, 'W')));
        EXPECT_EQ(run.Record(QDateTime(), 1).score, score);
    }
}

TEST(CallsignRun, ARunDrawsRealCallsOrOnlyTheOnesMissedBefore)
{
    QTemporaryDir dir;
    const QString list = dir.filePath("calls.scp");
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#\n# Release 1\n\ndl1abc\r\nW6/G3XYZ\nNOCALL\nk1 abc\nVERYLONGCALLSIGN1X\n9A2AA\n");
    file.close();
    EXPECT_EQ(ReadCallList(list), (std::vector<std::string>{"DL1ABC", "W6/G3XYZ", "9A2AA"}));
    EXPECT_TRUE(ReadCallList(dir.filePath("none")).empty());
    // Without MASTER.SCP installed the shipped sample serves; either holds thousands.
    EXPECT_GT(ReadCallList(RealCallsPath(DefaultProgramFolder())).size(), 2000u);

    DrillRecord before;
    before.calls = {{"K1ABC", "k1abc"}, {"DL1XY", "dl1xx"}, {"G3ZZZ", ""}, {"DL1XY", "dl1x"}};
    const std::vector<std::string> missed = CallsignRun::MissedCalls({before});
    EXPECT_EQ(missed, (std::vector<std::string>{"DL1XY", "G3ZZZ"}));
    for (const auto& pool : {ReadCallList(list), missed}) {
        CallsignRun run({.calls = 20}, 3, std::nullopt);
        run.DrawFrom(pool);
        std::set<std::string> heard;
        while (!run.Over()) {
            heard.insert(run.Call().toStdString());
            run.Enter(run.Call());
        }
        EXPECT_EQ(heard, std::set<std::string>(pool.begin(), pool.end()));
    }
}

// The drills as the window runs them: through the trainer's engine on the virtual clock
// and device at 20 WPM (a unit of 60 ms), stored in a history file and read back as the
// progress window does.
struct DrillRig : DrillView {
    VirtualSession session{SettingsStore::InMemory(), 3};
    VirtualClock& clock = session.clock();
    CharacterPlayer player{session.trainer().Engine(), session.trainer().Signal(), session.trainer().Controls(),
                           session.trainer().Store()};
    QTemporaryDir dir;
    History history{dir.filePath("history.sqlite")};
    std::vector<CallsignRun::Checked> checked;
    std::optional<qint64> stored;

    DrillRig()
    {
        session.CreateAndShow();
        session.claim = [this](int message, std::intptr_t, std::intptr_t lParam) {
            return player.TakeMessage(message, lParam);
        };
    }
    // Plays on until pred holds; the tick it held at.
    std::uint32_t RunUntil(const std::function<bool()>& pred)
    {
        EXPECT_TRUE(session.RunUntil(pred, 20000));
        return clock.TickCount();
    }
    static const MorseCharacter* Lookup(const QString& display)
    {
        for (const MorseCharacter& c : LearningOrderTable(LearningOrder::Koch))
            if (c.display.compare(display, Qt::CaseInsensitive) == 0)
                return &c;
        return nullptr;
    }
    // From the first mark to the end of the last: the marks and the gaps between them,
    // and between characters the three units of a character gap.
    static int SoundMs(const QString& text)
    {
        int units = 3 * (static_cast<int>(text.size()) - 1);
        for (const QChar c : text) {
            const QByteArray code = Lookup(QString(c))->code;
            units += static_cast<int>(code.size()) - 1 + 3 * static_cast<int>(code.count('-')) + code.count('.');
        }
        return 60 * units;
    }
    void CallChecked(const CallsignRun::Checked& c) override { checked.push_back(c); }
    void Finished(const DrillRecord&, std::optional<qint64> id) override { stored = id; }
};

TEST(DrillControllers, ReactionTimesRunFromTheHeardEndAndMissesAreReplayedThenStored)
{
    DrillRig rig;
    RecognitionOptions options;
    options.characters = 40;
    options.characterWpm = 20;
    RecognitionDrillController drill(rig.player, rig.clock, &DrillRig::Lookup,
                                     std::make_unique<RecognitionDrill>(QStringList{"k", "m", "r", "s"}, options,
                                                                        MissTallies{}, std::vector<DrillRecord>{}, 5),
                                     {.wpm = 20, .pitchHz = 700}, &rig.history, rig);
    // k at once, m later, r taken for k, s never in time (the limit is 3 s).
    const std::map<QString, std::pair<QString, int>> script = {
        {"k", {"k", 400}}, {"m", {"m", 1800}}, {"r", {"k", 900}}, {"s", {"", 3001}}};
    using State = RecognitionDrillController::State;
    drill.Start();
    std::map<QString, int> played;
    while (drill.CurrentState() != State::Over) {
        ASSERT_EQ(drill.CurrentState(), State::Playing);
        const QString c = drill.Current();
        ++played[c];
        const std::uint32_t playedAt = rig.clock.TickCount();
        ASSERT_EQ(rig.RunUntil([&] { return drill.CurrentState() == State::Waiting; }),
                  playedAt + static_cast<std::uint32_t>(DrillRig::SoundMs(c))) << c.toStdString();
        ASSERT_EQ(*drill.HeardTick(), rig.clock.TickCount());
        const auto& [answer, delay] = script.at(c);
        rig.clock.Advance(delay);
        if (answer.isEmpty())
            drill.Tick();
        else
            drill.KeyTyped(answer);
        if (answer != c) {
            // Shown and played again; the drill goes on after a pause.
            ASSERT_EQ(drill.CurrentState(), State::Correcting);
            const std::uint32_t again = rig.clock.TickCount();
            EXPECT_EQ(rig.RunUntil([&] { return drill.CurrentState() == State::Pausing; }),
                      again + static_cast<std::uint32_t>(DrillRig::SoundMs(c)));
            rig.clock.Advance(RecognitionDrillController::kPauseAfterCorrectionMs);
            drill.Tick();
        }
    }
    EXPECT_GT(played["r"] + played["s"], 2 * (played["k"] + played["m"]));
    ASSERT_TRUE(rig.stored.has_value());

    const std::vector<DrillRecord> drills = rig.history.Drills(DrillKind::Recognition);
    ASSERT_EQ(drills.size(), 1u);
    ASSERT_EQ(drills[0].answers.size(), 40u);
    for (const RecognitionStats& s : RecognitionByCharacter(drills)) {
        const auto& [answer, delay] = script.at(s.character);
        EXPECT_EQ(s.shown, played[s.character]);
        EXPECT_EQ(s.right, answer == s.character ? s.shown : 0) << s.character.toStdString();
        EXPECT_EQ(s.timedOut, answer.isEmpty() ? s.shown : 0);
        EXPECT_EQ(s.medianMs, answer == s.character ? delay : -1);
    }
}

TEST(DrillControllers, ACallsignRunReplaysAtOnceStepsTheSpeedAndKeepsTheBestScore)
{
    DrillRig rig;
    auto run = std::make_unique<CallsignRun>(CallsignRunOptions{.calls = 3, .startWpm = 20, .stepWpm = 4}, 9,
                                             rig.history.BestCallsignScore());
    CallsignRunController runner(rig.player, rig.clock, &DrillRig::Lookup, std::move(run), {.pitchHz = 600},
                                 &rig.history, rig);
    std::optional<std::uint32_t> heard;
    rig.player.heard = [&heard](std::uint32_t tick) { heard = tick; };
    auto wav = std::make_unique<WavFile>(rig.dir.filePath("armed.wav"));
    const WavFile& armed = *wav;
    rig.session.trainer().Recorder().ArmWav(std::move(wav));
    runner.Start();
    // The first call at 20 WPM, a character per buffer as in a session; a replay a
    // moment into it drops it, starts at the key and is heard to its last mark.
    const QString first = runner.Run().Call();
    rig.session.RunFor(250);
    EXPECT_TRUE(runner.Replay());
    EXPECT_FALSE(runner.Replay());
    const std::uint32_t replayed = rig.clock.TickCount();
    EXPECT_EQ(rig.RunUntil([&] { return heard.has_value(); }), replayed + DrillRig::SoundMs(first));
    runner.Enter(first);             // right, replayed: half its points; 24 WPM next
    runner.Enter(QStringLiteral("?"));  // wrong: 20 WPM next
    runner.Enter(runner.Run().Call());
    ASSERT_EQ(runner.CurrentState(), CallsignRunController::State::Over);
    ASSERT_EQ(rig.checked.size(), 3u);
    EXPECT_EQ(rig.checked[0].attempt.points, 20 * static_cast<int>(first.size()) / 2);
    EXPECT_EQ(rig.checked[1].attempt.wpm, 24);
    EXPECT_EQ(rig.checked[1].attempt.points, 0);
    EXPECT_EQ(rig.checked[2].attempt.wpm, 20);
    EXPECT_EQ(rig.history.BestCallsignScore(), runner.Run().Score());
    EXPECT_EQ(rig.history.Drills(DrillKind::Callsigns).at(0).CallsMissed(), 1);
    EXPECT_EQ(armed.DataBytes(), 0u);  // a recording armed for the next session gets none of it
}

}  // namespace
}  // namespace lumbrel
