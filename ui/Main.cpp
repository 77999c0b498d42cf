#include "ui/Main.h"

#include "ui/Drills.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <QUrl>
#include <QMimeData>
#include <QDropEvent>
#include <QDragEnterEvent>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "audio/AudioDevice.h"
#include "audio/Clock.h"
#include "recording/LameEncoder.h"
#include "recording/Mp3OutputStream.h"
#include "recording/RecordCommand.h"
#include "recording/WavFile.h"
#include "ui/AboutBox.h"
#include "ui/Application.h"
#include "ui/CheckCopy.h"
#include "ui/Configure.h"
#include "ui/ControlWidgets.h"
#include "ui/DefineMorse.h"
#include "ui/LearnerGuide.h"
#include "ui/MP3Recording.h"
#include "ui/RichEditRx.h"
#include "ui/SendWindow.h"
#include "ui/SessionBinding.h"
#include "ui/WindowPlacement.h"
#include "text/DataFolders.h"

namespace lumbrel {
namespace {

// The captions of "Actual Character Speed (WPM)", with their keyboard accelerators.
const QStringList kSpeedCaptions = {
    QStringLiteral("&15"), QStringLiteral("&20"), QStringLiteral("2&5"), QStringLiteral("&30"),
    QStringLiteral("35"),  QStringLiteral("&40"), QStringLiteral("45"),  QStringLiteral("50"),
    QStringLiteral("55"),  QStringLiteral("60"),  QStringLiteral("65"),  QStringLiteral("70"),
    QStringLiteral("75"),  QStringLiteral("80"),
};

// The hint of "Effective Code Speed (WPM)"; the speed that plays follows it when the
// stretch cap holds the choice back.
const char* const kEffectiveHint = QT_TRANSLATE_NOOP(
    "lumbrel::MainWindow", "Select the overall code speed, this changes the gap between Morse characters.");

QIcon Icon(const char* name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

QGroupBox* Frame(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    return box;
}

// A frame's own layout, with the narrow margins of the option area.
QVBoxLayout* FrameLayout(QGroupBox* frame) {
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setSpacing(2);
    return layout;
}

QCheckBox* CheckBox(const QString& caption, const QString& hint, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setToolTip(hint);
    return box;
}

}  // namespace

// --- Creation -----------------------------------------------------------------------------

MainWindow::MainWindow(Environment env, QWidget* parent)
    : QMainWindow(parent),
      store_(env.store),
      audio_(env.audio),
      prompts_(env.prompts ? env.prompts : &defaultPrompts_),
      trayAvailable_(env.trayAvailable ? env.trayAvailable
                                       : [] { return QSystemTrayIcon::isSystemTrayAvailable(); }),
      clock_(env.clock) {
    InitUiResources();
    setObjectName(QStringLiteral("KochMainForm"));
    setWindowTitle(QString::fromLatin1(kMainWindowCaption));
    setWindowIcon(Icon("lumbrel"));
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    setAcceptDrops(true);
    BuildActions();
    BuildToolBar();
    BuildMenus();
    setCentralWidget(BuildOptions());
    BuildStatusAndTray();

    // The trainer, its message pump and the binding of the controls to its options and
    // read-outs; then FormCreate restores the options, running their reactions.
    TrainerWiring wiring = QtPumpWiring(pump_, this);
    wiring.restore = TrainerWiring::Restore::Create;
    wiring.beforeRestore = [this](Trainer& trainer) {
        sent_->Bind(&trainer.Sent());
        controls_.SetListener(this);
        ShowSession(controls_, trainer.Options(), trainer.Readouts());
        SyncAll();
        ConnectInput();
    };
    rig_ = env.rig;
    BuildTrainer(
        trainer_,
        Trainer::Dependencies{env.store, env.clock, pump_, env.audio, *this, env.rig, env.qrmAudio, env.seed},
        std::move(wiring));
    // The drills play through the trainer's engine: while they play, its completions are theirs.
    drillPlayer_ = std::make_unique<CharacterPlayer>(trainer_->Engine(), trainer_->Signal(),
                                                     trainer_->Options(), store_, env.seed);
    pump_.routing.SetDrillPlayer(drillPlayer_.get(), [this] {
        if (drills_)
            drills_->StopDrill();
    });
    // A settings file that could not be read whole is told once, when the loop runs.
    if (const QString note = store_.OpeningNote(); !note.isEmpty())
        ShowMessage(note, tr("Settings"));

    // The other windows, in their fixed order of creation.
    setup_ = new ConfigureDialog(store_, this);
    trainer_->SetSessionLengthMinutes(setup_->SessionLength());
    about_ = new AboutDialog(this);
    define_ = new DefineMorseDialog(store_, setup_);
    mp3_ = new MP3RecordingDialog(about_);
    setup_->SetDefineAction([this] { define_->exec(); });
    about_->SetMp3HelpAction([this] { mp3_->exec(); });
    // ===== Checking a copy and the progress window: "File" items above "Exit" =====
    history_ = std::make_unique<HistoryService>();
    checking_ = std::make_unique<CopyChecking>(*trainer_, *prompts_, *history_, this, sent_);
    if (auto* file = menuBar()->findChild<QMenu*>(QStringLiteral("File1")))
        checking_->AddMenuItems(file, exitAction_);
    // ===== end of checking a copy =================================================

    // ===== Keyboard, screen size and accessible names ==================================
    BuildSessionMenu();
    BuildTextBarMenu();
    guide_ = new LearnerGuide(
        {*this, *trainer_, *drillPlayer_, *sent_, *sessionMenu_, aboutAction_, Action(ControlId::ToolButton3),
         *history_, windowTitle(),
         env.firstStart});
    SetTabOrderAndNames();
    // The smallest and the first size.
    FitToScreen();
    // ===== end of keyboard, screen size and names ======================================
}

MainWindow::~MainWindow() {
    // The drills window still open (the desktop closed the program during a drill) goes
    // first: it stops the drills' player, a member destroyed before the child windows.
    delete drills_.data();
    // The guide, a child of the window, would go after the trainer it leaves.
    delete guide_;
    guide_ = nullptr;
    // A window destroyed without its close (FormClose closes the output): the device
    // must not play or report buffers of a trainer that is gone.
    if (audio_.IsOpen())
        (void)audio_.Close();
    pump_.Attach(nullptr, nullptr);
    pump_.routing.SetDrillPlayer(nullptr);
    if (trainer_) {
        trainer_->SetListener(nullptr);
        sent_->Bind(nullptr);
    }
}

void MainWindow::BuildActions() {
    auto command = [this](ControlId id, const char* icon, const QString& caption, const QString& hint) {
        auto* action = new QAction(Icon(icon), caption, this);
        action->setToolTip(hint);
        Bind(id, action);
        return action;
    };
    command(ControlId::ToolButton3, "start", tr("Start"),
            tr("Click here to listen to random groups of Morse"));
    command(ControlId::ToolButton6, "textfile", tr("Text FIle"),
            tr("Click here to listen to a text file in Morse"));
    command(ControlId::ToolButton7, "words", tr("Words"),
            tr("Click here to listen to random words"));
    command(ControlId::ToolButton8, "qso", tr("QSO's"),
            tr("Click here to listen to random QSO's"));
    command(ControlId::ToolButton4, "stop", tr("Stop"),
            tr("Click here to stop the current operation"));
    command(ControlId::ToolButton10, "finish", tr("Finish"),
            tr("Click here to stop the current session or close the application"));

    setupAction_ = new QAction(Icon("setup"), tr("Setup"), this);
    setupAction_->setToolTip(tr("Click here to configure the software"));

    wordsMenu_ = new QMenu(this);
    wordsMenu_->setObjectName(QStringLiteral("WordsPopupMenu"));
    qsoMenu_ = new QMenu(this);
    qsoMenu_->setObjectName(QStringLiteral("QSOPopupMenu"));
    Action(ControlId::ToolButton7)->setMenu(wordsMenu_);
    Action(ControlId::ToolButton8)->setMenu(qsoMenu_);
}

void MainWindow::BuildToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("ToolBar1"), this);
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(32, 32));
    addToolBar(Qt::TopToolBarArea, toolBar_);

    auto gap = [this](int width) {
        auto* spacer = new QWidget(toolBar_);
        spacer->setFixedWidth(width);
        return toolBar_->addWidget(spacer);
    };
    auto button = [this](QAction* action) {
        toolBar_->addAction(action);
        if (QWidget* w = toolBar_->widgetForAction(action)) {
            w->setMinimumSize(60, 56);
            w->setObjectName(action->text());
        }
    };
    gap(17);                                 // ToolButton5
    button(Action(ControlId::ToolButton3));  // Start
    gap(8);                                  // ToolButton9
    button(Action(ControlId::ToolButton6));  // Text FIle
    Bind(ControlId::ToolButton13, gap(8));
    button(Action(ControlId::ToolButton7));  // Words
    Bind(ControlId::ToolButton14, gap(8));
    button(Action(ControlId::ToolButton8));  // QSO's
    Bind(ControlId::ToolButton12, gap(8));
    button(Action(ControlId::ToolButton4));   // Stop
    gap(44);                                  // ToolButton11
    button(setupAction_);                     // Setup
    gap(42);                                  // ToolButton2
    button(Action(ControlId::ToolButton10));  // Finish

    // The drop-down buttons open their menu from an arrow beside the picture.
    for (ControlId id : {ControlId::ToolButton7, ControlId::ToolButton8})
        if (auto* b = qobject_cast<QToolButton*>(toolBar_->widgetForAction(Action(id))))
            b->setPopupMode(QToolButton::MenuButtonPopup);
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("File1"));
    auto* configure = file->addAction(Icon("setup"), tr("&Setup"));
    configure->setObjectName(QStringLiteral("Configure1"));
    configure->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    connect(configure, &QAction::triggered, this, &MainWindow::SetupButtonClick);
    file->addSeparator();
    recordAction_ = file->addAction(tr("Record Audio File"));
    file->addSeparator();
    exitAction_ = file->addAction(tr("&Exit"));
    // Ctrl+Q beside the platform's own Quit key, which some themes leave unbound.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quitKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Q)))
        quitKeys << QKeySequence(Qt::CTRL | Qt::Key_Q);
    exitAction_->setShortcuts(quitKeys);
    aboutAction_ = menuBar()->addAction(tr("About"));
    aboutAction_->setShortcut(QKeySequence::HelpContents);

    textMenu_ = new QMenu(this);
    textMenu_->setObjectName(QStringLiteral("PopupMenu1"));
    fontAction_ = textMenu_->addAction(tr("Select Font"));
    textMenu_->addSeparator();
    auto* single = textMenu_->addAction(tr("Single Words Only"));
    single->setCheckable(true);
    Bind(ControlId::SingleWordsOnly1, single);
    textMenu_->addSeparator();
    clearAction_ = textMenu_->addAction(tr("Clear "));
    textMenu_->addSeparator();
    saveAction_ = textMenu_->addAction(tr("Save To File"));
}

