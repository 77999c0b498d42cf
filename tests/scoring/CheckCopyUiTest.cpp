// The main window's "Check Copy" and "Progress" end to end, offscreen: enabled only
// while the last session's text is kept, the dialog's check, the one-click Koch step
// on the real spinner, the history behind it, the progress window with the drills
// and export, and random groups weighed by the history's misses.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>

#include <QProcess>

#include <cstdio>
#include <memory>

#include "HistoryFiles.h"
#include "scoring/History.h"
#include "audio/Clock.h"
#include "audio/VirtualAudioDevice.h"
#include "ui/ChartAxes.h"
#include "ui/CheckCopy.h"
#include "ui/Main.h"
#include "ui/Progress.h"
#include "ui/RichEditRx.h"
#include "ui/Prompts.h"
#include "tests/ui/UiTestSupport.h"

namespace lumbrel {
namespace {

using test::ProcessEvents;

// The main window on virtual devices, with the history in a folder of its own. Its seed
// gives the sessions the tests below were written for.
struct Rig {
    explicit Rig(SettingsStore s) : store(std::move(s)) {
        prompts.yesAnswer = false;
        window = std::make_unique<MainWindow>(MainWindow::Environment{.store = store,
                                                                      .clock = clock,
                                                                      .audio = audio,
                                                                      .seed = 3,
                                                                      .prompts = &prompts,
                                                                      .trayAvailable = [] {
                                                                          return false;
                                                                      }});
        window->SetHistoryPath(dir.filePath("history.sqlite"));
        window->show();
        ProcessEvents();
    }
    ~Rig() { window.reset(); }

