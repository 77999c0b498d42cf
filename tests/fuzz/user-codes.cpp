// The input is a set of user-defined characters after ten bytes of renderer settings:
//
//   byte 0     speed: 0 to 7 pick 0, -1, 1, 2, 3, 1200, 1201 and the largest int WPM,
//              anything else is half its value (4 to 127 WPM)
//   bytes 1-2  effective speed in per mille, signed, little end first
//   byte 3     bit 0 chirp, 1 weighting, 2 straight key, 3 bad fist, 4 drift,
//              5 joined slots, 6 names read as Latin-1 (else UTF-8), 7 the MFJ order
//   byte 4     noise width in hundreds of values
//   byte 5     amplitude in percent
//   bytes 6-7  tone in hertz, modulo 4001
//   byte 8     what the output may hold: 0 the slot exactly, 1 a little less, 2 a few
//              values, 3 the slot up to one of the trainer's buffers
//   byte 9     how much less, or how few
//
// then one line per slot "MorseLetter1" to "MorseLetter24": "code=display", an empty
// line leaving its slot unused. The characters are read into the character list as
// the trainer reads them, and each one (and a few built-in ones) is rendered and copied
// out: a slot must be whole frames, nothing may be written past what the output holds
// or past the slot, and every value must stay within the renderer's peak.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include <sanitizer/asan_interface.h>

#include "engine/CharacterSet.h"
#include "morse/MorseCode.h"
#include "morse/Random.h"
#include "morse/SampleFormat.h"
#include "session/Trainer.h"
#include "tests/TestSupport.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace lumbrel;

namespace {

constexpr std::size_t kSettingBytes = 10;
// Marks written to the output are never this value: it is outside the renderer's peak.
constexpr std::int16_t kUntouched = 32767;

struct Settings {
    int wpm = 25;
    int permille = 1000;
    bool chirp = false;
    bool weighting = false;
    bool straightKey = false;
    bool badFist = false;
    bool drift = false;
    bool joined = false;
    bool latin1 = false;
    bool mfj = false;
    int noiseSpan = 0;
    int amplitude = 100;
    int toneHz = 750;
    int capacityMode = 0;
    int capacityParameter = 0;
};

Settings ReadSettings(const std::uint8_t* data) {
    static constexpr std::array<int, 8> kSpecialSpeeds = {0, -1,   1,    2,
                                                          3, 1200, 1201, std::numeric_limits<int>::max()};
    Settings s;
    s.wpm = data[0] < kSpecialSpeeds.size() ? kSpecialSpeeds[data[0]] : data[0] / 2;
    s.permille = static_cast<std::int16_t>(data[1] | data[2] << 8);
    s.chirp = data[3] & 0x01;
    s.weighting = data[3] & 0x02;
    s.straightKey = data[3] & 0x04;
    s.badFist = data[3] & 0x08;
    s.drift = data[3] & 0x10;
    s.joined = data[3] & 0x20;
    s.latin1 = data[3] & 0x40;
    s.mfj = data[3] & 0x80;
    s.noiseSpan = data[4] * 100;
    s.amplitude = data[5];
    s.toneHz = (data[6] | data[7] << 8) % 4001;
    s.capacityMode = data[8] % 4;
    s.capacityParameter = data[9];
    return s;
}

// Fills the "MorseLetter" sections from the input's lines; how many were filled.
int StoreUserCharacters(SettingsStore& store, QByteArrayView lines, bool latin1) {
    int filled = 0;
    int slot = 1;
    qsizetype start = 0;
    while (slot <= keys::kMorseLetterSlots && start <= lines.size()) {
        qsizetype end = lines.indexOf('\n', start);
        if (end < 0)
            end = lines.size();
        const QByteArrayView line = lines.sliced(start, end - start);
        const qsizetype eq = line.indexOf('=');
        const QByteArrayView code = eq < 0 ? line : line.first(eq);
        const QByteArrayView display = eq < 0 ? QByteArrayView() : line.sliced(eq + 1);
        auto text = [latin1](QByteArrayView bytes) {
            return latin1 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);
        };
        const QString section = SettingsStore::MorseLetterSection(slot);
        store.WriteString(section, QString::fromLatin1(keys::kContent), text(code));
        store.WriteString(section, QString::fromLatin1(keys::kDisplayText), text(display));
        if (!code.isEmpty())
            ++filled;
        ++slot;
        start = end + 1;
    }
    return filled;
}

void CheckCharacterList(const CharacterSet& characters, const test::FakeCharacterWindows& windows,
                        int userCount) {
    const auto& list = characters.CharacterList();
    FUZZ_CHECK(static_cast<int>(list.size()) == kOrderSize + userCount);
    FUZZ_CHECK(windows.maximum == static_cast<int>(list.size()) - 1);
    FUZZ_CHECK(windows.captions.size() == static_cast<qsizetype>(list.size()) - 1);
    for (std::size_t pos = kOrderSize; pos < list.size(); ++pos) {
        FUZZ_CHECK(!list[pos]->code.isEmpty());
        FUZZ_CHECK(list[pos]->code.size() <= MorseCharacter::kMaxLength);
        FUZZ_CHECK(list[pos]->display.size() <= MorseCharacter::kMaxLength);
    }

    const auto& active = characters.ActiveSet();
    FUZZ_CHECK(!active.empty() && active[0] == list[0]);
    FUZZ_CHECK(active.size() <= list.size());

    // Every byte of a text maps to a position of the list or to one of the markers; a
    // byte above 127 only to a user character whose name starts with it.
    for (int c = 0; c < 256; ++c) {
        const int index = characters.LookUpTextCharacter(static_cast<unsigned char>(c));
        if (index == kProsignMarker || index == kUnmapped)
            continue;
        FUZZ_CHECK(index >= 0 && index < static_cast<int>(list.size()));
        if (c >= 128) {
            FUZZ_CHECK(index >= kOrderSize);
            FUZZ_CHECK(list[static_cast<std::size_t>(index)]->display.at(0).unicode() == c);
        }
    }
}

