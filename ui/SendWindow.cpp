#include "ui/SendWindow.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "morse/SampleFormat.h"
#include "scoring/CopyScore.h"
#include "text/DataFolders.h"

namespace lumbrel {

namespace {

constexpr int kRowHeight = 22;
constexpr int kDrawMs = 30;  // how often new marks are drawn

QString ModeName(KeyerMode mode) {
    switch (mode) {
        case KeyerMode::Straight:
            return SendWindow::tr("Straight key");
        case KeyerMode::IambicA:
            return SendWindow::tr("Iambic A");
        case KeyerMode::IambicB:
            return SendWindow::tr("Iambic B");
        case KeyerMode::Bug:
            return SendWindow::tr("Bug");
    }
    return {};
}

}  // namespace

SendingArea::SendingArea(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SendingArea"));
    setMinimumSize(480, 3 * kRowHeight + 24);
    setAccessibleName(tr("Sending area"));
    setAccessibleDescription(tr("Each mark you send, above the ideal at the keyer's speed"));
}

std::int64_t SendingArea::IdealFrames(const SentMark& mark) const {
    const bool dah = mark.element == KeyedElement::Dah ||
                     (mark.element == KeyedElement::Hand && mark.lengthFrames >= 2 * unitFrames_);
    return dah ? 3 * unitFrames_ : unitFrames_;
}

void SendingArea::AddMark(const SentMark& mark) {
    marks_.push_back(mark);
    while (marks_.size() > kKept)
        marks_.pop_front();
    update();
}

void SendingArea::Clear() {
    marks_.clear();
    update();
}

void SendingArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().text().color());
    p.drawText(QRect(4, 2, width() - 8, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter, tr("Sent"));
    p.drawText(QRect(4, 2 + 2 * kRowHeight, width() - 8, kRowHeight), Qt::AlignLeft | Qt::AlignVCenter,
               tr("Ideal"));
    if (marks_.empty())
        return;
    // Pixels a frame: eighteen dot units across the area.
    const double scale = (width() - 8.0) / (18.0 * static_cast<double>(unitFrames_));
    const std::int64_t end =
        marks_.back().startFrame + std::max(marks_.back().lengthFrames, IdealFrames(marks_.back()));
    const auto x = [&](std::int64_t frame) {
        return width() - 4 - static_cast<double>(end - frame) * scale;
    };
    const QColor sent = palette().highlight().color();
    const QColor ideal = palette().mid().color();
    for (const SentMark& m : marks_) {
        const double left = x(m.startFrame);
        if (left + static_cast<double>(std::max(m.lengthFrames, IdealFrames(m))) * scale < 0)
            continue;
        p.fillRect(QRectF(left, kRowHeight + 4, static_cast<double>(m.lengthFrames) * scale, kRowHeight - 8),
                   sent);
        p.fillRect(QRectF(left, 2 * kRowHeight + 4 + kRowHeight, static_cast<double>(IdealFrames(m)) * scale,
                          kRowHeight - 8),
                   ideal);
    }
}

void SendingArea::mousePressEvent(QMouseEvent* event) {
    if (onButton && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        onButton(event->button() == Qt::LeftButton, true);
}

void SendingArea::mouseReleaseEvent(QMouseEvent* event) {
    if (onButton && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton))
        onButton(event->button() == Qt::LeftButton, false);
}