    CopyChecking& checking() { return window->copyChecking(); }
    Trainer& trainer() { return window->trainer(); }
    void Run(int ms) {
        for (int t = 0; t < ms; t += 50) {
            clock.Advance(50);
            if (trainer().Readouts().ClockRunning())
                trainer().TimerTick();
            ProcessEvents(2);
        }
    }
    // A short session stopped by hand, or a whole one (a minute), run to its end.
    void Session(bool whole = false) {
        window->Action(ControlId::ToolButton3)->trigger();
        ASSERT_TRUE(trainer().SessionActive());
        Run(whole ? 60'000 : 6000);
        Stop(!whole);
    }
    // Stop pressed (or not, when the session ends by itself) and the session run to its end.
    void Stop(bool press = true) {
        if (press)
            window->Action(ControlId::ToolButton4)->trigger();
        for (int k = 0; k < 200 && trainer().SessionActive(); ++k)
            Run(100);
        ASSERT_FALSE(trainer().SessionActive());
    }
    // A short session, its copy checked in the dialog; what the dialog says of the store.
    QString CheckedSession() {
        Session();
        CheckCopyDialog* dialog = OpenDialog();
        if (!dialog)
            return {};
        dialog->CopyEdit()->setPlainText(trainer().Sent().Text());
        dialog->CheckButton()->click();
        dialog->close();
        return dialog->StoredLabel()->text();
    }
    CheckCopyDialog* OpenDialog() {
        checking().CheckCopyAction()->trigger();
        ProcessEvents();
        return checking().Dialog();
    }
    std::vector<SessionRecord> Stored() {
        History h(dir.filePath("history.sqlite"));
        return h.Open() ? h.Sessions() : std::vector<SessionRecord>{};
    }

    QTemporaryDir dir;
    VirtualClock clock{1000, QTime(12, 0)};
    VirtualAudioDevice audio{clock};
    test::FakePrompts prompts;
    SettingsStore store;
    std::unique_ptr<MainWindow> window;
};

SettingsStore Store(int letters) {
    SettingsStore store = SettingsStore::InMemory();
    store.Write(keys::Pause, 0);
    store.Write(keys::Letters, letters);
    store.Write(keys::Session, 1);
    return store;
}

TEST(CheckCopyWindow, CheckCopyIsThereOnlyWhileTheLastSessionsTextIsKept) {
    Rig rig(Store(5));
    QAction* check = rig.checking().CheckCopyAction();
    QAction* progress = rig.checking().ProgressAction();
    auto* file = rig.window->menuBar()->findChild<QMenu*>("File1");
    ASSERT_NE(file, nullptr);
    const QList<QAction*> items = file->actions();
    const auto at = [&](QAction* a) {
        return items.indexOf(a);
    };
    EXPECT_GE(at(check), 0);
    EXPECT_EQ(at(progress), at(check) + 1);
    EXPECT_LT(at(progress), at(rig.window->ExitAction()));
    EXPECT_TRUE(progress->isEnabled());

    EXPECT_FALSE(check->isEnabled());
    rig.window->Action(ControlId::ToolButton3)->trigger();
    rig.Run(3000);
    EXPECT_FALSE(check->isEnabled());  // running
    ASSERT_NO_FATAL_FAILURE(rig.Stop());
    EXPECT_TRUE(check->isEnabled());
    ASSERT_TRUE(rig.checking().LastSession().has_value());
    EXPECT_EQ(rig.checking().LastSession()->text, rig.trainer().Sent().Text());

    // "Clear" empties the text area, not what was sent: the session is still checked.
    const QString sent = rig.trainer().Sent().Text();
    rig.window->ClearAction()->trigger();
    ProcessEvents();
    ASSERT_TRUE(rig.trainer().Sent().Text().isEmpty());
    EXPECT_TRUE(check->isEnabled());
    CheckCopyDialog* dialog = rig.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->CopyEdit()->setPlainText(sent);
    dialog->CheckButton()->click();
    EXPECT_EQ(dialog->AccuracyLabel()->text(), "Accuracy 100.0%");
    dialog->close();
    // Typing in the main window's text area is still discarded.
    EXPECT_TRUE(rig.window->Sent()->isReadOnly());
}

TEST(CheckCopyWindow, TheCopyIsCheckedAgainstEverythingSentWhateverTheDisplayShowed) {
    SettingsStore store = Store(5);
    store.Write(keys::DisplayDelay, 2);  // "1"
    Rig rig(std::move(store));
    const QString transcript = rig.dir.filePath("take.txt");
    rig.trainer().SetTranscriptFileName(transcript);
    auto* delay = qobject_cast<QComboBox*>(rig.window->Widget(ControlId::DisplayDelayComboBox));
    ASSERT_NE(delay, nullptr);
    ASSERT_EQ(delay->currentText(), "1");
    rig.window->Action(ControlId::ToolButton3)->trigger();
    rig.Run(5000);
    delay->setCurrentIndex(delay->findText("0"));  // the box empties "Sent"
    rig.Run(4000);
    ASSERT_NO_FATAL_FAILURE(rig.Stop());

    // Every buffer heard, a character or a word space each, is in what was kept; "Sent"
    // holds only what came after the change.
    const QString heard = rig.trainer().SessionText();
    EXPECT_EQ(heard.size(), rig.trainer().CharactersSent());
    EXPECT_TRUE(heard.endsWith(rig.trainer().Sent().Text()));
    EXPECT_LT(rig.trainer().Sent().Text().size() + 5, heard.size());
    QFile file(transcript);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), heard + "\n");

    CheckCopyDialog* dialog = rig.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->CopyEdit()->setPlainText(heard);
    dialog->CheckButton()->click();
    EXPECT_EQ(dialog->AccuracyLabel()->text(), "Accuracy 100.0%");
    ASSERT_EQ(rig.Stored().size(), 1u);
    EXPECT_EQ(rig.Stored()[0].charactersSent, heard.size() - heard.count(' '));

