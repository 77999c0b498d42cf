#include "ui/SendWindow.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "morse/SampleFormat.h"

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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area_, 1);
    layout->addLayout(buttons);
    layout->addWidget(status_);

    practice_.SetRig(rig);
    practice_.Begin(options, pitchHz);
    status_->setText(practice_.Status().join(QLatin1Char('\n')));

    timer_ = new QTimer(this);
    timer_->setInterval(kDrawMs);
    connect(timer_, &QTimer::timeout, this, &SendWindow::TakeMarks);
    timer_->start();
}

SendWindow::~SendWindow() {
    practice_.End();
}

void SendWindow::TakeMarks() {
    SentMark mark;
    while (practice_.Sound().TakeMark(mark))
        area_->AddMark(mark);
    // A serial key or the rig port unplugged meanwhile says so.
    const QString status = practice_.Status().join(QLatin1Char('\n'));
    if (status != status_->text())
        status_->setText(status);
}

bool SendWindow::Key(QKeyEvent* event, bool down) {
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
    practice_.End();
    QDialog::done(result);
}

}  // namespace lumbrel
