#pragma once
// "Repeat last session": the random source put back where the last session began, so
// that the same characters come again and a copy is checked against the same text.
#include <cstdint>
#include <optional>

namespace lumbrel {

class RandomNumber;

class SessionReplay {
public:
    // A repeat asked for: the next session that begins starts where the last one did.
    // False when no session began yet.
    bool Arm();
    bool Available() const { return start_.has_value(); }

    // A session begins: a repeat puts random back; otherwise its state is kept as the
    // start of this session. UI thread only.
    void SessionBegins(RandomNumber& random);

private:
    struct State {
        std::uint32_t low = 0;
        std::uint32_t high = 0;
    };
    std::optional<State> start_;
    bool armed_ = false;
};

}  // namespace lumbrel
