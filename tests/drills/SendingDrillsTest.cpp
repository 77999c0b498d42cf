// The sending drills driven by a scripted learner on a straight key: key events at the
// frames the timing rules give (tests/decoder/Sending.h: dot 1 unit, dash 3, gaps 1, 3
// and 7; 60 ms a unit at 20 WPM), made into marks by the trainer's keyer as the audio
// callback makes them.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <map>
#include <tuple>

#include "drills/SendingDrills.h"
#include "morse/LearningOrders.h"
#include "morse/SampleFormat.h"
#include "session/VirtualSession.h"
#include "tests/decoder/Sending.h"
#include "tests/scoring/QtPrinters.h"

namespace lumbrel {
namespace {

const std::int64_t kUnit = Keyer::UnitFrames(20);

struct Learner final : KeyerOutput {
    Keyer keyer{*this};
    std::vector<std::pair<std::int64_t, bool>> events;  // due, oldest first
    std::vector<SentMark> made;
    std::int64_t handStart = 0;

    Learner() { keyer.Configure({.mode = KeyerMode::Straight, .wpm = 20}); }
    void MarkBegins(std::int64_t frame, KeyedElement, std::int64_t) noexcept override { handStart = frame; }
    void MarkEnds(std::int64_t frame) noexcept override {
        made.push_back({handStart, frame - handStart, KeyedElement::Hand});
    }
    // Keys text at wpm from frame `at`; the frame its last mark ends.
    std::int64_t Key(const QString& text, std::int64_t at, double wpm = 20) {
        std::int64_t end = at;
        for (const KeyMark& m : test::Sending(text, {.wpm = wpm}).marks) {
            events.emplace_back(at + std::llround(m.downMs * 44.1), true);
            events.emplace_back(end = at + std::llround(m.upMs * 44.1), false);
        }
        return end;
    }
    // The keyer runs up to `now`; the marks it made go to take.
    template <typename Take>
    void Run(std::int64_t now, Take take) {
        while (!events.empty() && events.front().first <= now) {
            keyer.Key(KeyContact::Straight, events.front().second, events.front().first);
            events.erase(events.begin());
        }
        for (const SentMark& m : made)
            take(m);
        made.clear();
    }
};

struct View final : SendingView {
    std::vector<SentItem> ended;
    std::vector<SendingRecord> stored;
    QString reading;
    void Reading(const QString& text) override { reading = text; }
    void LineEnded(const SentItem& item, const SentLine&) override { ended.push_back(item); }
    SendingStore Store() {
        return [this](const SendingRecord& r) {
            stored.push_back(r);
        };
    }
};

const MorseCharacter* Lookup(const QString& display) {
    for (const MorseCharacter& c : LearningOrderTable(LearningOrder::Koch))
        if (c.display.compare(display, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

// The trainer's engine on the virtual clock and device; the stream's frames follow the clock.
struct Rig {
    VirtualSession session{SettingsStore::InMemory(), 3};
    CharacterPlayer player{session.trainer().Engine(), session.trainer().Signal(),
                           session.trainer().Options(), session.trainer().Store()};
    Learner learner;
    Rig() {
        session.CreateAndShow();
        session.routing.SetDrillPlayer(&player);
    }
    std::int64_t Frame() { return session.clock().ElapsedMs() * audio::kFrameRate / 1000; }
    // 10 ms at a time, as the window's timer ticks, until pred holds; the milliseconds taken.
    template <typename Drill>
    std::int64_t RunUntil(Drill& drill, const std::function<bool()>& pred) {
        const std::int64_t from = session.clock().ElapsedMs();
        for (int i = 0; i < 3000 && !pred(); ++i) {
            session.RunFor(10);
            learner.Run(Frame(), [&](const SentMark& m) { drill.AddMark(m); });
            drill.Tick(Frame());
        }
        EXPECT_TRUE(pred());
        return session.clock().ElapsedMs() - from;
    }
};

TEST(EchoDrill, AScriptedLearnerIsScoredAnswerByAnswerAndWhatIsMissedComesBackMoreOften) {
    Rig rig;
    View view;
    // k right, m right and ended by Enter, r keyed as k, s with a dot left out; the
    // third item played is not answered at all.
    const std::map<QString, QString> script = {{"k", "k"}, {"m", "m"}, {"r", "k"}, {"s", "i"}};
    EchoDrillController drill(
        rig.player, &Lookup,
        std::make_unique<EchoDrill>(QStringList{"K", "m", "r", "s"}, 24, MissTallies{}, 5),
        {.wpm = 20, .pitchHz = 700}, {.mode = KeyerMode::Straight, .wpm = 20}, view, view.Store());
    using State = EchoDrillController::State;
    drill.Start(rig.Frame());
    std::map<QString, int> played;
    int right = 0;
    for (int n = 0; drill.CurrentState() != State::Over; ++n) {
        ASSERT_EQ(drill.CurrentState(), State::Playing);
        const QString item = drill.Current();
        ++played[item];
        // Heard (the player's report ends its playing), keyed back 300 ms later.
        rig.RunUntil(drill, [&] { return drill.CurrentState() == State::Answering; });
        const std::int64_t heard = rig.Frame();
        rig.RunUntil(drill, [&, from = rig.session.clock().ElapsedMs()] {
            return rig.session.clock().ElapsedMs() >= from + 300;
        });
        const QString sent = n == 2 ? QString() : script.at(item);
        const std::int64_t end = rig.learner.Key(sent, rig.Frame());
        if (item == "m") {
            rig.RunUntil(drill, [&] { return rig.Frame() >= end; });
            drill.Enter();
            EXPECT_EQ(drill.CurrentState(), State::Showing);
        }
        rig.RunUntil(drill, [&] { return drill.CurrentState() == State::Showing; });
        if (n == 2) {
            EXPECT_NEAR(rig.Frame() - heard, EchoDrillController::kNoAnswerMs * 44.1, 441 * 2);
        } else if (item != "m") {
            EXPECT_NEAR(rig.Frame() - end, SentLines::kPauseWordGaps * 7 * kUnit, 441) << item.toStdString();
        }
        ASSERT_EQ(view.ended.size(), n + 1u);
        EXPECT_EQ(std::pair(view.ended.back().expected, view.ended.back().sent), std::pair(item, sent));
        right += view.ended.back().Right() ? 1 : 0;
        const std::int64_t shown =
            rig.RunUntil(drill, [&] { return drill.CurrentState() != State::Showing; });
        EXPECT_NEAR(shown, EchoDrillController::kShowMs, 10);
    }
    EXPECT_GT(played["r"] + played["s"], 2 * (played["k"] + played["m"]));

    ASSERT_EQ(view.stored.size(), 1u);
    const SendingRecord& record = view.stored[0];
    EXPECT_EQ(
        std::tuple(record.kind, record.items.size(), record.AccuracyPercent(), record.keyer, record.keyerWpm),
        std::tuple(SendingKind::Echo, 24u, 100.0 * right / 24, QString("straight"), 0));
    EXPECT_NEAR(record.fist.wpm, 20, 0.1);
    EXPECT_NEAR(record.fist.dashDotRatio, 3, 0.01);
    EXPECT_NEAR(record.fist.weighting, 50, 0.1);
    EXPECT_NEAR(record.fist.elementGap, 1, 0.01);
    const QString notes = record.fist.notes.join(QLatin1Char('\n'));
    EXPECT_TRUE(notes.contains("S read as I")) << qPrintable(notes);
    EXPECT_TRUE(notes.contains("R read as K: the first dot was 3.0 dot units")) << qPrintable(notes);
}

TEST(EchoDrill, ItemsMissedInEarlierDrillsWeighMoreAndMaterialKeepsToTheLearnersCharacters) {
    // m missed half of 40 times, counted as 10 tries; k never; a new item as the most missed.
    EchoDrill drill({"k", "M", "cq"}, 5, {{"k", {10, 0}}, {"m", {40, 20}}}, 1);
    EXPECT_EQ(drill.Weights(), (std::vector<int>{25, 150, 150}));
    drill.Answer("m", SentLine{{}, QStringLiteral("m"), {}});
    drill.Answer("m", SentLine{{}, QStringLiteral("m"), {}});
    EXPECT_EQ(drill.Weights(), (std::vector<int>{25, 129, 129}));

    // The data files beside the test program, as beside the trainer.
    const QString folder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
    const QStringList learner = {"k", "m", "r", "s", "u", "a", "p", "t", "l", "o", "w", "i", "n", "e"};
    for (const EchoMaterial material : {EchoMaterial::Words, EchoMaterial::Abbreviations}) {
        const QStringList items = EchoItems(material, learner, folder, 3);
        ASSERT_GE(items.size(), kFewestWords);
        EXPECT_LE(items.size(), kMostItems);
        for (const QString& item : items)
            for (const QChar c : item)
                EXPECT_TRUE(learner.contains(QString(c))) << item.toStdString();
    }
    // Two characters make no word of the list: groups of them.
    for (const QString& group : EchoItems(EchoMaterial::Words, {"k", "m"}, folder, 3))
        EXPECT_TRUE(group.size() >= 2 && group.size() <= 5 &&
                    group.count('k') + group.count('m') == group.size());
    EXPECT_FALSE(EchoItems(EchoMaterial::Calls, learner, folder, 3).isEmpty());
}

// Marks fed straight in: a line of a text, then free sending.
struct Spell {
    Learner learner;
    std::int64_t now = 0;
    template <typename Drill>
    void Send(Drill& drill, const QString& text, bool enter) {
        const std::int64_t end = learner.Key(text, now);
        for (; now < end + (enter ? 0 : SentLines::kPauseWordGaps * 7 * kUnit); now += 441) {
            learner.Run(now, [&](const SentMark& m) { drill.AddMark(m); });
            drill.Tick(now);
        }
        learner.Run(now, [&](const SentMark& m) { drill.AddMark(m); });
        if (enter)
            drill.Enter();
        drill.Tick(now);
    }
};

TEST(TextSending, EachLineIsScoredAsACopyAndTheSpellEndsAsOneRecord) {
    QTemporaryDir dir;
    QFile file(dir.filePath("text.txt"));
    ASSERT_TRUE(
        file.open(QIODevice::WriteOnly) &&
        file.write("' a comment\n\nWe go \"out\".\r\nThe dog is at the door and the cat is on the mat "
                   "today.\nI see\n") > 0);
    file.close();
    QString problem;
    const QStringList lines = SendingTextLines(file.fileName(), false, 3, 1, &problem);
    EXPECT_EQ(lines,
              (QStringList{"we go out.", "the dog is at the door and the cat is on", "the mat today."}));
    EXPECT_TRUE(SendingTextLines(dir.filePath("none.txt"), false, 3, 1, &problem).isEmpty());
    EXPECT_FALSE(problem.isEmpty());

    View view;
    TextSendingController text({"we go", "the dog", "i see"}, {.mode = KeyerMode::IambicB, .wpm = 20}, view,
                               view.Store());
    Spell spell;
    text.Start(0);
    EXPECT_EQ(text.Expected(), "we go");
    spell.Send(text, "we go", false);  // ended by the pause
    EXPECT_EQ(text.Expected(), "the dog");
    spell.Send(text, "the dig", true);
    EXPECT_EQ(view.reading, "the dig");
    text.Enter();  // the last line sent with nothing: the spell is over
    EXPECT_TRUE(text.Over());
    ASSERT_EQ(view.stored.size(), 1u);
    const SendingRecord& r = view.stored[0];
    ASSERT_EQ(std::tuple(r.kind, r.items.size(), r.keyer, r.keyerWpm),
              std::tuple(SendingKind::Text, 3u, QString("iambic-b"), 20));
    EXPECT_EQ(r.items[1].sent, "the dig");
    EXPECT_EQ(r.items[2].sent, "");
    EXPECT_NEAR(r.AccuracyPercent(), 100.0 * 9 / 14, 0.01);  // one wrong, four not sent
    EXPECT_NEAR(r.fist.wordGap, 7, 0.01);
    EXPECT_EQ(r.fist.notes, (QStringList{"O read as I", "14 elements sent, 15 in the text"}));

    // Free sending: every line read, kept as one item without a text; Stop ends the line.
    View free;
    TextSendingController spellFree({}, {.mode = KeyerMode::Straight, .wpm = 20}, free, free.Store());
    spellFree.Start(0);
    spellFree.Enter();  // nothing sent: no line
    Spell before;
    before.Send(spellFree, "cq cq", false);
    Spell keyed;  // the stream opened again: its frames start again at 0
    keyed.Send(spellFree, "de k", false);
    ASSERT_EQ(free.ended.size(), 2u);
    keyed.learner.Key("k", keyed.now);
    keyed.now += 20 * kUnit;
    keyed.learner.Run(keyed.now, [&](const SentMark& m) { spellFree.AddMark(m); });
    spellFree.Tick(keyed.now);
    spellFree.Stop();
    ASSERT_EQ(free.stored.size(), 1u);
    ASSERT_EQ(std::tuple(free.stored[0].kind, free.stored[0].items.size(), free.stored[0].AccuracyPercent()),
              std::tuple(SendingKind::Free, 1u, -1.0));
    EXPECT_EQ(free.stored[0].items[0].sent, "cq cq de k k");
    EXPECT_EQ(free.stored[0].durationSeconds, static_cast<int>((before.now + keyed.now) / audio::kFrameRate));
}

// Short answers read at the keyer's speed: a lone mark, dashes apart only by character gaps.
TEST(SentLines, ShortAnswersAreReadAtTheKeyersSpeed) {
    for (const auto& [text, sentWpm, keyerWpm] : {std::tuple{"e", 10, 10},
                                                  {"t", 30, 30},
                                                  {"tt", 20, 20},
                                                  {"ee", 20, 20},
                                                  {"5", 10, 20},
                                                  {"m", 20, 20}}) {
        SentLines lines(keyerWpm);
        Learner learner;
        learner.Key(text, 0, sentWpm);
        learner.Run(1 << 30, [&](const SentMark& m) { lines.Add(m); });
        EXPECT_EQ(lines.Take().text, text) << text << " at " << sentWpm;
    }
}

}  // namespace
}  // namespace lumbrel
