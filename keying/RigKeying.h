#pragma once
// The rig's keying lines, while a session runs. The trainer raises them as every
// session begins (a port that is not open may try to open again then) and drops them
// when it ends. UI thread only.
#include <QString>

namespace lumbrel {

class RigKeying {
public:
    virtual ~RigKeying() = default;
    virtual bool IsOpen() const = 0;
    virtual void RaiseRigLines() = 0;
    virtual void DropRigLines() = 0;
    // Why keying stopped since the last call (the device went away during a session),
    // for a one-time note in the status line; empty when nothing new went wrong.
    virtual QString TakeKeyingNote() { return {}; }
    // The window closes: the port is closed, before the audio output.
    virtual void CloseRigPort() {}
};

}  // namespace lumbrel
