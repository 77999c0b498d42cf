#pragma once
// The key timeline of a tone in audio: the tone's envelope, taken by mixing it down to
// zero hertz and averaging over a window near one dot long (a matched filter), cut at
// the level halfway between the noise and the tone (taken again every quarter second,
// so that a fading tone is followed), with a little hysteresis.
//
//   samples -> x e^(-j 2 pi f t) -> 1 ms means -> mean over ~0.8 dot -> |.| -> key down/up
//
// Passes from first windows of 10, 25 and 60 ms each fit the window to the unit read,
// until it holds; the timeline whose marks fall most cleanly on one and three units wins.
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