    // Nothing typed (or only spaces) is nothing to check: neither scored nor stored.
    for (const char* nothing : {"", " \n\t "}) {
        dialog->CopyEdit()->setPlainText(nothing);
        dialog->CheckButton()->click();
        EXPECT_FALSE(dialog->Score().has_value());
        EXPECT_TRUE(dialog->StoredLabel()->text().startsWith("Nothing to check")) << nothing;
        EXPECT_TRUE(dialog->AccuracyLabel()->text().isEmpty());
    }
    EXPECT_EQ(rig.Stored().size(), 1u);
}

TEST(CheckCopyWindow, AUserDefinedCharacterCountsAsOneInTheScoreAndTheHistory) {
    SettingsStore store = Store(41);
    store.WriteString(SettingsStore::MorseLetterSection(1), keys::kContent, ".-.-.");
    store.WriteString(SettingsStore::MorseLetterSection(1), keys::kDisplayText, "AR");
    store.Write(keys::Session1, 0b11);    // k and m
    store.Write(keys::Session2, 1 << 8);  // and position 41, "AR"
    Rig rig(std::move(store));
    rig.Session();
    const QString heard = rig.trainer().SessionText();
    const int ars = static_cast<int>(heard.count("AR"));
    ASSERT_GT(ars, 0) << heard.toStdString();
    // Buffers heard less word spaces: the characters sent.
    const int characters = rig.trainer().CharactersSent() - static_cast<int>(heard.count(' '));

    CheckCopyDialog* dialog = rig.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    QString copy = heard.toLower();
    copy.replace("ar", "a");
    dialog->CopyEdit()->setPlainText(copy);
    dialog->CheckButton()->click();
    ASSERT_TRUE(dialog->Score().has_value());
    EXPECT_EQ(dialog->Score()->CharactersSent(), characters);
    EXPECT_EQ(dialog->Score()->Errors(), ars);
    EXPECT_TRUE(dialog->AdviceLabel()->text().contains("Missed most: ar "));
    ASSERT_EQ(rig.Stored().size(), 1u);
    const SessionRecord stored = rig.Stored()[0];
    EXPECT_EQ(stored.charactersSent, characters);
    QStringList keys;
    for (const CharacterErrors& e : stored.characters)
        keys << QStringLiteral("%1 %2").arg(e.character).arg(e.Missed());
    keys.sort();
    EXPECT_EQ(keys, (QStringList{QStringLiteral("ar %1").arg(ars), "k 0", "m 0"}));
}

TEST(CheckCopyWindow, ProsignsCopiedInTheUsualNotationsAreRight) {
    Rig rig(Store(5));
    SessionSummary session;
    session.source = SourceKind::SequentialText;
    session.text = "cq de k1abc ^kn ^ar ^sk ^bt ";
    CheckCopyDialog dialog(rig.trainer(), session, QDateTime::currentDateTime(), {});
    for (const char* copy : {"CQ DE K1ABC ( + <SK> =", "cq de k1abc <kn> <ar> ^sk <bt>"}) {
        dialog.CopyEdit()->setPlainText(copy);
        dialog.Check();
        EXPECT_EQ(dialog.AccuracyLabel()->text(), "Accuracy 100.0%") << copy;
        EXPECT_EQ(dialog.Score()->CharactersSent(), 13);
    }
}

TEST(CheckCopyWindow, APerfectCopyOffersTheNextCharacterOnTheSpinner) {
    Rig rig(Store(5));
    // Stopped early: scored and stored, but N + 1 waits for a whole session.
    rig.Session();
    CheckCopyDialog* early = rig.OpenDialog();
    ASSERT_NE(early, nullptr);
    early->CopyEdit()->setPlainText(rig.trainer().Sent().Text());
    early->CheckButton()->click();
    EXPECT_EQ(early->AccuracyLabel()->text(), "Accuracy 100.0%");
    EXPECT_FALSE(early->OfferButton()->isVisible());
    EXPECT_TRUE(early->AdviceLabel()->text().contains("The session was stopped at 0:0"));
    early->close();

    rig.Session(true);
    CheckCopyDialog* dialog = rig.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const QString sent = rig.trainer().Sent().Text();
    dialog->CopyEdit()->setPlainText(sent.toUpper() + "\n");
    dialog->CheckButton()->click();
    EXPECT_EQ(dialog->AccuracyLabel()->text(), "Accuracy 100.0%");
    ASSERT_TRUE(dialog->OfferButton()->isVisible());
    EXPECT_EQ(dialog->OfferButton()->text(), "Add the next character: A (6 characters)");
    EXPECT_TRUE(dialog->StoredLabel()->text().startsWith("Saved"));
    ASSERT_EQ(rig.Stored().size(), 2u);
    EXPECT_DOUBLE_EQ(rig.Stored()[1].accuracy, 100.0);
    EXPECT_EQ(rig.Stored()[1].characterCount, 5);

    dialog->OfferButton()->click();
    auto* spin = qobject_cast<QSpinBox*>(rig.window->Widget(ControlId::CharacterCountSpinEdit));
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->value(), 6);
    EXPECT_EQ(rig.store.Read(keys::Session1), 0b111111);
    EXPECT_EQ(rig.store.Read(keys::Session2), 0);
    EXPECT_FALSE(dialog->OfferButton()->isEnabled());

