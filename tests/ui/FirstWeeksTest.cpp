// The first weeks through the main window: the welcome, the new character introduced,
// the repeat of the last session, the volume, the group length of the setup dialog,
// the characters chart and the lesson in the title.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <map>
#include <set>

#include "UiTestSupport.h"
#include "scoring/History.h"
#include "scoring/LessonGlance.h"
#include "session/VirtualSession.h"
#include "session/Welcome.h"
#include "ui/CharactersWindow.h"
#include "ui/Configure.h"
#include "ui/LearnerGuide.h"
#include "ui/PracticeOptions.h"

namespace lumbrel::test {
namespace {

SettingsStore QuickStore(int letters = 5) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Pause, 0);
    store.Write(keys::Session, 1);
    store.Write(keys::Letters, letters);
    store.Write(keys::Speed, 1);  // 20 WPM
    return store;
}

// The window as the learner sees it: shown, which builds the characters.
struct ShownRig : WindowRig {
    // firstStart: as the program starts when it finds no settings file.
    explicit ShownRig(SettingsStore s, bool firstStart = false) : WindowRig(std::move(s)) {
        if (firstStart) {
            window.reset();
            window =
                std::make_unique<MainWindow>(MainWindow::Environment{.store = store,
                                                                     .clock = clock,
                                                                     .audio = audio,
                                                                     .seed = 7,
                                                                     .prompts = &prompts,
                                                                     .trayAvailable = [] { return false; },
                                                                     .rig = nullptr,
                                                                     .qrmAudio = {},
                                                                     .firstStart = true});
        }
        window->show();
        ProcessEvents();
    }
};

