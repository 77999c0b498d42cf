#pragma once
// Parameter lines: "text,speed,weighting,drift,chirp", one station per line.
//
//   CQ TEST DE QA1AA,28,0,1,0     28 WPM, drift on
//   QB2BB,0,1,0,1                 a random speed near the selected one, weighting, chirp
//
// A field's value is the number formed by its leading decimal digits (leading spaces
// and a sign allowed), 0 when there are none. The text after the last comma counts as
// a field only when it is not empty. Only a line with exactly four fields after the
// text sets the station's parameters; any other line is sent with the settings as
// they are.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

#include "morse/MorseCode.h"

namespace lumbrel {

class RandomNumber;

// The speeds a parameter line may set; a speed outside is brought to the nearer end.
inline constexpr int kMinStationWpm = MorseCode::kSlowestWpm;
inline constexpr int kMaxStationWpm = 100;
// The random pause before a station: 0 to kMaxLeadingSpaces spaces.
inline constexpr int kMaxLeadingSpaces = 9;

struct ParameterLine {
    QByteArray stored;            // what is sent: leadingSpaces spaces, then the text (field 0);
                                  // the whole line unchanged when it holds no comma
    int markIndex = -1;           // index in stored of the text's first character; -1 when there
                                  // is no text or no comma
    bool hasParameters = false;   // exactly four fields after the text
    std::array<int, 4> values{};  // fields 1 to 4 when hasParameters
};

// The value of one field; values beyond the int range are held at its ends.
int ParameterFieldValue(QByteArrayView field);

// Splits a line. leadingSpaces (0 to kMaxLeadingSpaces) is the random pause, used only
// when the line holds a comma.
ParameterLine ParseParameterLine(QByteArrayView line, int leadingSpaces);

// The speed for field 1: v itself within kMinStationWpm..kMaxStationWpm, brought into
// that range otherwise; for v = 0 a random speed near the selected one, with s the
// selected index of the speed control (15 + 5 s WPM): Next(10) + 5 s + 10 for s of 0
// or 1, else Next(20) + 5 s + 5.
int StationSpeed(int v, int selectedIndex, RandomNumber& random);

// The log line's parameter text: "%d, %d, %d, %d, %s".
QString ParameterText(int wpm, int pitch, int drift, int chirp, const QString& text);
// The log line: "%5d %s", hundredths of a second since the file began.
QString ParameterLogLine(unsigned hundredths, const QString& parameterText);

}  // namespace lumbrel
