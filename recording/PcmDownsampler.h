#pragma once
// Turns the engine's audio (44100 Hz, two channels carrying the same signal) into one
// channel at 22050 or 11025 Hz, for an MP3 encoder that writes that rate: the two
// channels are averaged, then the rate is halved once or twice by half-band low-pass
// filters, so that nothing above the new Nyquist frequency folds back into the band a
// tone uses.
//
//   44100 Hz --(11 taps)--> 22050 Hz: flat within 0.3 dB to 5.5 kHz; 16.5 kHz and up
//                                      (what would fold below 5.5 kHz) down 32 dB or more
//   22050 Hz --(27 taps)--> 11025 Hz: flat within 0.05 dB to 4 kHz; 7 kHz and up (what
//                                      would fold below 4 kHz) down 47 dB or more
//
// Output value k lies at input frame k x factor: the filters are centred, so there is
// no delay. Each halving holds back the few input values its window reaches ahead;
// Flush() ends the signal with silence and hands them out. The result does not depend
// on how the audio is split into calls. Not thread-safe; one caller at a time.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumbrel {

class PcmDownsampler {
public:
    // factor 1, 2 or 4; anything else counts as 4.
    explicit PcmDownsampler(int factor);

    // Appends to `out` the output values of `frames` stereo frames (2 x frames values).
    void Process(const std::int16_t* stereo, std::size_t frames, std::vector<std::int16_t>& out);
    // Appends the values still held back, as if silence followed.
    void Flush(std::vector<std::int16_t>& out);

private:
    // One halving: its input not yet used, split into even and odd values, each array
    // preceded by the window's reach back (as many values as the filter has odd taps).
    struct Halving {
        bool second = false;  // 22050 -> 11025 Hz rather than 44100 -> 22050 Hz
        std::vector<float> even;
        std::vector<float> odd;
        std::size_t received = 0;  // input values since the signal began
        std::size_t produced = 0;  // output values since the signal began
    };

    static void Restart(Halving& s);
    // Takes frames through the filters.
    void Filter(const std::int16_t* stereo, std::size_t frames, std::vector<std::int16_t>& out);
    // True when the filters hold only silence.
    bool Silent() const;
    // Takes frames of silence through silent filters without the arithmetic.
    void SkipSilence(std::size_t frames, std::vector<std::int16_t>& out);
    template <typename Value>
    static void Append(Halving& s, std::size_t count, Value at);
    // Runs each halving as far as its input allows (to the end of the signal when
    // `ending`) and appends the last one's output to `out`.
    void Drain(bool ending, std::vector<std::int16_t>& out);
    static void Hand(const std::vector<float>& values, std::vector<std::int16_t>& out);

    std::vector<Halving> halvings_;  // 44100 -> 22050 Hz, then 22050 -> 11025 Hz
    std::vector<float> filtered_;    // reused for every halving
};

}  // namespace lumbrel
