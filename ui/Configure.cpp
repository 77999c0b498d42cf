#include "ui/Configure.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QShowEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "keying/SerialDevices.h"
#include "morse/LearningOrders.h"
#include "engine/CharacterSet.h"
#include "ui/ControlWidgets.h"
#include "ui/PracticeOptions.h"
#include "ui/SendSetup.h"

namespace lumbrel {
namespace {

QLabel* BoldLabel(const QString& text, int pointSize, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont f = label->font();
    f.setBold(true);
    // Never smaller than the desktop's own font.
    if (pointSize > 0 && f.pointSizeF() < pointSize)
        f.setPointSize(pointSize);
    label->setFont(f);
    label->setWordWrap(true);
    return label;
}

PageSpinBox* Spinner(int minimum, int maximum, int value, const QString& hint, QWidget* parent) {
    auto* spin = new PageSpinBox(parent);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    spin->setToolTip(hint);
    spin->setMinimumWidth(64);
    return spin;
}

// The box grid of the character and letter pages: rows of ten.
constexpr int kBoxColumns = 10;

// The grid's columns all as wide as its widest shown box: a long caption (a user
// character such as "SOS" or "<AR>") widens every column, and the rows stay even.
template <std::size_t N>
void EvenColumns(QGridLayout* grid, const std::array<QCheckBox*, N>& boxes) {
    int widest = 40;
    for (const QCheckBox* box : boxes)
        if (!box->isHidden())
            widest = std::max(widest, box->sizeHint().width() + 6);  // a gap to the next box
    for (int column = 0; column < kBoxColumns; ++column)
        grid->setColumnMinimumWidth(column, widest);
}

// The red of the warning, darker or lighter as the window's background needs.
void ShowAsWarning(QLabel* label, const QColor& background) {
    QPalette p = label->palette();
    const QColor red = ReadableOn(QColor(0xc0, 0x00, 0x00), background);
    p.setColor(QPalette::WindowText, red);
    label->setPalette(p);
}

}  // namespace

ConfigureDialog::ConfigureDialog(SettingsStore store, QWidget* parent)
    : QDialog(parent),
      store_(std::move(store)) {
    setObjectName(QStringLiteral("ConfigureForm"));
    setWindowTitle(tr("Configure Codes"));
    // A dialog frame with a title and no buttons on it (no close, minimise or
    // maximise): OK is the only way out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("RzPageControl1"));
    pages_->addTab(BuildGeneralPage(), tr("General Setup"));
    pages_->addTab(BuildCharacterPage(), tr("Morse Character Setup"));
    wordsPage_ = BuildWordsPage();
    pages_->addTab(wordsPage_, tr("Common Words"));
    sending_ = new SendingSetupPage;
    pages_->addTab(sending_, tr("Sending"));
    pages_->setCurrentIndex(0);

    okayButton_ = new QPushButton(tr("OK"), this);
    okayButton_->setObjectName(QStringLiteral("OkayButton"));
    okayButton_->setToolTip(tr("Finished!"));
    okayButton_->setDefault(true);
    okayButton_->setMinimumWidth(90);
    connect(okayButton_, &QPushButton::clicked, this, &ConfigureDialog::OkayButtonClick);

    auto* side = new QVBoxLayout;
    side->addSpacing(pages_->tabBar()->sizeHint().height());
    side->addWidget(okayButton_);
    side->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(pages_, 1);
    layout->addLayout(side);
    GuardWheel(this);

    // FormCreate.
    sessionLength_->setValue(store_.Read(keys::Session));
}

ConfigureDialog::~ConfigureDialog() = default;

QWidget* ConfigureDialog::BuildGeneralPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet2"));
    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);

    fist_ = new RadioGroup(tr("Straight key Fist"), 1, page);
    fist_->setObjectName(QStringLiteral("StraightKeyFistRadioGroup"));
    fist_->SetItems({tr("Good"), tr("Bad")});

    ditherSize_ = new RadioGroup(tr("Speed Dither"), 1, page);
    ditherSize_->setObjectName(QStringLiteral("SpeedDitherSize"));
    ditherSize_->SetItems({tr("5 WPM"), tr("10 WPM")});
    ditherSize_->setToolTip(tr("+/- 2.5 WPM or +/- 5WPM"));

    auto* mp3Frame = new QGroupBox(tr("MP3 Recording Bit Rate"), page);
    mp3Frame->setObjectName(QStringLiteral("RzGroupBox1"));
    mp3Frame->setToolTip(tr("Bit Rate for MP3 Audio Recordings"));
    mp3_ = new QComboBox(mp3Frame);
    mp3_->setObjectName(QStringLiteral("MP3ComboBox"));
    mp3_->setEditable(true);
    mp3_->setInsertPolicy(QComboBox::NoInsert);
    mp3_->addItems({tr("16 Kbps"), tr("32 Kbps"), tr("48 Kbps"),
                    tr("64 Kbps"), tr("80Kbps"), tr("96 Kbps"),
                    tr("112 Kbps"), tr("128 Kbps")});
    mp3_->completer()->setCompletionMode(QCompleter::InlineCompletion);
    mp3_->setAccessibleName(mp3Frame->title());
    auto* mp3Layout = new QVBoxLayout(mp3Frame);
    mp3Layout->addWidget(mp3_);
    mp3Layout->addStretch(1);

    effective_ = new RadioGroup(tr("Effective Speed"), 1, page);
    effective_->setObjectName(QStringLiteral("EffectiveSpeedRadioGroup"));
    effective_->SetItems({tr("Each Word"), tr("Each Character")});

    auto* order = new QGroupBox(tr("Learning Order"), page);
    order->setObjectName(QStringLiteral("GroupBox5"));
    mfj_ = new QCheckBox(tr("Use MFJ 418 Learning Order"), order);
    mfj_->setObjectName(QStringLiteral("MFJOrderCheckBox"));
    mfj_->setProperty("Tag", kTagMfj);
    recent_ = new QCheckBox(tr("Favour Recently Added Characters"), order);
    recent_->setObjectName(QStringLiteral("RecentAdditionsCheckBox"));
    recent_->setProperty("Tag", kTagRecent);
    missed_ = new QCheckBox(tr("Favour characters I miss"), order);
    missed_->setObjectName(QStringLiteral("FavourMissedCheckBox"));
    missed_->setProperty("Tag", kTagMissed);
    missed_->setToolTip(
        tr("Random groups bring the characters you missed most in your last checked "
                       "sessions and drills more often; every character still comes."));
    auto* orderLayout = new QVBoxLayout(order);
    orderLayout->setSpacing(2);
    orderLayout->addWidget(mfj_);
    orderLayout->addWidget(recent_);
    orderLayout->addWidget(missed_);

    port_ = new RadioGroup(tr("Rig Control Port"), 3, page);
    port_->setObjectName(QStringLiteral("ComPortRadioGroup"));
    port_->SetItems({tr("Off"), QStringLiteral("COM1"), QStringLiteral("COM2"),
                     QStringLiteral("COM3"), QStringLiteral("COM4")});
    port_->setToolTip(tr("Select a COM port to provide the rig control sginal."));

    // Any serial device of this machine (USB adapters included); when one is chosen it
    // is used instead of the numbered port. "Off" clears it.
    portDevice_ = new QComboBox(page);
    portDevice_->setObjectName(QStringLiteral("PortDeviceComboBox"));
    portDevice_->setEditable(true);
    portDevice_->setInsertPolicy(QComboBox::NoInsert);
    portDevice_->setToolTip(
        tr("A serial device for the rig control signal, such as a USB adapter (/dev/ttyUSB0). "
                       "Leave empty to use the COM port chosen above; keying is off with \"Off\"."));
    connect(port_, &RadioGroup::Clicked, this, [this](int index) {
        portDevice_->setEnabled(index != 0);
        if (index == 0)
            portDevice_->setEditText(QString());
    });
    auto* portBox = new QWidget(page);
    auto* portLayout = new QVBoxLayout(portBox);
    portLayout->setContentsMargins(0, 0, 0, 0);
    portLayout->addWidget(port_);
    auto* deviceRow = new QHBoxLayout;
    auto* deviceLabel = new QLabel(tr("Serial &device:"), portBox);
    deviceLabel->setBuddy(portDevice_);
    portDevice_->setAccessibleName(tr("Serial device"));
    deviceRow->addWidget(deviceLabel);
    deviceRow->addWidget(portDevice_, 1);
    portLayout->addLayout(deviceRow);

    auto* bevel = new QFrame(page);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameShape(QFrame::HLine);
    bevel->setFrameShadow(QFrame::Sunken);

    auto* sessionFrame = new QGroupBox(tr("Session Length"), page);
    sessionFrame->setObjectName(QStringLiteral("GroupBox1"));
    sessionLength_ =
        Spinner(1, 60, 5, tr("Set the length of the training sessions"), sessionFrame);
    sessionLength_->setObjectName(QStringLiteral("SessionLengthSpinEdit"));
    sessionLength_->setAccessibleName(sessionFrame->title());
    auto* sessionLayout = new QVBoxLayout(sessionFrame);
    sessionLayout->addWidget(new QLabel(tr("Minutes"), sessionFrame));
    sessionLayout->addWidget(sessionLength_);
    auto* sessionNote =
        new QLabel(tr("5 Minutes is the recommended study interval"), sessionFrame);
    sessionNote->setWordWrap(true);
    sessionLayout->addWidget(sessionNote);
    sessionLayout->addStretch(1);

    auto* pauseFrame = new QGroupBox(tr("Starting Delay"), page);
    pauseFrame->setObjectName(QStringLiteral("GroupBox3"));
    pause_ = Spinner(1, 60, 5, tr("Set the time you need to get ready before the Morse starts."),
                     pauseFrame);
    pause_->setObjectName(QStringLiteral("StartingPauseSpinEdit"));
    pause_->setAccessibleName(pauseFrame->title());
    auto* pauseLayout = new QVBoxLayout(pauseFrame);
    pauseLayout->addWidget(new QLabel(tr("Seconds"), pauseFrame));
    pauseLayout->addWidget(pause_);
    auto* pauseNote =
        new QLabel(tr("Delay after Clicking Start before Morse Starts"), pauseFrame);
    pauseNote->setWordWrap(true);
    pauseLayout->addWidget(pauseNote);
    pauseLayout->addStretch(1);

    auto* sound = new QGroupBox(tr("Sound Card Setup"), page);
    sound->setObjectName(QStringLiteral("GroupBox2"));
    // "Callback": how the sound output reports a played buffer. Only Windows has the
    // system callbacks and the rich-text library the original note speaks of.
