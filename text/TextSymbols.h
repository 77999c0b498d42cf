#pragma once
// A text file sent in order, one character per buffer: each line opens with a word
// space (a line end adds no second one), unknown characters count as word spaces. A
// file of station lines sends each line as it stands, after a random pause, with the
// station's speed, weighting, drift and chirp.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <random>

#include "text/SymbolSource.h"
#include "text/TextFileSource.h"

namespace lumbrel {

class TextSymbols final : public SymbolSource {
public:
    explicit TextSymbols(SourceHost& host) : host_(host) {}

    // Opens the file; false (with Error()) when it cannot be read.
    bool Open(const QString& path);
    void Close() { file_.Close(); }
    const QString& Error() const { return file_.Error(); }
    // Whether the open file is a file of station lines.
    // It stays known after the file is closed.
    bool StationLines() const { return stationLines_; }

    // Before the first symbol of a session; a file of station lines seeds the pauses'
    // own generator from random the first time.
    void Begin(RandomNumber& random);

    SourceSymbol Next() override;

private:
    // Most characters passed over (skipped, merged or removed) for one symbol; past it
    // a word space is sent, so that no file stalls the window.
    static constexpr int kSkipBudget = 1 << 16;

    enum class LineStart { Space, Skip, End, OutOfBudget };
    LineStart StartLine(int& budget);
    void TakeStationLine();
    SourceSymbol Emit(int position) { return SourceSymbol{position, prosign_.Emit(), false}; }

    SourceHost& host_;
    TextFileSource file_;
    bool stationLines_ = false;
    QByteArray line_;
    bool lineCurrent_ = false;  // false: before the first line
    int position_ = 0;          // bytes of the UTF-8 line taken
    bool lastWasWordSpace_ = false;
    int markIndex_ = -1;  // where the station's text starts in line_
    QString parameterText_;
    std::minstd_rand pauseRandom_;  // the stations' starting pauses; apart from the session's draws
    bool pauseRandomSeeded_ = false;
    ProsignRun prosign_;
};

}  // namespace lumbrel
