// The window says what it plays: the effective speed the stretch cap lets through, the
// quit key, Setup during a session, where the file dialogs open, the placement on a
// screen, and the progress chart's axes.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QValueAxis>

#include <set>

#include "UiTestSupport.h"
#include "tests/TestSupport.h"
#include "scoring/History.h"
#include "ui/Configure.h"
#include "ui/ControlWidgets.h"
#include "ui/Progress.h"

namespace lumbrel::test {
namespace {

TEST(WindowPlays, AnEffectiveSpeedTheCapHoldsBackShowsAndStoresTheSpeedThatPlays) {
    WindowRig rig(StoreWith({{&keys::Pause, 0}, {&keys::Session, 1}}));
    rig.window->show();
    auto* effective = qobject_cast<RadioGroup*>(rig.window->Widget(ControlId::CodeSpeedRadioGroup));
    ASSERT_NE(effective, nullptr);
    effective->Button(6)->click();  // "6" at 25 WPM: a unit of 16928 values, under the cap
    EXPECT_FALSE(effective->toolTip().contains("plays at"));
    EXPECT_FALSE(rig.window->StatusLine()->text().contains("plays at"));
    effective->Button(7)->click();  // "3": a unit of 33856 values, held at 19000
    // A PARIS word of 50 units of 19000 values lasts 950000 values, 10.77 s: 5.6 WPM.
    EXPECT_TRUE(rig.window->StatusLine()->text().contains("3 WPM plays at 5.6 WPM"))
        << rig.window->StatusLine()->text().toStdString();
    EXPECT_TRUE(effective->toolTip().contains("3 WPM plays at 5.6 WPM"))
        << effective->toolTip().toStdString();

    std::optional<SessionSummary> ended;
    rig.window->trainer().SetSessionEndedListener([&](const SessionSummary& s) { ended = s; });
    rig.window->Action(ControlId::ToolButton3)->trigger();
    for (int k = 0; k < 100 && !ended; ++k)
        rig.Run(1000);
    ASSERT_TRUE(ended);
    // Stored as played: 5.5705 WPM of the 25.009 WPM that full speed plays.
    EXPECT_EQ(ended->effectivePermille, 223);
}

TEST(WindowPlays, CtrlQQuitsWhateverThePlatformBindsToQuit) {
    WindowRig rig;
    rig.window->show();
    rig.window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(rig.window.get()));
    EXPECT_TRUE(rig.window->ExitAction()->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    QSignalSpy closed(rig.window.get(), &MainWindow::Closed);
    QTest::keyClick(rig.window.get(), Qt::Key_Q, Qt::ControlModifier);
    ProcessEvents();
    EXPECT_EQ(closed.count(), 1);
}

TEST(WindowPlays, SetupDuringASessionAsksBeforeItStopsTheSession) {
    WindowRig rig(StoreWith({{&keys::Pause, 0}}));
    rig.window->show();
    rig.window->Action(ControlId::ToolButton3)->trigger();
    rig.Run(1000);
    ASSERT_TRUE(rig.window->trainer().SessionActive());

    rig.prompts.yesAnswer = false;
    rig.window->SetupAction()->trigger();
    EXPECT_EQ(rig.prompts.questions, QStringList{"Stop the session and open Setup?"});
    EXPECT_TRUE(rig.window->trainer().SessionActive());
    EXPECT_FALSE(rig.window->trainer().WindingDown());
    EXPECT_FALSE(rig.window->SetupOpen());

    rig.prompts.yesAnswer = true;
    bool opened = false;
    QTimer::singleShot(0, &rig.window->setupDialog(), [&] {
        opened = rig.window->SetupOpen();
        rig.window->setupDialog().OkayButton()->click();
    });
    rig.window->SetupAction()->trigger();
    EXPECT_TRUE(opened);
    EXPECT_EQ(rig.prompts.questions.size(), 2);
    EXPECT_TRUE(rig.window->trainer().WindingDown());

    // Without a session Setup opens at once.
    rig.Run(5000);
    ASSERT_FALSE(rig.window->trainer().SessionActive());
    QTimer::singleShot(0, &rig.window->setupDialog(),
                       [&] { rig.window->setupDialog().OkayButton()->click(); });
    rig.window->SetupAction()->trigger();
    EXPECT_EQ(rig.prompts.questions.size(), 2);
}

TEST(WindowPlays, FileDialogsOpenWhereTheirKindWasLastUsedAndTheRecordingIsSaid) {
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkpath("Text Files"));
    QTemporaryDir elsewhere;
    const QString text = elsewhere.filePath("notes.txt");
    WriteAll(text, "cq\n");
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Letters, 40);
    {
        WindowRig rig(store);
        rig.window->trainer().SetProgramFolder(program.path());
        rig.window->show();
        rig.prompts.openFileName = text;
        rig.window->Action(ControlId::ToolButton6)->trigger();
        // The first time in "Text Files" beside the program, then where the user went.
        EXPECT_EQ(QDir(rig.prompts.StartFolder()), QDir(program.filePath("Text Files")));
        rig.Run(10000);
        rig.window->Action(ControlId::ToolButton6)->trigger();
        EXPECT_EQ(QDir(rig.prompts.StartFolder()), QDir(elsewhere.path()));
        rig.Run(10000);

        rig.prompts.audioChoice = {elsewhere.filePath("take"), 0};
        rig.window->RecordAudioAction()->trigger();
        EXPECT_EQ(rig.window->StatusLine()->text().trimmed(), "Recording armed: take.wav");
        // With the encoder there, WAV was chosen over the MP3 offered first.
        if (rig.prompts.audioFilters.size() == 2) {
            EXPECT_EQ(store.Read(keys::RecordingType), 0);
        }
    }
    // The next run remembers both folders.
    WindowRig rig(store);
    rig.window->trainer().SetProgramFolder(program.path());
    rig.window->show();
    rig.prompts.audioChoice = {};
    rig.window->RecordAudioAction()->trigger();
    EXPECT_EQ(QDir(rig.prompts.StartFolder()), QDir(elsewhere.path()));
    EXPECT_EQ(rig.prompts.audioSelected, 0);  // the type chosen last (or WAV, the only one)
    rig.window->SaveToFile1Click();
    EXPECT_EQ(QDir(rig.prompts.StartFolder()), QDir(elsewhere.path()));
}