#ifdef Q_OS_WIN
    const QString callbackCaption = tr("Use Windows Callbacks");
    const QString callbackNote = tr(
        "Change the setting of this box and restart the application if you only hear a couple of Morse "
        "characters "
        "after pressing the Start button or you get clicks on the audio or you get an error in "
        "RichEdit.DLL.");
#else
    const QString callbackCaption = tr("Use Sound System Callbacks");
    const QString callbackNote = tr(
        "Checked, the sound system's own thread reports each played buffer; unchecked, the report goes "
        "through the "
        "window's message queue. Change the setting of this box and restart the application if you only hear "
        "a "
        "couple of Morse characters after pressing the Start button or you get clicks on the audio.");
#endif
    callback_ = new QCheckBox(callbackCaption, sound);
    callback_->setObjectName(QStringLiteral("CallbackCheckBox"));
    callback_->setProperty("Tag", kTagCallback);
    callback_->setToolTip(
        tr("Change this setting if you cannot hear Morse or there are clicks in the audio."));
    auto* warning = BoldLabel(callbackNote, 10, sound);
    warning->setObjectName(QStringLiteral("Label3"));
    ShowAsWarning(warning, warning->palette().color(QPalette::Window));
    auto* soundLayout = new QVBoxLayout(sound);
    soundLayout->addWidget(callback_);
    soundLayout->addWidget(warning);
    soundLayout->addStretch(1);

    grid->addWidget(fist_, 0, 0);
    grid->addWidget(ditherSize_, 0, 1);
    grid->addWidget(mp3Frame, 0, 2);
    grid->addWidget(effective_, 0, 3);
    grid->addWidget(order, 1, 0, 1, 2);
    grid->addWidget(portBox, 1, 2, 1, 2);
    grid->addWidget(bevel, 2, 0, 1, 4);
    grid->addWidget(sessionFrame, 3, 0);
    grid->addWidget(pauseFrame, 3, 1);
    grid->addWidget(sound, 3, 2, 1, 2);
    practice_ = new PracticeOptionsBox(page);
    grid->addWidget(practice_, 4, 0, 1, 4);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget* ConfigureDialog::BuildCharacterPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto* frame = new QGroupBox(tr("Morse Characters"), page);
    frame->setObjectName(QStringLiteral("GroupBox4"));
    frame->setToolTip(tr("Uncheck a character to exclude it from a training session."));

    auto* boxes = new QGridLayout;
    characterGrid_ = boxes;
    boxes->setHorizontalSpacing(6);
    boxes->setVerticalSpacing(4);
    const OrderTable& koch = LearningOrderTable(LearningOrder::Koch);
    for (int tag = 0; tag < kCharacterBoxes; ++tag) {
        auto* box = new QCheckBox(frame);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(tag + 1));
        box->setProperty("Tag", tag);
        if (tag < kBuiltInCharacters)
            box->setText(koch[static_cast<std::size_t>(tag + 1)].display.toUpper());
        // Rows 7 to 10 hold boxes that stand for no list position (at most 64 are shown).
        boxes->addWidget(box, tag / kBoxColumns, tag % kBoxColumns);
        characterBoxes_[static_cast<std::size_t>(tag)] = box;
    }
    // Hidden boxes keep their places empty, so the rows stay where they are.
    const int rowHeight = characterBoxes_[0]->sizeHint().height();
    for (int row = 0; row < kCharacterBoxes / kBoxColumns; ++row)
        boxes->setRowMinimumHeight(row, rowHeight);
    EvenColumns(boxes, characterBoxes_);

    uncheck_ = new QPushButton(tr("Uncheck All"), frame);
    uncheck_->setObjectName(QStringLiteral("UncheckButton"));
    uncheck_->setToolTip(tr("Turn off all characters from the session"));
    check_ = new QPushButton(tr("Check All"), frame);
    check_->setObjectName(QStringLiteral("CheckButton"));
    check_->setToolTip(tr("Turn on all characters in the session"));
    define_ = new QPushButton(tr("Define"), frame);
    define_->setObjectName(QStringLiteral("BitBtn2"));
    define_->setToolTip(tr("Define new Morse Characters"));
    connect(uncheck_, &QPushButton::clicked, this, [this] { SetCharacterBoxes(false); });
    connect(check_, &QPushButton::clicked, this, [this] { SetCharacterBoxes(true); });
    connect(define_, &QPushButton::clicked, this, [this] {
        if (defineAction_)
            defineAction_();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(uncheck_);
    buttons->addWidget(check_);
    buttons->addStretch(1);
    buttons->addWidget(define_);

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(BoldLabel(
        tr("Uncheck characters here to remove them from a training session."), 10, frame));
    frameLayout->addSpacing(6);
    frameLayout->addLayout(boxes);
    frameLayout->addStretch(1);
    frameLayout->addLayout(buttons);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(frame);
    layout->addStretch(1);
    return page;
}

QWidget* ConfigureDialog::BuildWordsPage() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet3"));
    auto* frame = new QGroupBox(tr("Starting Letter of Words"), page);
    frame->setObjectName(QStringLiteral("GroupBox6"));
    frame->setToolTip(tr("Uncheck a character to exclude it from a training session."));

    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(6);
    boxes->setVerticalSpacing(4);
    for (int tag = 0; tag < kLetterBoxes; ++tag) {
        auto* box = new QCheckBox(QString(QChar(u'A' + tag)), frame);
        box->setObjectName(QStringLiteral("RzCheckBox%1").arg(tag + 1));
        box->setProperty("Tag", tag);
        boxes->addWidget(box, tag / kBoxColumns, tag % kBoxColumns);
        connect(box, &QCheckBox::toggled, this, [this, tag](bool on) { LetterBoxClick(tag, on); });
        letterBoxes_[static_cast<std::size_t>(tag)] = box;
    }
    EvenColumns(boxes, letterBoxes_);

    wordsUncheck_ = new QPushButton(tr("Uncheck All"), frame);
    wordsUncheck_->setObjectName(QStringLiteral("CommonWordsUncheckAllButton"));
    wordsUncheck_->setToolTip(tr("Turn off all characters from the session"));
    wordsCheck_ = new QPushButton(tr("Check All"), frame);
    wordsCheck_->setObjectName(QStringLiteral("Button2"));
    wordsCheck_->setToolTip(tr("Turn on all characters in the session"));
    connect(wordsUncheck_, &QPushButton::clicked, this, [this] { SetLetterBoxes(false); });
    connect(wordsCheck_, &QPushButton::clicked, this, [this] { SetLetterBoxes(true); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(wordsUncheck_);
    buttons->addWidget(wordsCheck_);
    buttons->addStretch(1);

    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(BoldLabel(
        tr("Uncheck the starting letter of words you do not want in the lesson"), 10, frame));
    frameLayout->addSpacing(6);
    frameLayout->addLayout(boxes);
    frameLayout->addSpacing(12);
    frameLayout->addLayout(buttons);
    frameLayout->addStretch(1);

    wordsSize_ = new RadioGroup(tr("Number of Words"), 1, page);
    wordsSize_->setObjectName(QStringLiteral("CommonWordsGroupBox"));
    wordsSize_->SetItems(
        {tr("All"), QStringLiteral("500"), QStringLiteral("250"), QStringLiteral("100")});

    wordLength_ = Spinner(2, 100, 20, QString(), page);
    wordLength_->setObjectName(QStringLiteral("WordLengthSpinEdit"));

    auto* side = new QVBoxLayout;
    side->addWidget(wordsSize_);
    side->addSpacing(24);
    auto* lengthLabel = new QLabel(tr("Maximum Word Length"), page);
    lengthLabel->setBuddy(wordLength_);
    wordLength_->setAccessibleName(lengthLabel->text());
    side->addWidget(lengthLabel);
    side->addWidget(wordLength_);
    side->addStretch(1);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(frame, 0, Qt::AlignTop);
    layout->addLayout(side);
    layout->addStretch(1);
    return page;
}

QSpinBox* ConfigureDialog::SessionLengthSpinEdit() const {
    return sessionLength_;
}
QSpinBox* ConfigureDialog::StartingPauseSpinEdit() const {
    return pause_;
}
QSpinBox* ConfigureDialog::WordLengthSpinEdit() const {
    return wordLength_;
}

void ConfigureDialog::SetCommonWordsPageVisible(bool visible) {
    pages_->setTabVisible(pages_->indexOf(wordsPage_), visible);
}

bool ConfigureDialog::CommonWordsPageVisible() const {
    return pages_->isTabVisible(pages_->indexOf(wordsPage_));
}

int ConfigureDialog::SessionLength() const {
    return sessionLength_->value();
}

void ConfigureDialog::SetCharacterCaption(int tag, const QString& text) {
    if (tag < 0 || tag >= kCharacterBoxes)
        return;
    characterBoxes_[static_cast<std::size_t>(tag)]->setText(text.toUpper());
    EvenColumns(characterGrid_, characterBoxes_);
}

void ConfigureDialog::LoadCharacterChecks(int count) {
    characterCount_ = count;
    const std::uint64_t mask = ReadEnableMask(store_);
    for (int tag = 0; tag < kCharacterBoxes; ++tag) {
        QCheckBox* box = characterBoxes_[static_cast<std::size_t>(tag)];
        if (tag < characterCount_) {
            box->setVisible(true);
            box->setChecked(tag < 64 && ((mask >> tag) & 1U));
        } else {
            box->setVisible(false);
            box->setChecked(false);
        }
    }
    EvenColumns(characterGrid_, characterBoxes_);
}

void ConfigureDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FormShow();
        FitToContents();
    }
    QDialog::showEvent(event);
}

