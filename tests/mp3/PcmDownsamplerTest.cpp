// Downsampling for compact MP3 files: a tone in the band keeps its level, one that would
// fold back into the band is gone, and the result does not depend on the buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "recording/PcmDownsampler.h"
#include "tests/mp3/Mp3Support.h"

namespace {

TEST(PcmDownsampler, KeepsTheToneBandAndRemovesWhatWouldFoldIntoItWhateverTheBuffers) {
    // factor, tone, output level / input level
    for (const auto& [factor, hz, gain] : {std::tuple{4, 750, 1},
                                           {4, 4000, 1},
                                           {4, 8000, 0},
                                           {4, 19000, 0},
                                           {2, 5000, 1},
                                           {2, 19000, 0},
                                           {1, 750, 1}}) {
        // A second of tone at 16000 in bursts of 0.1 s, each followed by as much silence.
        std::vector<std::int16_t> audio = lumbrel::test::Tone(44100, hz);
        for (std::size_t f = 4410; f < 44100; f += 2 * 4410)
            std::fill_n(audio.begin() + static_cast<std::ptrdiff_t>(2 * f), 2 * 4410, 0);
        std::vector<std::int16_t> whole, pieces;
        lumbrel::PcmDownsampler once(factor), piecewise(factor);
        once.Process(audio.data(), 44100, whole);
        for (std::size_t f = 0; f < 44100; f += 997)
            piecewise.Process(audio.data() + 2 * f, std::min<std::size_t>(997, 44100 - f), pieces);
        once.Flush(whole);
        piecewise.Flush(pieces);
        EXPECT_EQ(whole.size(), static_cast<std::size_t>(44100 / factor)) << hz << " Hz / " << factor;
        EXPECT_EQ(whole, pieces) << hz << " Hz / " << factor;
        int peak = 0;  // inside the bursts, 10 ms away from their abrupt edges
        for (std::size_t i = 0; i < whole.size(); ++i)
            if (const std::size_t f = i * static_cast<std::size_t>(factor) % 8820; f >= 441 && f < 3969)
                peak = std::max(peak, std::abs(static_cast<int>(whole[i])));
        EXPECT_NEAR(peak, 16000 * gain, 320) << hz << " Hz / " << factor;  // 2 %: flat band, 34 dB down
    }
}

}  // namespace
