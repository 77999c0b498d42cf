#include "session/SessionReplay.h"

#include <utility>

#include "morse/Random.h"

namespace lumbrel {

bool SessionReplay::Arm() {
    armed_ = start_.has_value();
    return armed_;
}

void SessionReplay::SessionBegins(RandomNumber& random) {
    if (std::exchange(armed_, false) && start_)
        random.Restore(start_->low, start_->high);
    else
        start_ = State{random.LowWord(), random.HighWord()};
}

}  // namespace lumbrel
