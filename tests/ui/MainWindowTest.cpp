// The main window binds the trainer's controls model both ways: a click runs the
// reaction, a model change shows; plus its commands, messages and closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>
#include <QtEndian>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>

#include "UiTestSupport.h"
#include "keying/RigPort.h"
#include "tests/TestSupport.h"
#include "tests/keying/FakeSerialLines.h"
#include "ui/AboutBox.h"
#include "ui/Configure.h"
#include "ui/Drills.h"
#include "ui/ControlWidgets.h"
#include "ui/DefineMorse.h"
#include "ui/MP3Recording.h"
#include "ui/RichEditRx.h"
#include "ui/SendWindow.h"
#include "ui/SessionBinding.h"

namespace lumbrel::test {
namespace {

template <typename T>
T* W(const WindowRig& rig, ControlId id) {
    auto* w = qobject_cast<T*>(rig.window->Widget(id));
    EXPECT_NE(w, nullptr);
    return w;
}

QStringList ItemsOf(const RadioGroup* group) {
    QStringList items;
    for (int i = 0; i < group->Count(); ++i)
        items << group->Button(i)->text();
    return items;
}

TEST(MainWindow, CaptionMinimumSizeAndToolBar) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Lumbrel - Zelph"));
    EXPECT_GE(w.minimumWidth(), 674);
    EXPECT_GE(w.minimumHeight(), 508);

