// Music played through the exported functions with the system's GM SoundFont and heard in the
// disk driver's output: it starts after LyrinthPlayMusic and stops at LyrinthStopMusic; the tick
// follows the file's tempo and the speed; the loop sets the looped flag; pan, volume and fades
// act on the sound; settings made before a song hold for the songs after it.
//
// Where an answer is compared with the output, it is read together with the frames written at
// the time (DiskOutput::answerAt): it then describes the output up to one buffer past them.
#include "lyrinth.h"
#include "support/CaseName.h"
#include "support/LibraryTest.h"
#include "support/Signals.h"
#include "support/SoundFiles.h"

#include "MidiTrackWriter.h"
#include "SteadySong.h"

#include <cmath>
#include <functional>
#include <string>

namespace lyrinth::test {
namespace {

using midiwriter::MidiTrackWriter;
using midiwriter::SteadySong;

constexpr std::size_t kRate = DiskOutput::kRate;
constexpr std::size_t kBuffer = DiskOutput::kBufferFrames;
constexpr double kFramesPerTick = static_cast<double>(kRate) / SteadySong::kTicksPerSecond;

std::size_t seconds(double s) {
    return static_cast<std::size_t>(std::llround(s * static_cast<double>(kRate)));
}

class PlayMusic : public LibraryTest {
protected:
    // A format 0 song in this test's folder, its track filled by `write`.
    std::string song(const char* name, const std::function<void(MidiTrackWriter&)>& write) {
        MidiTrackWriter track;
        write(track);
        return writeBytesIn(folder_, name, SteadySong::file(track));
    }

    std::string steadySong() { return song("steady.mid", SteadySong::addMinute); }

    void play(const std::string& path) { ASSERT_EQ(LyrinthPlayMusic(path.c_str()), -1); }
};

TEST_F(PlayMusic, SoundStartsAfterPlayAndStopsAtStop) {
    startMidiEngine();
    ASSERT_TRUE(output_->waitForMore(seconds(0.1)));
    const std::size_t beforePlay = output_->framesWritten();
    play(steadySong());
    const std::size_t afterPlay = output_->framesWritten();
    EXPECT_EQ(LyrinthGetMusicPlaying(), -1);
    ASSERT_TRUE(output_->waitForSound(seconds(0.5)));
    const std::size_t beforeStop = output_->answerAt(LyrinthStopMusic).frames;
    EXPECT_EQ(LyrinthGetMusicPlaying(), 0);
    EXPECT_EQ(LyrinthGetMidiTick(), 0);
    ASSERT_TRUE(output_->waitForMore(seconds(0.5)));
    const std::vector<float> out = releaseAndRead();

    const auto extent = soundExtent(out);
    ASSERT_TRUE(extent);
    EXPECT_GE(extent->begin, beforePlay) << "nothing sounds before the music is played";
    EXPECT_LE(extent->begin, afterPlay + 2 * kBuffer) << "the first frames sound at once";
    // The stop ramps out within a few milliseconds of the next buffer, reverb and all.
    EXPECT_GE(extent->end, beforeStop);
    EXPECT_LE(extent->end, beforeStop + 2 * kBuffer + seconds(0.01));
    const std::vector<float> left = channel(out, 0);
    EXPECT_GT(rms(left, extent->begin + seconds(0.1), beforeStop), 0.01);
}

struct SpeedCase {
    const char* name;
    int percent;
    double ticksPerSecond; // of the song's 960 at 100 %
};

const SpeedCase kSpeeds[] = {
    {"AsWritten", 100, 960.0},
    {"TwiceAsFast", 200, 1920.0},
    {"Half", 50, 480.0},
    {"ClampedTo1000", 5000, 9600.0},
};

class MusicSpeed : public PlayMusic, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(MusicSpeed, TickAdvancesAtTheFilesTempoTimesTheSpeed) {
    startMidiEngine();
    ASSERT_EQ(LyrinthSetMusicSpeed(GetParam().percent), -1); // before the song: holds for it
    play(steadySong());
    ASSERT_TRUE(output_->waitForSound(seconds(0.2)));
    const DiskOutput::Answer first = output_->answerAt(LyrinthGetMidiTick);
    ASSERT_TRUE(output_->waitForMore(seconds(2.0)));
    const DiskOutput::Answer second = output_->answerAt(LyrinthGetMidiTick);