    // Checked again (a typo mended): the same record, and no second step.
    dialog->CheckButton()->click();
    EXPECT_FALSE(dialog->OfferButton()->isVisible());
    EXPECT_EQ(spin->value(), 6);
    EXPECT_EQ(rig.Stored().size(), 2u);

    // Closed and opened again: the same dialog with the copy typed.
    dialog->close();
    EXPECT_EQ(rig.OpenDialog(), dialog);
    EXPECT_EQ(dialog->CopyEdit()->toPlainText(), sent.toUpper() + "\n");
    dialog->close();

    // The next session is a record of its own.
    rig.Session();
    CheckCopyDialog* next = rig.OpenDialog();
    ASSERT_NE(next, nullptr);
    EXPECT_TRUE(next->CopyEdit()->toPlainText().isEmpty());
    next->CopyEdit()->setPlainText(rig.trainer().Sent().Text());
    next->CheckButton()->click();
    ASSERT_EQ(rig.Stored().size(), 3u);
    EXPECT_EQ(rig.Stored()[2].characterCount, 6);
}

TEST(CheckCopyWindow, ABadCopySaysHowFarToGoAndMarksTheErrors) {
    Rig rig(Store(4));
    rig.Session();
    CheckCopyDialog* dialog = rig.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    QString copy = rig.trainer().Sent().Text();
    // Every k copied as m, the first other character dropped, a group of two added at the end.
    copy.replace('k', 'm');
    const qsizetype dropAt = copy.indexOf(QRegularExpression("[^m ]"));
    ASSERT_GE(dropAt, 0);
    const QString dropped = copy.mid(dropAt, 1);
    copy.remove(dropAt, 1);
    dialog->CopyEdit()->setPlainText(copy + " qq");
    dialog->CheckButton()->click();
    ASSERT_TRUE(dialog->Score().has_value());
    ASSERT_FALSE(dialog->Score()->ReachesKochThreshold());
    EXPECT_FALSE(dialog->OfferButton()->isVisible());
    EXPECT_TRUE(dialog->AdviceLabel()->text().contains("points to go to 90%"));
    EXPECT_TRUE(dialog->AdviceLabel()->text().contains("Missed most: k "));
    EXPECT_TRUE(dialog->AdviceLabel()->text().contains("(as m "));
    EXPECT_TRUE(dialog->PairView()->toHtml().contains("#f4a6a6"));  // wrong characters marked
    EXPECT_EQ(rig.trainer().Options().Get(Option::CharacterCount), 4);
    EXPECT_EQ(dialog->StoredLabel()->text(), "Saved to your progress history.");

    // Read back through the progress window: the kinds of error and what was taken for what.
    rig.checking().ProgressAction()->trigger();
    ProgressWindow* progress = rig.checking().Progress();
    ASSERT_NE(progress, nullptr);
    ASSERT_EQ(progress->Records().size(), 1u);
    const SessionRecord& stored = progress->Records()[0];
    EXPECT_EQ(stored.added, 2);
    EXPECT_EQ(stored.dropped, dialog->Score()->Dropped());
    EXPECT_EQ(stored.wrong, dialog->Score()->Wrong());
    QTableWidget* errors = progress->ErrorTable();
    const QList<QTableWidgetItem*> row = errors->findItems(dropped.toUpper(), Qt::MatchExactly);
    ASSERT_FALSE(row.isEmpty());
    EXPECT_GE(errors->item(row[0]->row(), 4)->data(Qt::UserRole).toInt(), 1);
    EXPECT_TRUE(errors->item(row[0]->row(), 6)->text().contains("(none)"));
}

