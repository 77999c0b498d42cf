#pragma once
// Session > Send: a window to practise sending in. The key (keyboard, mouse over the
// sending area, a serial or MIDI key as Setup's "Sending" section names) plays the
// sidetone through the trainer's sound output; the sending area shows each mark as it
// was made against the ideal at the keyer's speed. The window draws and forwards; the
// keying itself is SendingPractice's.
#include <QDialog>
#include <QWidget>

#include <deque>
#include <functional>

#include "sending/SendingPractice.h"

class QLabel;
class QTimer;

namespace lumbrel {

// The timeline: each mark as made (top row) above its ideal length (bottom row), the
// newest on the right, scaled to the keyer's dot unit.
class SendingArea final : public QWidget {
    Q_OBJECT
public:
    explicit SendingArea(QWidget* parent = nullptr);

    void SetUnitFrames(std::int64_t unit) { unitFrames_ = unit; }
    void AddMark(const SentMark& mark);
    void Clear();
    // Marks shown, oldest first.
    const std::deque<SentMark>& Marks() const { return marks_; }
    // A mark's ideal: a dot or a dash at the keyer's speed (a hand mark counts as the
    // one it is nearer to), in frames.
    std::int64_t IdealFrames(const SentMark& mark) const;

    std::function<void(bool left, bool down)> onButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static constexpr std::size_t kKept = 64;
    std::deque<SentMark> marks_;
    std::int64_t unitFrames_ = 2646;
};

class SendWindow final : public QDialog {
    Q_OBJECT
public:
    // reopen opens the sound output again (the engine's); the store holds "Sending";
    // rig lends its lines while "Key the rig while sending" is on.
    SendWindow(AudioDevice& device, std::function<void()> reopen, SettingsStore store, int pitchHz,
               QWidget* parent = nullptr, RigKeying* rig = nullptr);
    ~SendWindow() override;

    SendingPractice& Practice() { return practice_; }
    SendingArea* Area() const { return area_; }
    QLabel* StatusLabel() const { return status_; }
    // Takes the marks the sound has made since the last time (the timer's job).
    void TakeMarks();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void done(int result) override;

private:
    bool Key(QKeyEvent* event, bool down);

    SettingsStore store_;
    SendingPractice practice_;
    SendingArea* area_ = nullptr;
    QLabel* keyer_ = nullptr;
    QLabel* status_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace lumbrel
