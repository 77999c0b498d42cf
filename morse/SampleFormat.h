#pragma once
// The one audio format of the whole trainer: 44100 frames per second, 16-bit signed
// little-endian values, two interleaved channels that always carry the same value.
//
// Vocabulary used everywhere:
//   frame  - one instant of audio: two values (left, right), 4 bytes
//   value  - one 16-bit sample of one channel; renderer lengths count values
//   mark   - a keyed element (dot or dash) that sounds
//   gap    - silence between marks, characters or words
//   unit   - the length of one dot
//   slot   - the length a character occupies in the stream, closing gap included
//   joined slot - the slot of a character inside a prosign: no closing gap, no stretching

namespace lumbrel::audio {

inline constexpr int kFrameRate = 44100;  // frames per second
inline constexpr int kChannels = 2;
inline constexpr int kBitsPerSample = 16;
inline constexpr int kBytesPerValue = 2;
inline constexpr int kBlockAlign = kChannels * kBytesPerValue;  // bytes per frame
inline constexpr int kByteRate = kFrameRate * kBlockAlign;      // 176400 bytes per second
inline constexpr int kPeakValue = 32000;                        // no value ever leaves -32000..32000

}  // namespace lumbrel::audio
