#pragma once
// Where a window message goes, written once for both message pumps: a completion of a
// run of the drills' player goes to that player while it plays (the trainer's engine
// is shared), every other message to the trainer. UI thread only.
#include <cstdint>
#include <functional>

namespace lumbrel {

class CharacterPlayer;
class Trainer;

class MessageRouting {
public:
    void SetTrainer(Trainer* trainer) { trainer_ = trainer; }
    // The other user of the trainer's engine; stopRequested runs when another program
    // asks for a stop (a running drill ends as Escape ends it). nullptr: none.
    void SetDrillPlayer(CharacterPlayer* player, std::function<void()> stopRequested = {});

    void Deliver(int message, std::intptr_t wParam, std::intptr_t lParam);

private:
    Trainer* trainer_ = nullptr;
    CharacterPlayer* player_ = nullptr;
    std::function<void()> stopRequested_;
};

}  // namespace lumbrel