    QStringList captions;
    for (QAction* a : w.ToolBar()->actions())
        if (!a->text().isEmpty() && a->isVisible())
            captions << a->text();
    // Fewer than all characters in use: Text FIle, Words and QSO's are hidden.
    EXPECT_EQ(captions, (QStringList{"Start", "Stop", "Setup", "Finish"}));
    EXPECT_EQ(w.Action(ControlId::ToolButton3)->toolTip(),
              "Click here to listen to random groups of Morse (F5)");
    EXPECT_FALSE(w.Action(ControlId::ToolButton4)->isEnabled());
    EXPECT_EQ(w.Action(ControlId::ToolButton6)->text(), "Text FIle");
    EXPECT_NE(w.Action(ControlId::ToolButton7)->menu(), nullptr);
    EXPECT_NE(w.Action(ControlId::ToolButton8)->menu(), nullptr);
    for (QAction* a : w.ToolBar()->actions()) {
        if (!a->text().isEmpty()) {
            EXPECT_FALSE(a->icon().isNull()) << a->text().toStdString();
        }
    }
}

TEST(MainWindow, ContextMenuOfTheTextArea) {
    WindowRig rig;
    QStringList items;
    for (QAction* a : rig.window->TextMenu()->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items,
              (QStringList{"Select Font", "-", "Single Words Only", "-", "Clear ", "-", "Save To File"}));
    EXPECT_TRUE(rig.window->Action(ControlId::SingleWordsOnly1)->isCheckable());
}

TEST(MainWindow, EmptyStoreRestoresTheDefaults) {
    WindowRig rig;
    rig.window->show();
    ProcessEvents();
    EXPECT_EQ(W<QSpinBox>(rig, ControlId::PitchSpinner)->value(), 750);
    EXPECT_EQ(W<QSpinBox>(rig, ControlId::CharacterCountSpinEdit)->value(), 2);
    EXPECT_EQ(W<QSpinBox>(rig, ControlId::CharacterCountSpinEdit)->maximum(), 40);
    EXPECT_EQ(W<RadioGroup>(rig, ControlId::RadioGroup1)->Index(), 2);
    EXPECT_EQ(ItemsOf(W<RadioGroup>(rig, ControlId::CodeSpeedRadioGroup)),
              (QStringList{"25", "21", "18", "15", "12", "9", "6", "3"}));
    EXPECT_EQ(W<QComboBox>(rig, ControlId::DisplayDelayComboBox)->currentText(), "0");
    EXPECT_EQ(W<QComboBox>(rig, ControlId::DisplayDelayComboBox)->count(), 13);
    EXPECT_EQ(W<RadioGroup>(rig, ControlId::NoiseRadioGroup)->Index(), 0);
    EXPECT_EQ(W<RadioGroup>(rig, ControlId::SignalRadioGroup)->Button(7)->text(), "S9");
    EXPECT_EQ(W<RadioGroup>(rig, ControlId::SignalRadioGroup)->Index(), 7);
    EXPECT_FALSE(W<QCheckBox>(rig, ControlId::QSBCheckBox)->isChecked());
    EXPECT_TRUE(W<QWidget>(rig, ControlId::QSBModeRadioGroup)->isHidden());
    EXPECT_TRUE(W<QWidget>(rig, ControlId::QSBTypeRadioGroup)->isHidden());
    EXPECT_EQ(W<QLabel>(rig, ControlId::Label1)->text(), "00:00");
    EXPECT_EQ(rig.window->Sent()->font().family(), "Arial");
    EXPECT_EQ(rig.window->Sent()->font().pointSize(), 10);
    EXPECT_TRUE(rig.window->Sent()->font().bold());
    // The setup dialog got its captions from the first showing.
    EXPECT_EQ(rig.window->setupDialog().CharacterBox(0)->text(), "K");
    EXPECT_EQ(rig.window->setupDialog().CharacterBox(39)->text(), "X");
}

TEST(MainWindow, RestoringAControlRunsItsReaction) {
    WindowRig rig(StoreWith(
        {{&keys::Qsb, 1}, {&keys::Speed, 0}, {&keys::Delay, 4}, {&keys::Pitch, 1000}, {&keys::Chirp, 1}}));
    rig.window->show();
    EXPECT_TRUE(rig.window->trainer().Signal().Switches().ChirpOn);  // once the character list exists
    EXPECT_TRUE(W<QCheckBox>(rig, ControlId::QSBCheckBox)->isChecked());
    EXPECT_FALSE(W<QWidget>(rig, ControlId::QSBModeRadioGroup)->isHidden());
    EXPECT_EQ(ItemsOf(W<RadioGroup>(rig, ControlId::CodeSpeedRadioGroup)),
              (QStringList{"15", "13", "11", "9", "7", "5", "3", "1"}));
    EXPECT_EQ(W<RadioGroup>(rig, ControlId::CodeSpeedRadioGroup)->Index(), 4);
    EXPECT_EQ(rig.window->trainer().Signal().Impairments().EffectivePermille, 500);
    EXPECT_FALSE(W<QCheckBox>(rig, ControlId::SpeedStepCheckBox)->isEnabled());
    EXPECT_EQ(rig.window->trainer().Signal().Pitch(), 1000);
}

TEST(MainWindow, ClicksRunTheReactions) {
    WindowRig rig;
    rig.window->show();
    Trainer& t = rig.window->trainer();

    W<QCheckBox>(rig, ControlId::QSBCheckBox)->click();
    EXPECT_TRUE(t.Options().On(Option::Fading));
    EXPECT_FALSE(W<QWidget>(rig, ControlId::QSBModeRadioGroup)->isHidden());
    W<QCheckBox>(rig, ControlId::QSBCheckBox)->click();
    EXPECT_TRUE(W<QWidget>(rig, ControlId::QSBTypeRadioGroup)->isHidden());

    W<RadioGroup>(rig, ControlId::CodeSpeedRadioGroup)->Button(4)->click();
    EXPECT_EQ(t.Signal().Impairments().EffectivePermille, 500);
    EXPECT_FALSE(W<QCheckBox>(rig, ControlId::SpeedStepCheckBox)->isEnabled());
    // A click on the speed already selected changes nothing.
    W<RadioGroup>(rig, ControlId::RadioGroup1)->Button(2)->click();
    EXPECT_EQ(t.Signal().Impairments().EffectivePermille, 500);
    // A new character speed returns the effective speed to full.
    W<RadioGroup>(rig, ControlId::RadioGroup1)->Button(0)->click();
    EXPECT_EQ(t.Signal().Wpm(), 15);
    EXPECT_EQ(t.Signal().Impairments().EffectivePermille, 1000);
    EXPECT_EQ(W<RadioGroup>(rig, ControlId::CodeSpeedRadioGroup)->Index(), 0);
    EXPECT_EQ(ItemsOf(W<RadioGroup>(rig, ControlId::CodeSpeedRadioGroup)).first(), "15");
    EXPECT_FALSE(W<QCheckBox>(rig, ControlId::SpeedStepCheckBox)->isEnabled());
    W<RadioGroup>(rig, ControlId::RadioGroup1)->Button(1)->click();
    EXPECT_TRUE(W<QCheckBox>(rig, ControlId::SpeedStepCheckBox)->isEnabled());

    W<QSpinBox>(rig, ControlId::PitchSpinner)->setValue(1200);
    EXPECT_EQ(t.Signal().Pitch(), 1200);
    EXPECT_EQ(t.Options().Get(Option::Pitch), 1200);

    W<RadioGroup>(rig, ControlId::NoiseRadioGroup)->Button(3)->click();
    EXPECT_EQ(t.Options().Get(Option::Noise), 3);
    W<QCheckBox>(rig, ControlId::PitchDitherCheckBox)->click();
    EXPECT_TRUE(t.Options().On(Option::PitchDither));
    t.Sent().Append(QStringLiteral("abc"));
    W<QComboBox>(rig, ControlId::DisplayDelayComboBox)->setCurrentIndex(12);
    EXPECT_EQ(t.Display().Delay(), 20);
    EXPECT_EQ(rig.window->Sent()->toPlainText(), "");
}

TEST(MainWindow, ModelChangesShow) {
    WindowRig rig;
    ControlsModel& m = rig.window->Controls();
    m.SetValue(ControlId::PitchSpinner, 900);
    EXPECT_EQ(W<QSpinBox>(rig, ControlId::PitchSpinner)->value(), 900);
    m.SetText(ControlId::Label1, QStringLiteral("01:07"));
    EXPECT_EQ(W<QLabel>(rig, ControlId::Label1)->text(), "01:07");
    m.SetText(ControlId::StatusBar1, QStringLiteral("  12 characters sent"));
    EXPECT_EQ(rig.window->StatusLine()->text(), "  12 characters sent");
    m.SetText(ControlId::TrayIcon1, QStringLiteral("kmr"));
    EXPECT_EQ(rig.window->TrayIcon()->toolTip(), "kmr");
    m.SetEnabled(ControlId::ToolButton3, false);
    EXPECT_FALSE(rig.window->Action(ControlId::ToolButton3)->isEnabled());
    m.SetVisible(ControlId::ToolButton7, true);
    EXPECT_TRUE(rig.window->Action(ControlId::ToolButton7)->isVisible());
    m.SetChecked(ControlId::WeightingCheckBox, true);
    EXPECT_TRUE(W<QCheckBox>(rig, ControlId::WeightingCheckBox)->isChecked());
    m.SetValue(ControlId::DisplayDelayComboBox, 12);
    EXPECT_EQ(W<QComboBox>(rig, ControlId::DisplayDelayComboBox)->currentText(), "20");
    // A model change is not a user change: the reaction did not run.
    EXPECT_EQ(rig.window->trainer().Signal().Pitch(), 750);

    rig.window->trainer().Sent().Append(QStringLiteral("kmm "));
    EXPECT_EQ(rig.window->Sent()->toPlainText(), "kmm ");
    rig.window->ClearAction()->trigger();
    EXPECT_EQ(rig.window->Sent()->toPlainText(), "");
    EXPECT_EQ(rig.window->trainer().Sent().Text(), "");
}

TEST(MainWindow, ToolsNeedAllCharacters) {
    WindowRig rig;
    rig.window->show();
    W<QSpinBox>(rig, ControlId::CharacterCountSpinEdit)->setValue(40);
    EXPECT_TRUE(rig.window->Action(ControlId::ToolButton6)->isVisible());
    EXPECT_TRUE(rig.window->Action(ControlId::ToolButton7)->isVisible());
    EXPECT_TRUE(rig.window->Action(ControlId::ToolButton8)->isVisible());
    EXPECT_TRUE(rig.window->Action(ControlId::ToolButton12)->isVisible());
    W<QSpinBox>(rig, ControlId::CharacterCountSpinEdit)->setValue(39);
    EXPECT_FALSE(rig.window->Action(ControlId::ToolButton6)->isVisible());
    EXPECT_FALSE(rig.window->Action(ControlId::ToolButton13)->isVisible());
}

TEST(MainWindow, SessionShowsTextTimeAndCount) {
    WindowRig rig(StoreWith({{&keys::Pause, 0}}));
    rig.window->show();
    rig.window->Action(ControlId::ToolButton3)->trigger();
    ASSERT_TRUE(rig.window->trainer().SessionActive());
    rig.Run(5000);
    EXPECT_FALSE(rig.window->Sent()->toPlainText().isEmpty());
    EXPECT_TRUE(rig.window->StatusLine()->text().contains("characters sent"));
    // The once-a-second update: the pump's own 50 ms timer may add ticks of its own to
    // the test's, so the last update fell within the last second.
    const QString time = W<QLabel>(rig, ControlId::Label1)->text();
    EXPECT_TRUE(time == "00:04" || time == "00:05") << time.toStdString();
    EXPECT_EQ(rig.window->Sent()->toPlainText(), rig.window->trainer().Sent().Text());
}

TEST(MainWindow, CloseDuringASessionStopsItAndStaysOpen) {
    WindowRig rig(StoreWith({{&keys::Pause, 0}}));
    rig.window->show();
    QSignalSpy closed(rig.window.get(), &MainWindow::Closed);
    rig.window->Action(ControlId::ToolButton3)->trigger();
    rig.window->hide();  // into the notification area and back: the session still runs
    rig.window->TrayIcon1Click();
    EXPECT_FALSE(rig.window->close());
    EXPECT_TRUE(rig.window->trainer().WindingDown());  // stopping
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(rig.window->isVisible());
    rig.Run(3000);
    EXPECT_FALSE(rig.window->trainer().SessionActive());
    EXPECT_TRUE(rig.window->close());
    EXPECT_EQ(closed.count(), 1);
}

TEST(MainWindow, FinishClosesWhenIdleAndSavesTheOptions) {
    auto backend = std::make_shared<RecordingBackend>();
    WindowRig rig{SettingsStore(backend)};
    rig.window->show();
    QSignalSpy closed(rig.window.get(), &MainWindow::Closed);
    W<QSpinBox>(rig, ControlId::PitchSpinner)->setValue(820);
    backend->writes.clear();
    rig.window->Action(ControlId::ToolButton10)->trigger();
    EXPECT_EQ(closed.count(), 0);  // the close is queued after the reaction
    ProcessEvents();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(rig.store.Read(keys::Pitch), 820);
    // Placement first, then the options in their documented order.
    const QStringList expected = {"FormState/Maximized",
                                  "FormState/Left",
                                  "FormState/Top",
                                  "FormState/Right",
                                  "FormState/Bottom",
                                  "FormState/Saved",
                                  "Setup/Letters",
                                  "Setup/Speed",
                                  "Setup/Delay",
                                  "Setup/Pitch",
                                  "Setup/Display",
                                  "Setup/FontSize",
                                  "Setup/Display Delay",
                                  "Setup/Noise Level",
                                  "Setup/Chirp",
                                  "Setup/Straight Key",
                                  "Setup/QRM",
                                  "Setup/Signal Level",
                                  "Setup/QSB",
                                  "Setup/QSB Mode",
                                  "Setup/QSB Type",
                                  "Setup/Speed Step",
                                  "Setup/Pitch Dither",
                                  "Setup/Variable Weighting",
                                  "Setup/Single Word Only"};
    EXPECT_EQ(backend->writes, expected);
    EXPECT_FALSE(rig.audio.IsOpen());
}

TEST(MainWindow, MessagesWaitForTheReactionAndComeOneAtATime) {
    WindowRig rig;
    rig.window->ShowMessage(QStringLiteral("first"), QStringLiteral("Information"));
    rig.window->ShowMessage(QStringLiteral("second"), QStringLiteral("waveOutWrite"));
    EXPECT_TRUE(rig.prompts.messages.empty());
    EXPECT_EQ(rig.window->PendingMessages(), 2);
    // A message raised while a box is open waits for it too.
    rig.prompts.duringMessage = [&] {
        rig.prompts.duringMessage = nullptr;
        rig.window->ShowMessage(QStringLiteral("third"), QStringLiteral("Information"));
    };
    ProcessEvents(10);
    ASSERT_EQ(rig.prompts.messages.size(), 3u);
    EXPECT_EQ(rig.prompts.messages[0].text, "first");
    EXPECT_EQ(rig.prompts.messages[1].caption, "waveOutWrite");
    EXPECT_EQ(rig.prompts.messages[2].text, "third");
    EXPECT_EQ(rig.prompts.maxDepth, 1);
}

TEST(MainWindow, NoAudioDeviceShowsWaveOutOpenAndGoesOn) {
    VirtualClock clock;
    VirtualAudioDevice audio(clock);
    audio.InjectFailure(VirtualAudioDevice::Call::Open, "no device here");
    FakePrompts prompts;
    MainWindow window({.store = SettingsStore::InMemory(),
                       .clock = clock,
                       .audio = audio,
                       .seed = 1,
                       .prompts = &prompts,
                       .trayAvailable = [] {
                           return false;
                       }});
    window.show();
    ProcessEvents();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].caption, "waveOutOpen");
    EXPECT_EQ(prompts.messages[0].text, NoSoundOutputText("no device here."));
    EXPECT_EQ(prompts.messages[0].kind, MessageKind::Error);  // the trainer's kind reaches the box
    EXPECT_TRUE(window.isVisible());
}

