#include "engine/QrmStations.h"

#include "morse/MorseCharacter.h"
#include "morse/Random.h"

namespace lumbrel {

QrmStations::QrmStations(Dependencies deps) : random_(deps.random), characters_(std::move(deps.characters)) {
    for (std::size_t i = 0; i < senders_.size(); ++i) {
        if (!deps.devices[i])
            continue;
        auto sender = std::make_unique<TCWSender>(TCWSender::Dependencies{.device = *deps.devices[i],
                                                                          .window = deps.window,
                                                                          .random = random_,
                                                                          .messageBox = deps.messageBox});
        sender->SetSampleRate(WSampleRate::sr44100);
        sender->SetUseCallbacks(true);
        sender->SetAmplitude(SigStrength::S6);
        sender->SetQRMTonePitch(575);
        sender->MorseSent = [groupSent = deps.groupSent, i](TCWSender&) {
            groupSent(static_cast<int>(i));
        };
        senders_[i] = std::move(sender);
    }
}

void QrmStations::SetUseCallbacks(bool on) {
    for (auto& sender : senders_)
        if (sender)
            sender->SetUseCallbacks(on);
}

void QrmStations::Start(int pitch, int wpm) {
    const int speed = wpm < 20 ? wpm + 10 : (wpm <= 30 ? wpm - 5 : 30);
    const int offsets[2] = {150, 100};
    for (std::size_t i = 0; i < senders_.size(); ++i) {
        if (!senders_[i])
            continue;
        senders_[i]->SetPitch(pitch < 700 ? pitch + offsets[i] : pitch - offsets[i]);
        senders_[i]->SetSpeed(speed);
    }
    for (auto& sender : senders_)
        if (sender)
            sender->SetCodeString(RandomGroup());
}

void QrmStations::Rearm(int station) {
    if (TCWSender* sender = Station(station))
        sender->SetCodeString(RandomGroup());
}

void QrmStations::Close() {
    for (auto& sender : senders_)
        if (sender)
            sender->Close();
}

bool QrmStations::HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) {
    for (auto& sender : senders_)
        if (sender && sender->HandleMessage(message, wParam, lParam))
            return true;
    return false;
}

QString QrmStations::RandomGroup() {
    const auto& list = characters_();
    QString group;
    const int n = random_.Next(8) + 1;
    for (int k = 0; k < n; ++k) {
        const int index = random_.Next(static_cast<int>(list.size()));
        const QString& display = list.empty() ? QString() : list[static_cast<std::size_t>(index)]->display;
        group += display.isEmpty() ? QStringLiteral(" ") : display.left(1);
    }
    return group;
}

}  // namespace lumbrel
