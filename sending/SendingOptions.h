#pragma once
// The options of section "Sending", read and written as one: the keyer, the sidetone's
// volume, the keyboard's scan codes, the devices a key may be wired to and whether the
// key also keys the rig.
#include <QString>

#include <cstdint>

#include "sending/SendingSound.h"
#include "settings/SettingsStore.h"

namespace lumbrel {

struct SendingOptions {
    KeyerSettings keyer;
    int volumePercent = 80;
    std::uint32_t ditKey = 37;
    std::uint32_t dahKey = 105;
    std::uint32_t straightKey = 65;
    QString serialDevice;  // empty: no serial key
    bool midi = false;
    QString midiPort;     // empty: the first port that sends
    bool keyRig = false;  // the rig port's lines follow each mark

    // Out-of-range values read as the nearest in range; a mode that is none, as Iambic B.
    static SendingOptions Read(const SettingsStore& store);
    void Write(SettingsStore& store) const;

    // What the sound plays with, at the main window's pitch.
    SendingSound::Settings Sound(int pitchHz) const;
};

}  // namespace lumbrel
