#pragma once
// Sound made in the audio callback itself, added to whatever the queued buffers hold:
// the sidetone of a key, which cannot wait for a buffer of its own.
#include <cstdint>

namespace lumbrel {

class LiveSound {
public:
    virtual ~LiveSound() = default;
    // Audio thread; never allocates, locks or calls Qt. Adds `frames` frames to `out`
    // (interleaved 16-bit stereo). firstFrame counts the stream's frames since Open;
    // nowUs is the steady clock (microseconds) at the callback, heardUs the moment the
    // first frame will be heard (the device's DAC time on the same clock).
    virtual void Mix(std::int16_t* out, std::uint32_t frames, std::uint64_t firstFrame, std::int64_t nowUs,
                     std::int64_t heardUs) noexcept = 0;
};

}  // namespace lumbrel