TEST(MainWindow, SingleWordsOnlyAndSpeakTheAnswerAreStoredAtExit) {
    WindowRig rig;
    rig.window->show();
    QAction* single = rig.window->Action(ControlId::SingleWordsOnly1);
    single->trigger();
    EXPECT_TRUE(single->isChecked());
    EXPECT_TRUE(rig.window->trainer().SettingCopies().singleWordOnly);
    auto* speak = rig.window->SessionMenu()->findChild<QAction*>(QStringLiteral("SpeakAnswer1"));
    ASSERT_TRUE(speak);
    EXPECT_EQ(speak->text(), QStringLiteral("Speak the &answer"));
    EXPECT_FALSE(speak->isChecked());
    speak->trigger();
    EXPECT_TRUE(rig.window->trainer().SpeakAnswers());
    rig.window->close();
    EXPECT_EQ(rig.store.Read(keys::SingleWordOnly), 1);
    EXPECT_EQ(rig.store.Read(keys::SpeakAnswer), 1);
}

TEST(MainWindow, SelectFontStoresFaceAndSize) {
    WindowRig rig;
    rig.window->show();
    rig.window->SelectFontAction()->trigger();  // cancelled
    EXPECT_EQ(rig.prompts.maxFontOffered, 200);
    EXPECT_FALSE(rig.store.Raw("Setup", "Font Name").has_value());

    QFont chosen(QStringLiteral("DejaVu Serif"), 24);
    chosen.setItalic(true);
    rig.prompts.fontAnswer = chosen;
    rig.prompts.colourAnswer = QColor(Qt::darkGreen);
    rig.window->SelectFontAction()->trigger();
    EXPECT_EQ(rig.window->Sent()->palette().color(QPalette::Text), QColor(Qt::darkGreen));
    EXPECT_EQ(rig.store.Read(keys::FontSize), 24);
    EXPECT_EQ(rig.store.Read(keys::FontName), "DejaVu Serif");
    EXPECT_TRUE(rig.window->Sent()->font().italic());  // for this run
    rig.window->close();
    EXPECT_EQ(rig.store.Read(keys::FontSize), 24);
}