// One output area for every copy, allocated once: fresh memory for each character
// would cost more than the rendering. An output ends where the area's poisoned tail
// begins, so that the address sanitizer catches any value written past it.
class OutputArea {
public:
    static constexpr std::size_t kValues = std::size_t{1} << 23;  // more than any slot

    OutputArea() : storage_(kValues + kTail) {
        ASAN_POISON_MEMORY_REGION(End(), kTail * sizeof(std::int16_t));
    }

    // Room for exactly capacity values, each set to kUntouched.
    std::int16_t* Take(int capacity) {
        FUZZ_CHECK(capacity >= 0 && static_cast<std::size_t>(capacity) <= kValues);
        std::int16_t* out = End() - capacity;
        std::fill(out, End(), kUntouched);
        return out;
    }

private:
    static constexpr std::size_t kTail = 64;  // a multiple of the sanitizer's 8-byte granule
    std::int16_t* End() { return storage_.data() + kValues; }
    std::vector<std::int16_t> storage_;
};

// Within the peak up to the end of the slot or of the output, untouched after the slot.
FUZZ_NO_COVERAGE void CheckOutput(const std::int16_t* out, int written, int capacity) {
    for (int j = 0; j < written; ++j)
        FUZZ_CHECK(out[j] >= -audio::kPeakValue && out[j] <= audio::kPeakValue);
    for (int j = written; j < capacity; ++j)
        FUZZ_CHECK(out[j] == kUntouched);
}

// Renders one character and copies it out as the settings say; the values it took.
std::size_t RenderCharacter(RendererState& renderer, const MorseCharacter& record, const Settings& s) {
    static OutputArea area;
    MorseCode code(renderer, record, s.wpm, s.toneHz, s.permille);
    FUZZ_CHECK(code.Wpm >= 1);
    const int slotBytes = code.SlotBytes(s.joined);
    // The devices take whole frames only: a slot of half a frame is refused.
    FUZZ_CHECK(slotBytes >= 0 && slotBytes % audio::kBlockAlign == 0);
    FUZZ_CHECK(static_cast<long long>(code.Samples().size()) >= code.SlotLength);
    const int slotValues = slotBytes / 2;

    int capacity = slotValues;
    if (s.capacityMode == 1)
        capacity = std::max(slotValues - s.capacityParameter, 0);
    else if (s.capacityMode == 2)
        capacity = s.capacityParameter;
    else if (s.capacityMode == 3)
        capacity = std::min<int>(slotBytes, static_cast<int>(AudioStreamEngine::kBufferBytes)) /
                   2;  // as the engine does
    std::int16_t* out = area.Take(capacity);
    code.CopyOut(out, s.noiseSpan, s.joined, s.amplitude, capacity);
    CheckOutput(out, std::min(capacity, slotValues), capacity);
    return code.Samples().size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kSettingBytes)
        return 0;
    const Settings s = ReadSettings(data);
    const QByteArrayView lines(reinterpret_cast<const char*>(data + kSettingBytes),
                               static_cast<qsizetype>(size - kSettingBytes));

    SettingsStore store = SettingsStore::InMemory();
    const int userCount = StoreUserCharacters(store, lines, s.latin1);
    WriteFirstCharactersMask(store, 64);

    test::FakeCharacterWindows windows;
    windows.count = 64;
    CharacterSet characters(store, windows);
    characters.SetOrder(s.mfj ? LearningOrder::Mfj : LearningOrder::Koch);
    characters.SetShown();
    characters.RebuildCharacterList();
    characters.RebuildActiveSet();
    CheckCharacterList(characters, windows, userCount);

    RandomNumber random(fuzz::InputHash(lines));
    RendererState renderer(random);
    renderer.SetChirp(s.chirp);
    renderer.SetVariableWeighting(s.weighting);
    renderer.SetStraightKey(s.straightKey);
    renderer.SetFist(s.badFist ? 1 : 0);
    renderer.SetDrift(s.drift);

    // The user's characters, then the word space and two built-in characters that the
    // input's hash picks (all 41 each time would only repeat the same work), as long
    // as the work allows.
    const auto& list = characters.CharacterList();
    std::vector<const MorseCharacter*> order(list.begin() + kOrderSize, list.end());
    const std::uint32_t h = fuzz::InputHash(QByteArrayView(data, static_cast<qsizetype>(size)));
    for (std::uint32_t pick : {0u, 1 + h % kBuiltInCharacters, 1 + (h >> 8) % kBuiltInCharacters})
        order.push_back(list[pick]);
    // Each character allocates and fills its samples: after about 2 million values
    // (a handful of characters at ordinary speeds, one at the slowest) the input is done.
    std::size_t samples = 0;
    for (const MorseCharacter* record : order) {
        if (samples > 2'000'000)
            break;
        samples += RenderCharacter(renderer, *record, s);
        // The tone drifts toward 2000 Hz from below 750 Hz and toward 50 Hz from above,
        // never past either.
        const int drifted = s.toneHz + renderer.DriftOffset / 5;
        FUZZ_CHECK(drifted >= std::min(s.toneHz, 50) - 1 && drifted <= std::max(s.toneHz, 2000) + 1);
    }
    return 0;
}
