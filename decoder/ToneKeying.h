#pragma once
// The key timeline of a tone in audio. A first reading takes the tone's envelope, mixed
// down to zero hertz and averaged over a window near one dot long, cut halfway between
// the noise and the tone with a little hysteresis (passes from windows of 10, 25 and
// 60 ms each fit the window to the unit read; the timeline whose marks fall most cleanly
// on one and three units wins). Each later reading learns from the one before, around
// every millisecond: the sender's unit, the pitch as it drifts, the noise floor, the
// tone's level and (where it runs on from mark to mark) its phase; and then takes the
// most likely marks and gaps (KeyingSegmenter), of a machine's even timing or a hand's
// uneven one, whichever fits the audio better.
//
//   samples -> x e^(-j 2 pi f t) -> 1 ms means -> first reading -> (tracks -> most likely) x 2
//
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
