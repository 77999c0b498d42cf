#include "engine/MessageRouting.h"

#include "audio/Messages.h"
#include "engine/CharacterPlayer.h"

namespace lumbrel {

void MessageRouting::SetDrillPlayer(CharacterPlayer* player, std::function<void()> stopRequested) {
    player_ = player;
    stopRequested_ = player ? std::move(stopRequested) : nullptr;
}

void MessageRouting::Deliver(int message, std::intptr_t wParam, std::intptr_t lParam) {
    if (message == kStopRequestMessage && stopRequested_)
        stopRequested_();
    if (player_ && player_->TakeMessage(message, lParam))
        return;
    if (receiver_)
        receiver_->HandleMessage(message, wParam, lParam);
}

}  // namespace lumbrel