TEST(MainWindow, SaveToFileWritesTheLines) {
    QTemporaryDir dir;
    WindowRig rig;
    rig.window->SaveToFileAction()->trigger();  // cancelled: nothing
    EXPECT_TRUE(rig.prompts.errors.isEmpty());

    rig.prompts.saveFileName = dir.filePath("empty.txt");
    rig.window->SaveToFileAction()->trigger();
    QFile empty(rig.prompts.saveFileName);
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    EXPECT_EQ(empty.readAll(), "");

    rig.window->trainer().Sent().SetLines({QStringLiteral("cq cq"), QStringLiteral("de lumbrel")});
    rig.prompts.saveFileName = dir.filePath("copy.txt");
    rig.window->SaveToFileAction()->trigger();
    EXPECT_EQ(ReadAll(rig.prompts.saveFileName), "cq cq\nde lumbrel\n");

    rig.prompts.saveFileName = dir.filePath("no/such/folder/x.txt");
    rig.window->SaveToFileAction()->trigger();
    EXPECT_EQ(rig.prompts.errors.size(), 1);
    EXPECT_EQ(rig.window->Sent()->toPlainText(), "cq cq\nde lumbrel");
}

TEST(MainWindow, SetupStopsRunsTheDialogAndTakesItsValues) {
    WindowRig rig(StoreWith({{&keys::Pause, 4}}));
    rig.window->show();
    rig.window->Action(ControlId::ToolButton3)->trigger();
    ASSERT_TRUE(rig.window->trainer().CountdownPending());

    ConfigureDialog& setup = rig.window->setupDialog();
    bool wordsTab = true;
    bool stopped = false;
    QTimer::singleShot(0, &setup, [&] {
        stopped = !rig.window->trainer().CountdownPending();
        wordsTab = setup.CommonWordsPageVisible();
        EXPECT_TRUE(rig.window->SetupOpen());
        setup.SessionLengthSpinEdit()->setValue(12);
        setup.MFJOrderCheckBox()->setChecked(true);
        setup.reject();  // Escape does not close the dialog
        EXPECT_TRUE(setup.isVisible());
        setup.OkayButton()->click();
    });
    rig.window->SetupAction()->trigger();
    EXPECT_TRUE(stopped);
    EXPECT_FALSE(wordsTab);  // fewer than all characters in use
    EXPECT_FALSE(rig.window->SetupOpen());
    EXPECT_EQ(rig.store.Read(keys::Session), 12);
    // The copies and the character list follow the dialog: the MFJ order.
    EXPECT_TRUE(rig.window->trainer().SettingCopies().useMfj);
    EXPECT_EQ(setup.CharacterBox(0)->text(), "W");
}

TEST(MainWindow, SetupShowsTheWordsPageWithAllCharacters) {
    WindowRig rig(StoreWith({{&keys::Letters, 40}}));
    rig.window->show();
    ConfigureDialog& setup = rig.window->setupDialog();
    bool wordsTab = false;
    QTimer::singleShot(0, &setup, [&] {
        wordsTab = setup.CommonWordsPageVisible();
        setup.OkayButton()->click();
    });
    rig.window->SetupButtonClick();
    EXPECT_TRUE(wordsTab);
}

TEST(MainWindow, MinimiseHidesIntoTheNotificationAreaIfThereIsOne) {
    for (const bool tray : {true, false}) {
        SCOPED_TRACE(tray);
        WindowRig rig(SettingsStore::InMemory(), tray);
        rig.window->show();
        ProcessEvents();
        ASSERT_EQ(rig.window->TrayInUse(), tray);
        rig.window->setWindowState(Qt::WindowMinimized);
        ProcessEvents();
        EXPECT_EQ(rig.window->isHidden(), tray);
        if (!tray) {
            EXPECT_TRUE(rig.window->isMinimized());
            continue;
        }
        rig.window->TrayIcon1Click();
        ProcessEvents();
        EXPECT_TRUE(rig.window->isVisible());
        EXPECT_FALSE(rig.window->isMinimized());
    }
}

TEST(MainWindow, AboutBoxOpensModally) {
    WindowRig rig;
    bool shown = false;
    QTimer::singleShot(0, rig.window.get(), [&] {
        QWidget* modal = QApplication::activeModalWidget();
        shown = modal == static_cast<QWidget*>(&rig.window->aboutBox());
        rig.window->aboutBox().accept();
    });
    rig.window->AboutAction()->trigger();
    EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace lumbrel::test

namespace lumbrel::test {
namespace {

// Runs a short session from Start to its end of session.
void PlayShortSession(WindowRig& rig) {
    rig.window->Action(ControlId::ToolButton3)->trigger();
    rig.Run(3000);
    rig.window->Action(ControlId::ToolButton4)->trigger();
    rig.Run(3000);
    ASSERT_FALSE(rig.window->trainer().SessionActive());
}

TEST(RecordAudioFile, WavRecordingAndTranscriptOfTheNextSession) {
    QTemporaryDir dir;
    WindowRig rig(StoreWith({{&keys::Pause, 0}, {&keys::Letters, 5}, {&keys::Speed, 1}}));
    rig.window->show();
    rig.prompts.audioChoice = {dir.filePath("take"), 0};
    rig.window->RecordAudioAction()->trigger();
    EXPECT_EQ(rig.prompts.audioDefaultName, "Lumbrel_05_20_20");
    EXPECT_EQ(rig.prompts.audioFilters.first(), "Audio WAV Files (*.wav)");
    ASSERT_TRUE(rig.window->trainer().Recorder().Recording());
    EXPECT_EQ(QFileInfo(dir.filePath("take.wav")).size(), 46);  // armed: the header only

    PlayShortSession(rig);
    EXPECT_FALSE(rig.window->trainer().Recorder().Armed());
    const QByteArray bytes = ReadAll(dir.filePath("take.wav"));
    ASSERT_GT(bytes.size(), 46 + 176400);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + 42), static_cast<quint32>(bytes.size() - 46));
    EXPECT_FALSE(rig.window->trainer().Sent().Text().trimmed().isEmpty());
    EXPECT_EQ(QString::fromUtf8(ReadAll(dir.filePath("take.txt"))).trimmed(),
              rig.window->trainer().Sent().Text().trimmed());
    EXPECT_TRUE(rig.prompts.messages.empty());
}

TEST(RecordAudioFile, AFileThatCannotBeCreatedIsToldAndNothingIsArmed) {
    QTemporaryDir dir;
    WindowRig rig;
    rig.window->show();
    rig.prompts.audioChoice = {dir.filePath("no/such/folder/take"), 0};
    rig.window->RecordAudioAction()->trigger();
    rig.Run(100);
    EXPECT_FALSE(rig.window->trainer().Recorder().Armed());
    ASSERT_EQ(rig.prompts.messages.size(), 1u);
    EXPECT_TRUE(rig.prompts.messages[0].text.contains("take.wav"))
        << rig.prompts.messages[0].text.toStdString();

    rig.prompts.audioChoice = {};  // cancelled: nothing changes
    rig.window->RecordAudioAction()->trigger();
    EXPECT_FALSE(rig.window->trainer().Recorder().Armed());
}

TEST(RecordAudioFile, Mp3RecordingEndsWithItsTagWhenTheEncoderIsInstalled) {
    QTemporaryDir dir;
    WindowRig rig(StoreWith({{&keys::Pause, 0}}));
    rig.window->show();
    // The latest choice wins: a WAV armed first, still empty, is removed for the MP3.
    rig.prompts.audioChoice = {dir.filePath("first"), 0};
    rig.window->RecordAudioAction()->trigger();
    if (rig.prompts.audioFilters.size() < 2)
        GTEST_SKIP() << "no MP3 encoder library on this machine";
    EXPECT_EQ(rig.prompts.audioSelected, 1);  // MP3 is offered first
    ASSERT_TRUE(QFileInfo::exists(dir.filePath("first.wav")));
    rig.prompts.audioChoice = {dir.filePath("take.wav"), 1};
    rig.window->RecordAudioAction()->trigger();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("first.wav")));
    ASSERT_TRUE(rig.window->trainer().Recorder().Recording());
    PlayShortSession(rig);
    const QByteArray bytes = ReadAll(dir.filePath("take.wav.mp3"));  // the type chosen decides the format
    ASSERT_GT(bytes.size(), 128 + 1000);
    EXPECT_EQ(bytes.right(128).left(3), "TAG");
    EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 255);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);  // a frame from the first byte
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("take.wav.txt")));

    // A WAV chosen during the session, after an MP3 that holds audio: the MP3 is finished
    // as it stands, with its transcript, and the WAV takes the rest of the session.
    rig.prompts.audioChoice = {dir.filePath("second"), 1};
    rig.window->RecordAudioAction()->trigger();
    rig.window->Action(ControlId::ToolButton3)->trigger();
    rig.Run(3000);
    rig.prompts.audioChoice = {dir.filePath("third"), 0};
    rig.window->RecordAudioAction()->trigger();
    EXPECT_EQ(ReadAll(dir.filePath("second.mp3")).right(128).left(3), "TAG");
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("second.txt")));
    rig.Run(3000);
    rig.window->Action(ControlId::ToolButton4)->trigger();
    rig.Run(3000);
    EXPECT_GT(QFileInfo(dir.filePath("third.wav")).size(), 46 + 44100);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("third.txt")));
}

