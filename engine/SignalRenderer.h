#pragma once
// The main signal as the engine sends it: the character speed and the tone, the
// renderer's switches (straight key, fist, weighting, chirp, drift) and the
// impairments (dither, fading, effective speed), applied to each character of the
// active set as it is rendered into a buffer.
#include <QString>

#include <vector>

#include "morse/MorseCode.h"
#include "engine/AudioStreamEngine.h"
#include "engine/CharacterSet.h"
#include "engine/SessionOptions.h"
#include "engine/Impairments.h"
#include "settings/SettingsStore.h"

namespace lumbrel {

class SignalRenderer final : public SlotRenderer {
public:
    // Sends the characters of the active set.
    SignalRenderer(RandomNumber& random, const SessionOptions& options, const CharacterSet& characters,
                   const SettingsStore& store);
    // Sends from a list its owner keeps (position k is characters[k]).
    SignalRenderer(RandomNumber& random, const SessionOptions& options,
                   const std::vector<const MorseCharacter*>& characters, const SettingsStore& store);

    // The renderer's switches and accumulators.
    RendererState& Switches() { return switches_; }
    const RendererState& Switches() const { return switches_; }
    ::lumbrel::Impairments& Impairments() { return impairments_; }
    const ::lumbrel::Impairments& Impairments() const { return impairments_; }

    // The character speed: the speed buttons' choice, or a station's.
    int Wpm() const { return wpm_; }
    void SetWpm(int wpm) { wpm_ = wpm; }
    // The tone before dither: the pitch spinner's, or a station's.
    int Pitch() const { return pitch_; }
    void SetPitch(int pitch) { pitch_ = pitch; }
    // Random groups stretch every character to the effective speed; words and texts
    // only their word spaces, unless "Effective Mode" asks for every character.
    void SetRandomGroups(bool on) { randomGroups_ = on; }
    // The setup dialog's speed dither size, as the window's copy holds it.
    void SetSpeedDitherSize(int size) { speedDitherSize_ = size; }
    // A joined slot ends with its last mark: a short sound that ends so (a drill's
    // character or call) is heard to its end when its buffer comes home.
    void SetEndAtLastMark(bool on) { endAtLastMark_ = on; }

    // The signal options, as they stand now.
    SignalSettings Settings() const;
    // Draws the speed and pitch dither again.
    void DrawDither() { impairments_.RedrawDither(Settings(), random_); }

    // SlotRenderer.
    bool Sendable(int position) const override;
    QString Display(int position) const override;
    std::uint32_t Render(int position, bool joined, std::int16_t* dest, std::uint32_t capacityBytes) override;

private:
    RandomNumber& random_;
    const SessionOptions& options_;
    const std::vector<const MorseCharacter*>& characters_;
    const SettingsStore& store_;
    RendererState switches_;
    ::lumbrel::Impairments impairments_;
    int wpm_ = 25;
    int pitch_ = 750;
    bool randomGroups_ = true;
    int speedDitherSize_ = 0;
    bool endAtLastMark_ = false;
};

}  // namespace lumbrel