QWidget* MainWindow::BuildOptions() {
    // The options are made on a panel of their own, which scrolls only on a screen too
    // small for the window (FitToScreen); the text area fills the rest.
    auto* body = new QWidget(this);
    auto* central = new QWidget(body);

    // Time, display delay, pitch and character count, in a row.
    auto* timeBox = Frame(tr("Time"), central);
    timeBox->setObjectName(QStringLiteral("GroupBox4"));
    auto* time = new QLabel(QStringLiteral("00:00"), timeBox);
    time->setObjectName(QStringLiteral("Label1"));
    QFont timeFont = time->font();
    timeFont.setBold(true);
    timeFont.setPointSizeF(std::max(12.0, timeFont.pointSizeF()));  // never below the desktop font
    time->setFont(timeFont);
    time->setAlignment(Qt::AlignCenter);
    time->setMinimumWidth(QFontMetrics(timeFont).horizontalAdvance(QStringLiteral("00:00")) + 12);
    time->setToolTip(tr(
        "Countdown to the start of a training session or the elapsed time into this session."));
    FrameLayout(timeBox)->addWidget(time);
    Bind(ControlId::Label1, time);

    auto* delayBox = Frame(tr("Display Delay"), central);
    delayBox->setObjectName(QStringLiteral("GroupBox3"));
    auto* delay = new QComboBox(delayBox);
    delay->setObjectName(QStringLiteral("DisplayDelayComboBox"));
    delay->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    delay->setMinimumContentsLength(4);
    delay->setToolTip(
        tr("Delay, in characters, between the sound and the tex, or select Hide to only "
                       "display the text at the end of the lesson"));
    FrameLayout(delayBox)->addWidget(delay);
    Bind(ControlId::DisplayDelayComboBox, delay);

    auto* pitchBox = Frame(tr("Pitch"), central);
    pitchBox->setObjectName(QStringLiteral("GroupBox2"));
    auto* pitch = new PageSpinBox(pitchBox);
    pitch->setObjectName(QStringLiteral("PitchSpinner"));
    pitch->setSingleStep(10);
    pitch->SetPageStep(50);
    pitch->setSuffix(tr(" Hz"));
    pitch->setToolTip(tr("Set the pitch of the Morse being sent"));
    FrameLayout(pitchBox)->addWidget(pitch);
    Bind(ControlId::PitchSpinner, pitch);

    auto* countBox = Frame(tr("Characters"), central);
    countBox->setObjectName(QStringLiteral("GroupBox1"));
    auto* count = new PageSpinBox(countBox);
    count->setObjectName(QStringLiteral("CharacterCountSpinEdit"));
    count->SetPageStep(1);
    count->setToolTip(tr("Select the number of characters in the session"));
    FrameLayout(countBox)->addWidget(count);
    Bind(ControlId::CharacterCountSpinEdit, count);

    auto* firstRow = new QHBoxLayout;
    firstRow->setSpacing(4);
    firstRow->addWidget(timeBox);
    firstRow->addWidget(delayBox);
    firstRow->addWidget(pitchBox);
    firstRow->addWidget(countBox);

    auto* speed = new RadioGroup(tr("Actual Character Speed (WPM)"), 7, central);
    speed->setObjectName(QStringLiteral("RadioGroup1"));
    speed->setToolTip(tr("Select the characer transmission speed"));
    Bind(ControlId::RadioGroup1, speed);

    auto* effective = new RadioGroup(tr("Effective Code Speed (WPM)"), 8, central);
    effective->setObjectName(QStringLiteral("CodeSpeedRadioGroup"));
    effective->setToolTip(tr(kEffectiveHint));
    Bind(ControlId::CodeSpeedRadioGroup, effective);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addLayout(firstRow);
    left->addWidget(speed);
    left->addWidget(effective);

    // The signal impairments.
    auto* noise = new RadioGroup(tr("Noise Level"), 2, central);
    noise->setObjectName(QStringLiteral("NoiseRadioGroup"));
    noise->setToolTip(tr("Add Random Noise to the Morse"));
    Bind(ControlId::NoiseRadioGroup, noise);

    auto* signal = new RadioGroup(tr("Signal Strength"), 2, central);
    signal->setObjectName(QStringLiteral("SignalRadioGroup"));
    signal->setToolTip(tr("Modify the siignal strength of the Morse"));
    Bind(ControlId::SignalRadioGroup, signal);

    auto* qsbBox = Frame(tr("QSB"), central);
    qsbBox->setObjectName(QStringLiteral("GroupBox5"));
    qsbBox->setToolTip(tr("Add QSB to the Morse Signal"));
    auto* qsb =
        CheckBox(tr("Enable"), tr("Enable the QSB (fading) feature."), qsbBox);
    qsb->setObjectName(QStringLiteral("QSBCheckBox"));
    Bind(ControlId::QSBCheckBox, qsb);
    auto* qsbMode = new RadioGroup(tr("Speed"), 1, qsbBox);
    qsbMode->setObjectName(QStringLiteral("QSBModeRadioGroup"));
    qsbMode->setToolTip(tr("Select the speed at which the QSB occurs."));
    Bind(ControlId::QSBModeRadioGroup, qsbMode);
    auto* qsbType = new RadioGroup(tr("Type"), 1, qsbBox);
    qsbType->setObjectName(QStringLiteral("QSBTypeRadioGroup"));
    qsbType->setToolTip(tr("Select the style of QSB"));
    Bind(ControlId::QSBTypeRadioGroup, qsbType);
    auto* qsbLayout = FrameLayout(qsbBox);
    qsbLayout->setSpacing(4);
    qsbLayout->addWidget(qsb);
    qsbLayout->addWidget(qsbMode);
    qsbLayout->addWidget(qsbType);
    qsbLayout->addStretch(1);

    auto check = [&](ControlId id, const char* name, const QString& caption, const QString& hint) {
        auto* box = CheckBox(caption, hint, central);
        box->setObjectName(QLatin1String(name));
        Bind(id, box);
        return box;
    };
    auto* checksLeft = new QVBoxLayout;
    checksLeft->setSpacing(2);
    checksLeft->addWidget(check(ControlId::ChirpCheckBox, "ChirpCheckBox", tr("Chirp"),
                                tr("Add Chirp to the Morse Code")));
    checksLeft->addWidget(
        check(ControlId::HandSentCheckBox, "HandSentCheckBox", tr("Straight Key"),
              tr("Listen to an emulation of Morse being sent using a straight key")));
    checksLeft->addWidget(check(ControlId::QRMCheckBox, "QRMCheckBox", tr("QRM"),
                                tr("Add QRM to the session")));
    checksLeft->addStretch(1);
    auto* checksRight = new QVBoxLayout;
    checksRight->setSpacing(2);
    checksRight->addWidget(check(ControlId::SpeedStepCheckBox, "SpeedStepCheckBox",
                                 tr("Speed Dither"),
                                 tr("Dither the Morse speed by up to 5 WPM")));
    checksRight->addWidget(check(ControlId::PitchDitherCheckBox, "PitchDitherCheckBox",
                                 tr("Pitch Dither"),
                                 tr("Dither the Pitch by +/- 25Hz")));
    checksRight->addWidget(check(ControlId::WeightingCheckBox, "WeightingCheckBox",
                                 tr("Variable Weight"),
                                 tr("Randomly vary the element weighting")));
    checksRight->addStretch(1);

    auto* right = new QGridLayout;
    right->setHorizontalSpacing(4);
    right->setVerticalSpacing(6);
    right->addWidget(noise, 0, 0);
    right->addWidget(signal, 0, 1);
    right->addWidget(qsbBox, 0, 2, 2, 1);
    right->addLayout(checksLeft, 1, 0);
    right->addLayout(checksRight, 1, 1);

    auto* options = new QHBoxLayout;
    options->setSpacing(4);
    options->addLayout(left);
    options->addLayout(right);
    options->addStretch(1);

    // The text area.
    sent_ = new RichEditRx(body);
    sent_->setObjectName(QStringLiteral("Sent"));
    sent_->setToolTip(tr("Right-Click here for options."));
    QFont designed(QStringLiteral("Arial"), 10);
    designed.setBold(true);
    sent_->setFont(designed);
    connect(sent_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { textMenu_->popup(sent_->viewport()->mapToGlobal(at)); });

    central->setLayout(options);
    options->setContentsMargins(0, 0, 0, 0);
    optionArea_ = new FittingScrollArea(body);
    optionArea_->setObjectName(QStringLiteral("OptionArea"));
    optionPanel_ = central;  // placed in the area once its groups have their buttons

    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(5, 4, 5, 2);
    layout->setSpacing(6);
    layout->addWidget(optionArea_);
    layout->addWidget(sent_, 1);
    return body;
}