TEST(CheckCopyWindow, PairHtmlMarksEveryKindAndEscapes) {
    const CopyScore s = CopyScore::Score("k<m &r mk", "k<x &r rr mk");
    const QString html = CheckCopyDialog::PairHtml(s);
    EXPECT_TRUE(html.contains("&lt;"));
    EXPECT_TRUE(html.contains("&amp;"));
    EXPECT_FALSE(html.contains("k<m"));
    EXPECT_TRUE(html.contains("#f4a6a6"));  // wrong
    EXPECT_TRUE(html.contains("#a9c8f0"));  // added
    const QString dropped = CheckCopyDialog::PairHtml(CopyScore::Score("kmr", "km"));
    EXPECT_TRUE(dropped.contains("#f7d08a"));
    // The drills mark a call the same way; a right character stays as it is.
    for (const auto& [mark, colour] : {std::pair{CopyScore::Mark::Wrong, "#f4a6a6"},
                                       {CopyScore::Mark::Dropped, "#f7d08a"},
                                       {CopyScore::Mark::Added, "#a9c8f0"},
                                       {CopyScore::Mark::Correct, "k"}})
        EXPECT_TRUE(MarkedHtml("k", mark).contains(colour)) << colour;
    EXPECT_EQ(MarkedHtml("k", CopyScore::Mark::Correct), "k");
}

TEST(ChartAxes, AWholeStepCutsTheScaleIntoAtMostTheTicksAsked) {
    for (const auto& [span, ticks, step] : {std::tuple{1.0, 10, 1},
                                            {10.0, 10, 1},
                                            {11.0, 10, 2},
                                            {50.0, 10, 5},
                                            {100.0, 10, 10},
                                            {101.0, 10, 20},
                                            {500.0, 10, 50},
                                            {13.0, 12, 2},
                                            {0.0, 0, 1},
                                            {1e12, 10, 200'000'000}})
        EXPECT_EQ(WholeStep(span, ticks), step) << span;
}

// Progress only reads: a damaged history is shown as far as it can be read and left as
// it is; the next checked copy keeps what can be read in a new file and says so.
TEST(CheckCopyWindow, ProgressReadsADamagedHistoryAndTheNextCheckSalvagesIt) {
    Rig rig(Store(3));
    const QString path = rig.dir.filePath("history.sqlite");
    MakeHistory(path, 21);
    Spoil(path, {}, "sessions_by_time");
    const QByteArray spoilt = ReadAll(path);
    rig.checking().ProgressAction()->trigger();
    ProcessEvents();
    ASSERT_NE(rig.checking().Progress(), nullptr);
    EXPECT_EQ(rig.checking().Progress()->Records().size(), 21u);
    EXPECT_EQ(ReadAll(path), spoilt);
    EXPECT_EQ(Beside(path), QStringList{});

    EXPECT_TRUE(rig.CheckedSession().startsWith("Saved"));
    ASSERT_EQ(rig.prompts.messages.size(), 2u);  // read, then salvaged
    EXPECT_TRUE(rig.prompts.messages[1].text.contains("21 sessions"))
        << rig.prompts.messages[1].text.toStdString();
    EXPECT_TRUE(rig.prompts.messages[1].text.contains("damaged-"));
    EXPECT_EQ(rig.Stored().size(), 22u);
    EXPECT_EQ(rig.checking().Progress()->Records().size(), 22u);
    // Told once, not at every check.
    rig.checking().Dialog()->CheckButton()->click();
    EXPECT_EQ(rig.prompts.messages.size(), 2u);
}

