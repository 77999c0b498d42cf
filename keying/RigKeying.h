#pragma once
// The rig's keying lines, while a session runs. The trainer raises them as every
// session begins (a port that is not open may try to open again then) and drops them
// when it ends. UI thread only, except a loan's Key (RigLines).
#include <QString>

#include <memory>

namespace lumbrel {

// Both keying lines, lent by the port to one borrower that switches them from a thread
// of its own (the sending practice's line follower) while sessions leave them alone.
// Destroying the loan drops the lines and gives them back. The port outlives its loans.
class RigLines {
public:
    virtual ~RigLines() = default;
    // Any one thread. Both lines to `asserted`. False when they did not follow: the
    // device went away (it is closed then; the next session start opens it again) or
    // the port was closed meanwhile; *failure tells why.
    virtual bool Key(bool asserted, QString* failure) = 0;
    // The device keyed.
    virtual QString DeviceName() const = 0;
};

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
    // Lends the lines (UI thread). Null, with *why, when keying is off, the device will
    // not open or switch, or the lines are lent already.
    virtual std::unique_ptr<RigLines> LendLines(QString* why) {
        if (why)
            *why = QStringLiteral("no rig port");
        return nullptr;
    }
};

}  // namespace lumbrel