void MainWindow::BuildStatusAndTray() {
    status_ = new QLabel(statusBar());
    status_->setObjectName(QStringLiteral("StatusBar1"));
    QFont f = status_->font();
    f.setBold(true);
    f.setPointSize(std::max(f.pointSize(), 9) + 2);
    status_->setFont(f);
    status_->setMinimumHeight(26);
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(true);
    Bind(ControlId::StatusBar1, status_);

    tray_ = new QSystemTrayIcon(Icon("lumbrel"), this);
    tray_->setObjectName(QStringLiteral("TrayIcon1"));
    auto* trayMenu = new QMenu(this);
    trayMenu->addAction(tr("Show Lumbrel"), this, &MainWindow::TrayIcon1Click);
    trayMenu->addSeparator();
    trayMenu->addAction(tr("&Exit"), this, &MainWindow::Exit1Click);
    tray_->setContextMenu(trayMenu);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            TrayIcon1Click();
    });
    if (trayAvailable_())
        tray_->show();
}

void MainWindow::Bind(ControlId id, QWidget* widget) {
    widgets_[static_cast<std::size_t>(id)] = widget;
}

void MainWindow::Bind(ControlId id, QAction* action) {
    actions_[static_cast<std::size_t>(id)] = action;
}

// --- User input: the controls model, then the reaction --------------------------------------

