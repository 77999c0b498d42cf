#include "session/CharacterPlayer.h"

#include <algorithm>

namespace lumbrel {

namespace {

// Values (two per frame) up to the end of the last mark of a rendered character; the
// whole slot for one without a mark (a word space).
int ValuesThroughLastMark(const MorseCode& code)
{
    const auto& samples = code.Samples();
    const int slot = std::min<int>(code.SlotLength, static_cast<int>(samples.size()));
    int end = slot;
    while (end > 0 && samples[static_cast<std::size_t>(end - 1)] == 0)
        --end;
    if (end == 0)
        return slot;
    return end + end % 2;
}

}  // namespace

CharacterPlayer::CharacterPlayer(AudioDevice& audio, RendererState& renderer)
    : audio_(audio), renderer_(renderer)
{
}

CharacterPlayer::~CharacterPlayer() { Stop(); }

bool CharacterPlayer::Owns(const AudioBufferHeader* header) const
{
    return header == &buffers_[0] || header == &buffers_[1];
}

void CharacterPlayer::Stop()
{
    ++generation_;
    playing_ = false;
    if (buffers_[0].IsQueued() || buffers_[1].IsQueued())
        (void)audio_.Reset();
}

bool CharacterPlayer::Play(const std::vector<const MorseCharacter*>& characters, const Sound& sound)
{
    Stop();
    if (characters.empty())
        return false;
    AudioBufferHeader& out = buffers_[static_cast<std::size_t>(next_)];
    std::vector<std::int16_t>& data = data_[static_cast<std::size_t>(next_)];
    next_ = 1 - next_;

    data.clear();
    for (std::size_t i = 0; i < characters.size(); ++i) {
        MorseCode code(renderer_, *characters[i], sound.wpm, sound.pitchHz, 1000);
        const int slot = code.SlotBytes(false) / 2;
        const std::size_t at = data.size();
        data.resize(at + static_cast<std::size_t>(slot));
        code.CopyOut(data.data() + at, sound.noiseSpan, false, sound.amplitudePercent, slot);
        if (i + 1 == characters.size())
            data.resize(at + static_cast<std::size_t>(ValuesThroughLastMark(code)));
    }
    data.resize(data.size() - data.size() % 2);

    (void)audio_.UnprepareHeader(out);
    out.data = data.data();
    out.length = static_cast<std::uint32_t>(data.size() * sizeof(std::int16_t));
    out.user = generation_;
    error_ = audio_.PrepareHeader(out);
    if (error_.Ok())
        error_ = audio_.Write(out);
    playing_ = error_.Ok();
    return playing_;
}

void CharacterPlayer::OnBufferDone(AudioBufferHeader* header)
{
    if (!Owns(header) || header->user != generation_ || !playing_)
        return;
    playing_ = false;
    if (heard)
        heard(header->heardTick.load(std::memory_order_acquire));
}

}  // namespace lumbrel
