// The session's sources: the kind selected is the one that plays, each source reads
// what it was given, and a kind the sources do not know falls back to random groups.
#include <gtest/gtest.h>

#include "morse/LearningOrders.h"
#include "morse/MorseCharacter.h"
#include "morse/Random.h"
#include "session/SessionSources.h"

namespace lumbrel {
namespace {

// Looks 'E' up as position 1 and 'T' as 2; everything else is a word space.
class LetterHost final : public SourceHost {
public:
    int LookUp(char32_t c) const override { return c == U'E' ? 1 : (c == U'T' ? 2 : kWordSpace); }
    RandomNumber& Random() override { return random; }
    void DrawDither() override {}
    RandomNumber random{3};
};

TEST(SessionSourcesTest, TheSelectedKindIsTheSourceThatPlays) {
    LetterHost host;
    MorseCharacter e{"E", "."}, t{"T", "-"};
    const std::vector<const MorseCharacter*> active{&e, &t};
    SessionSources sources(host, [&]() -> const std::vector<const MorseCharacter*>& { return active; });
    EXPECT_EQ(sources.Kind(), SourceKind::RandomGroups);
    sources.Entries().Begin({QByteArray("TE")}, true);

    const struct {
        SourceKind kind;
        SymbolSource* expected;
    } cases[] = {
        {SourceKind::RandomEntries, &sources.Entries()},
        {SourceKind::SequentialText, &sources.Text()},
        {static_cast<SourceKind>(7), &sources.Current()},  // unknown: the groups, as at the start
        {SourceKind::RandomGroups, &sources.Current()},
    };
    for (const auto& c : cases) {
        sources.Select(c.kind);
        EXPECT_EQ(sources.Kind(), c.kind);
        EXPECT_EQ(&sources.Current(), c.expected) << static_cast<int>(c.kind);
    }
    EXPECT_NE(&sources.Current(), static_cast<SymbolSource*>(&sources.Entries()));
    EXPECT_NE(&sources.Current(), static_cast<SymbolSource*>(&sources.Text()));

    // The sample entry plays after a word space, as it reads, then ends.
    sources.Select(SourceKind::RandomEntries);
    std::vector<int> played;
    for (SourceSymbol s = sources.Current().Next(); !s.Ended() && played.size() < 10;
         s = sources.Current().Next())
        played.push_back(s.position);
    EXPECT_EQ(played, (std::vector<int>{kWordSpace, 2, 1}));

    // Groups draw from the active set only.
    sources.Select(SourceKind::RandomGroups);
    sources.Groups().Begin(host.random);
    for (int i = 0; i < 50; ++i) {
        const int position = sources.Current().Next().position;
        EXPECT_TRUE(position == kWordSpace || position == 1)
            << position;  // the one character after the space
    }
}

}  // namespace
}  // namespace lumbrel