void MainWindow::ConnectInput() {
    ControlsModel& model = controls_;
    Trainer* t = trainer_.get();
    // A control's new value becomes its option's, and the option's reaction runs.
    auto choose = [t](ControlId id, int value) {
        if (const auto binding = BindingOf(id))
            t->SetOption(binding->option, value);
    };

    connect(Action(ControlId::ToolButton3), &QAction::triggered, this, [this, t] {
        t->Start();
        sent_->setFocus();
    });
    connect(Action(ControlId::ToolButton4), &QAction::triggered, this, [t] { t->Stop(); });
    connect(Action(ControlId::ToolButton10), &QAction::triggered, this, [t] { t->Finish(); });
    connect(Action(ControlId::ToolButton6), &QAction::triggered, this, &MainWindow::SendFileClick);
    connect(Action(ControlId::ToolButton7), &QAction::triggered, this, &MainWindow::ToolButton7Click);
    connect(Action(ControlId::ToolButton8), &QAction::triggered, this, &MainWindow::ToolButton8Click);
    connect(wordsMenu_, &QMenu::aboutToShow, this, &MainWindow::WordsPopupMenuPopup);
    connect(qsoMenu_, &QMenu::aboutToShow, this, &MainWindow::QSOPopupMenuPopup);
    connect(setupAction_, &QAction::triggered, this, &MainWindow::SetupButtonClick);
    connect(recordAction_, &QAction::triggered, this, &MainWindow::RecordAudioFile1Click);
    connect(exitAction_, &QAction::triggered, this, &MainWindow::Exit1Click);
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::About1Click);
    connect(fontAction_, &QAction::triggered, this, &MainWindow::SelectFontClick);
    connect(Action(ControlId::SingleWordsOnly1), &QAction::triggered, this,
            &MainWindow::SingleWordsOnly1Click);
    connect(clearAction_, &QAction::triggered, this, &MainWindow::Clear1Click);
    connect(saveAction_, &QAction::triggered, this, &MainWindow::SaveToFile1Click);

    for (ControlId id : {ControlId::PitchSpinner, ControlId::CharacterCountSpinEdit}) {
        auto* spin = static_cast<QSpinBox*>(Widget(id));
        connect(spin, &QSpinBox::valueChanged, this, [this, &model, choose, id](int value) {
            if (syncing_)
                return;
            model.SetValue(id, value);
            choose(id, value);
        });
    }

    for (ControlId id :
         {ControlId::RadioGroup1, ControlId::CodeSpeedRadioGroup, ControlId::NoiseRadioGroup,
          ControlId::SignalRadioGroup, ControlId::QSBModeRadioGroup, ControlId::QSBTypeRadioGroup}) {
        auto* group = static_cast<RadioGroup*>(Widget(id));
        connect(group, &RadioGroup::Clicked, this, [&model, choose, id](int index) {
            // A click on the item already selected (or its accelerator) changes nothing,
            // so it runs no reaction: the effective speed stays as chosen.
            if (model.Value(id) == index)
                return;
            model.SetValue(id, index);
            choose(id, index);
        });
    }

    auto* delay = static_cast<QComboBox*>(Widget(ControlId::DisplayDelayComboBox));
    connect(delay, &QComboBox::currentIndexChanged, this, [this, &model, choose](int index) {
        if (syncing_ || index < 0)
            return;
        model.SetValue(ControlId::DisplayDelayComboBox, index);
        choose(ControlId::DisplayDelayComboBox, index);
    });

    for (ControlId id : {ControlId::QSBCheckBox, ControlId::ChirpCheckBox, ControlId::HandSentCheckBox,
                         ControlId::QRMCheckBox, ControlId::SpeedStepCheckBox, ControlId::PitchDitherCheckBox,
                         ControlId::WeightingCheckBox}) {
        auto* b = static_cast<QCheckBox*>(Widget(id));
        connect(b, &QCheckBox::clicked, this, [&model, choose, id](bool on) {
            model.SetChecked(id, on);
            choose(id, on ? 1 : 0);
        });
    }
}

// --- Session changes: the controls follow -----------------------------------------------------

void MainWindow::OptionChanged(Option option) {
    if (trainer_)
        ShowOption(controls_, trainer_->Options(), option);
}

void MainWindow::ReadoutChanged(Readout readout) {
    if (trainer_)
        ShowReadout(controls_, trainer_->Readouts(), readout);
}

// --- Model changes: the widgets follow --------------------------------------------------------

void MainWindow::SyncAll() {
    for (int i = 0; i < kControlCount; ++i)
        ControlChanged(static_cast<ControlId>(i));
}

void MainWindow::ControlChanged(ControlId id) {
    if (!trainer_)
        return;
    const ControlState& c = controls_.Get(id);
    const bool wasSyncing = syncing_;
    syncing_ = true;

    if (QAction* action = Action(id)) {
        action->setEnabled(c.enabled);
        action->setVisible(c.visible);
        if (action->isCheckable())
            action->setChecked(c.checked);
    }
    if (id == ControlId::TrayIcon1) {
        tray_->setToolTip(c.text);
    } else if (QWidget* w = Widget(id)) {
        const QSignalBlocker block(w);
        w->setEnabled(c.enabled);
        // The option controls stay in their frames; only the QSB groups come and go.
        if (id == ControlId::QSBModeRadioGroup || id == ControlId::QSBTypeRadioGroup)
            w->setVisible(c.visible);
        if (auto* group = qobject_cast<RadioGroup*>(w)) {
            const bool speeds = id == ControlId::RadioGroup1 && c.items.size() == kSpeedCaptions.size();
            group->SetItems(speeds ? kSpeedCaptions : c.items);
            group->SetIndex(c.value);
            if (id == ControlId::CodeSpeedRadioGroup)
                group->setToolTip(c.text.isEmpty() ? tr(kEffectiveHint)
                                                   : tr(kEffectiveHint) + QLatin1Char('\n') + c.text);
        } else if (auto* spin = qobject_cast<QSpinBox*>(w)) {
            spin->setRange(c.minimum, c.maximum);
            spin->setValue(c.value);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            QStringList current;
            for (int i = 0; i < combo->count(); ++i)
                current << combo->itemText(i);
            if (current != c.items) {
                combo->clear();
                combo->addItems(c.items);
            }
            combo->setCurrentIndex(c.value);
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            check->setChecked(c.checked);
        } else if (auto* label = qobject_cast<QLabel*>(w)) {
            label->setText(c.text);
            SpeakLabel(id, label);
        }
    }
    syncing_ = wasSyncing;
}