TEST(WindowPlays, APlacementLargerThanTheScreenComesBackWholeOnIt) {
    // A window closed on a larger screen (or at a lower density, in device-independent
    // pixels) and partly beyond the edge of this one.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    SettingsStore store = SettingsStore::InMemory();
    Place(store,
          QRect(screen.left() + screen.width() / 2, screen.top() + 20, screen.width(), screen.height() + 100),
          false);
    WindowRig rig(store);
    rig.window->show();
    ProcessEvents();
    // Whole on the screen, give or take the window frame that the platform adds.
    const QRect shown = rig.window->geometry();
    EXPECT_LE(shown.width(), screen.width());
    EXPECT_LE(shown.height(), screen.height());
    EXPECT_TRUE(screen.adjusted(-10, -10, 10, 10).contains(shown))
        << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
}

TEST(WindowPlays, ProgressSetsTheSessionsOfADayApartWithoutRepeatedLabels) {
    QTemporaryDir dir;
    History history(dir.filePath("history.sqlite"));
    ASSERT_TRUE(history.Open());
    const QDate today = QDate::currentDate();
    const std::vector<std::pair<QTime, double>> sessions = {
        {QTime(9, 0), 80}, {QTime(9, 40), 92}, {QTime(10, 20), 100}};
    for (const auto& [time, accuracy] : sessions) {
        SessionRecord r;
        r.ended = QDateTime(today, time);
        r.source = QStringLiteral("groups");
        r.order = QStringLiteral("koch");
        r.characterCount = 2;
        r.characterWpm = 20;
        r.effectiveWpm = 20;
        r.sessionMinutes = 5;
        r.durationSeconds = 300;
        r.charactersSent = 100;
        r.accuracy = accuracy;
        ASSERT_TRUE(history.Add(r));
    }
    FakePrompts prompts;
    ProgressWindow progress(history, prompts, SettingsStore::InMemory());
    progress.Reload();
    QChart* chart = progress.AccuracyChart()->chart();
    const auto xs = chart->axes(Qt::Horizontal);
    const auto ys = chart->axes(Qt::Vertical);
    ASSERT_EQ(xs.size(), 1);
    ASSERT_EQ(ys.size(), 1);
    auto* x = qobject_cast<QDateTimeAxis*>(xs.first());
    auto* y = qobject_cast<QValueAxis*>(ys.first());
    ASSERT_TRUE(x && y);
    // The labels the axis draws: its ticks spread evenly from its minimum to its maximum.
    const qint64 from = x->min().toMSecsSinceEpoch();
    const qint64 to = x->max().toMSecsSinceEpoch();
    std::set<QString> labels;
    for (int k = 0; k < x->tickCount(); ++k)
        labels.insert(QDateTime::fromMSecsSinceEpoch(from + (to - from) * k / (x->tickCount() - 1))
                          .toString(x->format()));
    EXPECT_EQ(static_cast<int>(labels.size()), x->tickCount()) << x->format().toStdString();
    // Forty minutes apart is at least a tenth of the axis.
    EXPECT_LE(to - from, 10 * 40 * 60 * 1000LL);
    EXPECT_LE(from, QDateTime(today, QTime(9, 0)).toMSecsSinceEpoch());
    EXPECT_GE(to, QDateTime(today, QTime(10, 20)).toMSecsSinceEpoch());
    // The perfect session and the 100 % line are inside the plot, not on its edge.
    EXPECT_GT(y->max(), 100);
}

}  // namespace
}  // namespace lumbrel::test
