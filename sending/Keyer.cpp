#include "sending/Keyer.h"

#include <algorithm>
#include <limits>

#include "morse/SampleFormat.h"

namespace lumbrel {

KeyerSettings KeyerSettings::Clamped() const {
    KeyerSettings s = *this;
    s.wpm = std::clamp(wpm, kSlowestWpm, kFastestWpm);
    s.weightPercent = std::clamp(weightPercent, 25, 75);
    s.dashRatioTenths = std::clamp(dashRatioTenths, 20, 45);
    return s;
}

std::int64_t Keyer::UnitFrames(int wpm) {
    return std::int64_t{1200 / std::max(wpm, 1)} * audio::kFrameRate / 1000;
}

Keyer::Lengths Keyer::ElementLengths(const KeyerSettings& settings) {
    const KeyerSettings s = settings.Clamped();
    const std::int64_t unit = UnitFrames(s.wpm);
    const std::int64_t weight = unit * (s.weightPercent - 50) / 50;
    return {unit + weight, unit * s.dashRatioTenths / 10 + weight, unit - weight};
}

Keyer::Keyer(KeyerOutput& output) : output_(output) {
    current_ = next_;
    lengths_ = ElementLengths(current_);
}

bool Keyer::HandKeys(KeyContact contact) const {
    switch (current_.mode) {
        case KeyerMode::Straight:
            return true;
        case KeyerMode::Bug:
            return contact != KeyContact::Dit;
        case KeyerMode::IambicA:
        case KeyerMode::IambicB:
            return contact == KeyContact::Straight;
    }
    return true;
}

void Keyer::HandChange(bool down, std::int64_t frame) noexcept {
    if (down) {
        if (handMarks_++ == 0)
            output_.MarkBegins(frame, KeyedElement::Hand, 0);
    } else if (handMarks_ > 0 && --handMarks_ == 0) {
        output_.MarkEnds(frame);
    }
}

void Keyer::StartElement(KeyedElement element, std::int64_t frame) noexcept {
    current_ = next_;
    lengths_ = ElementLengths(current_);
    element_ = element;
    phase_ = Phase::Mark;
    timedMark_ = true;
    const KeyContact opposite = element == KeyedElement::Dit ? KeyContact::Dah : KeyContact::Dit;
    sawOpposite_ = Closed(opposite);
    sawDit_ = false;
    const std::int64_t length = element == KeyedElement::Dit ? lengths_.dit : lengths_.dah;
    phaseEnd_ = frame + length;
    output_.MarkBegins(frame, element, length);
}

// The element's gap is over at `frame`: the paddles choose what follows.
void Keyer::FinishElement(std::int64_t frame) noexcept {
    phase_ = Phase::Idle;
    const bool dit = element_ == KeyedElement::Dit;
    if (current_.mode == KeyerMode::Bug) {
        if (Closed(KeyContact::Dit))
            StartElement(KeyedElement::Dit, frame);
        return;
    }
    const KeyedElement opposite = dit ? KeyedElement::Dah : KeyedElement::Dit;
    const KeyContact oppositeContact = dit ? KeyContact::Dah : KeyContact::Dit;
    const KeyContact sameContact = dit ? KeyContact::Dit : KeyContact::Dah;
    if (Closed(oppositeContact) || (current_.mode == KeyerMode::IambicB && sawOpposite_) ||
        (current_.dotMemory && !dit && sawDit_)) {
        StartElement(opposite, frame);
    } else if (Closed(sameContact)) {
        StartElement(element_, frame);
    }
}

std::int64_t Keyer::NextDue() const noexcept {
    return phase_ == Phase::Idle ? std::numeric_limits<std::int64_t>::max() : phaseEnd_;
}

void Keyer::AdvanceTo(std::int64_t frame) noexcept {
    while (phase_ != Phase::Idle && phaseEnd_ <= frame) {
        const std::int64_t at = phaseEnd_;
        now_ = std::max(now_, at);
        if (phase_ == Phase::Mark) {
            timedMark_ = false;
            phase_ = Phase::Gap;
            phaseEnd_ = at + lengths_.gap;
        } else {
            FinishElement(at);
        }
    }
    now_ = std::max(now_, frame);
}

void Keyer::Key(KeyContact contact, bool down, std::int64_t frame) noexcept {
    frame = std::max(frame, now_);
    AdvanceTo(frame);
    if (phase_ == Phase::Idle && handMarks_ == 0) {
        current_ = next_;  // a new mode decides which contacts key by hand
        lengths_ = ElementLengths(current_);
    }
    auto& closed = closed_[static_cast<int>(contact)];
    if (closed == down)
        return;
    closed = down;
    if (HandKeys(contact)) {
        HandChange(down, frame);
        return;
    }
    if (!down)
        return;
    // A paddle closes.
    const KeyedElement element = contact == KeyContact::Dit ? KeyedElement::Dit : KeyedElement::Dah;
    if (phase_ == Phase::Idle) {
        StartElement(element, frame);
        return;
    }
    if (element != element_)
        sawOpposite_ = true;
    if (contact == KeyContact::Dit && element_ == KeyedElement::Dah)
        sawDit_ = true;
}

}  // namespace lumbrel