void MainWindow::SpeakLabel(ControlId id, QLabel* label) {
    // A screen reader reads a label by its accessible name. The session time and the
    // status line name themselves by what they show ("Time 00:07", "16 characters
    // sent"), and each change of the name is announced to it.
    QString name;
    if (id == ControlId::Label1)
        name = tr("Time %1").arg(label->text());
    else if (id == ControlId::StatusBar1)
        name = label->text().trimmed();
    else
        return;
    if (label->accessibleName() != name)
        label->setAccessibleName(name);  // tells the screen reader NameChanged
}

// --- TrainerHost ---------------------------------------------------------------------------------

void MainWindow::ShowMessage(const QString& text, const QString& caption, MessageKind kind) {
    messages_.push_back({text, caption, kind});
    if (!messageScheduled_ && !messageShowing_) {
        messageScheduled_ = true;
        QMetaObject::invokeMethod(this, &MainWindow::ShowNextMessage, Qt::QueuedConnection);
    }
}

void MainWindow::ShowNextMessage() {
    messageScheduled_ = false;
    if (messageShowing_ || messages_.empty())
        return;
    const PendingMessage m = messages_.front();
    messages_.pop_front();
    messageShowing_ = true;
    prompts_->Message(this, m.text, m.caption, m.kind);
    messageShowing_ = false;
    if (!messages_.empty()) {
        messageScheduled_ = true;
        QMetaObject::invokeMethod(this, &MainWindow::ShowNextMessage, Qt::QueuedConnection);
    }
}

void MainWindow::RequestClose() {
    if (closeScheduled_)
        return;
    closeScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            closeScheduled_ = false;
            close();
        },
        Qt::QueuedConnection);
}

void MainWindow::SetCharacterCaptions(const QStringList& captions) {
    if (!setup_)
        return;
    for (int tag = 0; tag < captions.size(); ++tag)
        setup_->SetCharacterCaption(tag, captions[tag]);
}

void MainWindow::ShowCharacterBoxes(int count) {
    if (setup_)
        setup_->LoadCharacterChecks(count);
}

// --- Commands ------------------------------------------------------------------------------------

void MainWindow::SetupButtonClick() {
    if (setup_->isVisible())
        return;
    // A session is not stopped behind the learner's back.
    if ((trainer_->SessionActive() && !trainer_->WindingDown()) || trainer_->CountdownPending()) {
        if (!prompts_->AskYesNo(this, tr("Stop the session and open Setup?"),
                                tr("Setup")))
            return;
    }
    trainer_->Stop();
    const ControlsModel& model = controls_;
    setup_->SetCharacterCount(model.Value(ControlId::CharacterCountSpinEdit));
    setup_->SetCommonWordsPageVisible(model.Visible(ControlId::ToolButton6));
    setup_->exec();  // returns once OK has written the values
    trainer_->SetSessionLengthMinutes(setup_->SessionLength());
    trainer_->SetupDialogClosed();
}

void MainWindow::About1Click() {
    about_->exec();
}

void MainWindow::Exit1Click() {
    close();
}

void MainWindow::SelectFontClick() {
    const FontChoice current{sent_->font(), sent_->palette().color(QPalette::Text)};
    const std::optional<FontChoice> chosen = prompts_->ChooseFontAndColour(this, current, kMaxFontPointSize);
    if (!chosen)
        return;
    if (chosen->colour.isValid() && chosen->colour != current.colour) {
        QPalette p = sent_->palette();
        p.setColor(QPalette::Active, QPalette::Text, chosen->colour);
        p.setColor(QPalette::Inactive, QPalette::Text, chosen->colour);
        sent_->setPalette(p);
    }
    QFont font = chosen->font;
    int size = font.pointSize();
    if (size <= 0)
        size = std::max(1, qRound(font.pointSizeF()));
    size = std::clamp(size, 1, kMaxFontPointSize);
    font.setPointSize(size);
    sent_->setFont(font);
    trainer_->SetSentFont(font.family(), size);
}

void MainWindow::SingleWordsOnly1Click(bool checked) {
    controls_.SetChecked(ControlId::SingleWordsOnly1, checked);
    trainer_->SetOption(Option::SingleWords, checked ? 1 : 0);
}

void MainWindow::Clear1Click() {
    trainer_->ClearSent();
}

// The folder a file dialog opens in: the one used last for its kind of file, while it
// exists; else `firstFolder` beside the program, when there is one.
QString MainWindow::DialogFolder(const keys::TextKey& key, const char* firstFolder) const {
    const QString last = store_.Read(key);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    if (!firstFolder)
        return {};
    const QString first = ResolveProgramPath(trainer_->ProgramFolder(), QLatin1String(firstFolder));
    return QFileInfo(first).isDir() ? first : QString();
}

void MainWindow::KeepDialogFolder(const keys::TextKey& key, const QString& chosenPath) {
    if (!chosenPath.isEmpty())
        store_.Write(key, QFileInfo(chosenPath).absolutePath());
}