SendWindow::SendWindow(AudioDevice& device, std::function<void()> reopen, SettingsStore store, int pitchHz,
                       QWidget* parent, RigKeying* rig)
    : QDialog(parent),
      store_(std::move(store)),
      practice_(device, std::move(reopen)) {
    setObjectName(QStringLiteral("SendForm"));
    setWindowTitle(tr("Send"));

    const SendingOptions options = SendingOptions::Read(store_);
    keyerSettings_ = options.keyer;
    practiceBox_ = new QComboBox(this);
    practiceBox_->setObjectName(QStringLiteral("PracticeBox"));
    practiceBox_->setFocusPolicy(Qt::NoFocus);  // the arrow keys and Space stay the key's
    practiceBox_->addItems({tr("Free sending"), tr("Echo: characters"), tr("Echo: words"), tr("Echo: calls"),
                            tr("Echo: abbreviations"), tr("Send a text")});
    practiceBox_->setAccessibleName(tr("Practice"));
    fileBox_ = new QComboBox(this);
    fileBox_->setObjectName(QStringLiteral("TextFileBox"));
    fileBox_->setAccessibleName(tr("Word list or text file to send"));
    fileBox_->setFocusPolicy(Qt::NoFocus);
    start_ = new QPushButton(tr("&Start"), this);
    start_->setObjectName(QStringLiteral("StartSendingButton"));
    start_->setFocusPolicy(Qt::NoFocus);
    start_->setAutoDefault(false);
    connect(practiceBox_, &QComboBox::currentIndexChanged, this, &SendWindow::ShowChoices);
    connect(start_, &QPushButton::clicked, this, &SendWindow::StartClicked);
    prompt_ = new QLabel(this);
    prompt_->setObjectName(QStringLiteral("SendPrompt"));
    QFont big = prompt_->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    prompt_->setFont(big);
    reading_ = new QLabel(this);
    reading_->setObjectName(QStringLiteral("DecodedText"));
    reading_->setFont(big);
    // A long line wraps: the window never widens past the screen while one is sent.
    reading_->setWordWrap(true);
    prompt_->setWordWrap(true);
    reading_->setAccessibleName(tr("Decoded text"));
    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("SendResult"));
    result_->setWordWrap(true);
    report_ = new QLabel(this);
    report_->setObjectName(QStringLiteral("FistReport"));
    report_->setWordWrap(true);
    report_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    report_->setAccessibleName(tr("Fist report"));
    area_ = new SendingArea(this);
    area_->SetUnitFrames(Keyer::UnitFrames(options.keyer.wpm));
    area_->onButton = [this](bool left, bool down) {
        practice_.Keyboard().ButtonChanged(
            left ? KeyboardKeys::MouseButton::Left : KeyboardKeys::MouseButton::Right, down,
            SteadyMicroseconds());
    };
    keyer_ = new QLabel(
        tr("%1, %2 WPM (Setup, \"Sending\")").arg(ModeName(options.keyer.mode)).arg(options.keyer.wpm), this);
    keyer_->setObjectName(QStringLiteral("KeyerLabel"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("SendStatus"));
    status_->setWordWrap(true);
    auto* clear = new QPushButton(tr("&Clear"), this);
    clear->setObjectName(QStringLiteral("ClearSendingButton"));
    clear->setFocusPolicy(Qt::NoFocus);  // Space is a key here, never a button press
    connect(clear, &QPushButton::clicked, area_, &SendingArea::Clear);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName(QStringLiteral("CloseSendingButton"));
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(keyer_, 1);
    buttons->addWidget(clear);
    buttons->addWidget(close);
    auto* choices = new QHBoxLayout;
    choices->addWidget(practiceBox_);
    choices->addWidget(fileBox_, 1);
    choices->addWidget(start_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(prompt_);
    layout->addWidget(area_, 1);
    layout->addWidget(reading_);
    layout->addWidget(result_);
    layout->addWidget(report_);
    layout->addLayout(buttons);
    layout->addWidget(status_);

    FillFiles(DefaultProgramFolder());
    practice_.SetRig(rig);

    practice_.Begin(options, pitchHz);
    status_->setText(practice_.Status().join(QLatin1Char('\n')));

    timer_ = new QTimer(this);
    timer_->setInterval(kDrawMs);
    connect(timer_, &QTimer::timeout, this, &SendWindow::TakeMarks);
    timer_->start();
    StartPractice(Practice::Free);
}

SendWindow::~SendWindow() {
    echo_.reset();  // the player outlives the window: nothing of a drill may reach it
    practice_.End();
}

void SendWindow::SetDrillSources(DrillSources sources) {
    sources_ = std::move(sources);
    if (!sources_.programFolder.isEmpty())
        FillFiles(sources_.programFolder);
}

void SendWindow::FillFiles(const QString& folder) {
    // The word lists and the text files, as the trainer ships them.
    fileBox_->clear();
    for (const auto& [name, words] :
         {std::pair{kWordFilesFolder, true}, std::pair{kTextFilesFolder, false}}) {
        const QString dir = QDir(folder).filePath(QLatin1String(name));
        for (const QString& file : ListTextFiles(dir))
            fileBox_->addItem(QFileInfo(file).completeBaseName(),
                              QVariantList{QDir(dir).filePath(file), words});
    }
    ShowChoices();
}

void SendWindow::ShowChoices() {
    const auto chosen = static_cast<enum Practice>(practiceBox_->currentIndex());
    fileBox_->setVisible(chosen == Practice::Text);
    const bool echo = chosen != Practice::Free && chosen != Practice::Text;
    practiceBox_->setEnabled(!Running());
    fileBox_->setEnabled(!Running());
    start_->setEnabled(Running() ||
                       ((!echo || sources_.player) && (chosen != Practice::Text || fileBox_->count() > 0)));
}

bool SendWindow::Running() const {
    return (echo_ && echo_->CurrentState() != EchoDrillController::State::Over) ||
           (text_ && text_->Kind() == SendingKind::Text && !text_->Over());
}

void SendWindow::StartClicked() {
    if (Running()) {
        StopPractice();
        RestartFree();  // the score of what was stopped stays shown
    } else {
        StartPractice(static_cast<enum Practice>(practiceBox_->currentIndex()));
    }
}

void SendWindow::StopPractice() {
    if (echo_)
        echo_->Stop();
    if (text_)
        text_->Stop();
}

void SendWindow::StartPractice(enum Practice practice) {
    StopPractice();
    restartFree_ = false;
    echo_.reset();
    text_.reset();
    area_->Clear();
    reading_->clear();
    result_->clear();
    report_->clear();
    const std::int64_t now = practice_.Sound().RenderedFrames();
    const auto seed = static_cast<std::uint32_t>(QDateTime::currentMSecsSinceEpoch());
    const SendingStore store = [this](const SendingRecord& record) {
        if (onRecord)
            onRecord(record);
    };
    if (practice == Practice::Free || practice == Practice::Text) {
        QStringList lines;
        if (practice == Practice::Text) {
            const QVariantList file = fileBox_->currentData().toList();
            QString problem;
            if (file.size() == 2)
                lines = SendingTextLines(file[0].toString(), file[1].toBool(), kTextLines, seed, &problem);
            if (lines.isEmpty()) {
                result_->setText(problem.isEmpty() ? tr("Choose a word list or a text file.") : problem);
                practice = Practice::Free;
            }
        }
        text_ = std::make_unique<TextSendingController>(lines, keyerSettings_,
                                                        static_cast<SendingView&>(*this), store);
        text_->Start(now);
    }
    if (practice != Practice::Free && practice != Practice::Text && sources_.player) {
        const EchoMaterial material = practice == Practice::EchoCharacters ? EchoMaterial::Characters
                                      : practice == Practice::EchoWords    ? EchoMaterial::Words
                                      : practice == Practice::EchoCalls    ? EchoMaterial::Calls
                                                                           : EchoMaterial::Abbreviations;
        const QStringList items = EchoItems(material, sources_.learner, sources_.programFolder, seed);
        if (items.isEmpty()) {
            StartPractice(Practice::Free);
            result_->setText(
                tr("Nothing to play: no character is in use, or the file of these items cannot be read."));
            return;
        }
        auto drill =
            std::make_unique<EchoDrill>(items, kEchoItems, echoMisses ? echoMisses() : MissTallies{}, seed);
        const std::vector<const MorseCharacter*> characters = sources_.characters;
        const CharacterLookup lookup = [characters](const QString& display) -> const MorseCharacter* {
            for (const MorseCharacter* c : characters)
                if (c && !c->display.isEmpty() && c->display.compare(display, Qt::CaseInsensitive) == 0)
                    return c;
            return nullptr;
        };
        echo_ =
            std::make_unique<EchoDrillController>(*sources_.player, lookup, std::move(drill), sources_.sound,
                                                  keyerSettings_, static_cast<SendingView&>(*this), store);
        echo_->Start(now);
    }
    start_->setText(practice == Practice::Free ? tr("&Start") : tr("S&top"));
    ShowChoices();
}

void SendWindow::Reading(const QString& text) {
    reading_->setText(text.toUpper());
}

void SendWindow::Prompt(const QString& expected) {
    if (echo_) {
        prompt_->setText(expected.isEmpty() ? tr("Listen…") : tr("Key it back"));
        if (expected.isEmpty()) {
            area_->Clear();
            reading_->clear();
        }
    } else if (text_ && text_->Kind() == SendingKind::Text) {
        prompt_->setText(tr("Send: %1").arg(expected.toUpper()));
    } else {
        prompt_->setText(tr("Send anything; a pause or Enter ends the line."));
    }
}

void SendWindow::LineEnded(const SentItem& item, const SentLine& line) {
    if (echo_) {
        const QString sent = item.sent.isEmpty() ? tr("nothing") : item.sent.toUpper();
        result_->setText(item.Right()
                             ? tr("Right: %1").arg(item.expected.toUpper())
                             : tr("Wrong: %1 was played, %2 sent").arg(item.expected.toUpper(), sent));
    } else if (!item.expected.isEmpty()) {
        const CopyScore score = CopyScore::Score(item.expected, item.sent);
        result_->setText(tr("%1 of %2 characters right: %3")
                             .arg(score.Correct())
                             .arg(score.CharactersSent())
                             .arg(item.sent.isEmpty() ? tr("nothing") : item.sent.toUpper()));
    } else {
        result_->setText(tr("Read: %1").arg(item.sent.toUpper()));
    }
    report_->setText(line.timeline.marks.empty() ? QString() : FistText(line.fist));
    reading_->clear();
    area_->Clear();
}

void SendWindow::Finished(const SendingRecord& record) {
    const double accuracy = record.AccuracyPercent();
    scoreShown_ = record.kind != SendingKind::Free && accuracy >= 0;
    if (scoreShown_)
        prompt_->setText(
            record.kind == SendingKind::Echo
                ? tr("Echo drill over: %1 % right.").arg(QString::number(accuracy, 'f', 0))
                : tr("Text over: %1 % of the characters right.").arg(QString::number(accuracy, 'f', 0)));
    if (record.kind != SendingKind::Free)
        restartFree_ = true;  // once this call has returned
}

void SendWindow::SoundFailed(const QString& reason) {
    result_->setText(reason);
}

void SendWindow::RestartFree() {
    restartFree_ = false;
    const QString over = prompt_->text();
    const QString result = result_->text();
    const QString report = report_->text();
    const bool scored = scoreShown_;
    StartPractice(Practice::Free);
    if (scored)  // else free sending's own prompt: nothing was answered
        prompt_->setText(over);
    result_->setText(result);
    report_->setText(report);
}

void SendWindow::TakeMarks() {
    SentMark mark;
    while (practice_.Sound().TakeMark(mark)) {
        area_->AddMark(mark);
        if (echo_)
            echo_->AddMark(mark);
        else if (text_)
            text_->AddMark(mark);
    }
    const std::int64_t now = practice_.Sound().RenderedFrames();
    if (echo_)
        echo_->Tick(now);
    else if (text_)
        text_->Tick(now);
    if (restartFree_)
        RestartFree();
    // A serial key or the rig port unplugged meanwhile says so.
    const QString status = practice_.Status().join(QLatin1Char('\n'));
    if (status != status_->text())
        status_->setText(status);
}

bool SendWindow::Key(QKeyEvent* event, bool down) {
    const bool contact = practice_.Keyboard().ContactOf(event->nativeScanCode()).has_value();
    if (!contact && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        // Enter ends the line being sent; it never closes the window.
        if (down && !event->isAutoRepeat()) {
            if (echo_)
                echo_->Enter();
            else if (text_)
                text_->Enter();
        }
        return true;
    }
    if (event->isAutoRepeat())
        return practice_.Keyboard().ContactOf(event->nativeScanCode()).has_value();
    return practice_.Keyboard().KeyChanged(event->nativeScanCode(), down, SteadyMicroseconds());
}

void SendWindow::keyPressEvent(QKeyEvent* event) {
    if (!Key(event, true))
        QDialog::keyPressEvent(event);
}

void SendWindow::keyReleaseEvent(QKeyEvent* event) {
    if (!Key(event, false))
        QDialog::keyReleaseEvent(event);
}

bool SendWindow::event(QEvent* event) {
    // A key of the key is never a shortcut while this window has the keyboard.
    if (event->type() == QEvent::ShortcutOverride &&
        practice_.Keyboard().ContactOf(static_cast<QKeyEvent*>(event)->nativeScanCode())) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::WindowDeactivate)
        practice_.Keyboard().ReleaseAll(SteadyMicroseconds());
    return QDialog::event(event);
}

