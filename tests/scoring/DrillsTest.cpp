// The rules of the drills, driven by a scripted learner: instant recognition (the
// characters missed or slow come back more often, the outcome of each answer, the
// end, the result slowest first and the known rule) and callsign runs (the speed
// steps within its range, the points, one replay, the marked copy); then the Drills
// window itself, typed into on the virtual clock and kept in a history file.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QRegularExpression>

#include <map>
#include <set>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include "drills/DrillControllers.h"
#include "morse/LearningOrders.h"
#include "recording/WavFile.h"
#include "scoring/CallsignRun.h"
#include "scoring/DrillProgress.h"
#include "scoring/RecognitionDrill.h"
#include "session/VirtualSession.h"
#include "ui/Drills.h"
#include "text/DataFolders.h"
#include "text/RealCalls.h"

namespace lumbrel {
namespace {

using Outcome = RecognitionDrill::Outcome;

TEST(RecognitionDrill, MissedAndSlowCharactersComeBackMoreOftenAndLeadTheResult) {
    // k and m from the history: m missed half of 40 times, counted as 10 tries.
    RecognitionDrill weighed({"K", "m"}, {}, {{"k", {10, 0}}, {"m", {40, 20}}}, {}, 1);
    EXPECT_EQ(weighed.Weights(), (std::vector<int>{25, 150}));

    // Two earlier drills: k right and fast five times in each, m slow once.
    DrillRecord fast;
    fast.answers = {{"m", "m", 500}};
    fast.answers.insert(fast.answers.end(), kKnownAnswers, {"k", "k", 300});
    DrillRecord slow = fast;
    slow.answers[0].reactionMs = 1200;
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
        EXPECT_EQ(outcome, c == "r"           ? Outcome::Wrong
                           : answer.isEmpty() ? Outcome::TooLate
                                              : Outcome::Right)
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

TEST(RecognitionDrill, AnswersCountByTheTimeLimitAndTheDrillEndsByCountOrMinutes) {
    RecognitionDrill drill({"k"}, {.characters = 0, .minutes = 1}, {}, {}, 3);
    // Early: typed before the heard end, without a time.
    for (const auto& [answer, ms, early, outcome] :
         {std::tuple{"K", 3000, false, Outcome::Right}, std::tuple{"k", 3001, false, Outcome::TooLate},
          std::tuple{"", -1, false, Outcome::TooLate}, std::tuple{"m", 100, false, Outcome::Wrong},
          std::tuple{"k", -1, true, Outcome::Early}, std::tuple{"m", -1, true, Outcome::Wrong}})
        EXPECT_EQ(drill.Answer("k", answer, ms, early), outcome) << answer << ms;
    EXPECT_EQ(drill.Answers()[4].reactionMs, -1);
    EXPECT_FALSE(drill.Over(59'999));
    EXPECT_TRUE(drill.Over(60'000));
    RecognitionDrill counted({"k"}, {.characters = 2}, {}, {}, 3);
    counted.Answer("k", "k", 100);
    EXPECT_FALSE(counted.Over(1'000'000));
    counted.Answer("k", "k", 100);
    EXPECT_TRUE(counted.Over(0));
}

TEST(CallsignRun, TheSpeedStepsWithEachCallUpToItsCeilingAndCallsScoreBySpeedAndErrors) {
    // R right, r right after a replay, W one character wrong (half the points), X two
    // wrong (none); the speed before each call, within 10 WPM and the ceiling.
    struct Row {
        int start, step, ceiling;
        const char* script;
        std::vector<int> speeds;
    };
    for (const Row& row :
         {Row{76, 3, 80, "RRRWr", {76, 79, 80, 80, 77, 80}}, Row{12, 2, 80, "WWRW", {12, 10, 10, 12, 10}},
          Row{5, 50, 150, "R", {10, 30}}, Row{146, 4, 150, "RRXW", {146, 150, 150, 146, 142}},
          Row{200, 4, 150, "r", {150, 150}}}) {
        const int calls = static_cast<int>(std::strlen(row.script));
        CallsignRun run({.calls = calls, .startWpm = row.start, .stepWpm = row.step, .maxWpm = row.ceiling},
                        11, 1000);
        int score = 0;
        int top = 0;
        for (int k = 0; k < calls; ++k) {
            const char step = row.script[k];
            ASSERT_EQ(run.Wpm(), row.speeds[static_cast<std::size_t>(k)]) << row.script << k;
            EXPECT_EQ(run.CallNumber(), k + 1);
            const QString call = run.Call();
            ASSERT_TRUE(call.contains(QRegularExpression("^[A-Z0-9/]*[0-9][A-Z]+(/[A-Z]+)?$")))
                << call.toStdString();
            if (step == 'r') {
                EXPECT_TRUE(run.Replay());
                EXPECT_FALSE(run.Replay());
            }
            QString copy = call.toLower();
            if (step == 'W' || step == 'X')
                copy.back() = copy.back() == QLatin1Char('x') ? QLatin1Char('y') : QLatin1Char('x');
            if (step == 'X')
                copy.front() = copy.front() == QLatin1Char('q') ? QLatin1Char('z') : QLatin1Char('q');
            const auto checked = run.Enter(copy);
            ASSERT_TRUE(checked.has_value());
            const int full = row.speeds[static_cast<std::size_t>(k)] * static_cast<int>(call.size());
            EXPECT_EQ(checked->attempt.points, step == 'X'                  ? 0
                                               : step == 'W' || step == 'r' ? full / 2
                                                                            : full);
            const auto& columns = checked->score.Columns();
            EXPECT_EQ(
                std::count_if(columns.begin(), columns.end(),
                              [](const CopyScore::Column& c) { return c.mark == CopyScore::Mark::Wrong; }),
                step == 'W'   ? 1
                : step == 'X' ? 2
                              : 0);
            score += checked->attempt.points;
            if (step != 'W' && step != 'X')
                top = std::max(top, row.speeds[static_cast<std::size_t>(k)]);
        }
        EXPECT_EQ(run.Wpm(), row.speeds.back()) << row.script;
        EXPECT_TRUE(run.Over());
        EXPECT_TRUE(run.Call().isEmpty());
        EXPECT_FALSE(run.Enter("k1abc").has_value());
        EXPECT_EQ(run.Score(), score);
        EXPECT_EQ(run.TopWpm(), top);
        EXPECT_EQ(run.NewBest(), score > 1000);
        EXPECT_EQ(run.Missed().size(),
                  static_cast<std::size_t>(std::count_if(row.script, row.script + calls,
                                                         [](char c) { return c == 'W' || c == 'X'; })));
        EXPECT_EQ(run.Record(QDateTime(), 1).score, score);
    }
}

TEST(DrillProgress, KnownNeedsFiveTimedAnswersInEachOfTheLastThreeDrillsWithIt) {
    auto d = [](int answers, int ms, bool early = false) {
        DrillRecord drill;
        drill.answers.assign(static_cast<std::size_t>(answers), {"k", "k", early ? -1 : ms, early});
        return drill;
    };
    for (const auto& [drills, targetMs, known] :  // early answers count for nothing; too few pass
         {std::tuple{std::vector{d(1, 300), d(1, 300), d(1, 300)}, 1000, false},
          std::tuple{std::vector{d(5, 300), d(5, 300), d(5, 300)}, 1000, true},
          std::tuple{std::vector{d(5, 300), d(5, 300), d(9, 0, true)}, 1000, false},
          std::tuple{std::vector{d(5, 300), d(5, 300), d(5, 300), d(4, 300)}, 1000, true},
          std::tuple{std::vector{d(5, 300), d(5, 300), d(5, 300), d(2, 1500)}, 1000, false},
          std::tuple{std::vector{d(5, 1500), d(5, 1500), d(5, 1500)}, 2000, true}})
        EXPECT_EQ(KnownCharacters(drills, targetMs).contains("k"), known) << drills.size() << " " << targetMs;
}

TEST(CallsignRun, ARunDrawsRealCallsOrOnlyTheOnesMissedBefore) {
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
    CharacterPlayer player{session.trainer().Engine(), session.trainer().Signal(),
                           session.trainer().Options(), session.trainer().Store()};
    QTemporaryDir dir;
    History history{dir.filePath("history.sqlite")};
    std::vector<CallsignRun::Checked> checked;
    std::optional<qint64> stored;

    DrillRig() {
        session.CreateAndShow();
        session.routing.SetDrillPlayer(&player);
    }
    // Plays on until pred holds; the tick it held at.
    std::uint32_t RunUntil(const std::function<bool()>& pred) {
        EXPECT_TRUE(session.RunUntil(pred, 20000));
        return clock.TickCount();
    }
    static const MorseCharacter* Lookup(const QString& display) {
        for (const MorseCharacter& c : LearningOrderTable(LearningOrder::Koch))
            if (c.display.compare(display, Qt::CaseInsensitive) == 0)
                return &c;
        return nullptr;
    }
    // From the first mark to the end of the last: the marks and the gaps between them,
    // and between characters the three units of a character gap.
    static int SoundMs(const QString& text) {
        int units = 3 * (static_cast<int>(text.size()) - 1);
        for (const QChar c : text) {
            const QByteArray code = Lookup(QString(c))->code;
            units +=
                static_cast<int>(code.size()) - 1 + 3 * static_cast<int>(code.count('-')) + code.count('.');
        }
        return 60 * units;
    }
    void CallChecked(const CallsignRun::Checked& c) override { checked.push_back(c); }
    void Finished(const DrillRecord&, std::optional<qint64> id) override { stored = id; }
};

TEST(DrillControllers, ACallToSpeakEndsWithItsAnswerSpokenAfterTheLastMark) {
    DrillRig rig;
    const std::vector<const MorseCharacter*> call = {DrillRig::Lookup("k"), DrillRig::Lookup("1"),
                                                     DrillRig::Lookup("a")};
    for (const bool speak : {false, true}) {
        std::optional<std::uint32_t> heard;
        rig.player.heard = [&](std::uint32_t tick) {
            heard = tick;
        };
        const std::uint32_t start = rig.clock.TickCount();
        ASSERT_TRUE(rig.player.Play(call, {.wpm = 20, .pitchHz = 700, .speak = speak}));
        rig.RunUntil([&] { return heard.has_value(); });
        // The call alone, or with two half-second pauses and the words between.
        const int extra = static_cast<int>(*heard - start) - DrillRig::SoundMs(QStringLiteral("k1a"));
        EXPECT_TRUE(speak ? extra > 1500 : extra == 0) << extra;
    }
}

TEST(DrillControllers, ReactionTimesRunFromTheHeardEndAndMissesAreReplayedThenStored) {
    DrillRig rig;
    RecognitionOptions options;
    options.characters = 40;
    options.characterWpm = 20;
    RecognitionDrillController drill(
        rig.player, rig.clock, &DrillRig::Lookup,
        std::make_unique<RecognitionDrill>(QStringList{"k", "m", "r", "s"}, options, MissTallies{},
                                           std::vector<DrillRecord>{}, 5),
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
                  playedAt + static_cast<std::uint32_t>(DrillRig::SoundMs(c)))
            << c.toStdString();
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

TEST(DrillControllers, ACallsignRunReplaysAtOnceStepsTheSpeedAndKeepsTheBestScore) {
    DrillRig rig;
    auto run = std::make_unique<CallsignRun>(CallsignRunOptions{.calls = 3, .startWpm = 20, .stepWpm = 4}, 9,
                                             rig.history.BestCallsignScore());
    CallsignRunController runner(rig.player, rig.clock, &DrillRig::Lookup, std::move(run), {.pitchHz = 600},
                                 &rig.history, rig);
    std::optional<std::uint32_t> heard;
    rig.player.heard = [&heard](std::uint32_t tick) {
        heard = tick;
    };
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
    runner.Enter(first);                // right, replayed: half its points; 24 WPM next
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

// The Drills window on the rig, shown and active: keys go to its focused widget as
// the desktop sends them, and the drills are kept in the rig's history file.
struct WindowRig : DrillRig {
    HistoryService service{dir.filePath("history.sqlite")};
    std::unique_ptr<DrillsDialog> window;
    WindowRig(std::initializer_list<std::pair<keys::IntKey, int>> options) {
        for (const auto& [key, value] : options)
            session.trainer().Store().Write(key, value);
        window = std::make_unique<DrillsDialog>(session.trainer(), clock, player, session.trainer().Store(),
                                                service);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void Key(const QString& text, bool autoRepeat = false) {
        QKeyEvent press(QEvent::KeyPress, text.at(0).toUpper().unicode(), Qt::NoModifier, text, autoRepeat);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }
    DrillRecord Kept(DrillKind kind, std::size_t index) {
        History kept(dir.filePath("history.sqlite"));
        EXPECT_TRUE(kept.Open());
        return kept.Drills(kind).at(index);
    }
};

TEST(DrillsWindow, GrowingRecognitionTakesEarlyKeysOnceAddsCharactersAsKnownAndAsksAMissAgain) {
    WindowRig rig{{keys::DrillCharacters, 40}, {keys::DrillGrowing, 1}};
    rig.window->RecognitionStart()->click();
    RecognitionDrillController& drill = *rig.window->Recognition();
    using State = RecognitionDrillController::State;
    EXPECT_EQ(rig.window->Counter()->text(), "Character 1 of 40 · 2 characters: K M");
    // The first typed while it still sounds, and held down: one early answer.
    rig.session.RunFor(30);
    rig.Key(drill.Current());
    rig.Key(drill.Drill().Answers()[0].character, true);
    rig.RunUntil([&] { return drill.CurrentState() == State::Waiting; });
    rig.Key(drill.Current(), true);
    EXPECT_EQ(rig.window->Counter()->text().left(16), "Character 2 of 4");
    const QStringList order = drill.Drill().Characters();
    std::map<QString, int> right;
    while (drill.CurrentState() != State::Over) {
        rig.RunUntil([&] { return drill.CurrentState() == State::Waiting; });
        const QString c = drill.Current();
        if (c == order.at(2) && !right.count(c)) {  // added once another has five right answers
            EXPECT_TRUE(right[order.at(0)] >= 5 || right[order.at(1)] >= 5);
        }
        rig.clock.Advance(300);
        rig.Key(drill.Drill().Answers().size() == 3 ? QStringLiteral("5") : c);
        if (drill.CurrentState() == State::Correcting) {  // shown and played, then asked again
            rig.RunUntil([&] { return drill.CurrentState() == State::Pausing; });
            rig.clock.Advance(RecognitionDrillController::kPauseAfterCorrectionMs);
            drill.Tick();
            EXPECT_EQ(drill.Current(), c);
        } else {
            ++right[c];
        }
    }
    EXPECT_GE(drill.Drill().InPlay().size(), 4);
    const DrillRecord kept = rig.Kept(DrillKind::Recognition, 0);
    ASSERT_EQ(kept.answers.size(), 40u);
    EXPECT_TRUE(kept.answers[0].Early());
    EXPECT_EQ(kept.answers[0].reactionMs, -1);
    for (const RecognitionStats& c : RecognitionByCharacter(kept.answers))
        EXPECT_EQ(c.medianMs, 300) << c.character.toStdString();
}

// The marks of played bytes (left channel, [start, end) frames, joined over zero
// crossings) and their pitch: half cycles between the first and last crossing of each.
std::pair<std::vector<std::pair<int, int>>, double> Marks(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::pair<int, int>> spans;
    double halves = 0, frames = 0;
    int first = -1, last = -1, previous = 0;
    for (int f = 0; 4 * static_cast<std::size_t>(f) < bytes.size(); ++f) {
        const int v = static_cast<std::int16_t>(bytes[4 * f] | (bytes[4 * f + 1] << 8));
        if (v != 0 && !spans.empty() && f - spans.back().second < 30) {
            if ((v > 0) != (previous > 0))
                (first < 0 ? first : last) = f, halves += first == f ? 0 : 1;
            spans.back().second = f + 1;
        } else if (v != 0) {
            frames += last > first ? last - first : 0;
            first = last = -1;
            spans.push_back({f, f + 1});
        }
        previous = v != 0 ? v : previous;
    }
    frames += last > first ? last - first : 0;
    return {spans, halves / 2 * 44100 / frames};
}

// A history that cannot be used: each drill runs all the same, and says it is not kept.
TEST(DrillsWindow, ADrillOnAHistoryThatCannotBeUsedRunsAndSaysItIsNotKept) {
    WindowRig rig{{keys::CallsignCalls, 3}};
    QFile(rig.dir.filePath("file")).open(QIODevice::WriteOnly);
    rig.service.SetPath(rig.dir.filePath("file/history.sqlite"));
    for (QPushButton* start : {rig.window->RecognitionStart(), rig.window->CallsignStart()}) {
        start->click();
        EXPECT_TRUE(rig.window->Status()->text().endsWith("this drill is not kept."))
            << rig.window->Status()->text().toStdString();
        rig.window->StopDrill();
    }
}

TEST(DrillsWindow, ACallsignRunAt150WpmIsCountedEndsOnItsSummaryAndGraphsItsSpeed) {
    WindowRig rig{{keys::CallsignCalls, 3},
                  {keys::CallsignStartSpeed, 150},
                  {keys::CallsignStep, 4},
                  {keys::CallsignTopSpeed, 150},
                  {keys::CallsignVaryPitch, 1}};
    rig.session.device().KeepPlayedBytes(true);
    std::optional<std::uint32_t> heard;
    rig.player.heard = [&heard](std::uint32_t tick) {
        heard = tick;
    };
    const int pitch = rig.session.trainer().Signal().Pitch();
    rig.window->Tabs()->setCurrentIndex(1);
    rig.window->CallsignStart()->click();
    // Right at 150 WPM (the ceiling), one character wrong (half), right at 146; each call
    // at a pitch of its own within 200 Hz of the main one.
    int score = 0;
    double farthest = 0;
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(rig.window->Counter()->text(), QStringLiteral("Call %1 of 3").arg(k + 1));
        heard.reset();
        rig.RunUntil([&] { return heard.has_value(); });
        const QString call = rig.window->Callsigns()->Run().Call();
        // A unit of 8 ms in whole frames: marks and gaps of 352 and 1056 frames.
        const auto [spans, hz] = Marks(rig.session.device().TakePlayedBytes());
        QString code;
        for (std::size_t m = 0; m < spans.size(); ++m) {
            const int mark = spans[m].second - spans[m].first;
            const int gap = m + 1 < spans.size() ? spans[m + 1].first - spans[m].second : 352;
            EXPECT_NEAR(mark, mark > 700 ? 1056 : 352, 2);
            EXPECT_NEAR(gap, gap > 700 ? 1056 : 352, 2);
            code += QString(mark > 700 ? "-" : ".") + (gap > 700 ? " " : "");
        }
        QStringList codes;
        for (const QChar c : call)
            codes << DrillRig::Lookup(QString(c))->code;
        EXPECT_EQ(code, codes.join(' '));
        EXPECT_LE(std::abs(hz - pitch), 202);
        farthest = std::max(farthest, std::abs(hz - pitch));
        const QString copy = k == 1 ? call.chopped(1) + (call.endsWith('X') ? "Y" : "X") : call;
        score += (k < 2 ? 150 : 146) * static_cast<int>(call.size()) / (k == 1 ? 2 : 1);
        QTest::keyClicks(rig.window->CallInput(), copy);
        QTest::keyClick(rig.window->CallInput(), Qt::Key_Return);
    }
    EXPECT_GT(farthest, 30);
    // The last Enter ends the run on its summary, and nothing else starts.
    EXPECT_EQ(rig.window->Callsigns()->CurrentState(), CallsignRunController::State::Over);
    EXPECT_TRUE(rig.window->Summary()->toPlainText().contains(QStringLiteral("Score %1").arg(score)));
    auto* speeds = qobject_cast<QLineSeries*>(rig.window->SpeedChart()->chart()->series().value(0));
    ASSERT_TRUE(speeds && rig.window->SpeedChart()->isVisible());
    EXPECT_EQ(speeds->points(), (QList<QPointF>{{1, 150}, {2, 150}, {3, 146}}));
    EXPECT_EQ(rig.Kept(DrillKind::Callsigns, 0).score, score);

    // Esc in the middle of a run ends it on the score it made.
    rig.window->CallsignStart()->click();
    const QString call = rig.window->Callsigns()->Run().Call();
    QTest::keyClicks(rig.window->CallInput(), call + "\r");
    QTest::keyClick(rig.window->CallInput(), Qt::Key_Escape);
    EXPECT_EQ(rig.window->Prompt()->text(), QStringLiteral("Done: score %1").arg(150 * call.size()));
    EXPECT_EQ(rig.Kept(DrillKind::Callsigns, 1).score, 150 * call.size());
}

}  // namespace
}  // namespace lumbrel