void MainWindow::SaveToFile1Click() {
    prompts_->SetStartFolder(DialogFolder(keys::TextFolder, kTextFilesFolder));
    const QString path = prompts_->SaveFileName(this, tr("Save To File"),
                                                tr("Text Files (*.txt)"), QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    KeepDialogFolder(keys::TextFolder, path);
    const QString problem = trainer_->SaveSent(path);
    if (!problem.isEmpty())
        prompts_->Error(this, problem);
}

void MainWindow::TrayIcon1Click() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::SendFileClick() {
    const QString folder = QDir::currentPath();
    prompts_->SetStartFolder(DialogFolder(keys::TextFolder, kTextFilesFolder));
    const QString path =
        prompts_->OpenFileName(this, tr("Open"), tr("Text Files (*.txt)"));
    QDir::setCurrent(folder);
    KeepDialogFolder(keys::TextFolder, path);
    trainer_->PlayChosenTextFile(path);
    sent_->setFocus();
}

void MainWindow::ToolButton7Click() {
    trainer_->PlayCurrentWordFile();
    sent_->setFocus();
}

void MainWindow::ToolButton8Click() {
    trainer_->PlayCurrentQsoFile();
    sent_->setFocus();
}

// The drop-down lists of the Words and QSO's buttons, filled each time they open. A
// file name's "&" is doubled so that it shows and is not taken as an accelerator.
static void FillFileMenu(QMenu* menu, const QStringList& files,
                         const std::function<void(const QString&)>& play) {
    menu->clear();
    for (const QString& file : files) {
        QAction* item = menu->addAction(QString(file).replace(QLatin1Char('&'), QStringLiteral("&&")));
        QObject::connect(item, &QAction::triggered, menu, [play, file] { play(file); });
    }
}

void MainWindow::WordsPopupMenuPopup() {
    FillFileMenu(wordsMenu_, trainer_->WordsPopupMenuPopup(), [this](const QString& file) {
        trainer_->PlayWordFile(file);
        sent_->setFocus();
    });
}

void MainWindow::QSOPopupMenuPopup() {
    FillFileMenu(qsoMenu_, trainer_->QSOPopupMenuPopup(), [this](const QString& file) {
        trainer_->PlayQsoFile(file);
        sent_->setFocus();
    });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    DropFiles(event->mimeData()->urls());
}

void MainWindow::DropFiles(const QList<QUrl>& urls) {
    QStringList paths;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            paths << url.toLocalFile();
    // Played after the drop has finished, so the file manager is not kept waiting.
    QMetaObject::invokeMethod(
        this, [this, paths] { trainer_->FilesDropped(paths); }, Qt::QueuedConnection);
}

void MainWindow::PlayFileArguments(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    QMetaObject::invokeMethod(
        this, [this, paths] { trainer_->PlayFileArguments(paths); }, Qt::QueuedConnection);
}

namespace {

// Whether the files a recording will write (the audio file under its type's ending and
// the transcript beside it) may replace files of those names: asked, as the file
// dialog would, about the names really written.
bool MayReplace(Prompts& prompts, QWidget* parent, const RecordingNames& names) {
    QStringList existing;
    for (const QString& path : {names.audioFile, names.transcriptFile})
        if (QFileInfo::exists(path))
            existing << QFileInfo(path).fileName();
    if (existing.isEmpty())
        return true;
    const QString text =
        existing.size() == 1
            ? MainWindow::tr("%1 already exists.\nDo you want to replace it?").arg(existing[0])
            : MainWindow::tr("%1 and %2 already exist.\nDo you want to replace them?")
                  .arg(existing[0], existing[1]);
    return prompts.AskYesNo(parent, text, MainWindow::tr("Create Audio File"));
}

}  // namespace

void MainWindow::RecordAudioFile1Click() {
    // The default name: characters, the selected character speed (not a speed that a
    // station file left behind) and the effective speed shown.
    const auto& controls = controls_;
    const int wpm = trainer_->Options().CharacterWpm();
    const auto& effectiveItems = controls.Get(ControlId::CodeSpeedRadioGroup).items;
    const int effectiveIndex = controls.Value(ControlId::CodeSpeedRadioGroup);
    const int effectiveWpm = effectiveIndex >= 0 && effectiveIndex < effectiveItems.size()
                                 ? effectiveItems[effectiveIndex].toInt()
                                 : wpm;
    QStringList filters{tr("Audio WAV Files (*.wav)")};
    if (encoder_)
        filters << tr("MP3 Audio Files (*.mp3)");
    const QString folder = QDir::currentPath();
    // The type chosen last, WAV when there is no encoder.
    AudioFileChoice choice{
        DefaultRecordingName(controls.Value(ControlId::CharacterCountSpinEdit), wpm, effectiveWpm),
        encoder_ ? std::clamp(store_.Read(keys::RecordingType), 0, 1) : 0};
    prompts_->SetStartFolder(DialogFolder(keys::RecordingFolder, nullptr));
    bool mp3 = false;
    RecordingNames names;
    for (;;) {
        choice = prompts_->ChooseAudioFile(this, choice.path, filters, choice.filterIndex);
        QDir::setCurrent(folder);
        if (choice.path.isEmpty())
            return;  // a cancelled dialog leaves any armed recording as it was
        prompts_->SetStartFolder(QFileInfo(choice.path).absolutePath());
        mp3 = encoder_ && choice.filterIndex == 1;
        names = ChooseRecordingNames(choice.path, mp3);
        if (MayReplace(*prompts_, this, names))
            break;  // otherwise back to the dialog, on the name chosen
    }
    KeepDialogFolder(keys::RecordingFolder, names.audioFile);
    if (encoder_)
        store_.Write(keys::RecordingType, mp3 ? 1 : 0);
    // The latest choice wins over a recording armed before.
    trainer_->ReleaseRecording();
    if (mp3) {
        struct Reporter final : RecordingReporter {
            explicit Reporter(MainWindow& w) : window(w) {}
            void ReportError(const QString& text, const QString& caption) override {
                window.ShowMessage(text, caption, MessageKind::Error);
            }
            MainWindow& window;
        } reporter(*this);
        auto arming =
            Mp3OutputStream::Arm(encoder_, names.audioFile, store_.Read(keys::Mp3BitRate), reporter);
        if (arming.status == Mp3OutputStream::ArmStatus::FileNotCreated) {
            ShowMessage(arming.error, tr("Record Audio File"), MessageKind::Error);
            return;
        }
        if (arming.stream)
            trainer_->ArmMp3Recording(std::move(arming.stream));
    } else {
        auto wav = std::make_unique<WavFile>(names.audioFile);
        if (!wav->IsOpen()) {
            // Nothing is armed: a recording that cannot be written is told, not hidden.
            ShowMessage(tr("cannot create %1: %2")
                            .arg(QDir::toNativeSeparators(names.audioFile), wav->Error()),
                        tr("Record Audio File"), MessageKind::Error);
            return;
        } else {
            trainer_->ArmWavRecording(std::move(wav));
        }
    }
    trainer_->SetTranscriptFileName(names.transcriptFile);
    // Said until the session that records it begins.
    trainer_->ShowStatus(tr("  Recording armed: %1").arg(QFileInfo(names.audioFile).fileName()));
}

// --- Showing, minimising and closing ---------------------------------------------------------------

void MainWindow::setVisible(bool visible) {
    const bool showing = visible && isHidden();
    if (showing)
        RestorePlacement();
    QMainWindow::setVisible(visible);
    if (showing) {
        trainer_->FormShow();
        ApplySentFont();
        if (!encoderLookedFor_) {
            encoderLookedFor_ = true;
            encoder_ = LoadLameEncoder();
        }
    }
}

void MainWindow::ApplySentFont() {
    // Face and size come from the store; the style stays (bold as designed, or as chosen).
    const Trainer::TextFont& stored = trainer_->SentFont();
    QFont font = sent_->font();
    font.setFamily(stored.face);
    if (stored.pointSize > 0)
        font.setPointSize(std::min(stored.pointSize, kMaxFontPointSize));
    sent_->setFont(font);
}

void MainWindow::RestorePlacement() {
    std::vector<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens.push_back(s->availableGeometry());
    QPoint home(0, 0);
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        home = primary->availableGeometry().topLeft();
    const QRect current = isMaximized() ? normalGeometry() : geometry();
    const WindowPlacement p = ReadWindowPlacement(store_, current, screens, home);
    setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
    setGeometry(p.normal);
    if (p.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void MainWindow::SavePlacement() {
    WindowPlacement p;
    p.maximized = isMaximized();
    p.normal = p.maximized || isMinimized() ? normalGeometry() : geometry();
    if (!p.normal.isValid())
        p.normal = geometry();
    WriteWindowPlacement(store_, p);
    store_.Sync();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized() || !TrayInUse())
        return;
    // Minimising hides the window into the notification area; a click on the icon
    // brings it back. Hidden from the event loop, once the state change is complete.
    QTimer::singleShot(0, this, [this] {
        if (isMinimized() && TrayInUse())
            hide();
    });
}

bool MainWindow::SetupOpen() const {
    return setup_->isVisible() || define_->isVisible() || !drills_.isNull() || !send_.isNull();
}

void MainWindow::SetHistoryPath(const QString& path) {
    history_->SetPath(path);
}

DrillsDialog* MainWindow::Drills() const {
    return drills_.data();
}

void MainWindow::DrillsClick() {
    if (drills_)
        return;
    if (trainer_->SessionActive() || trainer_->CountdownPending()) {
        ShowMessage(tr("A session is running. Stop it before you start a drill."),
                    tr("Drills"));
        return;
    }
    // A device that could not be opened at the start is tried again, as a session start does.
    if (!audio_.IsOpen())
        (void)trainer_->Engine().Reopen();
    if (!audio_.IsOpen()) {
        ShowMessage(tr("No sound output: the drills need the sound output that sessions use."),
                    tr("Drills"), MessageKind::Warning);
        return;
    }
    auto* dialog = new DrillsDialog(*trainer_, clock_, *drillPlayer_, store_, *history_, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    drills_ = dialog;
    dialog->open();
}

SendWindow* MainWindow::Sending() const {
    return send_.data();
}

void MainWindow::SendClick() {
    if (send_ || drills_)
        return;
    if (trainer_->SessionActive() || trainer_->CountdownPending()) {
        ShowMessage(tr("A session is running. Stop it before you send."), tr("Send"));
        return;
    }
    auto* window = new SendWindow(
        audio_, [this] { (void)trainer_->Engine().Reopen(); }, store_, trainer_->Signal().Pitch(), this,
        rig_);
    // The echo drills play through the drills' player, from the characters in use.
    trainer_->Characters().RebuildActiveSet();
    SendWindow::DrillSources sources{
        drillPlayer_.get(),
        trainer_->Characters().CharacterList(),
        {},
        trainer_->ProgramFolder(),
        {.wpm = trainer_->Signal().Wpm(), .pitchHz = trainer_->Signal().Pitch()}};
    const std::vector<const MorseCharacter*>& active = trainer_->Characters().ActiveSet();
    for (std::size_t i = 1; i < active.size(); ++i)  // the first is the word space
        if (active[i] && !active[i]->display.isEmpty())
            sources.learner << active[i]->display.toLower();
    window->SetDrillSources(std::move(sources));
    // Each spell of sending is kept in the history; the echo drills weigh what was missed.
    window->onRecord = [this](const SendingRecord& record) {
        const HistoryService::Stored stored = history_->StoreSending(record);
        if (stored.usable && !stored.id)
            ShowMessage(tr("The sending could not be kept in the history: %1").arg(history_->Problem()),
                        tr("Send"));
    };
    window->echoMisses = [this] {
        return history_->RecentEchoMisses();
    };
    window->setAttribute(Qt::WA_DeleteOnClose);
    send_ = window;
    window->open();
}

bool MainWindow::TrayInUse() const {
    if (!trayAvailable_())
        return false;
    if (!tray_->isVisible())
        tray_->show();
    return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (closed_) {
        event->accept();
        return;
    }
    // The close query: refused (and the session stopped) while a session runs.
    if (!trainer_->FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    FinishClose(true);
}

void MainWindow::FinishClose(bool mayAsk) {
    SavePlacement();
    trainer_->FormClose();  // saves the options and writes the store out
    const QString problem = store_.Problem();
    closed_ = true;
    tray_->hide();
    if (!problem.isEmpty()) {
        if (mayAsk)
            prompts_->Error(this, problem);
        else
            qWarning("lumbrel: %s", qPrintable(problem));
    }
    Q_EMIT Closed();
}

void MainWindow::EndForDesktop() {
    if (closed_)
        return;
    if (drills_)
        drills_->StopDrill();
    // Stops a running session or countdown; FormClose then ends what still winds down.
    (void)trainer_->FormCloseQuery();
    FinishClose(false);
    hide();
}

}  // namespace lumbrel

// ===== Keyboard, screen size and accessible names ==========================================

namespace lumbrel {

void MainWindow::BuildSessionMenu() {
    // Each command of the tool bar gets a menu item with its shortcut. The item
    // triggers the tool bar's action and follows its enabled and visible state, so a
    // shortcut works exactly when the button does (Escape stops only while a session
    // runs). The shortcut is also told in the button's hint.
    sessionMenu_ = new QMenu(tr("&Session"), this);
    sessionMenu_->setObjectName(QStringLiteral("SessionMenu"));
    menuBar()->insertMenu(aboutAction_, sessionMenu_);

    auto hint = [](QAction* action, const QKeySequence& keys) {
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(action->toolTip(), keys.toString(QKeySequence::NativeText)));
    };
    auto command = [&](QAction* tool, const QString& caption, const QList<QKeySequence>& keys) {
        QAction* item = sessionMenu_->addAction(tool->icon(), caption);
        item->setShortcuts(keys);
        connect(item, &QAction::triggered, tool, &QAction::trigger);
        auto follow = [tool, item] {
            item->setEnabled(tool->isEnabled());
            item->setVisible(tool->isVisible());
        };
        connect(tool, &QAction::changed, item, follow);
        follow();
        hint(tool, keys.first());
        return item;
    };
    command(Action(ControlId::ToolButton3), tr("&Start"),
            {QKeySequence(Qt::Key_F5), QKeySequence(Qt::CTRL | Qt::Key_Return)});
    command(Action(ControlId::ToolButton6), tr("&Text File..."), {QKeySequence::Open});
    command(Action(ControlId::ToolButton7), tr("&Words"), {QKeySequence(Qt::Key_F6)});
    // The word and QSO files of the tool buttons' drop-down lists, filled as they open.
    auto files = [&](ControlId id, const QString& title, const std::function<QStringList()>& list,
                     const std::function<void(const QString&)>& play) {
        QMenu* menu = sessionMenu_->addMenu(title);
        connect(menu, &QMenu::aboutToShow, this, [this, menu, list, play] {
            FillFileMenu(menu, list(), [this, play](const QString& file) {
                play(file);
                sent_->setFocus();
            });
        });
        QAction* tool = Action(id);
        auto follow = [tool, menu] {
            menu->menuAction()->setEnabled(tool->isEnabled());
            menu->menuAction()->setVisible(tool->isVisible());
        };
        connect(tool, &QAction::changed, menu, follow);
        follow();
    };
    files(
        ControlId::ToolButton7, tr("W&ord Files"),
        [this] { return trainer_->WordsPopupMenuPopup(); },
        [this](const QString& file) { trainer_->PlayWordFile(file); });
    command(Action(ControlId::ToolButton8), tr("&QSO's"), {QKeySequence(Qt::Key_F7)});
    files(
        ControlId::ToolButton8, tr("QSO &Files"),
        [this] { return trainer_->QSOPopupMenuPopup(); },
        [this](const QString& file) { trainer_->PlayQsoFile(file); });
    // Word sessions speak each word after it is sent, for practice away from the screen.
    QAction* speak = sessionMenu_->addAction(tr("Speak the &answer"));
    speak->setObjectName(QStringLiteral("SpeakAnswer1"));
    speak->setCheckable(true);
    speak->setChecked(trainer_->SpeakAnswers());
    connect(speak, &QAction::toggled, this, [this](bool on) { trainer_->SetSpeakAnswers(on); });
    sessionMenu_->addSeparator();
    command(Action(ControlId::ToolButton4), tr("Sto&p"),
            {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::SHIFT | Qt::Key_F5)});

    // Check Copy (kept current by its own part) and Setup (the File menu's item).
    if (QAction* check = checking_->CheckCopyAction()) {
        check->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
        sessionMenu_->addSeparator();
        sessionMenu_->addAction(check);
        connect(sessionMenu_, &QMenu::aboutToShow, checking_.get(), &CopyChecking::UpdateActions);
    }
    sessionMenu_->addSeparator();
    drillsAction_ = sessionMenu_->addAction(tr("&Drills..."));
    drillsAction_->setObjectName(QStringLiteral("Drills1"));
    drillsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(drillsAction_, &QAction::triggered, this, &MainWindow::DrillsClick);
    QAction* send = sessionMenu_->addAction(tr("S&end..."));
    send->setObjectName(QStringLiteral("Send1"));
    send->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(send, &QAction::triggered, this, &MainWindow::SendClick);
    if (const auto* configure = findChild<QAction*>(QStringLiteral("Configure1")))
        hint(setupAction_, configure->shortcut());
}

void MainWindow::BuildTextBarMenu() {
    // The context menu's commands, reachable without a mouse: each item triggers the
    // context menu's own, whose captions stay as they are.
    textBarMenu_ = new QMenu(tr("&Text"), this);
    textBarMenu_->setObjectName(QStringLiteral("TextMenu"));
    menuBar()->insertMenu(aboutAction_, textBarMenu_);
    auto item = [this](QAction* original, const QString& caption) {
        QAction* copy = textBarMenu_->addAction(caption);
        copy->setCheckable(original->isCheckable());
        copy->setChecked(original->isChecked());
        connect(copy, &QAction::triggered, original, &QAction::trigger);
        connect(original, &QAction::changed, copy,
                [original, copy] { copy->setEnabled(original->isEnabled()); });
        connect(original, &QAction::toggled, copy, &QAction::setChecked);
        return copy;
    };
    item(fontAction_, tr("Select &Font..."));
    textBarMenu_->addSeparator();
    item(Action(ControlId::SingleWordsOnly1), tr("Single &Words Only"));
    textBarMenu_->addSeparator();
    item(clearAction_, tr("&Clear"));
    textBarMenu_->addSeparator();
    item(saveAction_, tr("Save &To File..."));

    // Shift+F10 (and the Menu key, which Qt turns into a context-menu request) opens the
    // text area's menu at the text cursor.
    auto* menuKey = new QAction(sent_);
    menuKey->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10));
    menuKey->setShortcutContext(Qt::WidgetShortcut);
    sent_->addAction(menuKey);
    connect(menuKey, &QAction::triggered, this,
            [this] { textMenu_->popup(sent_->viewport()->mapToGlobal(sent_->cursorRect().bottomLeft())); });
}

