#include "text/TextSymbols.h"

#include <utility>

#include "morse/Random.h"
#include "text/EntryList.h"
#include "text/ParameterLine.h"
#include "text/TextEncoding.h"

namespace lumbrel {

bool TextSymbols::Open(const QString& path) {
    if (!file_.Open(path))
        return false;
    stationLines_ = file_.ParameterLines();
    return true;
}

void TextSymbols::Begin(RandomNumber& random) {
    line_.clear();
    lineCurrent_ = false;
    position_ = 0;
    lastWasWordSpace_ = false;  // every text file opens with the word space of its first line
    markIndex_ = -1;
    parameterText_.clear();
    prosign_.End();
    if (StationLines() && !pauseRandomSeeded_) {
        pauseRandom_.seed(random.LowWord() % 2147483646u + 1u);
        pauseRandomSeeded_ = true;
    }
}

void TextSymbols::TakeStationLine() {
    const int pause = static_cast<int>(pauseRandom_() % (kMaxLeadingSpaces + 1));
    ParameterLine line = ParseParameterLine(line_, pause);
    line_ = std::move(line.stored);
    markIndex_ = -1;
    if (!line.hasParameters)
        return;
    const SourceHost::Station station = host_.StartStation(line.values);
    const QString text = QString::fromUtf8(TrimEntry(line_));
    parameterText_ = ParameterText(station.wpm, station.pitch, line.values[2], line.values[3], text);
    markIndex_ = line.markIndex;
}

// The next line, once the last one is sent: Space when its opening word space goes out.
TextSymbols::LineStart TextSymbols::StartLine(int& budget) {
    position_ = 0;
    const TextFileSource::Next next = file_.NextLine(line_, budget);
    if (next != TextFileSource::Next::Line) {
        lineCurrent_ = false;  // after OutOfBudget the next call goes on looking for the next line
        return next == TextFileSource::Next::End ? LineStart::End : LineStart::OutOfBudget;
    }
    lineCurrent_ = true;
    if (StationLines()) {
        TakeStationLine();
        prosign_.End();  // a prosign ends at the line's word space like at any other
        return LineStart::Space;
    }
    if (lastWasWordSpace_)
        return LineStart::Skip;  // a line end adds no second word space
    lastWasWordSpace_ = true;
    prosign_.End();
    host_.DrawDither();
    return LineStart::Space;
}

SourceSymbol TextSymbols::Next() {
    int budget = kSkipBudget;
    while (budget > 0) {
        --budget;
        if (!lineCurrent_ || position_ >= line_.size()) {
            const LineStart start = StartLine(budget);
            if (start == LineStart::End)
                return SourceSymbol{};
            if (start == LineStart::OutOfBudget)
                break;
            if (start == LineStart::Space)
                return Emit(kWordSpace);
            continue;
        }

        const int at = position_;
        qsizetype position = position_;
        const char32_t c = NextCharacter(line_, position);
        position_ = static_cast<int>(position);
        if (StationLines() && at == markIndex_) {
            markIndex_ = -1;
            host_.StationTextBegins(parameterText_);
        }
        int index = host_.LookUp(c);
        if (index == kUnmapped)
            index = kWordSpace;  // an unknown character counts as a word space
        if (prosign_.Take(index))
            continue;
        if (index == kWordSpace) {
            if (StationLines()) {
                lastWasWordSpace_ = false;  // every space is sent
                return Emit(kWordSpace);
            }
            host_.DrawDither();
            if (lastWasWordSpace_)
                continue;
            lastWasWordSpace_ = true;
            return Emit(kWordSpace);
        }
        lastWasWordSpace_ = false;
        return Emit(index);
    }
    // A long run of nothing to send: a word space, so that the window stays responsive.
    lastWasWordSpace_ = true;
    prosign_.End();
    return Emit(kWordSpace);
}

}  // namespace lumbrel