    const double frames = static_cast<double>(second.frames - first.frames);
    const double expected = frames / static_cast<double>(kRate) * GetParam().ticksPerSecond;
    // Each answer may be ahead of its frame count by what SDL has rendered but not yet written:
    // up to two buffers under load (one being written, the next already filled).
    const double slack =
        2.0 * static_cast<double>(kBuffer) / static_cast<double>(kRate) * GetParam().ticksPerSecond;
    EXPECT_NEAR(second.value - first.value, expected, slack + 2.0);
}

INSTANTIATE_TEST_SUITE_P(Speeds, MusicSpeed, ::testing::ValuesIn(kSpeeds), CaseName());

TEST_F(PlayMusic, LoopedTurnsOnAfterTheSongsEndAndTheTickGoesBackToTheLoopStart) {
    constexpr std::uint32_t kLoopStart = 240;
    constexpr std::uint32_t kEnd = 480; // half a second
    startMidiEngine();
    const std::size_t beforePlay = output_->framesWritten();
    play(song("loop.mid", [](MidiTrackWriter& t) {
        t.marker(kLoopStart, "loopStart");
        SteadySong::addChord(t, 0, kEnd - kLoopStart);
        t.endOfTrack(0);
    }));
    const auto endFrame = beforePlay + static_cast<std::size_t>(kEnd * kFramesPerTick);
    const bool looped = output_->askUntil(
        LyrinthGetMusicLooping, [](int value) { return value == -1; },
        [&](const DiskOutput::Answer& a) {
            if (a.value == -1) {
                EXPECT_GE(a.frames + 2 * kBuffer, endFrame) << "looped before the song's end";
            }
        });
    ASSERT_TRUE(looped);
    const int tick = LyrinthGetMidiTick();
    EXPECT_GE(tick, static_cast<int>(kLoopStart));
    EXPECT_LT(tick, static_cast<int>(kEnd));
    ASSERT_TRUE(output_->waitForMore(seconds(1.0)));
    EXPECT_EQ(LyrinthGetMusicLooping(), -1);
    EXPECT_EQ(LyrinthGetMusicPlaying(), -1) << "loops without end";
}

// A setting made before any music is played applies to it, and holds for the next song.
struct SettingCase {
    const char* name;
    int32_t (*set)(int32_t);
    int32_t value;
    bool leftHeard;
    bool rightHeard;
};

const SettingCase kSettings[] = {
    {"PanFullLeftSilencesTheRight", LyrinthSetMusicPanpot, -100, true, false},
    {"PanFullRightSilencesTheLeft", LyrinthSetMusicPanpot, 100, false, true},
    {"PanClampedPastFullLeft", LyrinthSetMusicPanpot, -1000, true, false},
    {"VolumeZeroIsSilence", LyrinthSetMusicVolume, 0, false, false},
    {"VolumeClampedBelowZero", LyrinthSetMusicVolume, -5, false, false},
};

class MusicSetting : public PlayMusic, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(MusicSetting, AppliesToTheNextSongAndHoldsForTheOneAfter) {
    const SettingCase& c = GetParam();
    startMidiEngine();
    ASSERT_EQ(c.set(c.value), -1);
    const std::string first = steadySong();
    const std::string second = song("second.mid", [](MidiTrackWriter& t) {
        SteadySong::addChord(t, 0, 9600);
        t.endOfTrack(0);
    });
    for (const std::string& path : {first, second}) {
        play(path);
        ASSERT_TRUE(output_->waitForMore(seconds(0.5)));
        EXPECT_EQ(LyrinthGetMusicPlaying(), -1);
        EXPECT_GT(LyrinthGetMidiTick(), 0) << "the music runs, heard or not";
    }
    const std::vector<float> out = releaseAndRead();
    // The level while anything sounds; silenced means silent, not merely quiet.
    const auto extent = soundExtent(out);
    const auto level = [&](std::size_t side) {
        return extent ? rms(channel(out, side), extent->begin, extent->end) : 0.0;
    };
    EXPECT_EQ(level(0) > 0.01, c.leftHeard) << level(0);
    EXPECT_EQ(level(1) > 0.01, c.rightHeard) << level(1);
    EXPECT_EQ(level(0) == 0.0, !c.leftHeard) << level(0);
    EXPECT_EQ(level(1) == 0.0, !c.rightHeard) << level(1);
}

INSTANTIATE_TEST_SUITE_P(Settings, MusicSetting, ::testing::ValuesIn(kSettings), CaseName());

TEST_F(PlayMusic, FadeOutEndsThePlayingStateOnTime) {
    constexpr int kFadeMs = 300;
    const std::size_t fade = seconds(kFadeMs / 1000.0);
    startMidiEngine();
    play(steadySong());
    ASSERT_TRUE(output_->waitForSound(seconds(0.3)));
    const DiskOutput::Answer fading =
        output_->answerAt([] { return LyrinthFadeOutMusic(kFadeMs); });
    ASSERT_EQ(fading.value, -1);
    // The fade starts within a buffer or two of the call and ends `fade` frames later.
    const std::size_t earliestEnd = fading.frames + fade;
    const std::size_t latestEnd = fading.frames + 2 * kBuffer + fade;
    const bool ended = output_->askUntil(
        LyrinthGetMusicPlaying, [](int value) { return value == 0; },
        [&](const DiskOutput::Answer& a) {
            if (a.value == -1) {
                EXPECT_LT(a.frames, latestEnd) << "still playing after the fade";
            } else {
                EXPECT_GE(a.frames + 2 * kBuffer, earliestEnd) << "ended before the fade did";
            }
        });
    ASSERT_TRUE(ended);
    EXPECT_EQ(LyrinthGetMidiTick(), 0);
    EXPECT_EQ(LyrinthFadeOutMusic(100), 0) << "no music plays";
    ASSERT_TRUE(output_->waitForMore(seconds(0.2)));
    const std::vector<float> out = releaseAndRead();

    const std::vector<float> left = channel(out, 0);
    const std::size_t from = fading.frames + 2 * kBuffer;
    EXPECT_GT(rms(left, from, from + fade / 4), 4 * rms(left, from + fade / 2, earliestEnd));
    const auto extent = soundExtent(out);
    ASSERT_TRUE(extent);
    EXPECT_LE(extent->end, latestEnd) << "silent once the fade is over";
}

TEST_F(PlayMusic, FadeInBeforePlayRisesToTheVolume) {
    startMidiEngine();
    ASSERT_EQ(LyrinthFadeInMusic(1000), -1);
    play(steadySong());
    ASSERT_TRUE(output_->waitForSound(seconds(1.5)));
    const std::vector<float> out = releaseAndRead();

    const auto extent = soundExtent(out);
    ASSERT_TRUE(extent);
    const std::vector<float> left = channel(out, 0);
    const auto level = [&](double from, double to) {
        return rms(left, extent->begin + seconds(from), extent->begin + seconds(to));
    };
    EXPECT_LT(level(0.2, 0.3), level(0.5, 0.6));
    EXPECT_LT(level(0.5, 0.6), level(0.85, 0.95));
    EXPECT_LT(level(0.85, 0.95), level(1.2, 1.3));
    EXPECT_GT(level(1.2, 1.3), 10 * level(0.2, 0.3));
}

TEST_F(PlayMusic, TheSampleSongPlaysAndLoops) {
    startMidiEngine();
    play(LYRINTH_SAMPLES_DIR "/song.mid");
    ASSERT_TRUE(output_->waitForSound(seconds(1.0)));
    ASSERT_TRUE(output_->askUntil(
        LyrinthGetMusicLooping, [](int value) { return value == -1; },
        [](const DiskOutput::Answer&) {}));
    const std::vector<float> out = releaseAndRead();
    const auto extent = soundExtent(out);
    ASSERT_TRUE(extent);
    EXPECT_GT(rms(channel(out, 0), extent->begin, extent->end), 0.02);
}

} // namespace
} // namespace lyrinth::test
