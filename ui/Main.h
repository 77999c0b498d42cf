#pragma once
// The main window "Lumbrel - Zelph" (TKochMainForm): a thin Qt layer over
// the trainer. Widgets show the trainer's controls model and feed user input back as
// the trainer's reactions; the window holds no trainer logic of its own. It also
// keeps its placement, the notification-area icon and the dialogs.
//
// Everything here runs on the UI thread.
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "ui/Controls.h"
#include "session/QtMessagePump.h"
#include "session/TrainerFactory.h"
#include "settings/SettingsStore.h"
#include "ui/Prompts.h"

class QAction;
class QUrl;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QSpinBox;
class QSystemTrayIcon;
class QToolBar;

namespace lumbrel {

class AboutDialog;
class AudioDevice;
class Clock;
class CopyChecking;
class HistoryService;
class ConfigureDialog;
class CharacterPlayer;
class DefineMorseDialog;
class DrillsDialog;
class FittingScrollArea;
class LearnerGuide;
class MP3RecordingDialog;
class Mp3Encoder;
class PageSpinBox;
class RadioGroup;
class RichEditRx;
class SendWindow;

class MainWindow final : public QMainWindow,
                         public TrainerHost,
                         private ControlsListener,
                         private SessionListener {
    Q_OBJECT
public:
    static constexpr int kMinimumWidth = 674;
    static constexpr int kMinimumHeight = 508;
    static constexpr int kMaxFontPointSize = 200;

    // What the window runs on. The program passes the user's store, the system clock
    // and the sound card; tests pass a store in memory and virtual devices.
    struct Environment {
        SettingsStore store;
        Clock& clock;
        AudioDevice& audio;
        std::uint32_t seed = 0;      // the random source's seed (the tick count)
        Prompts* prompts = nullptr;  // null: the platform's dialogs
        // Whether the desktop has a notification area; empty: ask the system.
        std::function<bool()> trayAvailable;
        // The rig keying port and the interfering stations, when the program has them.
        RigKeying* rig = nullptr;
        // The interfering stations' streams, when the program has them.
        std::array<AudioDevice*, 2> qrmAudio{};
        // No settings file existed before this start: the text area greets the learner.
        bool firstStart = false;
    };

    // Creates the window and runs the trainer's FormCreate, then the dialogs in the
    // order: setup dialog, about box, define-characters dialog, MP3 help.
    explicit MainWindow(Environment env, QWidget* parent = nullptr);
    ~MainWindow() override;

    Trainer& trainer() { return *trainer_; }
    QtMessagePump& pump() { return pump_; }
    SettingsStore& store() { return store_; }
    ConfigureDialog& setupDialog() { return *setup_; }
    AboutDialog& aboutBox() { return *about_; }
    DefineMorseDialog& defineDialog() { return *define_; }
    MP3RecordingDialog& mp3Dialog() { return *mp3_; }

    // --- TrainerHost -------------------------------------------------------------------
    // Queued: shown after the current reaction has returned, one box at a time.
    void ShowMessage(const QString& text, const QString& caption,
                     MessageKind kind = MessageKind::Information) override;
    // Queued as well: the close query is a trainer reaction of its own.
    void RequestClose() override;
    void SetCharacterCaptions(const QStringList& captions) override;
    void ShowCharacterBoxes(int count) override;

    // Messages waiting to be shown (tests).
    int PendingMessages() const { return static_cast<int>(messages_.size()); }
    // Whether minimising hides the window into the notification area now.
    bool TrayInUse() const;
    // Whether the setup dialog (or the define-characters dialog above it) or the
    // drills window is open: a session must not start under it.
    bool SetupOpen() const;

    // --- The controls, for tests and tools ---------------------------------------------
    // The controls as the window shows them: the session's options and read-outs.
    const ControlsModel& Controls() const { return controls_; }
    ControlsModel& Controls() { return controls_; }
    // The widget or action that shows a control; null for the hidden ones.
    QWidget* Widget(ControlId id) const { return widgets_[static_cast<std::size_t>(id)]; }
    QAction* Action(ControlId id) const { return actions_[static_cast<std::size_t>(id)]; }
    RichEditRx* Sent() const { return sent_; }
    QLabel* StatusLine() const { return status_; }
    QSystemTrayIcon* TrayIcon() const { return tray_; }
    QToolBar* ToolBar() const { return toolBar_; }
    QAction* SetupAction() const { return setupAction_; }
    QAction* ExitAction() const { return exitAction_; }
    QAction* AboutAction() const { return aboutAction_; }
    QAction* RecordAudioAction() const { return recordAction_; }
    QMenu* TextMenu() const { return textMenu_; }
    QAction* SelectFontAction() const { return fontAction_; }
    QAction* ClearAction() const { return clearAction_; }
    QAction* SaveToFileAction() const { return saveAction_; }
    QMenu* WordsPopupMenu() const { return wordsMenu_; }
    QMenu* QSOPopupMenu() const { return qsoMenu_; }

public Q_SLOTS:
    // Commands of the main window.
    void SetupButtonClick();
    void About1Click();
    void Exit1Click();
    // "Select Font" of the text area's menu: the font dialog, then the trainer's font.
    void SelectFontClick();
    void SingleWordsOnly1Click(bool checked);
    void Clear1Click();
    void SaveToFile1Click();
    void TrayIcon1Click();
    // The desktop ends the program (a signal, logout or shutdown): it closes as Exit
    // does, without waiting for a running session or drill, which stops at once: its
    // recording is finished with the transcript, the rig unkeyed, the options and the
    // placement are saved, and Closed is emitted. Nothing is asked.
    void EndForDesktop();

    // The text sources and recording.
    void SendFileClick();
    // Files dropped on the window (local ones; others are ignored).
    void DropFiles(const QList<QUrl>& urls);
    // Files named on the command line, played once the window is shown (Trainer).
    void PlayFileArguments(const QStringList& paths);
    void ToolButton7Click();
    void ToolButton8Click();
    void WordsPopupMenuPopup();
    void QSOPopupMenuPopup();
    void RecordAudioFile1Click();

    // Every showing restores the placement first, then runs FormShow.
    void setVisible(bool visible) override;

Q_SIGNALS:
    // The close was allowed and the settings are saved: the program may end.
    void Closed();

protected:
    // Text files dropped on the window are played (the learning tools' rule applies).
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildActions();
    void BuildToolBar();
    void BuildMenus();
    QWidget* BuildOptions();
    void BuildStatusAndTray();
    void Bind(ControlId id, QWidget* widget);
    void Bind(ControlId id, QAction* action);
    void ConnectInput();

    // SessionListener (forwarded by the message pump): the controls follow the session.
    void OptionChanged(Option option) override;
    void ReadoutChanged(Readout readout) override;
    // ControlsListener: the widgets follow the controls.
    void ControlChanged(ControlId id) override;
    void SyncAll();
    void ApplySentFont();
    void RestorePlacement();
    void SavePlacement();
    QString DialogFolder(const keys::TextKey& key, const char* firstFolder) const;
    void KeepDialogFolder(const keys::TextKey& key, const QString& chosenPath);
    void ShowNextMessage();
    // The close allowed: placement and options saved, Closed emitted; whether the
    // store's problem (if any) may be shown in a box.
    void FinishClose(bool mayAsk);

    SettingsStore store_;
    AudioDevice& audio_;
    QtPrompts defaultPrompts_;
    Prompts* prompts_;
    std::function<bool()> trayAvailable_;
    QtMessagePump pump_;
    WiredTrainer trainer_;
    ControlsModel controls_;

    std::array<QWidget*, kControlCount> widgets_{};
    std::array<QAction*, kControlCount> actions_{};

    QToolBar* toolBar_ = nullptr;
    QAction* setupAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    QAction* recordAction_ = nullptr;
    QAction* fontAction_ = nullptr;
    QAction* clearAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QMenu* textMenu_ = nullptr;
    QMenu* wordsMenu_ = nullptr;
    QMenu* qsoMenu_ = nullptr;
    RichEditRx* sent_ = nullptr;
    QLabel* status_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;

    ConfigureDialog* setup_ = nullptr;
    AboutDialog* about_ = nullptr;
    DefineMorseDialog* define_ = nullptr;
    MP3RecordingDialog* mp3_ = nullptr;
    // The MP3 encoder, looked for at the first showing; none: recordings are WAV only.
    std::shared_ptr<Mp3Encoder> encoder_;
    bool encoderLookedFor_ = false;

    struct PendingMessage {
        QString text;
        QString caption;
        MessageKind kind;
    };
    std::deque<PendingMessage> messages_;
    bool messageScheduled_ = false;
    bool messageShowing_ = false;
    bool closeScheduled_ = false;
    bool closed_ = false;
    bool syncing_ = false;

    // ===== Checking a copy and the progress window (ui/CheckCopy.h) ==================
public:
    CopyChecking& copyChecking() { return *checking_; }

private:
    // The program's one history, for checked copies, progress and drills.
    std::unique_ptr<HistoryService> history_;
    std::unique_ptr<CopyChecking> checking_;
    // ===== end of checking a copy ========================================================

    // ===== The drills window (ui/Drills.h) =============================================
public:
    // "Drills..." of the Session menu: the drills window, modal, on the trainer's device.
    // Refused while a session runs (or counts down), as a session cannot start while
    // the window is open.
    void DrillsClick();
    QAction* DrillsAction() const { return drillsAction_; }
    DrillsDialog* Drills() const;
    // Where the drills are kept; the user's history unless a test says otherwise.
    void SetHistoryPath(const QString& path);

private:
    Clock& clock_;
    std::unique_ptr<CharacterPlayer> drillPlayer_;
    QPointer<DrillsDialog> drills_;
    QAction* drillsAction_ = nullptr;
    // ===== end of the drills window ======================================================

    // ===== The first weeks: welcome, lesson, characters, repeat, volume (ui/LearnerGuide.h)
public:
    LearnerGuide& Guide() const { return *guide_; }

private:
    LearnerGuide* guide_ = nullptr;
    // ===== end of the first weeks ========================================================

    // ===== The sending window (ui/SendWindow.h) ==========================================
public:
    // "Send..." of the Session menu: the window to practise sending in, modal, its
    // sidetone on the trainer's device; refused while a session runs, as the drills are.
    void SendClick();
    SendWindow* Sending() const;

private:
    QPointer<SendWindow> send_;
    RigKeying* rig_ = nullptr;  // lends its lines to the sending window
    // ===== end of the sending window =====================================================

    // ===== Keyboard, screen size and accessible names ==================================
public:
    // "Session": the session commands with their shortcuts, beside "File".
    QMenu* SessionMenu() const { return sessionMenu_; }
    // "Text": the text area's commands of its context menu, with access keys.
    QMenu* TextBarMenu() const { return textBarMenu_; }

private:
    void BuildSessionMenu();
    // The "Text" menu, and Shift+F10 on the text area for its context menu.
    void BuildTextBarMenu();
    void SetTabOrderAndNames();
    // The accessible name of the time and the status line follows their text.
    void SpeakLabel(ControlId id, QLabel* label);
    // The first size fits the screen's free area; the options scroll where they must.
    void FitToScreen();

    QMenu* sessionMenu_ = nullptr;
    QMenu* textBarMenu_ = nullptr;
    FittingScrollArea* optionArea_ = nullptr;
    QWidget* optionPanel_ = nullptr;
    // ===== end of keyboard, screen size and names ======================================
};

}  // namespace lumbrel
