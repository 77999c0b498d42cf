#pragma once
// Buffers of audio for the device tests, whose frames all hold one value so that
// played audio shows which buffer it came from, and the runs of values played.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "audio/AudioDevice.h"

namespace lumbrel::test {

class TestBuffer {
public:
    TestBuffer(std::uint32_t frames, std::int16_t value) : values_(std::size_t{frames} * 2, value) {
        header.data = values_.empty() ? nullptr : values_.data();
        header.length = frames * 4;
    }
    TestBuffer(const TestBuffer&) = delete;
    TestBuffer& operator=(const TestBuffer&) = delete;

    std::uint32_t Frames() const { return header.length / 4; }

    AudioBufferHeader header;

private:
    std::vector<std::int16_t> values_;
};

// Played bytes as runs of equal left-channel values: (value, frames).
using RunList = std::vector<std::pair<std::int16_t, std::size_t>>;
inline RunList Runs(const std::vector<std::uint8_t>& bytes) {
    RunList runs;
    for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
        const auto v = static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (runs.empty() || runs.back().first != v) {
            runs.emplace_back(v, 0);
        }
        ++runs.back().second;
    }
    return runs;
}

}  // namespace lumbrel::test