void ConfigureDialog::FitToContents() {
    // As narrow as the controls allow, and as tall as the wrapped notes need at that
    // width, at the user's font and scale: nothing is clipped, and a window of fixed
    // size gets no maximise button.
    QLayout* l = layout();
    l->invalidate();
    l->activate();
    const QSize least = l->totalMinimumSize();
    const int height =
        l->hasHeightForWidth() ? l->totalHeightForWidth(least.width()) : l->totalSizeHint().height();
    setFixedSize(least.width(), std::max(least.height(), height));
}

void ConfigureDialog::FormShow() {
    callback_->setChecked(store_.Read(keys::Callback) == 1);
    port_->SetIndex(store_.Read(keys::Port));
    portDevice_->clear();
    portDevice_->addItem(QString());
    portDevice_->addItems(AvailableSerialDevices());
    portDevice_->setEditText(store_.Read(keys::PortDevice));
    portDevice_->setEnabled(port_->Index() != 0);
    pause_->setValue(store_.Read(keys::Pause));
    mfj_->setChecked(store_.Read(keys::UseMfj) != 0);
    ditherSize_->SetIndex(store_.Read(keys::SpeedDitherSize));
    fist_->SetIndex(store_.Read(keys::StraightKeyFist));
    recent_->setChecked(store_.Read(keys::FavourRecent) != 0);
    missed_->setChecked(store_.Read(keys::FavourMissed) != 0);
    practice_->Load(store_);
    const int mp3 = store_.Read(keys::Mp3BitRate);
    mp3_->setCurrentIndex(std::clamp(mp3, -1, mp3_->count() - 1));
    if (mp3_->currentIndex() < 0)
        mp3_->setEditText(QString());
    effective_->SetIndex(store_.Read(keys::EffectiveMode));
    LoadCharacterChecks(characterCount_);
    wordsSize_->SetIndex(store_.Read(keys::CommonWordsSize));
    wordFilter_ = static_cast<std::uint32_t>(store_.Read(keys::WordFilter));
    wordLength_->setValue(store_.Read(keys::MaxWordLength));
    sending_->Load(store_);
    // Setting a box runs its click reaction, which keeps the filter as it is.
    const std::uint32_t filter = wordFilter_;
    for (int tag = 0; tag < kLetterBoxes; ++tag) {
        QCheckBox* box = letterBoxes_[static_cast<std::size_t>(tag)];
        box->setText(QString(QChar(u'A' + tag)));
        box->setChecked((filter >> tag) & 1U);
    }
}

