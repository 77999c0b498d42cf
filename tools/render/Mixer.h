#pragma once
// Mixes the streams of several virtual devices on one clock into one output: each
// piece arrives with the clock frame it began at, values add with saturation, and
// frames are written once no later piece can reach them.
#include <cstdint>
#include <deque>

#include "tools/render/AudioOutput.h"

namespace lumbrel::render {

class Mixer {
public:
    explicit Mixer(AudioOutput& out) : out_(out) {}

    // A heard piece: whole frames of 16-bit stereo values, starting at clockFrame.
    void Add(std::int64_t clockFrame, const std::uint8_t* bytes, std::size_t count);
    // Writes every frame before clockFrame. False once the output has failed.
    bool FlushBefore(std::int64_t clockFrame);
    // Writes everything held.
    bool FlushAll();

private:
    AudioOutput& out_;
    std::int64_t base_ = -1;  // clock frame of values_[0]; -1 before the first piece
    std::deque<std::int16_t> values_;
    bool failed_ = false;
};

}  // namespace lumbrel::render
