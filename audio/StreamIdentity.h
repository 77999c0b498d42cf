#pragma once
// How the desktop's sound server lists this program's sound: its name, icon and media
// role, for PulseAudio and PipeWire's PulseAudio server. PortAudio plays through ALSA,
// whose PulseAudio plugin names every stream "ALSA plug-in [program]" unless the
// process's PULSE_PROP_* environment says otherwise; the plugin reads it each time a
// device opens.

namespace lumbrel {

struct StreamIdentity {
    const char* applicationName;  // "Lumbrel"
    const char* iconName;         // the desktop entry's icon
    const char* mediaRole;        // a PulseAudio role: "music", "event", ...
};

// Sets the environment the sound server's client library reads; what the user has set
// already stays. Main thread, before any other thread starts and before the first device
// opens (PortAudioPreload probes the devices).
void AnnounceSoundStreams(const StreamIdentity& identity);

}  // namespace lumbrel