// Start, ms of the session, Stop, and the buffers in flight played out: what was sent.
QString RunSession(WindowRig& rig, int ms = 20'000) {
    rig.window->Action(ControlId::ToolButton3)->trigger();
    rig.Run(ms);
    rig.window->Action(ControlId::ToolButton4)->trigger();
    rig.Run(5'000);
    EXPECT_FALSE(rig.window->trainer().SessionActive());
    return rig.window->trainer().SessionText();
}

QSpinBox* CountSpinner(WindowRig& rig) {
    return static_cast<QSpinBox*>(rig.window->Widget(ControlId::CharacterCountSpinEdit));
}

TEST(FirstWeeks, TheWelcomeShowsOnTheFirstStartUntilTheFirstSessionAndHelpBringsItBack) {
    SettingsStore store = QuickStore();
    const QString welcome = Welcome::Text().split(QLatin1Char('\n')).join(QLatin1Char('\n'));
    {
        ShownRig rig(store, true);
        EXPECT_EQ(rig.window->trainer().Sent().Text().trimmed(), welcome.trimmed());
        EXPECT_TRUE(rig.window->trainer().Sent().Text().contains(QStringLiteral("File > Check Copy")));
        RunSession(rig, 3'000);
        EXPECT_FALSE(rig.window->trainer().Sent().Text().contains(QStringLiteral("Welcome")));
        rig.window->close();
    }
    ShownRig again(store, false);  // never by itself again
    EXPECT_FALSE(again.window->trainer().Sent().Text().contains(QStringLiteral("Welcome")));
    again.window->Guide().WelcomeAction()->trigger();
    EXPECT_TRUE(again.window->trainer().Sent().Text().startsWith(QStringLiteral("Welcome to Lumbrel.")));

    // A start that found a settings file: no greeting, and none later.
    SettingsStore used = QuickStore();
    ShownRig old(used);
    EXPECT_TRUE(old.window->trainer().Sent().Text().isEmpty());
    EXPECT_EQ(used.Read(keys::Welcome), 0);
}

TEST(FirstWeeks, ARiseOfTheCountIntroducesTheNewCharacterOnceWhenTheOptionIsOn) {
    const QString plain = [] {
        ShownRig rig(QuickStore(5));
        return RunSession(rig);
    }();
    struct Row {
        const char* what;
        int from;
        bool on;
        bool byOffer;  // the count raised as Check Copy's one-click offer does
        bool introduced;
    } rows[] = {
        {"spinner 4 to 5", 4, true, false, true},
        {"offer 4 to 5", 4, true, true, true},
        {"option off", 4, false, false, false},
        {"lowered 6 to 5", 6, true, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        SettingsStore store = QuickStore(row.from);
        store.Write(keys::IntroduceCharacter, row.on ? 1 : 0);
        ShownRig rig(store);
        if (row.byOffer) {
            rig.window->trainer().SetOption(Option::CharacterCount, 5);
        } else {
            CountSpinner(rig)->setValue(5);
        }
        QLabel* banner = rig.window->Guide().IntroductionLabel();
        rig.window->Action(ControlId::ToolButton3)->trigger();
        rig.Run(500);
        EXPECT_EQ(banner->isVisible(), row.introduced);
        EXPECT_EQ(banner->text(), row.introduced ? QStringLiteral("U") : QString());
        rig.Run(19'500);
        EXPECT_FALSE(banner->isVisible());  // gone once the groups follow
        rig.window->Action(ControlId::ToolButton4)->trigger();
        rig.Run(5'000);
        const QString sent = rig.window->trainer().SessionText();
        const QString five = QStringLiteral("u u u u u ");
        EXPECT_EQ(sent.startsWith(five), row.introduced) << sent.toStdString();
        // Then the session that would have been: the same draws, later by the introduction.
        const QString rest = row.introduced ? sent.mid(five.size()) : sent;
        EXPECT_GT(rest.size(), 20);
        EXPECT_TRUE(plain.startsWith(rest)) << rest.toStdString();
        EXPECT_FALSE(RunSession(rig).startsWith(five));  // once only
    }
}

TEST(FirstWeeks, RepeatLastSessionPlaysTheSameCharactersAgainAndTheCopyIsCheckedAgainstThem) {
    SettingsStore store = QuickStore(4);
    ShownRig rig(store);
    QAction* repeat = rig.window->Guide().RepeatAction();
    EXPECT_FALSE(repeat->isEnabled());  // nothing to repeat yet
    CountSpinner(rig)->setValue(5);
    const QString first = RunSession(rig);
    ASSERT_TRUE(first.startsWith(QStringLiteral("u u u u u ")));
    EXPECT_TRUE(repeat->isEnabled());
    std::optional<SessionSummary> facts;
    rig.window->trainer().SetSessionEndedListener([&](const SessionSummary& s) { facts = s; });
    repeat->trigger();
    EXPECT_FALSE(repeat->isEnabled());  // while it plays
    rig.Run(20'000);
    rig.window->Action(ControlId::ToolButton4)->trigger();
    rig.Run(5'000);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->text, first);      // introduction included, as it was heard
    EXPECT_NE(RunSession(rig), first);  // a plain Start draws anew
}

// The gain is a 15-bit fraction, 32768 x 10^(dB / 20), rounded; each value is multiplied
// and rounded to nearest, halves away from zero.
void ExpectScaled(const std::vector<std::uint8_t>& full, const std::vector<std::uint8_t>& soft, int db) {
    ASSERT_EQ(soft.size(), full.size());
    const double q15 = std::round(32768 * std::pow(10.0, db / 20.0));
    std::size_t sounding = 0;
    for (std::size_t k = 0; k + 1 < full.size(); k += 2) {
        const auto v = static_cast<std::int16_t>(full[k] | (full[k + 1] << 8));
        const auto w = static_cast<std::int16_t>(soft[k] | (soft[k + 1] << 8));
        ASSERT_EQ(w, std::lround(v * q15 / 32768)) << "value " << k / 2;
        sounding += v != 0;
    }
    EXPECT_GT(sounding, 10'000u);
}

TEST(FirstWeeks, TheVolumeScalesEveryValueByItsDecibelsAndIsKept) {
    auto played = [](int db) {
        SettingsStore store = QuickStore(2);
        ShownRig rig(store);
        if (db != 0)
            rig.window->Guide().VolumeSpinBox()->setValue(db);
        EXPECT_EQ(store.Read(keys::Volume), db);
        rig.audio.KeepPlayedBytes(true);
        RunSession(rig, 3'000);
        return rig.audio.TakePlayedBytes();
    };
    const std::vector<std::uint8_t> full = played(0);
    for (int db : {-6, -40}) {
        SCOPED_TRACE(db);
        ExpectScaled(full, played(db), db);
    }
    // The interfering stations play on streams of their own, at the same volume.
    auto station = [](int db) {
        SettingsStore store = QuickStore(2);
        store.Write(keys::Qrm, 1);
        VirtualSession session(store, 7, QTime(12, 0), nullptr, true);
        session.CreateAndShow();
        session.trainer().SetVolumeDb(db);
        session.trainer().Start();
        session.RunFor(3'000);
        return session.qrmDevice(0).TakePlayedBytes();
    };
    ExpectScaled(station(0), station(-6), -6);

    SettingsStore store = QuickStore();
    store.Write(keys::Volume, -12);
    ShownRig rig(store);
    EXPECT_EQ(rig.window->Guide().VolumeSpinBox()->value(), -12);
    EXPECT_EQ(rig.window->trainer().Engine().Gain().Db(), -12);
}

TEST(FirstWeeks, TheSetupDialogsGroupLengthShapesTheNextSession) {
    struct Row {
        int choice, min, max;
        std::set<int> lengths;
    } rows[] = {
        {1, 0, 0, {5}},
        {2, 3, 2, {2, 3}},  // given the wrong way round
        {0, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.choice);
        ShownRig rig(QuickStore());
        QTimer::singleShot(0, rig.window.get(), [&] {
            PracticeOptionsBox* box = rig.window->setupDialog().PracticeOptions();
            EXPECT_TRUE(box->IntroduceCheckBox()->isChecked());  // on by default
            box->GroupLengthComboBox()->setCurrentIndex(row.choice);
            EXPECT_EQ(box->MinimumSpinBox()->isEnabled(), row.choice == 2);
            if (row.choice == 2) {
                box->MinimumSpinBox()->setValue(row.min);
                box->MaximumSpinBox()->setValue(row.max);
            }
            rig.window->setupDialog().OkayButton()->click();
        });
        rig.window->SetupAction()->trigger();
        QStringList groups = RunSession(rig, 60'000).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        groups.removeLast();  // cut by Stop
        std::set<int> lengths;
        for (const QString& g : groups)
            lengths.insert(static_cast<int>(g.size()));
        EXPECT_EQ(lengths, row.lengths);
    }
}

TEST(FirstWeeks, TheCharactersWindowShowsEveryCodeAndPlaysAButtonOrAKey) {
    ShownRig rig(QuickStore(2));
    rig.window->Guide().CharactersAction()->trigger();
    CharactersWindow* chart = rig.window->Guide().Characters();
    ASSERT_TRUE(chart && chart->isVisible());
    EXPECT_EQ(chart->Count(), 40);  // the built-in characters of the order
    EXPECT_EQ(chart->Button(0)->text(), QStringLiteral("K"));
    EXPECT_EQ(chart->findChild<QLabel*>(QStringLiteral("Code1"))->text(), QString::fromUtf8("— • —"));
    EXPECT_TRUE(chart->Button(0)->font().bold());   // in the lesson
    EXPECT_FALSE(chart->Button(2)->font().bold());  // not yet
    rig.audio.KeepPlayedBytes(true);
    chart->Button(1)->click();
    rig.Run(1'000);
    EXPECT_EQ(chart->Played()->text(), QString::fromUtf8("M   — —"));
    EXPECT_FALSE(rig.audio.TakePlayedBytes().empty());
    QTest::keyClick(chart, Qt::Key_R);
    rig.Run(1'000);
    EXPECT_EQ(chart->Played()->text(), QString::fromUtf8("R   • — •"));
    EXPECT_FALSE(rig.audio.TakePlayedBytes().empty());

    rig.window->Action(ControlId::ToolButton3)->trigger();
    EXPECT_FALSE(chart->PlayCharacter(rig.window->trainer().Characters().CharacterList()[1]));
    EXPECT_TRUE(chart->Played()->text().startsWith(QStringLiteral("A session is running")));
}

TEST(FirstWeeks, NoTwoCommandsShareAShortcut) {
    ShownRig rig(QuickStore());
    std::set<const QAction*> actions;  // the window's own and those its menus show
    for (const QAction* action : rig.window->findChildren<QAction*>())
        actions.insert(action);
    for (const QMenu* menu : rig.window->findChildren<QMenu*>())
        for (const QAction* action : menu->actions())
            actions.insert(action);
    std::map<QString, QString> taken;
    for (const QAction* action : actions)
        for (const QKeySequence& keys : action->shortcuts()) {
            const auto [at, fresh] = taken.emplace(keys.toString(), action->text());
            EXPECT_TRUE(fresh || at->second == action->text())
                << keys.toString().toStdString() << ": " << at->second.toStdString() << " and "
                << action->text().toStdString();
        }
    EXPECT_EQ(taken.count(QStringLiteral("Ctrl+R")), 1u);
}

TEST(FirstWeeks, TheTitleShowsTheLessonOnceThereIsAHistory) {
    auto record = [](const char* source, double accuracy, int day) {
        SessionRecord r;
        r.source = QString::fromLatin1(source);
        r.accuracy = accuracy;
        r.ended = QDateTime(QDate(2026, 3, day), QTime(12, 0));
        return r;
    };
    const QStringList five{QStringLiteral("K"), QStringLiteral("M"), QStringLiteral("R"), QStringLiteral("S"),
                           QStringLiteral("U")};
    struct Row {
        std::vector<SessionRecord> sessions;
        const char* glance;
    } rows[] = {
        {{}, ""},
        {{record("words", 95, 1)}, ""},
        {{record("groups", 87.5, 1)}, "Lesson 5: k m r s u, last copy 87 % (3 points to go)"},
        {{record("groups", 89.99, 1)}, "Lesson 5: k m r s u, last copy 89 % (1 point to go)"},
        {{record("groups", 95, 2), record("groups", 60, 1)},
         "Lesson 5: k m r s u, last copy 95 % (the next character is due)"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(LessonGlance(five, row.sessions), QString::fromLatin1(row.glance));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    ShownRig rig(QuickStore(4));
    rig.window->SetHistoryPath(path);
    CountSpinner(rig)->setValue(5);
    EXPECT_EQ(rig.window->windowTitle(), QStringLiteral("Lumbrel - Zelph"));  // no history yet
    {
        History history(path);
        ASSERT_TRUE(history.Open());
        ASSERT_TRUE(history.Add(record("groups", 87.5, 1)));
    }
    CountSpinner(rig)->setValue(4);
    EXPECT_EQ(rig.window->windowTitle(),
              QStringLiteral("Lesson 4: k m r s, last copy 87 % (3 points to go) - Lumbrel - Zelph"));
}

}  // namespace
}  // namespace lumbrel::test
