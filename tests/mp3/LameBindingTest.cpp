// The bit-rate setting, the recording's configuration, and how the LAME binding maps
// it onto lame_* calls, against a fake LAME that records every call.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "recording/LameEncoder.h"
#include "recording/Mp3Encoder.h"
#include "tests/mp3/Mp3Support.h"

using namespace lumbrel;

namespace {

TEST(Mp3BitRate, SettingIndexGivesSixteenTimesIndexPlusOneAndOutOfRangeARateTheEncoderCanUse) {
    // -1 is what the setup dialog stores for typed text matching no item.
    for (const auto& [setting, kbps] : {std::pair{0, 16},
                                        {1, 32},
                                        {2, 48},
                                        {3, 64},
                                        {4, 80},
                                        {5, 96},
                                        {6, 112},
                                        {7, 128},
                                        {-1, 32},
                                        {-2, 32},
                                        {INT_MIN, 32},
                                        {8, 128},
                                        {INT_MAX, 128}})
        EXPECT_EQ(Mp3BitRateKbps(setting), kbps) << "setting " << setting;
}

TEST(Mp3BitRate, RecordingConfigurationIsTheFixedTableWithTheChosenRate) {
    for (int setting : {-1, 0, 3, 7, 12}) {
        const Mp3EncoderConfig c = RecordingMp3Config(setting);
        EXPECT_EQ(c.bitRateKbps, static_cast<std::uint32_t>(Mp3BitRateKbps(setting)));
        EXPECT_EQ(c.sampleRate, 44100u);
        EXPECT_EQ(c.resampleRate, 0u);
        EXPECT_EQ(c.mode, Mp3Mode::JointStereo);
        EXPECT_EQ(c.maxBitRateKbps, 0u);
        EXPECT_EQ(c.preset, 0);
        EXPECT_EQ(c.mpegVersion, 1u);
        EXPECT_EQ(c.psyModel, 0u);
        EXPECT_EQ(c.emphasis, 0u);
        EXPECT_TRUE(c.privateBit);
        EXPECT_TRUE(c.crc);
        EXPECT_TRUE(c.copyright);
        EXPECT_TRUE(c.original);
        EXPECT_FALSE(c.writeVbrHeader);
        EXPECT_FALSE(c.enableVbr);
        EXPECT_EQ(c.vbrQuality, 0);
        EXPECT_EQ(c.abrBitRate, 0u);
        EXPECT_EQ(c.vbrMethod, -1);
        EXPECT_TRUE(c.noBitReservoir);
        EXPECT_FALSE(c.strictIso);
        EXPECT_EQ(c.quality, 0);
    }
}

// --- A fake LAME ------------------------------------------------------------------

struct Call {
    std::string name;
    int value = 0;
};

struct FakeLame {
    std::vector<Call> calls;
    std::string rejectSetter;  // this setter returns -1
    bool initFails = false;
    int initParamsResult = 0;
    int encodeResult = 417;  // bytes "produced" per encode call
    int flushResult = 209;
    std::vector<std::vector<short>> encodedPcm;
    std::vector<int> encodeFrames;
    std::vector<int> bufferSizes;  // mp3buf_size of encode and flush calls
    int contexts = 0;              // made and not yet closed
    int closes = 0;
    bool wrongContext = false;
};

FakeLame* g_lame = nullptr;
int g_contextStorage = 0;
LameContext* const kContext = reinterpret_cast<LameContext*>(&g_contextStorage);

int Setter(const char* name, LameContext* c, int v) {
    if (c != kContext)
        g_lame->wrongContext = true;
    g_lame->calls.push_back({name, v});
    return g_lame->rejectSetter == name ? -1 : 0;
}

LameFunctions FakeFunctions() {
    LameFunctions f{};
    f.init = []() -> LameContext* {
        g_lame->calls.push_back({"init", 0});
        if (g_lame->initFails)
            return nullptr;
        ++g_lame->contexts;
        return kContext;
    };
    // Every setter records its name and value.
#define LUMBREL_FAKE_SETTER(name)              \
    f.set_##name = [](LameContext* c, int v) { \
        return Setter(#name, c, v);            \
    }
    LUMBREL_FAKE_SETTER(in_samplerate);
    LUMBREL_FAKE_SETTER(out_samplerate);
    LUMBREL_FAKE_SETTER(num_channels);
    LUMBREL_FAKE_SETTER(mode);
    LUMBREL_FAKE_SETTER(brate);
    LUMBREL_FAKE_SETTER(VBR);
    LUMBREL_FAKE_SETTER(quality);
    LUMBREL_FAKE_SETTER(emphasis);
    LUMBREL_FAKE_SETTER(error_protection);
    LUMBREL_FAKE_SETTER(extension);
    LUMBREL_FAKE_SETTER(copyright);
    LUMBREL_FAKE_SETTER(original);
    LUMBREL_FAKE_SETTER(strict_ISO);
    LUMBREL_FAKE_SETTER(disable_reservoir);
    LUMBREL_FAKE_SETTER(bWriteVbrTag);
#undef LUMBREL_FAKE_SETTER
    f.init_params = [](LameContext* c) {
        Setter("init_params", c, 0);
        return g_lame->initParamsResult;
    };
    f.encode_buffer_interleaved = [](LameContext* c, short* pcm, int frames, unsigned char* out, int size) {
        Setter("encode", c, frames);
        g_lame->encodedPcm.emplace_back(pcm, pcm + 2 * frames);
        g_lame->encodeFrames.push_back(frames);
        g_lame->bufferSizes.push_back(size);
        if (g_lame->encodeResult > 0)
            std::fill(out, out + g_lame->encodeResult, static_cast<unsigned char>(0xE5));
        return g_lame->encodeResult;
    };
    f.encode_flush = [](LameContext* c, unsigned char* out, int size) {
        Setter("flush", c, 0);
        g_lame->bufferSizes.push_back(size);
        if (g_lame->flushResult > 0)
            std::fill(out, out + g_lame->flushResult, static_cast<unsigned char>(0xF1));
        return g_lame->flushResult;
    };
    f.close = [](LameContext* c) {
        Setter("close", c, 0);
        --g_lame->contexts;
        ++g_lame->closes;
        return 0;
    };
    return f;
}

class LameBinding : public ::testing::Test {
protected:
    void SetUp() override { g_lame = &lame; }
    void TearDown() override { g_lame = nullptr; }