void MainWindow::SetTabOrderAndNames() {
    // Tab follows the layout: the first row, the two speed groups, the signal options
    // from left to right, then the text area. A radio group is entered on its selected
    // button (RadioGroup).
    const ControlId order[] = {
        ControlId::DisplayDelayComboBox, ControlId::PitchSpinner,        ControlId::CharacterCountSpinEdit,
        ControlId::RadioGroup1,          ControlId::CodeSpeedRadioGroup, ControlId::NoiseRadioGroup,
        ControlId::SignalRadioGroup,     ControlId::QSBCheckBox,         ControlId::QSBModeRadioGroup,
        ControlId::QSBTypeRadioGroup,    ControlId::ChirpCheckBox,       ControlId::HandSentCheckBox,
        ControlId::QRMCheckBox,          ControlId::SpeedStepCheckBox,   ControlId::PitchDitherCheckBox,
        ControlId::WeightingCheckBox};
    QList<QWidget*> chain;
    for (ControlId id : order) {
        if (auto* group = qobject_cast<RadioGroup*>(Widget(id))) {
            for (int i = 0; i < group->Count(); ++i)
                chain << group->Button(i);
        } else {
            chain << Widget(id);
        }
    }
    chain << sent_;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    // The text area has the focus at first: arrow keys there change no setting.
    sent_->setFocus();

    // What a screen reader says: the caption of the frame a box stands in; the time and
    // the status line say what they show (SpeakLabel).
    SpeakLabel(ControlId::Label1, static_cast<QLabel*>(Widget(ControlId::Label1)));
    Widget(ControlId::Label1)->setAccessibleDescription(tr("Session time"));
    Widget(ControlId::DisplayDelayComboBox)->setAccessibleName(tr("Display Delay"));
    Widget(ControlId::PitchSpinner)->setAccessibleName(tr("Pitch"));
    Widget(ControlId::CharacterCountSpinEdit)->setAccessibleName(tr("Characters"));
    sent_->setAccessibleName(tr("Sent text"));
    SpeakLabel(ControlId::StatusBar1, status_);
    status_->setAccessibleDescription(tr("Status"));

    GuardWheel(centralWidget());
}

