#pragma once
// A buffer of audio for the device tests, whose frames all hold one value so that
// played audio shows which buffer it came from.
#include <cstdint>
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

}  // namespace lumbrel::test
