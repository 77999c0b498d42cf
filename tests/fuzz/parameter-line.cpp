// The input is one parameter line after a byte that picks the random pause (as a
// signed number, so that pauses outside 0..9 are tried too). The parsed line must
// agree with a plain reading of its commas and fields, and the station's speed and log
// line are made from it as the trainer makes them.
#include <cstddef>
#include <cstdint>

#include "morse/Random.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/fuzz/ParameterLineCheck.h"
#include "text/EntryList.h"
#include "text/ParameterLine.h"

using namespace lumbrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const int pause = static_cast<signed char>(data[0]);
    const QByteArrayView line(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    RandomNumber random(fuzz::InputHash(line));
    fuzz::CheckParameterLine(line, pause, random);

    // The log line as the trainer writes it when the station starts: the station's text
    // comes through whole, whatever it holds ("%1" included).
    const ParameterLine parsed = ParseParameterLine(line, pause);
    if (parsed.hasParameters) {
        const int wpm = StationSpeed(parsed.values[0], 2, random);
        const QString text = QString::fromUtf8(TrimEntry(parsed.stored));
        const QString parameters = ParameterText(wpm, 750, parsed.values[2], parsed.values[3], text);
        FUZZ_CHECK(parameters.endsWith(text));
        const QString log = ParameterLogLine(fuzz::InputHash(line), parameters);
        FUZZ_CHECK(log.endsWith(QLatin1Char(' ') + parameters));
    }
    return 0;
}
