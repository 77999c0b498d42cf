#pragma once
// What the audio stream engine asks once per buffer: the next character to send.
#include <QString>

#include <array>

#include "text/ProsignRun.h"

namespace lumbrel {

class RandomNumber;

struct SourceSymbol {
    static constexpr int kNone = -1;

    // A list position (kWordSpace is 0), or kNone when the source has nothing more.
    int position = kNone;
    ProsignRun::Slot slot;
    // The session's time is up: this symbol still goes out, then the session winds down.
    bool last = false;

    bool Ended() const { return position == kNone; }
};

class SymbolSource {
public:
    virtual ~SymbolSource() = default;
    virtual SourceSymbol Next() = 0;
};

// What a text source asks of the session that plays it. UI thread only.
class SourceHost {
public:
    virtual ~SourceHost() = default;
    // A list position, kWordSpace, kProsignMarker or kUnmapped for one character of text.
    virtual int LookUp(char32_t c) const = 0;
    // The draws of the session (entry choice, a station's speed and pitch).
    virtual RandomNumber& Random() = 0;
    // The signal's dither is drawn again (at each word space of a text).
    virtual void DrawDither() = 0;
    // A new entry of a word or QSO list begins: the drift starts again.
    virtual void EntryBegins() {}
    // Whether the session's time is up (word lists end on time).
    virtual bool TimeUp() const { return false; }

    // A station line's four parameters (speed, weighting, drift, chirp) take effect;
    // the speed and the tone it is sent with come back.
    struct Station {
        int wpm = 0;
        int pitch = 0;
    };
    virtual Station StartStation(const std::array<int, 4>& values) {
        (void)values;
        return {};
    }
    // A station's text begins: its log line, with parameterText (ParameterText()).
    virtual void StationTextBegins(const QString& parameterText) { (void)parameterText; }
};

}  // namespace lumbrel