TEST(RecordAudioFile, TheDialogAsksAboutTheFilesReallyWritten) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);  // Qt's own, on any desktop
    QTemporaryDir dir;
    for (const char* name : {"take.wav", "take.txt"})
        WriteAll(dir.filePath(name), "kept");
    VirtualClock clock;
    VirtualAudioDevice audio(clock);
    MainWindow window(
        {.store = SettingsStore::InMemory(), .clock = clock, .audio = audio, .seed = 1, .trayAvailable = [] {
             return false;
         }});
    window.show();
    // The user: "take" typed as a WAV in the real dialog, No to the question, then back
    // in the dialog, Yes.
    int step = 0;
    QString question, offeredAgain;
    bool kept = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (dialog && step % 2 == 0) {
            if (step == 0) {
                dialog->selectNameFilter("Audio WAV Files (*.wav)");
                dialog->selectFile(dir.filePath("take"));
            }
            offeredAgain = dialog->selectedFiles().value(0);
            kept = QFileInfo(dir.filePath("take.wav")).size() == 4;
            QMetaObject::invokeMethod(dialog, "accept");  // the Save button
            ++step;
        } else if (box && step % 2 == 1) {
            question = box->text();
            box->button(step++ == 1 ? QMessageBox::No : QMessageBox::Yes)->click();
        }
    });
    user.start(5);
    window.RecordAudioAction()->trigger();
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, false);
    EXPECT_EQ(step, 4);
    EXPECT_EQ(question.toStdString(), "take.wav and take.txt already exist.\nDo you want to replace them?");
    EXPECT_EQ(offeredAgain, dir.filePath("take"));
    EXPECT_TRUE(kept);
    ASSERT_TRUE(window.trainer().Recorder().Recording());
    EXPECT_EQ(QFileInfo(dir.filePath("take.wav")).size(), 4);  // replaced only by the first audio
}

TEST(RecordAudioFile, TheDefaultNameTakesTheSelectedSpeedNotAStations) {
    QTemporaryDir dir;
    WriteAll(dir.filePath("station.txt"), "cq,40,0,0,0\n");
    WindowRig rig(StoreWith({{&keys::Letters, 40}, {&keys::Speed, 1}}));
    rig.window->show();
    rig.prompts.openFileName = dir.filePath("station.txt");
    rig.window->Action(ControlId::ToolButton6)->trigger();
    ASSERT_TRUE(rig.window->trainer().SessionActive());
    rig.Run(20000);
    ASSERT_FALSE(rig.window->trainer().SessionActive());
    rig.window->RecordAudioAction()->trigger();
    EXPECT_EQ(rig.prompts.audioDefaultName, "Lumbrel_40_20_20");
}

}  // namespace
}  // namespace lumbrel::test

