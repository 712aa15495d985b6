// Sounds played through the exported functions and heard in the disk driver's output: every
// encoding and channel layout arrives at the right length, level and pitch; sounds mix; stopping
// leaves silence; a 17th sound cuts the oldest.
#include "lyrinth.h"
#include "support/CaseName.h"
#include "support/LibraryTest.h"
#include "support/Signals.h"
#include "support/SoundFiles.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace lyrinth::test {
namespace {

constexpr double kOut = DiskOutput::kRate;
constexpr double kToneHz = 440.0;
constexpr float kToneAmplitude = 0.5f;
constexpr double kToneSeconds = 0.25;

struct Encoding {
    const char* name;
    int format;
    int rate;
    double levelTolerance;  // relative; lossy encodings are allowed more
    double lengthTolerance; // relative; block codecs end on a whole block of about 1000 samples
};

const Encoding kEncodings[] = {
    {"Unsigned8Bit", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 11025, 0.02, 0.01},
    {"Int16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 0.01, 0.01},
    {"Int24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 96000, 0.01, 0.01},
    {"Int32", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 32000, 0.01, 0.01},
    {"Float32", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 0.01, 0.01},
    {"Float64", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 22050, 0.01, 0.01},
    {"MuLaw", SF_FORMAT_WAV | SF_FORMAT_ULAW, 8000, 0.03, 0.01},
    {"ALaw", SF_FORMAT_WAV | SF_FORMAT_ALAW, 8000, 0.03, 0.01},
    {"ImaAdpcm", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 22050, 0.05, 0.12},
    {"MsAdpcm", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 22050, 0.05, 0.12},
    {"ExtensibleInt16", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 44100, 0.01, 0.01},
    {"Rf64Float", SF_FORMAT_RF64 | SF_FORMAT_FLOAT, 44100, 0.01, 0.01},
    {"RifxBigEndianInt16", SF_FORMAT_WAV | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG, 16000, 0.01, 0.01},
};

class Encodings : public LibraryTest, public ::testing::WithParamInterface<Encoding> {};

TEST_P(Encodings, ToneArrivesWithItsLengthLevelAndPitch) {
    const Encoding& e = GetParam();
    const auto frames = static_cast<std::size_t>(kToneSeconds * e.rate);
    const std::string path = file("tone.wav");
    writeSoundFile(path, e.format, e.rate, 1,
                   makeSignal(frames, 1, [&](std::size_t, std::size_t f) {
                       return sineAt(kToneHz, e.rate, f, kToneAmplitude);
                   }));
    startWaveEngine();
    ASSERT_EQ(LyrinthPlaySound(path.c_str()), -1);
    const auto expectedFrames = static_cast<std::size_t>(kToneSeconds * kOut);
    ASSERT_TRUE(output_->waitForSound(expectedFrames + 4800));
    const std::vector<float> out = releaseAndRead();

    const auto extent = soundExtent(out);
    ASSERT_TRUE(extent);
    EXPECT_NEAR(static_cast<double>(extent->end - extent->begin),
                static_cast<double>(expectedFrames), e.lengthTolerance * expectedFrames);
    // The middle, clear of the start ramp and the resampler's edges.
    const std::size_t from = extent->begin + expectedFrames / 10;
    const std::size_t to = extent->begin + expectedFrames * 9 / 10;
    const std::vector<float> left = channel(out, 0);
    EXPECT_NEAR(rms(left, from, to), kToneAmplitude / std::sqrt(2.0),
                e.levelTolerance * kToneAmplitude);
    EXPECT_NEAR(frequency(left, from, to, kOut), kToneHz, 0.5);
    EXPECT_EQ(channel(out, 1), left) << "a mono file sounds the same on both sides";
}

INSTANTIATE_TEST_SUITE_P(Wav, Encodings, ::testing::ValuesIn(kEncodings), CaseName());

// Channel layouts, with a steady value on each channel so the mix can be read off directly.
struct Layout {
    const char* name;
    int format;
    std::vector<float> channelValues;
    float left;
    float right;
};

const Layout kLayouts[] = {
    {"Mono", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {0.4f}, 0.4f, 0.4f},
    {"Stereo", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {0.4f, -0.2f}, 0.4f, -0.2f},
    // Left, right, centre: the centre counts half on each side.
    {"ThreeChannels",
     SF_FORMAT_WAV | SF_FORMAT_FLOAT,
     {0.4f, -0.2f, 0.3f},
     0.55f / 1.5f,
     -0.05f / 1.5f},
    // Front left, front right, back left, back right.
    {"Quad", SF_FORMAT_WAVEX | SF_FORMAT_FLOAT, {0.4f, -0.2f, 0.2f, 0.0f}, 0.3f, -0.1f},
    // 5.1: front left, right, centre, LFE (not heard), back left, back right.
    {"FivePointOne",
     SF_FORMAT_WAVEX | SF_FORMAT_FLOAT,
     {0.4f, -0.2f, 0.3f, 0.9f, 0.2f, 0.0f},
     0.75f / 2.5f,
     -0.05f / 2.5f},
};

class Layouts : public LibraryTest, public ::testing::WithParamInterface<Layout> {};

TEST_P(Layouts, ChannelsAreMixedToStereo) {
    const Layout& l = GetParam();
    const std::size_t channels = l.channelValues.size();
    const std::string path = file("layout.wav");
    writeSoundFile(
        path, l.format, 48000, static_cast<int>(channels),
        makeSignal(4800, channels, [&](std::size_t c, std::size_t) { return l.channelValues[c]; }));
    startWaveEngine();
    ASSERT_EQ(LyrinthPlaySound(path.c_str()), -1);
    ASSERT_TRUE(output_->waitForSound(4800 + 480));
    const std::vector<float> out = releaseAndRead();

    const auto extent = soundExtent(out);
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->end - extent->begin, 4800u);
    const std::size_t middle = extent->begin + 2400;
    EXPECT_NEAR(out[2 * middle], l.left, 1e-5);
    EXPECT_NEAR(out[2 * middle + 1], l.right, 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Wav, Layouts, ::testing::ValuesIn(kLayouts), CaseName());

// Whether some frame holds (left, right): sounds start a few buffers apart, as the driver runs
// faster than real time, so the test looks for the moment rather than at a fixed time.
bool reaches(const std::vector<float>& out, float left, float right) {
    for (std::size_t i = 0; i + 1 < out.size(); i += 2) {
        if (std::fabs(out[i] - left) < 1e-5f && std::fabs(out[i + 1] - right) < 1e-5f) {
            return true;
        }
    }
    return false;
}

// Tests whose calls must land while a sound plays: the output runs at about real time.
class Playing : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        output_.emplace(file("output.raw"), DiskOutput::kRealTime);
    }

    // A float WAV at the output rate holding a steady (left, right) value.
    std::string steadySound(const std::string& name, double seconds, float left, float right) {
        const std::string path = file(name);
        writeSoundFile(
            path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 2,
            makeSignal(static_cast<std::size_t>(seconds * kOut), 2,
                       [&](std::size_t c, std::size_t) { return c == 0 ? left : right; }));
        return path;
    }
};

TEST_F(Playing, TwoSoundsAddUp) {
    const std::string a = steadySound("a.wav", 2.0, 0.3f, 0.1f);
    const std::string b = steadySound("b.wav", 2.0, 0.2f, -0.3f);
    startWaveEngine();
    ASSERT_EQ(LyrinthPlaySound(a.c_str()), -1);
    ASSERT_EQ(LyrinthPlaySound(b.c_str()), -1);
    EXPECT_TRUE(output_->waitUntil([](const auto& out) { return reaches(out, 0.5f, -0.2f); }));
}

TEST_F(Playing, StopSoundFadesOutAndLeavesSilence) {
    const std::string path = steadySound("long.wav", 5.0, 0.4f, 0.4f);
    startWaveEngine();
    ASSERT_EQ(LyrinthPlaySound(path.c_str()), -1);
    ASSERT_TRUE(output_->waitForSound(4800));
    ASSERT_EQ(LyrinthStopSound(), -1);
    ASSERT_TRUE(output_->waitForMore(4800));
    const std::vector<float> out = releaseAndRead();

    const auto extent = soundExtent(out);
    ASSERT_TRUE(extent);
    EXPECT_LT(extent->end - extent->begin, 5 * 48000u / 2) << "the sound stopped early";
    EXPECT_GE(out.size() / 2, extent->end + 2400) << "silence follows";
    const std::vector<float> left = channel(out, 0);
    EXPECT_LT(largestStep(left, extent->begin, extent->end + 1), 0.01f) << "no click";
}

TEST_F(Playing, ReleaseFadesSoundsOutBeforeClosingTheOutput) {
    const std::string path = steadySound("long.wav", 5.0, 0.4f, 0.4f);
    startWaveEngine();
    ASSERT_EQ(LyrinthPlaySound(path.c_str()), -1);
    ASSERT_TRUE(output_->waitForSound(4800));
    const std::vector<float> out = releaseAndRead();

    const auto extent = soundExtent(out);
    ASSERT_TRUE(extent);
    EXPECT_LT(extent->end, out.size() / 2) << "the output ends in silence";
    EXPECT_LT(largestStep(channel(out, 0), extent->begin, extent->end + 1), 0.01f) << "no click";
}

TEST_F(Playing, SeventeenthSoundCutsTheOldest) {
    const std::string oldest = steadySound("oldest.wav", 3.0, 0.5f, 0.5f);
    const std::string other = steadySound("other.wav", 3.0, 0.01f, 0.01f);
    startWaveEngine();
    ASSERT_EQ(LyrinthPlaySound(oldest.c_str()), -1);
    for (int i = 0; i < 16; ++i) {
        ASSERT_EQ(LyrinthPlaySound(other.c_str()), -1);
    }
    EXPECT_TRUE(output_->waitUntil([](const auto& out) {
        return reaches(out, 16 * 0.01f, 16 * 0.01f);
    })) << "the 16 newest are heard without the oldest";
    const std::vector<float> out = releaseAndRead();

    const std::vector<float> left = channel(out, 0);
    const float loudest = *std::max_element(left.begin(), left.end());
    EXPECT_LE(loudest, 0.5f + 15 * 0.01f + 1e-5f) << "never more than 16 heard";
    // Up to where the first of the others could end on its own, every change is a ramp.
    const std::size_t othersPlaying =
        std::min(left.size(), soundExtent(out)->begin + 3 * 48000 - 1);
    EXPECT_LT(largestStep(left, 0, othersPlaying), 0.005f) << "the cut does not click";
}

using SampleChime = LibraryTest;

TEST_F(SampleChime, Plays) {
    startWaveEngine();
    ASSERT_EQ(LyrinthPlaySound(LYRINTH_SAMPLES_DIR "/chime.wav"), -1);
    ASSERT_TRUE(output_->waitForSound(48000));
    const std::vector<float> out = releaseAndRead();
    const float loudest = *std::max_element(out.begin(), out.end());
    EXPECT_GT(loudest, 0.5f);
    EXPECT_LE(loudest, 0.85f);
}

} // namespace
} // namespace lyrinth::test
