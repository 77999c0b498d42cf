#pragma once
// The keyer: turns the contacts of a key into the keyed line, timed in frames of the
// audio clock (44100 a second). It runs inside the audio callback: no allocation, no
// lock, no Qt.
//
//   iambic, 20 WPM, weight 50, dash ratio 3 (unit U = 60 ms = 2646 frames):
//   dit  |<-U->|<-U->|          mark of one unit, then a gap of one unit
//   dah  |<---3U---->|<-U->|    mark of `ratio` units, then a gap of one unit
//   weight w lengthens every mark by U*(w-50)/50 and shortens its gap by as much.
//
// Modes:
//   Straight  every contact keys the line directly while it is closed.
//   IambicA   a paddle held repeats its element; both squeezed alternate; when both
//             are let go the element being sent is finished and nothing follows.
//   IambicB   as A, but a paddle closed at any time during an element (mark or gap)
//             makes the opposite element follow even when let go since: a squeeze
//             released ends with one element more than in A.
//   Bug       the dit paddle makes dots while held; the dah paddle keys the line by
//             hand (dashes are as long as they are held).
// Dot memory (A and Bug's dots are the modes it changes): a dit paddle closed during a
// dah and let go before its end still makes a dot after it.
// The straight-key contact keys the line by hand in every mode.
#include <cstdint>

#include "sending/KeyEvent.h"

namespace lumbrel {

enum class KeyerMode : std::uint8_t { Straight, IambicA, IambicB, Bug };

struct KeyerSettings {
    static constexpr int kSlowestWpm = 5;
    static constexpr int kFastestWpm = 60;

    KeyerMode mode = KeyerMode::IambicB;
    int wpm = 20;              // kSlowestWpm..kFastestWpm
    int weightPercent = 50;    // 25..75; 50 is a mark as long as its gap
    int dashRatioTenths = 30;  // 20..45: a dah of 3.0 dot units
    bool dotMemory = true;

    // The same settings brought within their ranges.
    KeyerSettings Clamped() const;
    friend bool operator==(const KeyerSettings&, const KeyerSettings&) = default;
};

// The element a mark is.
enum class KeyedElement : std::uint8_t { Dit, Dah, Hand };

// What the keyer does with the line; called from inside Key and AdvanceTo.
class KeyerOutput {
public:
    virtual ~KeyerOutput() = default;
    // The line closes at `frame`. A timed element (dit, dah) gives its mark's length in
    // frames; a hand mark gives 0 and ends with MarkEnds.
    virtual void MarkBegins(std::int64_t frame, KeyedElement element, std::int64_t lengthFrames) noexcept = 0;
    // A hand mark ends (the line opens) at `frame`.
    virtual void MarkEnds(std::int64_t frame) noexcept = 0;
};

class Keyer {
public:
    // Frames of one dot unit at wpm: whole milliseconds (1200 / wpm), then whole frames,
    // as the trainer times its own marks.
    static std::int64_t UnitFrames(int wpm);
    // The lengths of one element at these settings, in frames.
    struct Lengths {
        std::int64_t dit = 0;
        std::int64_t dah = 0;
        std::int64_t gap = 0;  // after either
    };
    static Lengths ElementLengths(const KeyerSettings& settings);

    explicit Keyer(KeyerOutput& output);

    // Takes effect from the next element the keyer starts.
    void Configure(const KeyerSettings& settings) { next_ = settings.Clamped(); }

    // A contact changes at `frame`, which must not lie before any frame given before
    // (an earlier one counts as the last). Runs the keyer up to it first.
    void Key(KeyContact contact, bool down, std::int64_t frame) noexcept;
    // Runs the keyer up to and including `frame`.
    void AdvanceTo(std::int64_t frame) noexcept;
    // The next frame at which the keyer changes the line by itself; INT64_MAX when idle.
    std::int64_t NextDue() const noexcept;

    bool LineClosed() const { return timedMark_ || handMarks_ > 0; }

private:
    enum class Phase : std::uint8_t { Idle, Mark, Gap };

    void StartElement(KeyedElement element, std::int64_t frame) noexcept;
    void FinishElement(std::int64_t frame) noexcept;
    bool Closed(KeyContact contact) const { return closed_[static_cast<int>(contact)]; }
    bool HandKeys(KeyContact contact) const;
    void HandChange(bool down, std::int64_t frame) noexcept;

    KeyerOutput& output_;
    KeyerSettings next_;
    KeyerSettings current_;
    Lengths lengths_;
    Phase phase_ = Phase::Idle;
    KeyedElement element_ = KeyedElement::Dit;
    std::int64_t phaseEnd_ = 0;  // first frame after the mark or the gap
    std::int64_t now_ = 0;
    bool timedMark_ = false;
    int handMarks_ = 0;  // contacts keying the line by hand, closed now
    bool closed_[3] = {false, false, false};
    bool sawOpposite_ = false;  // the other paddle was closed during this element
    bool sawDit_ = false;       // the dit paddle closed during this element (dot memory)
};

}  // namespace lumbrel
