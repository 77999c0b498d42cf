#pragma once
// Window messages of the trainer and the thread-safe target they are posted to.
//
// Everything the session runs is driven by messages handled one at a time on the UI
// thread: user commands, the session timer, and the buffer-done notifications of the
// audio devices. Audio devices post from threads of their own, so a MessageTarget
// must accept posts from any thread.

#include <cstdint>

namespace lumbrel {

// System menu command of the main window (minimise to the notification area, close).
inline constexpr int kSystemCommandMessage = 274;
// MM_WOM_DONE: an audio device in window mode finished a buffer.
// wParam: the device (AudioDevice::Handle()); lParam: the AudioBufferHeader*.
inline constexpr int kWaveOutDoneMessage = 957;
// Start a session; also accepted from other programs.
inline constexpr int kStartRequestMessage = 1034;
// Stop the running session; also accepted from other programs.
inline constexpr int kStopRequestMessage = 1044;
// Run the buffer-done handler. lParam: the finished AudioBufferHeader*, or 0 for the
// two events that prime the pipeline at the start of a session.
inline constexpr int kBufferDoneMessage = 1054;
// Run the delayed-display step.
inline constexpr int kDisplayMessage = 32868;

// One posted message with its two parameters.
struct Message {
    int message = 0;
    std::intptr_t wParam = 0;
    std::intptr_t lParam = 0;

    friend bool operator==(const Message&, const Message&) = default;
};

// Receiver of posted messages. Implementations queue the message and return at once;
// they never run the handler inside PostMessage.
class MessageTarget {
public:
    virtual ~MessageTarget() = default;

    // Any thread. Must not block for long and must not call back into the poster.
    virtual void PostMessage(int message, std::intptr_t wParam, std::intptr_t lParam) = 0;
};

}  // namespace lumbrel
