#pragma once
// "Speak the answer" in word sessions and callsign runs: the renderer with each word or
// call spoken after it, for practice away from the screen. The word space that follows
// a word (or the last character of a call) carries, in its own buffer after its sound,
// a short pause, the word in the voice (as loud as the tone) and another pause; the
// display is left as it is. The speech is made when the buffer is rendered, on the UI
// thread, never in the audio callback.
#include <QString>

#include <cstdint>
#include <memory>

#include "engine/AudioStreamEngine.h"

namespace lumbrel {

namespace speech {
class Speaker;
}

class SpokenAnswers final : public SlotRenderer {
public:
    static constexpr double kPauseSeconds = 0.5;  // before and after the spoken word

    // afterLast: the word ends with the joined slot that closes a one-shot run (a call
    // of a callsign run), not with a word space.
    explicit SpokenAnswers(SlotRenderer& inner, bool afterLast = false);
    ~SpokenAnswers() override;

    // A session begins: no word is pending.
    void Begin();

    bool Sendable(int position) const override { return inner_.Sendable(position); }
    QString Display(int position) const override { return inner_.Display(position); }
    std::uint32_t Render(int position, bool joined, std::int16_t* dest, std::uint32_t capacityBytes) override;

    // Why nothing is spoken (the synthesiser could not start); empty while it speaks.
    const QString& Problem() const { return problem_; }

private:
    SlotRenderer& inner_;
    bool afterLast_ = false;
    QString word_;  // the characters sent since the last word space
    int peak_ = 0;  // the loudest value of the signal so far
    std::unique_ptr<speech::Speaker> speaker_;
    QString problem_;
};

}  // namespace lumbrel
