#pragma once
// The effective speed a choice really plays, timed on the word PARIS: a speed of W words
// per minute is an average unit of 1.2 s / W over what is sent. PARIS as the renderer
// sends it is 53 units: its five characters with their closing gaps take 46, the word
// space that follows 7 more. The renderer stretches every unit (random groups, "Each
// Character") or only the word space ("Each Word"), never a unit beyond
// MorseCode::kStretchCap; either way a PARIS word at W lasts as long.
namespace lumbrel {

enum class Stretch { EveryUnit, WordSpaceOnly };

// Words per minute that PARIS plays at wpm with the units stretched to permille (the
// renderer's lengths: whole milliseconds, whole frames, the cap).
double PlayedWpm(int wpm, int permille, Stretch stretch);
// The played effective speed in thousandths of the speed played at full effective speed.
int PlayedPermille(int wpm, int permille, Stretch stretch);
// The per-mille to stretch by that plays effectiveWpm at wpm, or as near as the cap allows.
int PermilleForWpm(int wpm, int effectiveWpm, Stretch stretch);
// The slowest effective speed wpm reaches: every stretched unit at the cap.
inline double SlowestWpm(int wpm, Stretch stretch) {
    return PlayedWpm(wpm, 1, stretch);
}

}  // namespace lumbrel
