#pragma once
// Plays a few characters at a time on the trainer's audio device for the drills: one
// character, or the characters of a callsign, rendered back to back by MorseCode with
// their gaps, in one buffer that ends with the last mark. Its completion is therefore
// the moment the last mark was heard, which the device reports (heardTick).
//
// Playing again (a replay, the next character) drops what is still playing first, so
// that the new sound starts within one output latency. The player shares the device
// with the trainer and must not play while a session does; the window routes the
// completions of the player's buffers here (Owns) and all others to the trainer.
//
// UI thread only.
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "audio/AudioDevice.h"
#include "morse/MorseCode.h"

namespace lumbrel {

class CharacterPlayer {
public:
    // How the characters sound: the main window's speed and pitch and, with the band
    // conditions, its noise and signal strength.
    struct Sound {
        int wpm = 25;
        int pitchHz = 750;
        int noiseSpan = 0;             // Impairments::NoiseSpan of the noise item
        int amplitudePercent = 100;    // Impairments::AmplitudePercent
    };

    // The device is the trainer's, already open; the renderer state is the trainer's.
    CharacterPlayer(AudioDevice& audio, RendererState& renderer);
    ~CharacterPlayer();
    CharacterPlayer(const CharacterPlayer&) = delete;
    CharacterPlayer& operator=(const CharacterPlayer&) = delete;

    // Drops what is playing and plays the characters; false (with the device's
    // reason in LastError) when the device refused.
    bool Play(const std::vector<const MorseCharacter*>& characters, const Sound& sound);
    // Drops what is playing; no heard report follows for it.
    void Stop();
    bool Playing() const { return playing_; }
    const AudioResult& LastError() const { return error_; }

    // Whether a completed header is one of the player's buffers.
    bool Owns(const AudioBufferHeader* header) const;
    // A completion of one of the player's buffers. When it is what plays now (not one
    // dropped by a later Play or Stop), the heard listener gets its heard tick.
    void OnBufferDone(AudioBufferHeader* header);

    // The last mark of the characters given to Play was heard at this tick.
    std::function<void(std::uint32_t heardTick)> heard;

private:
    AudioDevice& audio_;
    RendererState& renderer_;
    std::array<AudioBufferHeader, 2> buffers_{};
    std::array<std::vector<std::int16_t>, 2> data_;
    int next_ = 0;
    std::intptr_t generation_ = 0;  // of the latest Play, kept in the header's user
    bool playing_ = false;
    AudioResult error_ = AudioResult::Success();
};

}  // namespace lumbrel
