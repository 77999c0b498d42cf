#include "sending/SendingPractice.h"

#include <QCoreApplication>

#include "sending/AlsaMidiKeys.h"
#include "sending/SerialKeyReader.h"

namespace lumbrel {

SendingPractice::Inputs SendingPractice::Inputs::System() {
    Inputs inputs;
    inputs.serial = [](const QString& device) -> std::unique_ptr<KeyInput> {
        return std::make_unique<SerialKeyReader>(std::make_unique<SystemModemLines>(), device);
    };
    inputs.midi = [](const QString& port) -> std::unique_ptr<KeyInput> {
        return std::make_unique<AlsaMidiKeys>(port);
    };
    return inputs;
}

SendingPractice::SendingPractice(AudioDevice& device, std::function<void()> reopen, Inputs inputs)
    : device_(device),
      reopen_(std::move(reopen)),
      inputs_(std::move(inputs)) {}

SendingPractice::~SendingPractice() {
    End();
}

void SendingPractice::Begin(const SendingOptions& options, int pitchHz) {
    sound_.SetSettings(options.Sound(pitchHz));
    keyboard_.Assign(KeyContact::Dit, options.ditKey);
    keyboard_.Assign(KeyContact::Dah, options.dahKey);
    keyboard_.Assign(KeyContact::Straight, options.straightKey);
    for (auto& input : devices_)
        input->Stop();
    devices_.clear();
    if (!options.serialDevice.isEmpty() && inputs_.serial)
        devices_.push_back(inputs_.serial(options.serialDevice));
    if (options.midi && inputs_.midi)
        devices_.push_back(inputs_.midi(options.midiPort));
    for (auto& input : devices_)
        (void)input->Start(sound_.Events());  // one that cannot start says why in Status
    (void)keyboard_.Start(sound_.Events());
    FollowRig(options.keyRig);
    if (active_)
        return;
    active_ = true;
    if (device_.UseLowestLatency(true) || !device_.IsOpen())
        reopen_();
    audible_ = device_.AttachLiveSound(&sound_);
}

void SendingPractice::FollowRig(bool on) {
    rigStatus_.clear();
    if (!on) {
        sound_.FollowRig(false);
        follower_.Stop();
        return;
    }
    if (follower_.Following())
        return;
    QString why;
    std::unique_ptr<RigLines> lines = rig_ ? rig_->LendLines(&why) : nullptr;
    if (!lines) {
        rigStatus_ =
            QCoreApplication::translate("lumbrel::SendingPractice", "The rig is not keyed: %1.")
                .arg(rig_ ? why : QCoreApplication::translate("lumbrel::SendingPractice", "no rig port"));
        return;
    }
    follower_.Start(std::move(lines));
    sound_.FollowRig(true);
}

void SendingPractice::End() {
    if (!active_)
        return;
    active_ = false;
    FollowRig(false);  // the lines dropped and given back, whatever mark is open
    keyboard_.Stop();
    for (auto& input : devices_)
        input->Stop();
    devices_.clear();
    (void)device_.AttachLiveSound(nullptr);
    if (device_.UseLowestLatency(false))
        reopen_();
}

QStringList SendingPractice::Status() const {
    QStringList lines;
    lines << keyboard_.Status();
    for (const auto& input : devices_)
        lines << input->Status();
    if (follower_.Following())
        lines << follower_.Status();
    else if (!rigStatus_.isEmpty())
        lines << rigStatus_;
    if (active_ && !audible_)
        lines << QCoreApplication::translate("lumbrel::SendingPractice",
                                             "This sound output cannot play a sidetone.");
    else if (active_ && !device_.IsOpen())
        lines << QCoreApplication::translate("lumbrel::SendingPractice",
                                             "No sound output: the sidetone needs the output sessions use.");
    return lines;
}

}  // namespace lumbrel
