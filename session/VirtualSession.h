#pragma once
// Runs the trainer without a window or a sound card: a virtual clock, a virtual audio
// device and a message queue stand in for the message loop, the 50 ms timer and the
// sound card. Used by the tests and by the offline renderer; the trainer itself is the
// same code the program runs. Single-threaded: everything happens in the caller.
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

#include "audio/Clock.h"
#include "audio/MessageQueue.h"
#include "audio/VirtualAudioDevice.h"
#include "engine/MessageRouting.h"
#include "session/TrainerFactory.h"

namespace lumbrel {

class VirtualSession final : public TrainerHost, private SessionListener, private VirtualClock::Listener {
public:
    // A private message: the virtual session timer fired.
    static constexpr int kTimerMessage = 275;

    struct Shown {
        QString text;
        QString caption;
        MessageKind kind = MessageKind::Information;
    };

    // The store is shared with the caller; seed seeds the trainer's random source.
    // startOfDay is the local time of day when the run begins. rig, when given, is the
    // trainer's keying port and must outlive the session.
    // With qrmStations the trainer gets the two interfering stations, each on a virtual
    // device of its own on the same clock.
    VirtualSession(SettingsStore store, std::uint32_t seed, QTime startOfDay = QTime(12, 0),
                   RigKeying* rig = nullptr, bool qrmStations = false);
    ~VirtualSession() override;

    // FormCreate, then the first showing.
    void CreateAndShow();

    Trainer& trainer() { return *trainer_; }
    VirtualClock& clock() { return clock_; }
    VirtualAudioDevice& device() { return device_; }
    VirtualAudioDevice& qrmDevice(int index) { return index == 0 ? qrm1_ : qrm2_; }
    MessageQueue& queue() { return queue_; }

    // Handles every message waiting in the queue.
    void Pump();
    // Lets `ms` of virtual time pass, handling timer ticks and device completions.
    void RunFor(std::int64_t ms);
    // Runs until the trainer is idle (no session, no countdown) or limitMs have passed.
    // Returns true when it became idle.
    bool RunUntilIdle(std::int64_t limitMs);
    // Runs until pred() holds or limitMs have passed; returns whether it holds.
    bool RunUntil(const std::function<bool()>& pred, std::int64_t limitMs);

    // TrainerHost.
    void ShowMessage(const QString& text, const QString& caption,
                     MessageKind kind = MessageKind::Information) override;
    void RequestClose() override;

    const std::vector<Shown>& Messages() const { return shown_; }
    bool Closed() const { return closed_; }

    // Called after every handled message, with its number (for tests that watch steps).
    std::function<void(int message)> afterMessage;
    // Which user of the trainer's engine gets each message.
    MessageRouting routing;

private:
    void ReadoutChanged(Readout readout) override;
    std::optional<std::int64_t> NextDueMs() const override;
    void OnClockAdvanced(std::int64_t elapsedMs) override;

    VirtualClock clock_;
    VirtualAudioDevice device_;
    VirtualAudioDevice qrm1_;
    VirtualAudioDevice qrm2_;
    MessageQueue queue_;
    WiredTrainer trainer_;
    std::vector<Shown> shown_;
    bool closed_ = false;
    bool timerOn_ = false;
    std::int64_t nextTickMs_ = 0;
};

}  // namespace lumbrel
