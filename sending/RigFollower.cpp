#include "sending/RigFollower.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>

#include "sending/KeyEvent.h"

namespace lumbrel {

namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

}  // namespace

RigFollower::~RigFollower() {
    Stop();
}

void RigFollower::Start(std::unique_ptr<RigLines> lines) {
    Stop();
    Attach(std::move(lines));
    if (!lines_)
        return;
    stop_.store(false, std::memory_order_release);
    thread_ = std::thread([this] {
        while (!stop_.load(std::memory_order_acquire)) {
            const std::int64_t due = Service(SteadyMicroseconds());
            if (!stop_.load(std::memory_order_acquire))
                edges_.WaitUntil(due);
        }
    });
}

void RigFollower::Stop() {
    if (thread_.joinable()) {
        stop_.store(true, std::memory_order_release);
        edges_.Wake();
        thread_.join();
    }
    Release();
}

void RigFollower::Attach(std::unique_ptr<RigLines> lines) {
    Release();
    KeyingEdge stale;
    while (edges_.Pop(stale)) {
    }
    (void)edges_.TakeOverflow();
    lines_ = std::move(lines);
    if (lines_)
        SetStatus(QCoreApplication::translate("lumbrel::RigFollower", "Keying the rig on %1.")
                      .arg(lines_->DeviceName()));
}

std::int64_t RigFollower::Service(std::int64_t nowUs) {
    if (!lines_)
        return kNever;
    for (;;) {
        if (edges_.TakeOverflow()) {
            // Edges were lost, ends among them perhaps: the line is dropped until the next mark.
            hand_ = false;
            timed_ = false;
            Switch(false);
        }
        if (!hasNext_)
            hasNext_ = edges_.Pop(next_);
        const std::int64_t edgeAt = hasNext_ ? next_.atUs : kNever;
        const std::int64_t timedEnd = timed_ ? timedUntilUs_ : kNever;
        const std::int64_t stalled = hand_ ? handHeardUs_ + kSoundStallUs : kNever;
        const std::int64_t due = std::min({edgeAt, timedEnd, stalled});
        if (due == kNever || due > nowUs)
            return due;
        if (edgeAt <= timedEnd && edgeAt <= stalled) {
            // An edge at the very end of a timed mark goes first: a mark that begins as
            // the last ends keeps the line keyed.
            hasNext_ = false;
            switch (next_.kind) {
                case KeyingEdge::Kind::Mark:
                    timedUntilUs_ = timed_ ? std::max(timedUntilUs_, next_.untilUs) : next_.untilUs;
                    timed_ = true;
                    break;
                case KeyingEdge::Kind::HandDown:
                    hand_ = true;
                    handHeardUs_ = next_.atUs;
                    break;
                case KeyingEdge::Kind::HandHeld:
                    handHeardUs_ = next_.atUs;
                    break;
                case KeyingEdge::Kind::HandUp:
                    hand_ = false;
                    break;
            }
        } else if (timedEnd <= stalled) {
            timed_ = false;
        } else {
            hand_ = false;  // the key's release will not come
        }
        Switch(hand_ || timed_);
    }
}

void RigFollower::Switch(bool keyed) {
    if (keyed == keyed_ || failed_)
        return;
    QString failure;
    if (lines_->Key(keyed, &failure)) {
        keyed_ = keyed;
        return;
    }
    // Told once; the lines are left alone from now on (the port has closed the device).
    failed_ = true;
    keyed_ = false;
    SetStatus(failure + QLatin1Char('.'));
}

void RigFollower::Release() {
    if (lines_ && keyed_ && !failed_) {
        QString failure;
        (void)lines_->Key(false, &failure);
    }
    lines_.reset();
    hasNext_ = false;
    hand_ = false;
    timed_ = false;
    keyed_ = false;
    failed_ = false;
}

QString RigFollower::Status() const {
    const std::lock_guard lock(statusMutex_);
    return status_;
}

void RigFollower::SetStatus(const QString& status) {
    const std::lock_guard lock(statusMutex_);
    status_ = status;
}

}  // namespace lumbrel
