#pragma once
// A source of key events: the keyboard and mouse, a serial port's lines, a MIDI key
// adapter. Each pushes what its key does to the one KeyEventQueue, stamped where it
// happened; none waits on the window.
#include <QString>

#include "sending/KeyEventQueue.h"

namespace lumbrel {

class KeyInput {
public:
    virtual ~KeyInput() = default;
    // The owner's thread. Starts delivering to `queue` (which outlives the input until
    // Stop). False, with Status() telling why in one line, when the key cannot be
    // reached (no such device, no adapter plugged in).
    virtual bool Start(KeyEventQueue& queue) = 0;
    // The owner's thread. No event is pushed after it returns.
    virtual void Stop() = 0;
    // One line for the window: what the input listens to, or why it does not.
    virtual QString Status() const = 0;
};

}  // namespace lumbrel
