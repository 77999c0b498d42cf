#pragma once
// The sidetone: a sine at the pitch, shaped as the trainer shapes its own marks
// (an envelope that climbs 200 a frame from 0 to 16000 over 80 frames and falls as
// fast, each mark starting at phase 0), added to the output a frame at a time.
//
//   timed mark of L frames at s:   rise from s, fall from s+L-80, silent from s+L
//   hand mark closed at s, open at e: rise from s, fall from e, silent from e+80
//
// Audio thread only: no allocation, lock or Qt.
#include <cstdint>

namespace lumbrel {

class Sidetone {
public:
    static constexpr int kEnvelopeFrames = 80;

    void SetPitch(int hz) { pitchHz_ = hz; }
    void SetVolumePercent(int percent) { volumePercent_ = percent; }

    // A mark begins at the next frame rendered: lengthFrames long, or held until
    // HandOpens when 0.
    void MarkBegins(std::int64_t lengthFrames) noexcept;
    void HandOpens() noexcept { held_ = false; }
    // Adds `frames` frames of the tone to `out` (two values a frame).
    void Render(std::int16_t* out, std::int64_t frames) noexcept;

    bool Silent() const { return envelope_ == 0 && !held_ && timedLeft_ <= 0; }

private:
    int pitchHz_ = 750;
    int volumePercent_ = 100;
    int envelope_ = 0;
    double phase_ = 0.0;
    bool held_ = false;
    std::int64_t timedLeft_ = 0;  // frames until a timed mark's fall begins
};

}  // namespace lumbrel
