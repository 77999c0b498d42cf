#pragma once
// The most likely marks and gaps of a tone mixed down to 0 Hz, given what is known
// around each millisecond: the noise power, the tone's amplitude and the sender's dot
// unit. Every mark is scored whole, as a matched filter of its own length (its sum,
// phase unknown), against the noise; the lengths of marks and gaps are weighed by how
// likely they are in dot units (marks of 1 and 3, gaps of 1, 3, 7 and longer), so a
// gap much shorter than a dot inside a dash is not taken for a gap, nor a blip of noise
// for a dot, unless the audio says so clearly. Where the tone's phase is known, a mark
// is scored against it (coherently), which halves the noise that counts.
//
//   ms:    z[0] z[1] ...   (complex means, one a millisecond)
//   steps: h ms each (about a tenth of the shortest unit), the grid of the marks' edges
//   best:  over all alternations  gap mark gap mark ... gap  (a semi-Markov Viterbi)
#include <complex>
#include <vector>

#include "decoder/KeyTimeline.h"

namespace lumbrel {

struct ToneTrack {
    std::vector<std::complex<double>> baseband;  // one mean a millisecond
    std::vector<double> noisePower;              // E|z|^2 of the noise alone, per millisecond
    std::vector<double> amplitude;               // |z| of the tone alone, per millisecond
    std::vector<double> unitMs;                  // the sender's dot unit, per millisecond
    // Where the tone keeps its phase from mark to mark (a transmitter's oscillator runs
    // on while the key is up), the phase of the tone around each millisecond, |1|; 0 where
    // it is not known. Empty: not known anywhere.
    std::vector<std::complex<double>> phase;
};

class KeyingSegmenter {
public:
    // The marks, in milliseconds from the first; the tracks of the same length. spread is
    // the sender's (standard deviation of the log of a length): 0.1 for a machine's
    // even timing, 0.3 for a hand's. *logLikelihood, when given, is the reading's
    // log likelihood against noise alone, to tell which spread fits the audio best.
    static KeyTimeline Segment(const ToneTrack& track, double spread, double* logLikelihood = nullptr);
};

}  // namespace lumbrel
