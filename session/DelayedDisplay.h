#pragma once
// Shows the sent text in "Sent" behind the sound: a character's text arrives when its
// buffer has been heard, and is held back by the chosen number of display items
// (characters in random groups, whole words otherwise), or hidden until the end.
#include <QString>
#include <QStringList>

#include <deque>

#include "engine/SessionOptions.h"
#include "session/TextArea.h"
#include "engine/SessionTypes.h"

namespace lumbrel {

class MessageTarget;

class DelayedDisplay {
public:
    static constexpr int kHide = -1;

    DelayedDisplay(SessionReadouts& readouts, TextArea& sent, MessageTarget& window);

    // Per session: the source decides what one display item is.
    void SetSourceKind(SourceKind kind) { kind_ = kind; }
    // Timed log lines only while on; nothing held is shown.
    void SetParameterLineMode(bool on) { parameterLines_ = on; }
    bool ParameterLineMode() const { return parameterLines_; }
    // "Single Word Only" in a word-list session: the tray hint is left alone.
    void SetSingleWordOnly(bool on) { singleWordOnly_ = on; }
    // Whether the running session plays a word list (the only case "Single Word Only" affects).
    void SetWordListSession(bool on) { wordList_ = on; }

    // The status line: "" while count <= 0, else "  %d characters sent".
    void ShowCount(int charactersSent);
    // A character heard while the session runs; no text on the two primed events.
    void TakeText(const QString* text);
    // A character heard after Stop or the end of the text.
    void TakeLateText(const QString* text);
    // Window message 32868.
    void ShowHeldItems();
    void FinalReveal();
    // The display-delay box changed: empties the text area.
    void SetDelayIndex(int index);
    // Session start: nothing pending.
    void ResetPendingWord() { pendingWord_.clear(); }

    int Delay() const { return delay_; }
    const std::deque<QString>& Queue() const { return queue_; }

    static const QStringList& HideNotice();

private:
    void RefreshHideNotice();
    void PostDisplayStep();

    SessionReadouts& readouts_;
    TextArea& sent_;
    MessageTarget& window_;
    SourceKind kind_ = SourceKind::RandomGroups;
    bool parameterLines_ = false;
    bool singleWordOnly_ = false;
    bool wordList_ = false;
    int delay_ = 0;
    std::deque<QString> queue_;
    QString pendingWord_;
    QString trayWord_;
};

}  // namespace lumbrel