void SendWindow::done(int result) {
    timer_->stop();
    StopPractice();
    practice_.End();
    QDialog::done(result);
}

QString FistText(const FistReport& fist) {
    const auto n = [](double v, int decimals = 1) {
        return QString::number(v, 'f', decimals);
    };
    const auto measure = [&](const FistMeasure& m) {
        return m.count > 0 ? SendWindow::tr("%1 ± %2").arg(n(m.mean), n(m.spread)) : SendWindow::tr("none");
    };
    QStringList lines;
    QString first = SendWindow::tr("Speed %1 WPM").arg(n(fist.wpm));
    if (fist.dashDotRatio > 0)
        first += SendWindow::tr(", dah:dit %1").arg(n(fist.dashDotRatio, 2));
    if (fist.dot.count > 0)
        first += SendWindow::tr(", weighting %1 %").arg(n(fist.weighting, 0));
    lines << first;
    lines << SendWindow::tr("In dot units: dots %1, dashes %2").arg(measure(fist.dot), measure(fist.dash));
    lines << SendWindow::tr("Gaps in dot units: element %1, character %2, word %3")
                 .arg(measure(fist.elementGap), measure(fist.characterGap), measure(fist.wordGap));
    lines << fist.notes;
    return lines.join(QLatin1Char('\n'));
}

}  // namespace lumbrel
