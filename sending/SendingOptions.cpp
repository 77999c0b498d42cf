#include "sending/SendingOptions.h"

#include <algorithm>

namespace lumbrel {

namespace {

std::uint32_t Code(int stored) {
    return static_cast<std::uint32_t>(std::max(stored, 0));
}

}  // namespace

SendingOptions SendingOptions::Read(const SettingsStore& store) {
    SendingOptions o;
    const int mode = store.Read(keys::SendingMode);
    o.keyer.mode = mode >= 0 && mode <= 3 ? static_cast<KeyerMode>(mode) : KeyerMode::IambicB;
    o.keyer.wpm = store.Read(keys::SendingSpeed);
    o.keyer.weightPercent = store.Read(keys::SendingWeight);
    o.keyer.dashRatioTenths = store.Read(keys::DashRatio);
    o.keyer.dotMemory = store.Read(keys::DotMemory) != 0;
    o.keyer = o.keyer.Clamped();
    o.volumePercent = std::clamp(store.Read(keys::SidetoneVolume), 0, 100);
    o.ditKey = Code(store.Read(keys::DitKeyCode));
    o.dahKey = Code(store.Read(keys::DahKeyCode));
    o.straightKey = Code(store.Read(keys::StraightKeyCode));
    o.serialDevice = store.Read(keys::SerialKeyDevice).trimmed();
    o.midi = store.Read(keys::MidiKey) != 0;
    o.midiPort = store.Read(keys::MidiPort);
    o.keyRig = store.Read(keys::KeyRig) != 0;
    return o;
}

void SendingOptions::Write(SettingsStore& store) const {
    store.Write(keys::SendingMode, static_cast<int>(keyer.mode));
    store.Write(keys::SendingSpeed, keyer.wpm);
    store.Write(keys::SendingWeight, keyer.weightPercent);
    store.Write(keys::DashRatio, keyer.dashRatioTenths);
    store.Write(keys::DotMemory, keyer.dotMemory ? 1 : 0);
    store.Write(keys::SidetoneVolume, volumePercent);
    store.Write(keys::DitKeyCode, static_cast<int>(ditKey));
    store.Write(keys::DahKeyCode, static_cast<int>(dahKey));
    store.Write(keys::StraightKeyCode, static_cast<int>(straightKey));
    store.Write(keys::SerialKeyDevice, serialDevice.trimmed());
    store.Write(keys::MidiKey, midi ? 1 : 0);
    store.Write(keys::MidiPort, midiPort);
    store.Write(keys::KeyRig, keyRig ? 1 : 0);
}

SendingSound::Settings SendingOptions::Sound(int pitchHz) const {
    SendingSound::Settings s;
    s.keyer = keyer;
    s.pitchHz = pitchHz;
    s.volumePercent = volumePercent;
    return s;
}

}  // namespace lumbrel
