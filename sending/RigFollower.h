#pragma once
// The rig's keying lines following the sending: a thread of its own takes the edges
// of the marks the keyer makes (KeyingEdgeQueue, from the audio callback) and switches
// the lines the rig port has lent it (RigLines), each at the moment the edge is heard.
//
// Heard, not made: the sidetone reaches the ear one output latency after the callback
// renders it, and an operator expects the transmitter to follow the sidetone he hears;
// so an edge waits until its heard time, and the rig is keyed late by the audio
// latency, exactly as the sidetone is.
//
// Never left keyed: Stop drops the lines whatever marks are still open; a device that
// fails a switch (gone away) stops the keying for the rest of the spell with one
// status line, the sidetone going on; dropped edges (a full queue) drop the lines; a
// hand mark whose callbacks stop coming (the sound output stalled or went away, so the
// key's release would never be made) is dropped kSoundStallUs after its last one.
//
// Service is the follower's whole work on one moment, without the thread, so that
// tests drive it on virtual time; Start runs it on the steady clock.
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "keying/RigKeying.h"
#include "sending/KeyingEdges.h"

namespace lumbrel {

class RigFollower {
public:
    static constexpr std::int64_t kSoundStallUs = 500'000;

    explicit RigFollower(KeyingEdgeQueue& edges) : edges_(edges) {}
    ~RigFollower();  // Stop()

    RigFollower(const RigFollower&) = delete;
    RigFollower& operator=(const RigFollower&) = delete;

    // Owner thread. Follows with these lines on a thread of its own (Attach, then
    // Service on the steady clock until Stop).
    void Start(std::unique_ptr<RigLines> lines);
    // Owner thread. Ends the thread, then Release.
    void Stop();
    bool Following() const { return lines_ != nullptr; }

    // The lines to switch; edges queued before are dropped. The lines start dropped.
    void Attach(std::unique_ptr<RigLines> lines);
    // Switches what is due at nowUs; the moment the next switch is due, INT64_MAX when
    // none is pending. The follower's thread, or the test's.
    std::int64_t Service(std::int64_t nowUs);
    // Drops the lines (when they are up) and gives them back.
    void Release();

    // Any thread. "Keying the rig on DEVICE.", or why keying stopped.
    QString Status() const;

private:
    void Switch(bool keyed);
    void SetStatus(const QString& status);

    KeyingEdgeQueue& edges_;
    std::unique_ptr<RigLines> lines_;
    std::thread thread_;
    std::atomic<bool> stop_{false};

    // The follower's thread.
    KeyingEdge next_;
    bool hasNext_ = false;
    bool hand_ = false;
    bool timed_ = false;
    std::int64_t timedUntilUs_ = 0;
    std::int64_t handHeardUs_ = 0;  // the hand mark's last sign of the sound running
    bool keyed_ = false;
    bool failed_ = false;

    mutable std::mutex statusMutex_;
    QString status_;
};

}  // namespace lumbrel
