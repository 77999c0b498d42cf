#pragma once
// Where a window message goes, written once for both message pumps: a completion of a
// run of the drills' player goes to that player while it plays (the trainer's engine
// is shared), every other message to the session controller. UI thread only.
#include <cstdint>
#include <functional>

namespace lumbrel {

class CharacterPlayer;

// What the messages the player does not take go to: the session controller.
class MessageReceiver {
public:
    virtual ~MessageReceiver() = default;
    // True when the message was the receiver's.
    virtual bool HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) = 0;
};

class MessageRouting {
public:
    void SetReceiver(MessageReceiver* receiver) { receiver_ = receiver; }
    // The other user of the trainer's engine; stopRequested runs when another program
    // asks for a stop (a running drill ends as Escape ends it). nullptr: none.
    void SetDrillPlayer(CharacterPlayer* player, std::function<void()> stopRequested = {});

    void Deliver(int message, std::intptr_t wParam, std::intptr_t lParam);

private:
    MessageReceiver* receiver_ = nullptr;
    CharacterPlayer* player_ = nullptr;
    std::function<void()> stopRequested_;
};

}  // namespace lumbrel
