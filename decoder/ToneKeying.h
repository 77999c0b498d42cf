#pragma once
// The key timeline of a tone in audio: the tone's envelope, taken by mixing it down to
// zero hertz and averaging over a window near one dot long (a matched filter), cut at
// the level halfway between the noise and the tone, with a little hysteresis.
//
//   samples -> x e^(-j 2 pi f t) -> 1 ms means -> mean over ~0.8 dot -> |.| -> key down/up
//
// The first pass takes a 10 ms window; each next one a window fitted to the unit the
// last one read, until the unit holds.
#include <vector>

#include "decoder/KeyTimeline.h"

namespace lumbrel {

class ToneKeying {
public:
    // The frequency (Hz) of the strongest tone between 100 Hz and 4 kHz; 0 for silence.
    static double StrongestTone(const std::vector<float>& samples, int rate);

    // The marks of the tone at pitchHz, times in milliseconds from the first sample.
    static KeyTimeline Read(const std::vector<float>& samples, int rate, double pitchHz);
};

}  // namespace lumbrel
