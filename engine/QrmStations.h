#pragma once
// The two interfering stations (QRM): clean signals at S6 without a steady tone, each
// on its own stream, sending random groups of the character list beside the main
// signal's pitch and near its speed while a session runs. Their completions come
// through the window's queue, marked with their device.
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "CWSender/CWSender.h"

namespace lumbrel {

struct MorseCharacter;

class QrmStations {
public:
    struct Dependencies {
        std::array<AudioDevice*, 2> devices{};  // without them there is no QRM
        MessageTarget& window;
        RandomNumber& random;
        // The characters the groups are drawn from.
        std::function<const std::vector<const MorseCharacter*>&()> characters;
        // A station's failure message.
        TCWSender::MessageBox messageBox;
        // A station finished its group: the session decides whether another follows.
        std::function<void(int station)> groupSent;
    };
    explicit QrmStations(Dependencies deps);

    QrmStations(const QrmStations&) = delete;
    QrmStations& operator=(const QrmStations&) = delete;

    // Completions through the callbacks (the "Callback" setting) or the window.
    void SetUseCallbacks(bool on);
    // Sets up both stations for the main signal's pitch and speed and starts them.
    void Start(int pitch, int wpm);
    // Sends the station another group.
    void Rearm(int station);
    void Close();
    // True when the message was one of the stations' completions.
    bool HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam);

    // A random group of 1 to 8 characters drawn from the whole character list.
    QString RandomGroup();
    // A station, nullptr without its device.
    TCWSender* Station(int index) { return senders_[static_cast<std::size_t>(index)].get(); }
    // The trainer's volume in dB, for both stations.
    void SetVolumeDb(int db) {
        for (auto& sender : senders_)
            if (sender)
                sender->Gain().SetDb(db);
    }

private:
    RandomNumber& random_;
    std::function<const std::vector<const MorseCharacter*>&()> characters_;
    std::array<std::unique_ptr<TCWSender>, 2> senders_;  // CWSender1, CWSender2
};

}  // namespace lumbrel