// Another program put a new history in place of the one the window has open: the
// next check is stored in the new one.
TEST(CheckCopyWindow, AHistoryReplacedByAnotherProgramIsOpenedAgain) {
    Rig rig(Store(3));
    const QString path = rig.dir.filePath("history.sqlite");
    EXPECT_TRUE(rig.CheckedSession().startsWith("Saved"));
    MakeHistory(rig.dir.filePath("other.sqlite"), 5);
    ASSERT_EQ(std::rename(qPrintable(rig.dir.filePath("other.sqlite")), qPrintable(path)), 0);
    const QString stored = rig.CheckedSession();
    EXPECT_TRUE(stored.startsWith("Saved")) << stored.toStdString();
    EXPECT_EQ(rig.Stored().size(), 6u);
}

// The window and another program store sessions at the same time: every one is kept.
TEST(CheckCopyWindow, TwoProgramsWritingAtOnceLoseNothing) {
    Rig rig(Store(3));
    const QString path = rig.dir.filePath("history.sqlite");
    QProcess other;
    other.start(QCoreApplication::applicationFilePath(), {"--history-helper", "add", path, "300"});
    ASSERT_TRUE(other.waitForStarted());
    int saved = 0;
    for (int k = 0; k < 8; ++k)
        saved += rig.CheckedSession().startsWith("Saved") ? 1 : 0;
    ASSERT_TRUE(other.state() == QProcess::NotRunning || other.waitForFinished(60'000));
    EXPECT_EQ(other.exitCode(), 0) << other.readAllStandardError().toStdString();
    EXPECT_EQ(saved, 8);
    EXPECT_EQ(rig.Stored().size(), 308u);
    EXPECT_EQ(Beside(path).filter("damaged"), QStringList{});
    EXPECT_TRUE(rig.prompts.messages.empty()) << rig.prompts.messages[0].text.toStdString();
}

TEST(CheckCopyWindow, ProgressShowsTheHistoryAndExportsIt) {
    Rig rig(Store(5));
    {
        History h(rig.dir.filePath("history.sqlite"));
        ASSERT_TRUE(h.Open());
        for (int k = 0; k < 4; ++k) {
            SessionRecord r;
            r.ended = QDateTime(QDate(2024, 5, 1 + k), QTime(20, 0));
            r.source = "groups";
            r.order = "koch";
            r.characterCount = 5 + k;
            r.characterWpm = 25;
            r.charactersSent = 100;
            r.wrong = 20 - 4 * k;
            r.accuracy = 80 + 4 * k;
            r.characters = {{"k", 50, 0, r.wrong, 0}, {"m", 50, 0, 0, 0}};
            r.confusions = {{"k", "m", r.wrong}};
            ASSERT_TRUE(h.Add(r).has_value());
        }
        // Two recognition drills (m slow, once not answered) and two callsign runs.
        for (const auto& answers : {std::vector<RecognitionAnswer>{
                                        {"k", "k", 400}, {"k", "k", 600}, {"m", "m", 1500}, {"m", "", -1}},
                                    std::vector<RecognitionAnswer>{{"k", "k", 300}, {"m", "m", 1100}}}) {
            DrillRecord drill;
            drill.ended = QDateTime(QDate(2024, 5, 5 + static_cast<int>(answers.size())), QTime(20, 0));
            drill.answers = answers;
            ASSERT_TRUE(h.AddDrill(drill).has_value());
            drill.kind = DrillKind::Callsigns;
            drill.score = 300 * static_cast<int>(answers.size());
            ASSERT_TRUE(h.AddDrill(drill).has_value());
        }
    }
    // The learner's own target: 2 s, which m's slow answers (1.5 s, 1.1 s) are within.
    rig.store.Write(keys::DrillTarget, 2000);
    rig.checking().ProgressAction()->trigger();
    ProgressWindow* progress = rig.checking().Progress();
    ASSERT_NE(progress, nullptr);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->Records().size(), 4u);
    EXPECT_TRUE(progress->SummaryLabel()->text().startsWith("4 checked sessions"));

    const QList<QAbstractSeries*> series = progress->AccuracyChart()->chart()->series();
    ASSERT_EQ(series.size(), 3);
    auto* accuracy = qobject_cast<QLineSeries*>(series[0]);
    ASSERT_NE(accuracy, nullptr);
    ASSERT_EQ(accuracy->count(), 4);
    EXPECT_DOUBLE_EQ(accuracy->at(3).y(), 92.0);
    auto* ninety = qobject_cast<QLineSeries*>(series[2]);
    ASSERT_NE(ninety, nullptr);
    EXPECT_DOUBLE_EQ(ninety->at(0).y(), 90.0);
    EXPECT_DOUBLE_EQ(ninety->at(1).y(), 90.0);
    auto* learnt = qobject_cast<QLineSeries*>(progress->LearntChart()->chart()->series().value(0));
    ASSERT_NE(learnt, nullptr);
    ASSERT_EQ(learnt->count(), 4);
    EXPECT_DOUBLE_EQ(learnt->at(3).y(), 8.0);

    // The tables over every session: k missed 56 of 200 and taken for m.
    progress->RangeBox()->setCurrentIndex(progress->RangeBox()->findData(-1));
    QTableWidget* errors = progress->ErrorTable();
    ASSERT_EQ(errors->rowCount(), 2);
    EXPECT_EQ(errors->item(0, 0)->text(), "K");
    EXPECT_EQ(errors->item(0, 2)->text(), "56");
    EXPECT_EQ(errors->item(0, 6)->text(), "M 56");
    QTableWidget* matrix = progress->ConfusionTable();
    ASSERT_EQ(matrix->rowCount(), 2);
    EXPECT_EQ(matrix->horizontalHeaderItem(0)->text(), "M");
    EXPECT_EQ(matrix->item(0, 0)->text(), "56");
    // The last ten sessions are all four here.
    progress->RangeBox()->setCurrentIndex(0);
    EXPECT_EQ(errors->item(0, 2)->text(), "56");

    // The drills: median reaction time per drill, of all characters or of one; the
    // accuracy per character, slowest first; the callsign scores.
    auto reactions = [&] {
        auto* line = qobject_cast<QLineSeries*>(progress->ReactionChart()->chart()->series().value(0));
        std::vector<double> seconds;
        for (int k = 0; line && k < line->count(); ++k)
            seconds.push_back(line->at(k).y());
        return seconds;
    };
    EXPECT_EQ(progress->RecognitionDrills().size(), 2u);
    EXPECT_EQ(reactions(), (std::vector<double>{0.7, 0.6}));
    auto* target = qobject_cast<QLineSeries*>(progress->ReactionChart()->chart()->series().value(1));
    ASSERT_NE(target, nullptr);
    EXPECT_DOUBLE_EQ(target->at(0).y(), 2.0);
    progress->ReactionCharacterBox()->setCurrentIndex(progress->ReactionCharacterBox()->findData("k"));
    EXPECT_EQ(reactions(), (std::vector<double>{0.3, 0.5}));
    QTableWidget* recognition = progress->RecognitionTable();
    ASSERT_EQ(recognition->rowCount(), 2);
    EXPECT_EQ(recognition->item(0, 0)->text(), "M");
    EXPECT_EQ(recognition->item(0, 2)->text(), "2");
    EXPECT_EQ(recognition->item(0, 4)->text(), "1.3 s");
    EXPECT_EQ(recognition->item(0, 5)->text(), "1");
    auto* scores = qobject_cast<QLineSeries*>(progress->CallsignChart()->chart()->series().value(0));
    ASSERT_NE(scores, nullptr);
    ASSERT_EQ(scores->count(), 2);
    EXPECT_DOUBLE_EQ(scores->at(0).y(), 600.0);
    EXPECT_TRUE(progress->CallsignSummaryLabel()->text().contains("Best score 1200"));

    // Export: the CSV of the history, or an error box when it cannot be written.
    rig.prompts.saveFileName = rig.dir.filePath("export.csv");
    progress->ExportButton()->click();
    QFile csv(rig.dir.filePath("export.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 5);
    // The drills beside it: one line each, and every answer and call in files of their own.
    const auto lines = [&](const char* name) {
        QFile f(rig.dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll().split('\n').mid(1, -1) : QList<QByteArray>{};
    };
    const QList<QByteArray> drills = lines("export-drills.csv");
    ASSERT_EQ(drills.size(), 5);  // and the empty piece after the last line end
    EXPECT_TRUE(drills[0].contains(",recognition,") && drills[0].contains(",2,2,"));
    EXPECT_TRUE(drills[1].contains(",callsigns,") && drills[1].endsWith(",600\r"));
    EXPECT_TRUE(drills[2].contains(",recognition,") && drills[2].contains(",4,3,"));
    const QList<QByteArray> answers = lines("export-recognition.csv");
    ASSERT_EQ(answers.size(), 7);
    EXPECT_EQ(answers[0], QByteArray("3,1,k,k,300,1\r"));
    EXPECT_EQ(answers[5], QByteArray("1,4,m,,,0\r"));
    EXPECT_EQ(lines("export-callsigns.csv").size(), 1);
    rig.prompts.saveFileName = rig.dir.filePath("no/folder/export.csv");
    progress->ExportButton()->click();
    EXPECT_EQ(rig.prompts.errors.size(), 1);
    EXPECT_EQ(QDir(rig.prompts.StartFolder()), QDir(rig.dir.path()));           // where the last export went
    EXPECT_EQ(QDir(rig.store.Read(keys::ExportFolder)), QDir(rig.dir.path()));  // a failed one is not kept

    // A new check shows at once in the open window. With "Favour Missed" the session
    // drew k, missed most, more often than m.
    rig.store.Write(keys::FavourMissed, 1);
    rig.Session();
    const std::vector<int>& weights = rig.trainer().Groups().Weights();
    ASSERT_EQ(weights.size(), 5u);
    EXPECT_GT(weights[0], 2 * weights[1]);
    EXPECT_EQ(weights[1], 25 + 1);  // m: 1 miss in 203 tries; its answers are not slow
    CheckCopyDialog* dialog = rig.OpenDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->CopyEdit()->setPlainText(rig.trainer().Sent().Text());
    dialog->CheckButton()->click();
    EXPECT_EQ(progress->Records().size(), 5u);

    // Delete, newest first: asked, "No" keeps the session just checked, "Yes" removes
    // it from the file; then the newest drill.
    QTableWidget* entries = progress->EntryTable();
    ASSERT_EQ(entries->rowCount(), 9);
    EXPECT_FALSE(progress->DeleteButton()->isEnabled());
    entries->selectRow(0);
    progress->DeleteButton()->click();
    EXPECT_EQ(rig.Stored().size(), 5u);
    rig.prompts.yesAnswer = true;
    progress->DeleteButton()->click();
    EXPECT_EQ(rig.Stored().size(), 4u);
    entries->selectRow(0);
    progress->DeleteButton()->click();
    EXPECT_EQ(progress->RecognitionDrills().size(), 1u);  // read back from the file
    EXPECT_EQ(entries->rowCount(), 7);
    ASSERT_EQ(rig.prompts.questions.size(), 3);
    EXPECT_TRUE(rig.prompts.questions[0].startsWith("Delete the session of "));
    EXPECT_TRUE(rig.prompts.questions[2].startsWith("Delete the drill of "));
}

}  // namespace
}  // namespace lumbrel
