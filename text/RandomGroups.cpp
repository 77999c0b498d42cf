#include "text/RandomGroups.h"

#include "morse/Random.h"

namespace lumbrel {

void RandomGroupSource::Begin(RandomNumber& random) { countdown_ = random.Next(8) + 1; }

int RandomGroupSource::NextGroupSymbol(RandomNumber& random, int activeSize)
{
    const int c = countdown_--;
    if (c != 0) {
        const int m = activeSize - 1;  // characters, without the word space
        const int a = random.Next(m) + 1;
        // Favouring recent: a second draw below a, counted back from the newest entry.
        return favourRecent_ ? m - random.Next(a) : a;
    }
    countdown_ = random.Next(8) + 1;
    return 0;
}

}  // namespace lumbrel
