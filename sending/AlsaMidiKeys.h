#pragma once
// A USB-MIDI key adapter through the ALSA sequencer: Start connects to the chosen port
// both ways, puts the adapter into MIDI passthrough mode and reads its notes on a
// thread of its own, stamped as they arrive (or by the intervals the adapter embeds);
// Stop gives the adapter back its keyboard mode.
#include <QString>
#include <QStringList>

#include <atomic>
#include <thread>

#include "sending/KeyInput.h"
#include "sending/MidiKeyParser.h"

namespace lumbrel {

class AlsaMidiKeys final : public KeyInput {
public:
    // The sequencer ports that send MIDI, as "client name: port name"; empty when the
    // sequencer cannot be opened or nothing is plugged in.
    static QStringList Ports();

    // portName: one of Ports(); empty takes the first port that sends MIDI.
    explicit AlsaMidiKeys(QString portName);
    ~AlsaMidiKeys() override;  // Stop()

    bool Start(KeyEventQueue& queue) override;
    void Stop() override;
    QString Status() const override;

private:
    void Run(KeyEventQueue& queue);

    QString portName_;
    QString connected_;
    QString problem_;
    void* seq_ = nullptr;  // snd_seq_t
    int port_ = -1;
    int wake_ = -1;  // eventfd that ends the reader
    std::thread thread_;
    MidiKeyParser parser_;
};

}  // namespace lumbrel