void MainWindow::FitToScreen() {
    // The option panel goes into its area only now, complete with every radio button:
    // the area measures the panel at once, and would keep the sizes of empty groups.
    optionArea_->setWidget(optionPanel_);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect free = screen->availableGeometry();
    // The window manager's title bar and borders are not known before the first
    // showing: leave room for them.
    const int border = 8;
    const QSize room =
        (free.size() - QSize(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border))
            .expandedTo(QSize(240, 200));
    const QSize excess = (minimumSizeHint() - room).expandedTo(QSize(0, 0));
    if (!excess.isNull()) {
        // Too small a screen: the options may shrink, and scroll, by what is missing.
        optionArea_->AllowShrinking((optionArea_->minimumSizeHint() - excess).expandedTo(QSize(120, 60)));
        centralWidget()->layout()->activate();
        centralWidget()->updateGeometry();
    }
    // The smallest size is 674 x 508, or what the options need at the user's font,
    // within the screen. The first size shows every option without crowding; the
    // placement may replace it.
    setMinimumSize(QSize(kMinimumWidth, kMinimumHeight).expandedTo(minimumSizeHint()).boundedTo(room));
    resize(QSize(std::max(sizeHint().width(), 760), std::max(sizeHint().height(), 600)).boundedTo(room));
    QRect r = geometry();
    r.moveCenter(free.center());
    move(r.topLeft());
}

}  // namespace lumbrel
