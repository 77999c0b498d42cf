#pragma once
// One spell of sending practice: while it lasts, the sound output opens with the
// smallest latency the audio system grants and mixes the sending sound into what it
// plays, and the keyboard, the serial key and the MIDI key (as the options name them)
// deliver to its queue. Ending it gives the output back its session latency.
// With "Key the rig while sending" the rig port lends its lines for the spell and a
// RigFollower switches them as the marks are heard; ending gives them back, dropped.
// Owner thread (the window's).
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

#include "audio/AudioDevice.h"
#include "keying/RigKeying.h"
#include "sending/KeyboardKeys.h"
#include "sending/RigFollower.h"
#include "sending/SendingOptions.h"
#include "sending/SendingSound.h"

namespace lumbrel {

class SendingPractice {
public:
    // Makes the input for a serial device or a MIDI port; tests give their own.
    struct Inputs {
        std::function<std::unique_ptr<KeyInput>(const QString& device)> serial;
        std::function<std::unique_ptr<KeyInput>(const QString& port)> midi;
        static Inputs System();
    };

    // reopen: opens the device again with what it was last told (the engine's Reopen).
    SendingPractice(AudioDevice& device, std::function<void()> reopen, Inputs inputs = Inputs::System());
    ~SendingPractice();  // End()

    SendingPractice(const SendingPractice&) = delete;
    SendingPractice& operator=(const SendingPractice&) = delete;

    // The rig port that lends its lines when the options say to key the rig (none: the
    // rig is not keyed). Before Begin; it outlives the practice.
    void SetRig(RigKeying* rig) { rig_ = rig; }

    // Starts with these options at this pitch; a second Begin applies new options.
    void Begin(const SendingOptions& options, int pitchHz);
    void End();
    bool Active() const { return active_; }

    // One line for each input, one for the sound when the output cannot play it, and
    // one for the rig when the options key it.
    QStringList Status() const;

    KeyboardKeys& Keyboard() { return keyboard_; }
    SendingSound& Sound() { return sound_; }
    RigFollower& Rig() { return follower_; }

private:
    void FollowRig(bool on);

    AudioDevice& device_;
    std::function<void()> reopen_;
    Inputs inputs_;
    SendingSound sound_;
    RigFollower follower_{sound_.RigEdges()};
    RigKeying* rig_ = nullptr;
    QString rigStatus_;  // why the rig is not keyed, when the options ask for it
    KeyboardKeys keyboard_;
    std::vector<std::unique_ptr<KeyInput>> devices_;  // the serial and MIDI keys
    bool active_ = false;
    bool audible_ = false;
};

}  // namespace lumbrel
