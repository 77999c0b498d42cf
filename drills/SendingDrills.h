#pragma once
// Sending practice as it runs: an echo drill (the trainer plays an item through its
// CharacterPlayer, the learner keys it back), a text to send line by line, or free
// sending. Each takes the keyer's marks and the stream's frame (the audio clock, on
// which the marks are timed) from its window or test, ends each line or answer by a
// pause or Enter (SentLines), scores it, and ends as one SendingRecord handed to the
// store it was given.
//
// UI thread only; with a VirtualAudioDevice and marks made from the timing rules they
// run without a display, a key or a sound card.
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "drills/DrillControllers.h"
#include "drills/EchoDrill.h"
#include "drills/SentLines.h"

namespace lumbrel {

// Where a finished spell goes (the history's); not called when nothing was sent.
using SendingStore = std::function<void(const SendingRecord&)>;

// What a spell tells its window. Every call is made after the spell's state has moved.
class SendingView {
public:
    virtual ~SendingView() = default;
    // What the decoder reads of the line being sent, as it grows.
    virtual void Reading(const QString& /*text*/) {}
    // What to send next: the text's line, or (echo) the item played, told once it has
    // been heard and the answer is awaited (empty while it plays).
    virtual void Prompt(const QString& /*expected*/) {}
    // A line or an answer is over: what was expected (empty for free sending) and sent.
    virtual void LineEnded(const SentItem& /*item*/, const SentLine& /*line*/) {}
    virtual void Finished(const SendingRecord& /*record*/) {}
    // The device refused to play; the drill has stopped.
    virtual void SoundFailed(const QString& /*reason*/) {}
};

class EchoDrillController {
public:
    // No mark within this long after the item was heard: a miss.
    static constexpr int kNoAnswerMs = 8000;
    // The answer is shown this long before the next item plays.
    static constexpr int kShowMs = 1200;

    enum class State { Idle, Playing, Answering, Showing, Over };

    EchoDrillController(CharacterPlayer& player, CharacterLookup lookup, std::unique_ptr<EchoDrill> drill,
                        CharacterPlayer::Sound sound, KeyerSettings keyer, SendingView& view,
                        SendingStore store);
    ~EchoDrillController();

    void Start(std::int64_t nowFrame);
    void AddMark(const SentMark& mark);
    // Ends the answer being keyed now.
    void Enter();
    // The stream is at nowFrame: ends an answer by its pause or the time without one,
    // and plays the next item once the last answer has been shown.
    void Tick(std::int64_t nowFrame);
    // Ends the drill now and stores what was answered.
    void Stop();

    State CurrentState() const { return state_; }
    const QString& Current() const { return current_; }
    const EchoDrill& Drill() const { return *drill_; }

private:
    void PlayNext();
    void Take();
    void Finish();
    void Fail(const QString& reason);

    CharacterPlayer& player_;
    CharacterLookup lookup_;
    std::unique_ptr<EchoDrill> drill_;
    CharacterPlayer::Sound sound_;
    KeyerSettings keyer_;
    SendingView& view_;
    SendingStore store_;
    SentLines lines_;
    State state_ = State::Idle;
    QString current_;
    StreamTime time_;
    std::int64_t since_ = 0;  // heard (Answering) or shown (Showing) this far into the drill
};

// "Send this text" (the lines of a text, in order; the spell ends after the last) or
// free sending (no lines; it lasts until Stop).
class TextSendingController {
public:
    TextSendingController(QStringList lines, KeyerSettings keyer, SendingView& view, SendingStore store);

    void Start(std::int64_t nowFrame);
    void AddMark(const SentMark& mark);
    // Ends the line being sent now; a line of the text counts as sent with nothing.
    void Enter();
    void Tick(std::int64_t nowFrame);
    // Ends the spell (the line being sent first) and stores it.
    void Stop();

    bool Over() const { return over_; }
    SendingKind Kind() const { return lines_.isEmpty() ? SendingKind::Free : SendingKind::Text; }
    // The line to send now; empty for free sending and once over.
    QString Expected() const;

private:
    void EndLine();
    void Finish();

    QStringList lines_;
    KeyerSettings keyer_;
    SendingView& view_;
    SendingStore store_;
    SentLines sent_;
    std::vector<SentItem> items_;
    std::vector<FistReport> fists_;
    StreamTime time_;
    bool started_ = false;
    bool over_ = false;
};

// The lines of a file to send: from a word list, `count` lines of five words drawn at
// random; from a text file, its first `count` lines that hold any text, cut into
// pieces of at most kLongestLine characters at word ends. Empty with problem set when
// the file cannot be read.
inline constexpr int kLongestLine = 40;
QStringList SendingTextLines(const QString& path, bool wordList, int count, std::uint32_t seed,
                             QString* problem);

}  // namespace lumbrel