namespace lumbrel::test {
namespace {

TEST(TextSources, WordsButtonAndItsDropDownPlayTheShippedWordFiles) {
    WindowRig rig(StoreWith({{&keys::Letters, 40}}));
    rig.window->show();
    rig.window->WordsPopupMenu()->aboutToShow();
    QStringList items;
    for (QAction* a : rig.window->WordsPopupMenu()->actions())
        items << a->text();
    EXPECT_TRUE(items.contains("1000 Common Words.txt")) << items.join(", ").toStdString();

    rig.window->Action(ControlId::ToolButton7)->trigger();
    ASSERT_TRUE(rig.window->trainer().SessionActive());
    EXPECT_EQ(rig.window->trainer().Source(), SourceKind::RandomEntries);
    rig.Run(4000);
    rig.window->Action(ControlId::ToolButton4)->trigger();
    rig.Run(5000);
    EXPECT_FALSE(rig.window->trainer().SessionActive());
    EXPECT_FALSE(rig.window->Sent()->toPlainText().trimmed().isEmpty());
}

TEST(TextSources, OpenedAndDroppedTextFilesArePlayed) {
    QTemporaryDir dir;
    const QString path = dir.filePath("hello.txt");
    WriteAll(path, "cq cq de lumbrel k\n");

    WindowRig rig(StoreWith({{&keys::Letters, 40}}));
    rig.window->show();
    rig.prompts.openFileName = {};  // cancelled: nothing happens
    rig.window->Action(ControlId::ToolButton6)->trigger();
    EXPECT_FALSE(rig.window->trainer().SessionActive());

    rig.prompts.openFileName = path;
    rig.window->Action(ControlId::ToolButton6)->trigger();
    ASSERT_TRUE(rig.window->trainer().SessionActive());
    EXPECT_EQ(rig.window->trainer().Source(), SourceKind::SequentialText);
    rig.Run(30000);
    EXPECT_FALSE(rig.window->trainer().SessionActive());
    EXPECT_EQ(rig.window->Sent()->toPlainText().trimmed(), "cq cq de lumbrel k");

    // The same file dropped on the window; a remote address is ignored.
    EXPECT_TRUE(rig.window->acceptDrops());
    rig.window->DropFiles({QUrl(QStringLiteral("https://example.org/x.txt"))});
    rig.Run(100);
    EXPECT_FALSE(rig.window->trainer().SessionActive());
    rig.window->DropFiles({QUrl::fromLocalFile(path)});
    EXPECT_FALSE(rig.window->trainer().SessionActive());  // not inside the drop itself
    rig.Run(100);
    EXPECT_TRUE(rig.window->trainer().SessionActive());
}

TEST(TextSources, AFileNamedOnTheCommandLinePlaysOnceEveryCharacterIsInUse) {
    QTemporaryDir dir;
    const QString path = dir.filePath("notes");  // no ".txt": the user named it
    WriteAll(path, "qrl k\n");

    // Twelve characters: the window says why, and plays nothing.
    SettingsStore few = SettingsStore::InMemory();
    few.Write(keys::Letters, 12);
    WindowRig early(few);
    early.window->show();
    early.window->PlayFileArguments({path});
    early.Run(200);
    EXPECT_FALSE(early.window->trainer().SessionActive());
    ASSERT_EQ(early.prompts.messages.size(), 1u);
    EXPECT_TRUE(early.prompts.messages[0].text.contains("Raise \"Characters\" to 40 (now 12)"))
        << early.prompts.messages[0].text.toStdString();
    EXPECT_EQ(early.prompts.messages[0].caption, "Play Text File");

    // Every character in use: the last file named plays through to its end.
    WindowRig rig(StoreWith({{&keys::Letters, 40}}));
    rig.window->show();
    rig.window->PlayFileArguments({dir.filePath("missing.txt"), path});
    EXPECT_FALSE(rig.window->trainer().SessionActive());  // once the window is up
    rig.Run(100);
    ASSERT_TRUE(rig.window->trainer().SessionActive());
    EXPECT_EQ(rig.window->trainer().Source(), SourceKind::SequentialText);
    rig.Run(30000);
    EXPECT_EQ(rig.window->Sent()->toPlainText().trimmed(), "qrl k");
    EXPECT_TRUE(rig.prompts.messages.empty());
}

}  // namespace
}  // namespace lumbrel::test

