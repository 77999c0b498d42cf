#include "engine/SpokenAnswers.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "morse/LearningOrders.h"
#include "morse/SampleFormat.h"
#include "speech/Speaker.h"
#include "speech/SpokenForm.h"

namespace lumbrel {

SpokenAnswers::SpokenAnswers(SlotRenderer& inner, bool afterLast) : inner_(inner), afterLast_(afterLast) {}

SpokenAnswers::~SpokenAnswers() = default;

void SpokenAnswers::Begin() {
    word_.clear();
}

std::uint32_t SpokenAnswers::Render(int position, bool joined, std::int16_t* dest,
                                    std::uint32_t capacityBytes) {
    const std::uint32_t bytes = inner_.Render(position, joined, dest, capacityBytes);
    if (afterLast_ || position != kWordSpace) {
        word_ += inner_.Display(position);
        for (std::uint32_t i = 0; i < bytes / 2; ++i)
            peak_ = std::max(peak_, std::abs(static_cast<int>(dest[i])));
        if (!(afterLast_ && joined))
            return bytes;
    }
    const QString word = std::exchange(word_, QString());
    if (word.trimmed().isEmpty())
        return bytes;
    if (!speaker_ && problem_.isEmpty()) {
        std::string error;
        speaker_ = speech::Speaker::Open({}, speech::Speaker::kDefaultRateWpm, error);
        if (!speaker_)
            problem_ = QString::fromStdString(error);
    }
    if (!speaker_)
        return bytes;
    const std::vector<std::int16_t> spoken = speaker_->Speak(
        speech::SpokenForm(word.toStdString(), afterLast_ ? speech::ItemKind::Call : speech::ItemKind::Word,
                           false),
        peak_ > 0 ? peak_ : audio::kPeakValue / 2, audio::kPeakValue);
    const std::uint32_t pause = 2 * 2 * static_cast<std::uint32_t>(kPauseSeconds * audio::kFrameRate);
    const std::uint32_t needed = bytes + 2 * pause + 4 * static_cast<std::uint32_t>(spoken.size());
    if (spoken.empty() || needed > capacityBytes)
        return bytes;
    std::int16_t* at = dest + bytes / 2;
    std::fill(at, at + pause / 2, std::int16_t{0});
    at += pause / 2;
    for (const std::int16_t v : spoken) {
        *at++ = v;
        *at++ = v;
    }
    std::fill(at, at + pause / 2, std::int16_t{0});
    return needed;
}

}  // namespace lumbrel
