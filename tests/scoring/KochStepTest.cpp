// The Koch step on a real trainer: the facts a session leaves at its end, and the
// 90 % offer, which must change N and the masks exactly as the spinner does.
#include <gtest/gtest.h>

#include "QtPrinters.h"

#include <memory>

#include "scoring/KochStep.h"
#include "session/VirtualSession.h"

namespace lumbrel {
namespace {

struct KochStep : ::testing::Test {
    SettingsStore store = SettingsStore::InMemory();
    std::unique_ptr<VirtualSession> s;
    std::vector<Trainer::SessionSummary> ended;

    Trainer& t() { return s->trainer(); }

    void Create(int letters, std::uint32_t seed = 5) {
        store.Write(keys::Letters, letters);
        store.Write(keys::Pause, 0);
        store.Write(keys::Session, 1);
        s = std::make_unique<VirtualSession>(store, seed);
        s->device().KeepPlayedBytes(false);
        s->CreateAndShow();
        t().SetSessionEndedListener(
            [this](const Trainer::SessionSummary& summary) { ended.push_back(summary); });
    }
    // A random-group session, stopped by hand unless it runs its whole minute; its facts.
    Trainer::SessionSummary RunSession(int ms = 61'000) {
        t().Start();
        EXPECT_TRUE(t().SessionActive());
        s->RunFor(ms);
        t().Stop();
        EXPECT_TRUE(s->RunUntilIdle(60'000));
        EXPECT_FALSE(ended.empty());
        return ended.empty() ? Trainer::SessionSummary{} : ended.back();
    }
    TrainerStanding Now() {
        return {t().Options(), t().Characters(), t().SessionActive() || t().CountdownPending()};
    }
    // Takes an offer as the Check Copy window does.
    bool Take(const NextCharacterOffer& offer) {
        if (!OfferHolds(Now(), offer))
            return false;
        t().SetOption(Option::CharacterCount, offer.count);
        return true;
    }
    int Mask1() const { return store.Read(keys::Session1); }
    int Mask2() const { return store.Read(keys::Session2); }
};

TEST_F(KochStep, TheSessionLeavesItsFactsAtTheEnd) {
    store.Write(keys::Speed, 2);         // 25 WPM
    store.Write(keys::Delay, 3);         // a lower effective speed
    store.Write(keys::DisplayDelay, 0);  // hidden until the end
    Create(4);
    const Trainer::SessionSummary facts = RunSession(10'000);
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(facts.source, SourceKind::RandomGroups);
    EXPECT_EQ(facts.order, LearningOrder::Koch);
    EXPECT_EQ(facts.characterCount, 4);
    EXPECT_EQ(facts.characterWpm, 25);
    EXPECT_EQ(facts.effectivePermille, t().Signal().Impairments().EffectivePermille);
    EXPECT_LT(facts.effectivePermille, 1000);
    EXPECT_EQ(facts.sessionMinutes, 1);
    EXPECT_GE(facts.elapsedSeconds, 10);
    EXPECT_LE(facts.elapsedSeconds, 30);
    // The text as revealed at the end, not the notice of the hidden display.
    EXPECT_EQ(facts.text, t().Sent().Text());
    EXPECT_FALSE(facts.text.contains("Display will reveal"));
    EXPECT_GT(CopyScore::Score(facts.text, facts.text).CharactersSent(), 5);
    for (QChar c : facts.text)
        EXPECT_TRUE(QStringLiteral(" kmrs").contains(c)) << QString(c).toStdString();
}

TEST_F(KochStep, TheOfferRaisesNByOneAndWritesTheMasksAsTheSpinnerDoes) {
    // The setup dialog had left out the second character: the step takes them all in.
    Create(5);
    store.Write(keys::Session1, 0b11101);
    const Trainer::SessionSummary facts = RunSession();
    const CopyScore perfect = CopyScore::Score(facts.text, facts.text);

    const NextCharacterOffer offer = OfferNextCharacter(Now(), facts, perfect);
    ASSERT_TRUE(offer.available);
    EXPECT_EQ(offer.count, 6);
    EXPECT_EQ(offer.character, "a");  // the sixth of the Koch order
    ASSERT_TRUE(Take(offer));
    EXPECT_EQ(t().Options().Get(Option::CharacterCount), 6);
    EXPECT_EQ(t().Characters().ActiveSet().size(), 7u);  // the word space and six

    // The same change made with the spinner, on a trainer of its own.
    SettingsStore other = SettingsStore::InMemory();
    other.Write(keys::Letters, 5);
    other.Write(keys::Session1, 0b11101);
    VirtualSession byHand(other, 5);
    byHand.CreateAndShow();
    byHand.trainer().SetOption(Option::CharacterCount, 6);
    EXPECT_EQ(Mask1(), other.Read(keys::Session1));
    EXPECT_EQ(Mask2(), other.Read(keys::Session2));
    EXPECT_EQ(Mask1(), 0b111111);
    EXPECT_EQ(Mask2(), 0);
    EXPECT_EQ(t().Characters().ActiveSet(), byHand.trainer().Characters().ActiveSet());

    // Taken once: the same offer does nothing more, and a new one is not made.
    EXPECT_FALSE(Take(offer));
    EXPECT_EQ(t().Options().Get(Option::CharacterCount), 6);
    EXPECT_FALSE(OfferNextCharacter(Now(), facts, perfect).available);
    // Stored at the window's close, as any spinner value.
    t().FormClose();
    EXPECT_EQ(store.Read(keys::Letters), 6);
}

TEST_F(KochStep, NothingIsOfferedBelowNinetyPercentOrOutsideRandomGroups) {
    Create(3);
    const Trainer::SessionSummary facts = RunSession();
    const CopyScore none = CopyScore::Score(facts.text, QString());
    EXPECT_FALSE(OfferNextCharacter(Now(), facts, none).available);

    const CopyScore perfect = CopyScore::Score(facts.text, facts.text);
    Trainer::SessionSummary words = facts;
    words.source = SourceKind::RandomEntries;
    EXPECT_FALSE(OfferNextCharacter(Now(), words, perfect).available);
    Trainer::SessionSummary text = facts;
    text.source = SourceKind::SequentialText;
    EXPECT_FALSE(OfferNextCharacter(Now(), text, perfect).available);

    // N changed since the session (by hand): the offer is gone.
    t().SetOption(Option::CharacterCount, 4);
    EXPECT_FALSE(OfferNextCharacter(Now(), facts, perfect).available);
    t().SetOption(Option::CharacterCount, 3);
    const NextCharacterOffer offer = OfferNextCharacter(Now(), facts, perfect);
    ASSERT_TRUE(offer.available);

    // A session running (the count is locked then): nothing, and nothing taken.
    t().Start();
    ASSERT_TRUE(t().SessionActive());
    EXPECT_FALSE(OfferNextCharacter(Now(), facts, perfect).available);
    EXPECT_FALSE(Take(offer));
    EXPECT_EQ(t().Options().Get(Option::CharacterCount), 3);
    t().Stop();
    ASSERT_TRUE(s->RunUntilIdle(60'000));
    // The learning order changed since: the next character would be another one.
    Trainer::SessionSummary mfj = facts;
    mfj.order = LearningOrder::Mfj;
    EXPECT_FALSE(OfferNextCharacter(Now(), mfj, perfect).available);
    // A session stopped before its length: the Koch rule is about a whole session.
    const Trainer::SessionSummary stopped = RunSession(20'000);
    EXPECT_FALSE(RanWholeSession(stopped));
    EXPECT_FALSE(OfferNextCharacter(Now(), stopped, CopyScore::Score(stopped.text, stopped.text)).available);
    EXPECT_TRUE(StoppedEarlyText(stopped).startsWith("The session was stopped at 0:2"));
}

TEST_F(KochStep, AtTheMaximumThereIsNothingToOffer) {
    Create(40);
    ASSERT_EQ(t().Options().Maximum(Option::CharacterCount), 40);
    const Trainer::SessionSummary facts = RunSession();
    EXPECT_EQ(facts.characterCount, 40);
    const CopyScore perfect = CopyScore::Score(facts.text, facts.text);
    EXPECT_TRUE(perfect.ReachesKochThreshold());
    const NextCharacterOffer offer = OfferNextCharacter(Now(), facts, perfect);
    EXPECT_FALSE(offer.available);
    // Even a made-up offer past the maximum changes nothing.
    EXPECT_FALSE(Take(NextCharacterOffer{true, 41, "x"}));
    EXPECT_EQ(t().Options().Get(Option::CharacterCount), 40);
    // One below the maximum, the last character is offered.
    Create(39);
    const Trainer::SessionSummary before = RunSession();
    const NextCharacterOffer last =
        OfferNextCharacter(Now(), before, CopyScore::Score(before.text, before.text));
    ASSERT_TRUE(last.available);
    EXPECT_EQ(last.count, 40);
    EXPECT_EQ(last.character, "x");
}

TEST(KochAdvice, ShortfallAndMostMissedSayHowFarToGo) {
    // 20 sent, 4 wrong (q taken for m three times, h once): 80 %.
    const CopyScore s = CopyScore::Score("qkhkk qkhkk qkhkk qkkkk", "mkhkk mkhkk mkkkk qkkkk");
    EXPECT_EQ(s.AccuracyText(), "80.0%");
    EXPECT_EQ(ShortfallText(s), "10.0 points to go to 90% (2 errors too many)");
    EXPECT_EQ(MostMissedText(s), "q 3 of 4 (as m 3), h 1 of 3 (as k 1)");
    EXPECT_EQ(ShortfallText(CopyScore::Score("kmr", "kmr")), QString());
    EXPECT_EQ(MostMissedText(CopyScore::Score("kmr", "kmr")), QString());
    EXPECT_EQ(ShortfallText(CopyScore::Score("kmrsukmrsu", "kmrsukmrs")), QString());  // 90.0 %
    EXPECT_EQ(ShortfallText(CopyScore::Score("kmrsukmrsu", "kmrsukmr")),
              "10.0 points to go to 90% (1 error too many)");
}

}  // namespace
}  // namespace lumbrel