namespace lumbrel::test {
namespace {

// A shown main window that has the keyboard, as for a user at the desktop.
void Activate(MainWindow& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

// Starts a session with F5, runs `attempt` while it plays, and stops it with Escape.
void WhileASessionPlays(WindowRig& rig, const std::function<void()>& attempt) {
    QTest::keyClick(rig.window.get(), Qt::Key_F5);
    attempt();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    rig.Run(3000);
    ASSERT_FALSE(rig.window->trainer().SessionActive());
}

TEST(Keyboard, WheelOverAnUnfocusedDelayBoxChangesNothing) {
    WindowRig rig;
    Activate(*rig.window);
    auto* delay = W<QComboBox>(rig, ControlId::DisplayDelayComboBox);
    rig.window->trainer().Sent().Append(QStringLiteral("kmr "));
    const int before = delay->currentIndex();
    auto turn = [delay] {
        QWheelEvent wheel(QPointF(5, 5), delay->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(delay, &wheel);
    };
    turn();
    EXPECT_EQ(delay->currentIndex(), before);
    EXPECT_EQ(rig.window->Sent()->toPlainText(), "kmr ");
    delay->setFocus();  // with the focus the wheel works as usual
    turn();
    EXPECT_EQ(delay->currentIndex(), before + 1);
}

TEST(Keyboard, ShortcutsStartAndStopASession) {
    WindowRig rig(StoreWith({{&keys::Pause, 0}}));
    Activate(*rig.window);
    Trainer& t = rig.window->trainer();
    QTest::keyClick(rig.window.get(), Qt::Key_Escape);  // nothing runs: nothing to stop
    QTest::keyClick(rig.window.get(), Qt::Key_F5);
    ASSERT_TRUE(t.SessionActive());
    EXPECT_FALSE(rig.window->SessionMenu()->actions().first()->isEnabled());  // in step with Start
    rig.Run(1000);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(t.WindingDown());  // stopping
    rig.Run(3000);
    EXPECT_FALSE(t.SessionActive());
    QTest::keyClick(rig.window.get(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(t.SessionActive());
}

TEST(Keyboard, DrillsOpenOnlyWhenNoSessionRunsAndAreTypedAndKept) {
    WindowRig rig(StoreWith({{&keys::Pause, 0}, {&keys::DrillCharacters, 3}, {&keys::DrillTimeLimit, 2000}}));
    QTemporaryDir dir;
    rig.window->SetHistoryPath(dir.filePath("history.sqlite"));
    Activate(*rig.window);
    WhileASessionPlays(rig, [&] {
        rig.window->DrillsAction()->trigger();  // refused
        EXPECT_EQ(rig.window->Drills(), nullptr);
    });

    rig.window->DrillsAction()->trigger();
    DrillsDialog* drills = rig.window->Drills();
    ASSERT_NE(drills, nullptr);
    EXPECT_TRUE(rig.window->SetupOpen());  // no session starts under it
    drills->RecognitionStart()->click();
    RecognitionDrillController* drill = drills->Recognition();
    ASSERT_NE(drill, nullptr);
    EXPECT_EQ(drill->Drill().Options().timeLimitMs, 2000);
    // The completions reach the drill through the window's messages (its timer is the
    // real one: ticked here); every key is typed 300 ms after the heard end, the second
    // one wrong.
    for (int k = 0; k < 3; ++k) {
        for (int ms = 0; ms < 3000 && drill->CurrentState() != RecognitionDrillController::State::Waiting;
             ms += 10) {
            rig.Run(10, 10);
            drill->Tick();
        }
        ASSERT_EQ(drill->CurrentState(), RecognitionDrillController::State::Waiting) << k;
        rig.Run(300, 10);
        const QString answer = k == 1 ? QStringLiteral("5") : drill->Current();
        QTest::keyClicks(QApplication::focusWidget(), answer);
        rig.Run(1500, 10);
    }
    EXPECT_EQ(drill->CurrentState(), RecognitionDrillController::State::Over);
    EXPECT_FALSE(rig.window->trainer().SessionActive());
    History history(dir.filePath("history.sqlite"));
    ASSERT_TRUE(history.Open());
    const std::vector<DrillRecord> kept = history.Drills(DrillKind::Recognition);
    ASSERT_EQ(kept.size(), 1u);
    ASSERT_EQ(kept[0].answers.size(), 3u);
    EXPECT_FALSE(kept[0].answers[1].Right());
    for (int k : {0, 2})
        EXPECT_NEAR(kept[0].answers[static_cast<std::size_t>(k)].reactionMs, 300, 10);
    QTest::keyClick(drills, Qt::Key_Escape);
    ProcessEvents();
    EXPECT_EQ(rig.window->Drills(), nullptr);
    EXPECT_FALSE(rig.window->SetupOpen());
}

TEST(Keyboard, SendOpensOnlyWhenNoSessionRunsAndTakesItsKeysByScanCode) {
    auto device = std::make_shared<FakeDevice>();
    device->present = {QStringLiteral("/dev/ttyUSB0")};
    RigPort port(std::make_unique<FakeSerialLines>(device));
    port.Open(QStringLiteral("/dev/ttyUSB0"));
    WindowRig rig(StoreWith({{&keys::Pause, 0}, {&keys::KeyRig, 1}}), false, &port);
    Activate(*rig.window);
    WhileASessionPlays(rig, [&] {
        QTest::keyClick(rig.window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(rig.window->Sending(), nullptr);  // refused
    });
    QTest::keyClick(rig.window.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    SendWindow* send = rig.window->Sending();
    ASSERT_NE(send, nullptr);
    EXPECT_TRUE(rig.window->SetupOpen());  // no session starts under it
    // The virtual output has no callback to play a sidetone in: a line says so.
    EXPECT_TRUE(send->StatusLabel()->text().contains("cannot play a sidetone"))
        << send->StatusLabel()->text().toStdString();
    EXPECT_TRUE(send->StatusLabel()->text().contains("Keying the rig on /dev/ttyUSB0."));

    // Left Ctrl (X key code 37) is the dit paddle, Right Ctrl (105) the dah; a repeat counts once.
    auto key = [&](QEvent::Type type, quint32 code, bool repeat = false) {
        QKeyEvent event(type, Qt::Key_Control, Qt::ControlModifier, code, 0, 0, QString(), repeat);
        QApplication::sendEvent(send, &event);
    };
    key(QEvent::KeyPress, 37);
    key(QEvent::KeyPress, 37, true);
    key(QEvent::KeyPress, 105);
    key(QEvent::KeyRelease, 37);
    QTest::mousePress(send->Area(), Qt::RightButton);  // dah, already closed by the keyboard
    key(QEvent::KeyRelease, 105);
    QTest::mouseRelease(send->Area(), Qt::RightButton);
    std::vector<std::pair<KeyContact, bool>> got;
    KeyEvent event;
    while (send->Practice().Sound().Events().Pop(event))
        got.emplace_back(event.contact, event.down);
    EXPECT_EQ(got, (std::vector<std::pair<KeyContact, bool>>{{KeyContact::Dit, true},
                                                             {KeyContact::Dah, true},
                                                             {KeyContact::Dit, false},
                                                             {KeyContact::Dah, false}}));
    send->reject();
    ProcessEvents();
    EXPECT_EQ(rig.window->Sending(), nullptr);
    EXPECT_FALSE(rig.window->SetupOpen());
    QString why;
    EXPECT_NE(port.LendLines(&why), nullptr) << "given back as the window closed";
}

// The drills open the history too, and say what they found: a damaged file salvaged.
TEST(Keyboard, TheDrillsTellOfADamagedHistoryKeptBeside) {
    WindowRig rig;
    QTemporaryDir dir;
    WriteAll(dir.filePath("history.sqlite"), QByteArray(4096, '\x7f'));
    rig.window->SetHistoryPath(dir.filePath("history.sqlite"));
    Activate(*rig.window);
    rig.window->DrillsAction()->trigger();
    ASSERT_NE(rig.window->Drills(), nullptr);
    rig.window->Drills()->RecognitionStart()->click();
    ASSERT_EQ(rig.prompts.messages.size(), 1u);
    EXPECT_TRUE(rig.prompts.messages[0].text.contains("damaged-"))
        << rig.prompts.messages[0].text.toStdString();
}

TEST(Keyboard, TabFollowsTheLayoutAndEntersAGroupOnItsSelection) {
    WindowRig rig;
    Activate(*rig.window);
    auto button = [&](ControlId id) {
        const auto* group = W<RadioGroup>(rig, id);
        return static_cast<QWidget*>(group->Button(group->Index()));
    };
    QList<QWidget*> expected = {W<QWidget>(rig, ControlId::DisplayDelayComboBox),
                                W<QWidget>(rig, ControlId::PitchSpinner),
                                W<QWidget>(rig, ControlId::CharacterCountSpinEdit),
                                button(ControlId::RadioGroup1),
                                button(ControlId::CodeSpeedRadioGroup),
                                button(ControlId::NoiseRadioGroup),
                                button(ControlId::SignalRadioGroup),
                                W<QWidget>(rig, ControlId::QSBCheckBox)};
    for (ControlId id :
         {ControlId::ChirpCheckBox, ControlId::HandSentCheckBox, ControlId::QRMCheckBox,
          ControlId::SpeedStepCheckBox, ControlId::PitchDitherCheckBox, ControlId::WeightingCheckBox})
        if (rig.window->Widget(id)->isEnabled())
            expected << rig.window->Widget(id);
    expected << rig.window->Sent();
    EXPECT_EQ(QApplication::focusWidget(), rig.window->Sent());
    QList<QWidget*> visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    EXPECT_EQ(visited, expected);
}

TEST(Keyboard, EveryControlHasAnAccessibleName) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.show();
    QWidget* const windows[] = {&w, &w.setupDialog(), &w.defineDialog(), &w.aboutBox(), &w.mp3Dialog()};
    for (QWidget* window : windows) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            if (!(control->focusPolicy() & Qt::TabFocus) || control->focusProxy() ||
                control->window() != window)
                continue;
            // A screen reader says the label (a buddy label, or the frame the control
            // stands in), then the control's own name.
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
            const auto labels = a->relations(QAccessible::Label);
            const QString label =
                labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name);
            const QString name = a->text(QAccessible::Name);
            const std::string what =
                std::string(control->metaObject()->className()) + " " + control->objectName().toStdString();
            EXPECT_FALSE((label + name).trimmed().isEmpty()) << what;
            // A box is named by more than the value it shows.
            QString value;
            if (auto* combo = qobject_cast<QComboBox*>(control))
                value = combo->currentText();
            else if (auto* spin = qobject_cast<QAbstractSpinBox*>(control))
                value = spin->text();
            EXPECT_FALSE(label.isEmpty() && name == value) << what;
        }
    }
    EXPECT_EQ(w.Widget(ControlId::DisplayDelayComboBox)->accessibleName(), "Display Delay");
    EXPECT_TRUE(w.aboutBox().findChild<QLabel*>("Label4")->focusPolicy() & Qt::TabFocus);  // the link
}

// What the screen reader is told, object and name, as it is told.
std::vector<std::pair<QObject*, QString>> g_nameChanges;

void RecordNameChange(QAccessibleEvent* event) {
    if (event->type() == QAccessible::NameChanged && event->object())
        if (QAccessibleInterface* a = QAccessible::queryAccessibleInterface(event->object()))
            g_nameChanges.emplace_back(event->object(), a->text(QAccessible::Name));
}

TEST(Keyboard, AScreenReaderHearsTheTimeAndTheStatusLineChange) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    w.show();
    QWidget* time = w.Widget(ControlId::Label1);
    QLabel* status = w.StatusLine();
    auto name = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    EXPECT_EQ(name(time), "Time 00:00");

    // Qt tells the screen reader only while the desktop's accessibility bus is there
    // (screen_reader_test.sh gives the test one, over AT-SPI); it turns on shortly
    // after the window shows.
    QElapsedTimer waited;
    waited.start();
    const bool busExpected = qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON");
    while (busExpected && !QAccessible::isActive() && waited.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    g_nameChanges.clear();
    QAccessible::installUpdateHandler(&RecordNameChange);
    w.Action(ControlId::ToolButton3)->trigger();  // Start: the countdown, then the session
    rig.Run(9200);
    QAccessible::installUpdateHandler(nullptr);

    EXPECT_EQ(name(time), "Time 00:07");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(time)->text(QAccessible::Description), "Session time");
    const QString said = name(status);
    EXPECT_TRUE(QRegularExpression("^\\d+ characters sent$").match(said).hasMatch()) << said.toStdString();
    EXPECT_EQ(said, status->text().trimmed());
    if (!QAccessible::isActive())
        GTEST_SKIP() << "no accessibility bus: the names are right, their announcements were not checked";
    // Each change was told as it came: every second of the time, every count of the status.
    QStringList times;
    QStringList counts;
    for (const auto& [object, text] : g_nameChanges) {
        if (object == time)
            times << text;
        else if (object == status)
            counts << text;
    }
    ASSERT_FALSE(times.isEmpty());
    EXPECT_EQ(times.last(), "Time 00:07");
    for (const char* second : {"Time 00:01", "Time 00:04", "Time 00:06"})
        EXPECT_TRUE(times.contains(second)) << second << " in " << times.join(", ").toStdString();
    for (qsizetype i = 1; i < times.size(); ++i)
        EXPECT_NE(times[i], times[i - 1]) << "told twice in a row";
    ASSERT_GE(counts.size(), 3) << counts.join(", ").toStdString();
    EXPECT_EQ(counts.last(), said);
}

TEST(Keyboard, TheTextAreaCommandsStandInTheMenuBarAndShiftF10OpensTheirMenu) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    Activate(w);
    QMenu* bar = w.TextBarMenu();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->title(), "&Text");
    EXPECT_TRUE(w.menuBar()->actions().contains(bar->menuAction()));
    QStringList captions;
    for (QAction* a : bar->actions())
        if (!a->isSeparator())
            captions << a->text();
    EXPECT_EQ(captions, QStringList({"Select &Font...", "Single &Words Only", "&Clear", "Save &To File..."}));
    // The context menu keeps its own captions (ContextMenuOfTheTextArea).

