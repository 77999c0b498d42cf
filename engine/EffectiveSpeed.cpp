#include "engine/EffectiveSpeed.h"

#include <algorithm>
#include <cmath>

#include "morse/MorseCode.h"
#include "morse/SampleFormat.h"

namespace lumbrel {
namespace {

constexpr int kWordUnits = 53;  // PARIS with its word space, as the renderer sends it
constexpr int kWordSpaceUnits = 7;
constexpr int kStandardWordUnits = 50;  // the units a word counts for in a speed
constexpr double kValuesPerMinute = 60.0 * audio::kFrameRate * 2;
// Values a PARIS word (53 units) lasts at 1 WPM, where a unit is 1.2 s.
constexpr double kWordValuesAtOneWpm = kValuesPerMinute * kWordUnits / kStandardWordUnits;

// Values of one PARIS word with units of `unit` values and stretched units of `stretched`.
double WordValues(int unit, int stretched, Stretch stretch) {
    return stretch == Stretch::EveryUnit
               ? double(kWordUnits) * stretched
               : double(kWordUnits - kWordSpaceUnits) * unit + double(kWordSpaceUnits) * stretched;
}

}  // namespace

double PlayedWpm(int wpm, int permille, Stretch stretch) {
    return kWordValuesAtOneWpm /
           WordValues(MorseCode::UnitValues(wpm), MorseCode::StretchedUnitValues(wpm, permille), stretch);
}

int PlayedPermille(int wpm, int permille, Stretch stretch) {
    return std::clamp(static_cast<int>(std::lround(1000.0 * PlayedWpm(wpm, permille, stretch) /
                                                   PlayedWpm(wpm, 1000, stretch))),
                      1, 1000);
}

int PermilleForWpm(int wpm, int effectiveWpm, Stretch stretch) {
    const int unit = MorseCode::UnitValues(wpm);
    const double word = kWordValuesAtOneWpm / std::max(effectiveWpm, 1);
    // The stretched unit that makes a PARIS word last `word` values.
    const double stretched = stretch == Stretch::EveryUnit
                                 ? word / kWordUnits
                                 : (word - double(kWordUnits - kWordSpaceUnits) * unit) / kWordSpaceUnits;
    if (stretched <= unit)
        return 1000;
    return std::clamp(static_cast<int>(std::lround(1000.0 * unit / stretched)), 1, 1000);
}

}  // namespace lumbrel