int ConfigureDialog::Mp3Index() const {
    // Typed text that names no item selects none.
    return mp3_->findText(mp3_->currentText(), Qt::MatchFixedString);
}

void ConfigureDialog::OkayButtonClick() {
    store_.Write(keys::Callback, callback_->isChecked() ? 1 : 0);
    store_.Write(keys::Session, sessionLength_->value());
    store_.Write(keys::Pause, pause_->value());
    store_.Write(keys::Port, port_->Index());
    store_.Write(keys::PortDevice, port_->Index() == 0 ? QString() : portDevice_->currentText().trimmed());
    store_.Write(keys::UseMfj, mfj_->isChecked() ? 1 : 0);
    store_.Write(keys::SpeedDitherSize, ditherSize_->Index());
    store_.Write(keys::StraightKeyFist, fist_->Index());
    store_.Write(keys::FavourRecent, recent_->isChecked() ? 1 : 0);
    store_.Write(keys::FavourMissed, missed_->isChecked() ? 1 : 0);
    practice_->Save(store_);
    store_.Write(keys::Mp3BitRate, Mp3Index());
    store_.Write(keys::EffectiveMode, effective_->Index());
    std::uint64_t mask = 0;
    for (int tag = 0; tag < kCharacterBoxes; ++tag) {
        const QCheckBox* box = characterBoxes_[static_cast<std::size_t>(tag)];
        // "Visible" is the box's own flag: hidden boxes leave their bits clear.
        if (box->isHidden() || !box->isChecked())
            continue;
        if (tag < 64)
            mask |= std::uint64_t{1} << tag;
    }
    WriteEnableMask(store_, mask);
    store_.Write(keys::WordFilter, static_cast<std::int32_t>(wordFilter_));
    store_.Write(keys::CommonWordsSize, wordsSize_->Index());
    store_.Write(keys::MaxWordLength, wordLength_->value());
    sending_->Save(store_);
    store_.Sync();
    done(QDialog::Accepted);
}

void ConfigureDialog::SetCharacterBoxes(bool checked) {
    for (QCheckBox* box : characterBoxes_)
        if (!box->isHidden())
            box->setChecked(checked);
}

void ConfigureDialog::SetLetterBoxes(bool checked) {
    for (QCheckBox* box : letterBoxes_)
        if (!box->isHidden())
            box->setChecked(checked);  // each change runs the box's click reaction
}

void ConfigureDialog::LetterBoxClick(int tag, bool checked) {
    if (checked)
        wordFilter_ |= 1U << tag;
    else
        wordFilter_ &= ~(1U << tag);
}

void ConfigureDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // A new desktop palette (a light or dark theme) recomputes the warning's red.
    if (event->type() == QEvent::PaletteChange)
        if (auto* warning = findChild<QLabel*>(QStringLiteral("Label3")))
            ShowAsWarning(warning, palette().color(QPalette::Window));  // the label's is not updated yet
    if (event->type() == QEvent::FontChange && isVisible())
        FitToContents();
}

void ConfigureDialog::reject() {}

void ConfigureDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace lumbrel
