// The input is lumbrel-render's command line, its arguments separated by NUL bytes.
// Options that parse lie in their ranges and name one kind of render; a refusal says why.
#include <QStringList>

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzSupport.h"
#include "tools/render/RenderOptions.h"

using namespace lumbrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList arguments;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (qsizetype at = 0; at <= bytes.size();) {
        qsizetype end = bytes.indexOf('\0', at);
        if (end < 0)
            end = bytes.size();
        arguments << QString::fromUtf8(bytes.sliced(at, end - at));
        at = end + 1;
    }
    const render::ParseResult parsed = render::ParseRenderOptions(arguments);
    if (!parsed.options) {
        FUZZ_CHECK(!parsed.error.isEmpty());
        return 0;
    }
    const render::RenderOptions& o = *parsed.options;
    if (o.help || o.version)
        return 0;
    FUZZ_CHECK(o.wpm >= 6 && o.wpm <= 200);
    FUZZ_CHECK(o.toneHz >= 100 && o.toneHz <= 5000);
    FUZZ_CHECK(o.effectivePermille >= 1 && o.effectivePermille <= 1000);
    FUZZ_CHECK(o.PauseSeconds() >= 0 && o.PauseSeconds() <= 60);
    FUZZ_CHECK(o.mp3BitRate >= 0 && o.mp3BitRate <= 7);
    FUZZ_CHECK(!o.output.isEmpty());
    const int sessions =
        (o.groups ? 1 : 0) + (o.words ? 1 : 0) + (o.qso ? 1 : 0) + (o.textSession.isEmpty() ? 0 : 1);
    FUZZ_CHECK(sessions <= 1);
    if (o.Session()) {
        FUZZ_CHECK(o.text.isEmpty() && o.textFile.isEmpty());
        FUZZ_CHECK(o.wpm <= 80 && o.toneHz >= 350 && o.toneHz <= 1500);
        FUZZ_CHECK(o.characters >= 2 && o.characters <= 40 && o.minutes >= 1 && o.minutes <= 60);
    } else {
        FUZZ_CHECK(!o.play);
        FUZZ_CHECK(o.text.isEmpty() != o.textFile.isEmpty());
    }
    (void)render::StretchCapNote(o);
    return 0;
}