    std::map<std::string, int> Setters() const {
        std::map<std::string, int> values;
        for (const Call& call : lame.calls)
            if (call.name != "init" && call.name != "init_params")
                values[call.name] = call.value;
        return values;
    }

    FakeLame lame;
    std::uint32_t chunk = 0;
    std::uint32_t outBytes = 0;
    Mp3StreamHandle handle = 0;
};

TEST_F(LameBinding, RecordingConfigurationReachesLameAsConstantBitRateJointStereoWithAllBitsSet) {
    for (int setting : {-1, 0, 7}) {
        lame = FakeLame{};
        LameEncoder encoder(FakeFunctions());
        ASSERT_EQ(encoder.InitStream(RecordingMp3Config(setting), &chunk, &outBytes, &handle), Mp3Error::Ok);
        const std::map<std::string, int> expected = {
            {"in_samplerate", 44100},
            {"num_channels", 2},
            {"mode", 1},  // JOINT_STEREO
            {"VBR", 0},   // vbr_off: constant bit rate
            {"brate", Mp3BitRateKbps(setting)},
            {"quality", 5},  // the normal-quality preset
            {"emphasis", 0},
            {"error_protection", 1},  // CRC
            {"extension", 1},         // private bit
            {"copyright", 1},
            {"original", 1},
            {"strict_ISO", 0},
            {"disable_reservoir", 1},
            {"bWriteVbrTag", 0},  // no VBR header frame
        };
        EXPECT_EQ(Setters(), expected) << "setting " << setting;  // out_samplerate untouched: LAME chooses
        ASSERT_GE(lame.calls.size(), 2u);
        EXPECT_EQ(lame.calls.front().name, "init");
        EXPECT_EQ(lame.calls.back().name, "init_params");  // after every setter
        EXPECT_EQ(chunk, 2304u);
        EXPECT_EQ(outBytes, 8640u);
        EXPECT_NE(handle, 0u);
        EXPECT_FALSE(lame.wrongContext);
    }
}

TEST_F(LameBinding, ResampleRateAndStereoModeAreHandedOn) {
    LameEncoder encoder(FakeFunctions());
    Mp3EncoderConfig c = RecordingMp3Config(1);
    c.mode = Mp3Mode::Stereo;
    c.resampleRate = 22050;
    ASSERT_EQ(encoder.InitStream(c, &chunk, &outBytes, &handle), Mp3Error::Ok);
    EXPECT_EQ(Setters().at("out_samplerate"), 22050);
    EXPECT_EQ(Setters().at("mode"), 0);
}

TEST_F(LameBinding, CompactConfigurationIsMonoAtTheRateLameWritesWithFastQuality) {
    LameEncoder encoder(FakeFunctions());
    ASSERT_EQ(encoder.InitStream(RecordingMp3Config(0), &chunk, &outBytes, &handle), Mp3Error::Ok);
    std::map<std::string, int> expected = Setters();  // the header bits as a recording's
    // 11025 Hz up to 4000 Hz and 64 kbit/s (the most LAME writes there), else 22050 Hz.
    for (const auto& [setting, toneHz, rate] :
         {std::tuple{0, 750, 11025}, {3, 4000, 11025}, {0, 4001, 22050}, {4, 750, 22050}}) {
        lame = FakeLame{};
        ASSERT_EQ(encoder.InitStream(CompactMp3Config(setting, toneHz), &chunk, &outBytes, &handle),
                  Mp3Error::Ok);
        for (const auto& [name, value] : std::map<std::string, int>{{"in_samplerate", rate},
                                                                    {"out_samplerate", rate},
                                                                    {"num_channels", 1},
                                                                    {"mode", 3},
                                                                    {"quality", 7},
                                                                    {"brate", Mp3BitRateKbps(setting)}})
            expected.insert_or_assign(name, value);
        EXPECT_EQ(Setters(), expected) << toneHz << " Hz, setting " << setting;
        EXPECT_EQ(chunk, 1152u);  // values, one per frame
    }
}

TEST_F(LameBinding, RefusedConfigurationsOpenNoStreamAndLeakNoContext) {
    LameEncoder encoder(FakeFunctions());
    // What the binding cannot honour is refused before LAME is touched.
    std::vector<Mp3EncoderConfig> unsupported(6, RecordingMp3Config(1));
    unsupported[0].quality = 10;
    unsupported[1].mode = Mp3Mode::DualChannel;
    unsupported[2].enableVbr = true;
    unsupported[3].bitRateKbps = 0;
    unsupported[4].sampleRate = 0;
    unsupported[5].preset = 3;
    for (const Mp3EncoderConfig& c : unsupported)
        EXPECT_EQ(encoder.InitStream(c, &chunk, &outBytes, &handle), Mp3Error::InvalidFormatParameters);
    EXPECT_TRUE(lame.calls.empty());

    // LAME refusing a value, or its parameters as a whole, closes the context it made.
    lame.rejectSetter = "brate";
    EXPECT_EQ(encoder.InitStream(RecordingMp3Config(1), &chunk, &outBytes, &handle),
              Mp3Error::InvalidFormatParameters);
    EXPECT_EQ(lame.contexts, 0);
    lame.rejectSetter.clear();
    lame.initParamsResult = -1;
    EXPECT_EQ(encoder.InitStream(RecordingMp3Config(1), &chunk, &outBytes, &handle),
              Mp3Error::InvalidFormatParameters);
    EXPECT_EQ(lame.contexts, 0);
    EXPECT_EQ(lame.closes, 2);

    lame.initFails = true;
    EXPECT_EQ(encoder.InitStream(RecordingMp3Config(1), &chunk, &outBytes, &handle), Mp3Error::NoMoreHandles);
    EXPECT_EQ(lame.closes, 2);
}

TEST_F(LameBinding, ChunksAreHandedToLameAsFramesOfInterleavedValues) {
    LameEncoder encoder(FakeFunctions());
    ASSERT_EQ(encoder.InitStream(RecordingMp3Config(1), &chunk, &outBytes, &handle), Mp3Error::Ok);
    std::vector<std::uint8_t> out(outBytes);
    std::vector<std::int16_t> values(2304);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::int16_t>(i * 37 - 20000);

    std::uint32_t produced = 0;
    ASSERT_EQ(encoder.EncodeChunk(handle, 2304, values.data(), out.data(), &produced), Mp3Error::Ok);
    EXPECT_EQ(produced, 417u);
    ASSERT_EQ(lame.encodeFrames, std::vector<int>{1152});
    EXPECT_EQ(std::vector<short>(values.begin(), values.end()), lame.encodedPcm[0]);
    EXPECT_EQ(lame.bufferSizes, std::vector<int>{8640});

    // A lone last value has no partner channel: whole frames only.
    ASSERT_EQ(encoder.EncodeChunk(handle, 7, values.data(), out.data(), &produced), Mp3Error::Ok);
    EXPECT_EQ(lame.encodeFrames.back(), 3);

    // More than a chunk would overrun the output area: refused, LAME not called.
    produced = 99;
    EXPECT_EQ(encoder.EncodeChunk(handle, 2306, values.data(), out.data(), &produced),
              Mp3Error::BufferTooSmall);
    EXPECT_EQ(produced, 0u);
    EXPECT_EQ(lame.encodeFrames.size(), 2u);

    // LAME's own failure is a failure with nothing produced.
    lame.encodeResult = -1;
    produced = 99;
    EXPECT_EQ(encoder.EncodeChunk(handle, 100, values.data(), out.data(), &produced),
              Mp3Error::BufferTooSmall);
    EXPECT_EQ(produced, 0u);
    lame.encodeResult = -3;
    EXPECT_NE(encoder.EncodeChunk(handle, 100, values.data(), out.data(), &produced), Mp3Error::Ok);
    EXPECT_EQ(produced, 0u);
}

TEST_F(LameBinding, FlushAndCloseEndTheStreamAndInvalidateItsHandle) {
    {
        LameEncoder encoder(FakeFunctions());
        ASSERT_EQ(encoder.InitStream(RecordingMp3Config(1), &chunk, &outBytes, &handle), Mp3Error::Ok);
        std::vector<std::uint8_t> out(outBytes);
        std::uint32_t produced = 0;
        ASSERT_EQ(encoder.DeinitStream(handle, out.data(), &produced), Mp3Error::Ok);
        EXPECT_EQ(produced, 209u);
        EXPECT_EQ(lame.bufferSizes, std::vector<int>{8640});
        EXPECT_EQ(encoder.CloseStream(handle), Mp3Error::Ok);
        EXPECT_EQ(lame.contexts, 0);

        std::int16_t values[4] = {};
        EXPECT_EQ(encoder.EncodeChunk(handle, 4, values, out.data(), &produced), Mp3Error::InvalidHandle);
        EXPECT_EQ(encoder.DeinitStream(handle, out.data(), &produced), Mp3Error::InvalidHandle);
        EXPECT_EQ(encoder.CloseStream(handle), Mp3Error::InvalidHandle);
        EXPECT_EQ(encoder.CloseStream(0), Mp3Error::InvalidHandle);
        EXPECT_EQ(lame.closes, 1);

        // A stream left open is closed with the encoder.
        ASSERT_EQ(encoder.InitStream(RecordingMp3Config(1), &chunk, &outBytes, &handle), Mp3Error::Ok);
        EXPECT_EQ(lame.contexts, 1);
    }
    EXPECT_EQ(lame.contexts, 0);
    EXPECT_EQ(lame.closes, 2);
}

}  // namespace
