#include "tools/render/Mixer.h"

#include <algorithm>
#include <vector>

namespace lumbrel::render {

void Mixer::Add(std::int64_t clockFrame, const std::uint8_t* bytes, std::size_t count) {
    const std::size_t frames = count / 4;
    if (frames == 0)
        return;
    if (base_ < 0)
        base_ = clockFrame;
    // A piece older than what was already written is mixed from where the output is.
    std::int64_t skip = 0;
    if (clockFrame < base_)
        skip = base_ - clockFrame;
    if (skip >= static_cast<std::int64_t>(frames))
        return;
    const auto first = static_cast<std::size_t>((clockFrame + skip - base_) * 2);
    const std::size_t values = (frames - static_cast<std::size_t>(skip)) * 2;
    if (values_.size() < first + values)
        values_.resize(first + values, 0);
    const auto* in = reinterpret_cast<const std::int16_t*>(bytes) + skip * 2;
    for (std::size_t i = 0; i < values; ++i) {
        const int sum = values_[first + i] + in[i];
        values_[first + i] = static_cast<std::int16_t>(std::clamp(sum, -32767, 32767));
    }
}

bool Mixer::FlushBefore(std::int64_t clockFrame) {
    if (failed_ || base_ < 0 || clockFrame <= base_)
        return !failed_;
    const auto frames =
        std::min<std::size_t>(static_cast<std::size_t>(clockFrame - base_), values_.size() / 2);
    if (frames == 0)
        return true;
    std::vector<std::int16_t> chunk(values_.begin(),
                                    values_.begin() + static_cast<std::ptrdiff_t>(frames * 2));
    values_.erase(values_.begin(), values_.begin() + static_cast<std::ptrdiff_t>(frames * 2));
    base_ += static_cast<std::int64_t>(frames);
    failed_ = !out_.Write(reinterpret_cast<const std::uint8_t*>(chunk.data()), chunk.size() * 2);
    return !failed_;
}

bool Mixer::FlushAll() {
    if (base_ < 0)
        return !failed_;
    return FlushBefore(base_ + static_cast<std::int64_t>(values_.size() / 2));
}

}  // namespace lumbrel::render
