#pragma once
// The sender component's per-character renderer: one table record into one audio
// buffer of 16-bit stereo frames (both channels equal), made of a bed and the elements:
//
//   bed:      band noise (a value held for 8 frames; zero without noise), plus a steady
//             interfering tone whose phase runs on from character to character;
//   elements: enveloped tones added on top of the bed, with buzz (25 Hz ring modulator),
//             staccato (early release) and chirp (rising pitch) colouring, and echo taps
//             (copies 501, 1101, 1701, 2801 and 3401 frames later) from the frames that
//             lie more than 10000 frames before an element's end.
//
//   "k" at 15 WPM, D = 3528 frames:
//   |<-- dash 3D -->|D|<dot D>|D|<-- dash 3D -->|D|<- 2D ->|   = 12 units, 42336 frames
//
// Lengths are in frames (4 bytes each). A character never exceeds one sender buffer of
// 441000 frames: the speed is clamped to 3..705 WPM, where the longest record (the digit
// 0, 22 units) fits at the slow end and the chirp step N / 75 stays non-zero at the fast
// end. Every addition into the buffer saturates at -32000..32000, so loud sums clip
// instead of wrapping around.
//
// The steady tone's phase and the buzz modulator's phase are shared by every sender of
// the process; UI thread only.

#include <cstddef>
#include <cstdint>

#include "CWSender/CWCharacterTable.h"

namespace lumbrel {

class RandomNumber;

// What one rendering reads from its sender.
struct CWRenderSettings {
    int speed = 15;              // words per minute, clamped to kMinSpeed..kMaxSpeed
    int pitch = 550;             // Hz
    int amplitudeLevel = 16000;  // peak of the element tone; 0 mutes tone and steady tone
    int noise = 0;               // band-noise level, clamped to 0..9
    int qrmToneAmplitude = 0;    // peak of the steady interfering tone; 0 is off
    int qrmTonePitch = 575;      // Hz
    bool buzz = false;
    bool staccato = false;
    bool chirp = false;
};

// Phases (radians) carried from one rendering to the next, shared by all senders.
struct CWSharedPhases {
    double qrmTonePhase = 0.0;  // the steady interfering tone
    double buzzPhase = 0.0;     // the 25 Hz buzz modulator
};

class CWMorseCode {
public:
    static constexpr int kMinSpeed = 3;
    static constexpr int kMaxSpeed = 705;
    static constexpr int kNoiseHoldFrames = 8;
    static constexpr int kEchoLimitFrames = 10000;  // only frames this far before an element's end echo
    static constexpr int kEchoTaps[5] = {501, 1101, 1701, 2801, 3401};  // frames after the source frame

    // Takes the record and the settings; renders nothing yet. `random` gives the noise
    // draws (RandomLong) and must outlive the object.
    CWMorseCode(const CWCharacter& record, const CWRenderSettings& settings, RandomNumber& random);

    CWMorseCode(const CWMorseCode&) = delete;
    CWMorseCode& operator=(const CWMorseCode&) = delete;

    // Renders the character into `dest`, interleaved stereo, room for `capacityFrames`
    // frames. Returns the character's byte length (4 × frames); a character longer than
    // the room is cut at its end (never the case for a sender buffer).
    std::uint32_t Render(std::int16_t* dest, std::size_t capacityFrames);

    int DotFrames() const { return dotFrames_; }
    int DashFrames() const { return dashFrames_; }
    int Frames() const { return frames_; }
    // 4 × Frames(), before any cut by Render.
    std::uint32_t ByteLength() const { return static_cast<std::uint32_t>(frames_) * 4u; }

    // `speed` limited to kMinSpeed..kMaxSpeed.
    static int ClampSpeed(int speed);
    // One dot at `speed` WPM (clamped): 52920000 / (speed × 1000) frames.
    static int DotFramesAt(int speed);

    // The phases shared by all senders of the process. UI thread only.
    static CWSharedPhases& SharedPhases();

private:
    void RenderBed(std::int16_t* dest);
    void AddSteadyTone(std::int16_t* dest);
    void AddElement(std::int16_t* dest, int start, int length);

    RandomNumber& random_;
    const char* code_;
    int dotFrames_ = 0;
    int dashFrames_ = 0;
    int frames_ = 0;        // the character's length
    int renderFrames_ = 0;  // frames written by Render (frames_ cut to the room)
    int amplitudeLevel_ = 0;
    int pitch_ = 0;
    int qrmToneAmplitude_ = 0;
    int qrmTonePitch_ = 0;
    int position_ = 0;            // write position, frames
    int noiseSpan_ = 0;           // Noise × 1600
    std::int16_t noiseTop_ = 0;   // Noise × 800
    std::int16_t noiseHold_ = 0;  // the noise value being held
    bool buzz_ = false;
    bool staccato_ = false;
    bool chirp_ = false;
};

}  // namespace lumbrel