    // Each runs the context menu's command, and the check mark is the same in both.
    auto barItem = [&](int i) {
        return bar->actions()[i * 2];
    };  // separators between
    w.trainer().Sent().Append(QStringLiteral("cq cq"));
    barItem(2)->trigger();
    EXPECT_TRUE(w.Sent()->toPlainText().isEmpty());
    QAction* single = w.Action(ControlId::SingleWordsOnly1);
    barItem(1)->trigger();
    EXPECT_TRUE(single->isChecked());
    EXPECT_TRUE(barItem(1)->isChecked());
    single->trigger();
    EXPECT_FALSE(barItem(1)->isChecked());
    const QString saved = QDir(QDir::tempPath()).filePath("lumbrel-text-menu-test.txt");
    rig.prompts.saveFileName = saved;
    barItem(3)->trigger();
    EXPECT_TRUE(QFile::exists(saved));
    QFile::remove(saved);

    EXPECT_FALSE(w.TextMenu()->isVisible());
    w.Sent()->setFocus();
    QTest::keyClick(w.Sent(), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_TRUE(w.TextMenu()->isVisible());
    w.TextMenu()->close();
}

}  // namespace
// The binding table: each read-out of the session reaches the controls that show it,
// and no other; the designed-invisible items are never shown by it.
TEST(SessionBinding, ReadoutsReachTheirControls) {
    const ControlId begin[] = {ControlId::StartButton, ControlId::ToolButton3, ControlId::ToolButton6,
                               ControlId::ToolButton7, ControlId::ToolButton8};
    const ControlId tools[] = {ControlId::SendFile,    ControlId::ToolButton6,  ControlId::ToolButton7,
                               ControlId::ToolButton8, ControlId::ToolButton12, ControlId::ToolButton13,
                               ControlId::ToolButton14};
    for (const bool on : {false, true, false}) {
        SCOPED_TRACE(on);
        SessionReadouts r;
        ControlsModel m;
        r.SetCommandsEnabled(on);
        r.SetLearningToolsShown(on);
        r.SetClockRunning(on);
        r.SetCharacterCountEditable(on);
        for (Readout what : {Readout::Commands, Readout::LearningTools, Readout::ClockRunning,
                             Readout::CharacterCountEditable})
            ShowReadout(m, r, what);
        EXPECT_EQ(m.Enabled(ControlId::CharacterCountSpinEdit), on);
        for (ControlId id : begin)
            EXPECT_EQ(m.Enabled(id), on);
        EXPECT_EQ(m.Enabled(ControlId::ToolButton4), !on);
        EXPECT_EQ(m.Enabled(ControlId::Timer1), on);
        for (ControlId id : tools)
            EXPECT_EQ(m.Visible(id), on);
        EXPECT_FALSE(m.Visible(ControlId::CommonWords));
        EXPECT_FALSE(m.Visible(ControlId::QSOFiles));
    }
    // A count above a lowered maximum shows at the maximum.
    SessionOptions o;
    ControlsModel m;
    o.Set(Option::CharacterCount, 40);
    o.SetCharacterCountMaximum(30);
    ShowOption(m, o, Option::CharacterCount);
    EXPECT_EQ(m.Get(ControlId::CharacterCountSpinEdit).maximum, 30);
    EXPECT_EQ(m.Value(ControlId::CharacterCountSpinEdit), 30);
}

}  // namespace lumbrel::test
