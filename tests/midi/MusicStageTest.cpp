// The music stage rendered straight into buffers, no device, with the system's GM SoundFont:
// timing, speed, tempo, loops, pan, volume, fades, stopping, bad files.
#include "music/MusicStage.h"

#include "music/MusicLevels.h"

#include "MidiFileWriter.h"
#include "SteadySong.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <functional>
#include <ostream>
#include <thread>
#include <vector>

using lyrinth::MusicStage;
using midiwriter::MidiFileWriter;
using midiwriter::MidiTrackWriter;
using midiwriter::SteadySong;

namespace {

constexpr double kRate = 48000.0;
constexpr std::size_t kBlock = 480;        // 10 ms
constexpr std::size_t kFramesPerTick = 50; // 48000 / 960

std::size_t seconds(double s) {
    return static_cast<std::size_t>(std::llround(s * kRate));
}

class MusicStageTest : public testing::Test {
protected:
    void SetUp() override {
        std::string why;
        stage = MusicStage::create(kRate, why);
        ASSERT_TRUE(stage) << why;
    }

    void TearDown() override {
        for (const auto& path : files) {
            std::filesystem::remove(path);
        }
    }

    // A format 0 file with `write` filling its track, saved under a fresh name.
    std::filesystem::path song(const std::function<void(MidiTrackWriter&)>& write) {
        MidiTrackWriter track;
        write(track);
        return save(SteadySong::file(track));
    }

    std::filesystem::path save(const std::vector<std::uint8_t>& bytes) {
        auto path = std::filesystem::temp_directory_path() /
                    ("lyrinth-music-" + std::to_string(files.size()) + "-" +
                     std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".mid");
        EXPECT_TRUE(MidiFileWriter::save(path, bytes));
        files.push_back(path);
        return path;
    }

    void play(const std::filesystem::path& path) {
        std::string why;
        ASSERT_TRUE(stage->play(path, why)) << why;
    }

    // Renders `frames` frames in blocks, as a mixer would, into a zeroed buffer.
    std::vector<float> render(std::size_t frames) {
        std::vector<float> out(2 * frames, 0.0f);
        for (std::size_t done = 0; done < frames; done += kBlock) {
            stage->renderAdd(out.data() + 2 * done, std::min(kBlock, frames - done));
        }
        return out;
    }

    std::unique_ptr<MusicStage> stage;
    std::vector<std::filesystem::path> files;
};

float peak(const std::vector<float>& out, std::size_t channel, std::size_t from = 0) {
    float p = 0.0f;
    for (std::size_t i = 2 * from + channel; i < out.size(); i += 2) {
        p = std::max(p, std::abs(out[i]));
    }
    return p;
}

double rms(const std::vector<float>& out, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = 2 * from; i < 2 * to; ++i) {
        sum += static_cast<double>(out[i]) * out[i];
    }
    return std::sqrt(sum / static_cast<double>(2 * (to - from)));
}

// The first frame above -90 dB: above what is left of an earlier song's reverb.
std::size_t firstSound(const std::vector<float>& out) {
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (std::abs(out[i]) > 3e-5f) {
            return i / 2;
        }
    }
    return out.size() / 2;
}

TEST_F(MusicStageTest, SoundStartsAtTheFirstNotesFrame) {
    for (const std::uint32_t noteTick : {480u, 490u, 1001u}) {
        play(song([&](MidiTrackWriter& t) {
            SteadySong::addChord(t, noteTick, 960);
            t.endOfTrack(0);
        }));
        const auto out = render(seconds(1.5));
        const auto expected = static_cast<long>(noteTick * kFramesPerTick);
        const auto onset = static_cast<long>(firstSound(out));
        // FluidSynth starts notes on its 64-frame block boundaries, so within half a block;
        // the organ's attack takes a few dozen frames more to reach -90 dB.
        EXPECT_GE(onset, expected - 32) << noteTick;
        EXPECT_LE(onset, expected + 32 + 40) << noteTick;
        stage->stop();
        render(seconds(0.5));
    }
}

TEST_F(MusicStageTest, StopSilencesWithinARampAndEndsPlaying) {
    play(song(SteadySong::addMinute));
    EXPECT_TRUE(stage->playing());
    const auto before = render(seconds(0.5));
    EXPECT_GT(peak(before, 0, seconds(0.4)), 0.01f);
    stage->stop();
    EXPECT_FALSE(stage->playing());
    EXPECT_EQ(stage->tick(), 0u);
    const auto after = render(seconds(0.2));
    EXPECT_GT(peak(after, 0), 0.0f) << "the stop is a ramp, not a cut";
    EXPECT_EQ(peak(after, 0, seconds(0.01)), 0.0f);
    EXPECT_EQ(peak(after, 1, seconds(0.01)), 0.0f);
}

TEST_F(MusicStageTest, SynthesizerIsNotRunForSilence) {
    render(kBlock);
    EXPECT_FALSE(stage->synthesizerRan());
    play(song(SteadySong::addMinute));
    render(seconds(0.3));
    EXPECT_TRUE(stage->synthesizerRan());
    stage->stop();
    render(seconds(0.1));
    EXPECT_TRUE(stage->synthesizerRan()) << "the reverb dies away first";
    render(seconds(5));
    EXPECT_FALSE(stage->synthesizerRan());
}

struct SpeedCase {
    int percent;
    double ticksPerSecond;
};

class MusicStageSpeed : public MusicStageTest, public testing::WithParamInterface<SpeedCase> {};

TEST_P(MusicStageSpeed, TickAdvancesAtTheFilesTempoTimesTheSpeed) {
    stage->setSpeed(GetParam().percent); // holds for music started later
    play(song(SteadySong::addMinute));
    render(seconds(1.0));
    EXPECT_NEAR(stage->tick(), GetParam().ticksPerSecond, 2.0);
    render(seconds(1.0));
    EXPECT_NEAR(stage->tick(), 2 * GetParam().ticksPerSecond, 2.0);
}

INSTANTIATE_TEST_SUITE_P(Speeds, MusicStageSpeed,
                         testing::Values(SpeedCase{100, 960}, SpeedCase{200, 1920},
                                         SpeedCase{50, 480}, SpeedCase{5, 96},
                                         SpeedCase{2000, 9600} /* clamped to 1000 */),
                         [](const auto& param) { return std::to_string(param.param.percent); });

TEST_F(MusicStageTest, TempoChangeMidFileChangesTheTickRate) {
    play(song([](MidiTrackWriter& t) {
        t.tempo(0, 500000);
        t.tempo(960, 250000); // after one second, twice as fast
        t.noteOn(0, 0, 60, 1);
        t.noteOff(20000, 0, 60);
        t.endOfTrack(0);
    }));
    render(seconds(1.0));
    EXPECT_NEAR(stage->tick(), 960, 2.0);
    render(seconds(1.0));
    EXPECT_NEAR(stage->tick(), 960 + 1920, 2.0);
}

struct LoopCase {
    const char* name;
    std::function<void(MidiTrackWriter&)> write; // a song of 1920 ticks (2 s)
    std::uint32_t loopStart;
    std::uint32_t loopEnd;
};

void PrintTo(const LoopCase& c, std::ostream* os) {
    *os << c.name;
}

const LoopCase kLoops[] = {
    {"SongStart",
     [](MidiTrackWriter& t) {
         t.noteOn(0, 0, 60, 90);
         t.noteOff(1920, 0, 60);
     },
     0, 1920},
    {"LoopStartMarker",
     [](MidiTrackWriter& t) {
         t.noteOn(0, 0, 60, 90);
         t.marker(960, "loopStart");
         t.noteOff(960, 0, 60);
     },
     960, 1920},
    {"Controller111",
     [](MidiTrackWriter& t) {
         t.noteOn(0, 0, 60, 90);
         t.controller(480, 0, 111, 0);
         t.noteOff(1440, 0, 60);
     },
     480, 1920},
    {"LoopEndMarker",
     [](MidiTrackWriter& t) {
         t.noteOn(0, 0, 60, 90);
         t.marker(480, "loopstart");
         t.marker(720, "LOOPEND");
         t.noteOff(720, 0, 60);
     },
     480, 1200},
};

class MusicStageLoop : public MusicStageTest, public testing::WithParamInterface<LoopCase> {};

TEST_P(MusicStageLoop, JumpLandsOnTheLoopStartsTickAndSetsLooped) {
    play(song([](MidiTrackWriter& t) {
        GetParam().write(t);
        t.endOfTrack(0);
    }));
    const std::uint32_t end = GetParam().loopEnd;
    render((end - 96) * kFramesPerTick);
    EXPECT_FALSE(stage->looped());
    EXPECT_NEAR(stage->tick(), end - 96, 2.0);
    render(192 * kFramesPerTick); // 96 ticks past the end
    EXPECT_TRUE(stage->looped());
    EXPECT_NEAR(stage->tick(), GetParam().loopStart + 96, 2.0);
    render(seconds(5)); // keeps looping, never past the end
    EXPECT_TRUE(stage->playing());
    EXPECT_GE(stage->tick(), GetParam().loopStart);
    EXPECT_LT(stage->tick(), end);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MusicStageLoop, testing::ValuesIn(kLoops),
                         [](const auto& param) { return param.param.name; });

TEST_F(MusicStageTest, JumpRestoresControllersAndTempoOfTheLoopStart) {
    play(song([](MidiTrackWriter& t) {
        t.tempo(0, 500000);
        t.controller(0, 0, 7, 127);
        t.program(0, 0, 19);
        t.marker(480, "loopStart");
        t.noteOn(0, 0, 60, 100);
        t.noteOff(240, 0, 60);
        t.controller(240, 0, 7, 0); // the channel silenced after the note
        t.tempo(0, 250000);         // and the tempo doubled
        t.noteOn(0, 0, 64, 100);    // an inaudible note, still sounding at the loop end
        t.endOfTrack(960);          // at tick 1920: 0.5 s + 0.5 s + 0.5 s
    }));
    const auto firstPass = render(seconds(1.5));
    const double loud = rms(firstPass, seconds(0.55), seconds(0.7));
    EXPECT_GT(loud, 1e-3);
    EXPECT_LT(rms(firstPass, seconds(1.2), seconds(1.5)), 0.05 * loud);
    const auto secondPass = render(seconds(0.45));
    EXPECT_TRUE(stage->looped());
    EXPECT_GT(rms(secondPass, seconds(0.05), seconds(0.2)), 0.5 * loud) << "volume back at 127";
    EXPECT_NEAR(stage->tick(), 480 + 432, 2.0) << "tempo back at the loop start's";
}

// Twenty thousand events in a one-tick loop at the fastest tempo: far more than one block can
// send. The song holds itself back and still moves on; the audio thread once never came back.
TEST_F(MusicStageTest, SongDenserThanABlockCanCarrySlowsItselfNotTheAudioThread) {
    constexpr int kEvents = 20000;
    MidiTrackWriter track;
    track.tempo(0, 1);
    for (int i = 0; i < kEvents; ++i) {
        track.noteOn(0, 0, 60 + i % 12, i % 2 == 0 ? 64 : 0);
    }
    track.endOfTrack(1);
    MidiFileWriter file(0, 0x7FFF);
    file.addTrack(track);
    play(save(file.bytes()));
    render(kBlock);
    EXPECT_FALSE(stage->looped()) << "a block sends at most its share of the events";
    render(seconds(1));
    EXPECT_TRUE(stage->looped());
    EXPECT_TRUE(stage->playing());
}

TEST_F(MusicStageTest, PanFullLeftSilencesTheRightChannel) {
    stage->setPan(-100);
    play(song(SteadySong::addMinute));
    const auto out = render(seconds(0.5));
    EXPECT_GT(peak(out, 0), 0.01f);
    EXPECT_EQ(peak(out, 1), 0.0f);
}

TEST(MusicLevels, PanKeepsThePowerAndTheCentreUnchanged) {
    for (int pan = -120; pan <= 120; pan += 5) {
        const auto gain = lyrinth::MusicLevels::panGain(pan);
        EXPECT_NEAR(gain.left * gain.left + gain.right * gain.right, 2.0, 1e-5) << pan;
        EXPECT_GE(gain.left, 0.0f);
        EXPECT_GE(gain.right, 0.0f);
    }
    EXPECT_FLOAT_EQ(lyrinth::MusicLevels::panGain(0).left, 1.0f);
    EXPECT_FLOAT_EQ(lyrinth::MusicLevels::panGain(0).right, 1.0f);
    EXPECT_EQ(lyrinth::MusicLevels::panGain(-100).right, 0.0f);
    EXPECT_EQ(lyrinth::MusicLevels::panGain(100).left, 0.0f);
}

TEST_F(MusicStageTest, VolumeZeroIsSilenceAndVolumeFollowsAPerceptualCurve) {
    play(song(SteadySong::addMinute));
    const auto full = render(seconds(0.5));
    stage->setVolume(50);
    render(seconds(0.01));
    const auto half = render(seconds(0.5));
    stage->setVolume(0);
    render(seconds(0.01));
    const auto none = render(seconds(0.5));
    const double ratio =
        rms(half, seconds(0.3), seconds(0.5)) / rms(full, seconds(0.3), seconds(0.5));
    EXPECT_NEAR(20 * std::log10(ratio), -10.0, 1.0);
    EXPECT_EQ(peak(none, 0), 0.0f);
    EXPECT_EQ(peak(none, 1), 0.0f);
    EXPECT_TRUE(stage->playing());
}

TEST_F(MusicStageTest, VolumeChangeRampsWithoutAJump) {
    play(song(SteadySong::addMinute));
    const auto steady = render(seconds(0.5));
    stage->setVolume(0);
    const auto change = render(seconds(0.05));
    // The level falls over a few milliseconds, not within one frame.
    EXPECT_GT(peak(change, 0, 0), 0.0f);
    EXPECT_GT(rms(change, 0, seconds(0.002)), 0.2 * rms(steady, seconds(0.4), seconds(0.5)));
    EXPECT_EQ(peak(change, 0, seconds(0.01)), 0.0f);
}

TEST_F(MusicStageTest, FadeOutEndsPlayingOnTime) {
    play(song(SteadySong::addMinute));
    render(seconds(0.5));
    ASSERT_TRUE(stage->fadeOut(300));
    const auto during = render(seconds(0.29));
    EXPECT_TRUE(stage->playing());
    EXPECT_GT(rms(during, 0, seconds(0.05)), rms(during, seconds(0.2), seconds(0.25)));
    render(seconds(0.02));
    EXPECT_FALSE(stage->playing());
    EXPECT_EQ(stage->tick(), 0u);
    EXPECT_FALSE(stage->fadeOut(100)) << "no music plays";
    const auto after = render(seconds(0.1));
    EXPECT_EQ(peak(after, 0), 0.0f);
}

TEST_F(MusicStageTest, FadeOutOfZeroStopsAtOnce) {
    play(song(SteadySong::addMinute));
    render(seconds(0.2));
    EXPECT_TRUE(stage->fadeOut(0));
    EXPECT_FALSE(stage->playing());
}

TEST_F(MusicStageTest, FadeInBeforePlayRisesToTheVolume) {
    stage->fadeIn(1000);
    play(song(SteadySong::addMinute));
    const auto out = render(seconds(1.5));
    const double early = rms(out, seconds(0.2), seconds(0.3));
    const double middle = rms(out, seconds(0.5), seconds(0.6));
    const double late = rms(out, seconds(0.85), seconds(0.95));
    const double full = rms(out, seconds(1.2), seconds(1.3));
    EXPECT_LT(early, middle);
    EXPECT_LT(middle, late);
    EXPECT_LT(late, full);
    EXPECT_GT(full, 10 * early);
}

TEST_F(MusicStageTest, FadeInWhilePlayingRestartsFromSilence) {
    play(song(SteadySong::addMinute));
    const auto steady = render(seconds(0.5));
    stage->fadeIn(500);
    const auto out = render(seconds(0.6));
    const double full = rms(steady, seconds(0.4), seconds(0.5));
    EXPECT_LT(rms(out, seconds(0.02), seconds(0.05)), 0.1 * full);
    EXPECT_NEAR(rms(out, seconds(0.52), seconds(0.6)) / full, 1.0, 0.1);
}

TEST_F(MusicStageTest, BadFilesAreRefusedAndLeaveNothingPlaying) {
    play(song(SteadySong::addMinute));
    render(seconds(0.3));
    const auto garbage = save({'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 2, 0, 1, 0, 96});
    for (const std::filesystem::path& path :
         {std::filesystem::path("/nonexistent/a.mid"), garbage}) {
        std::string why;
        EXPECT_FALSE(stage->play(path, why));
        EXPECT_FALSE(why.empty());
        EXPECT_FALSE(stage->playing());
        EXPECT_EQ(stage->tick(), 0u);
        const auto out = render(seconds(0.1));
        EXPECT_EQ(peak(out, 0, seconds(0.01)), 0.0f);
    }
    play(song(SteadySong::addMinute)); // and the stage keeps working
    const auto again = render(seconds(0.5));
    EXPECT_GT(peak(again, 0), 0.01f);
}

TEST_F(MusicStageTest, ControlsFromTheCallersThreadWhileTheAudioThreadRenders) {
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> out(2 * kBlock);
        while (running) {
            stage->renderAdd(out.data(), kBlock);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const auto first = song(SteadySong::addMinute);
    const auto second = song([](MidiTrackWriter& t) {
        t.noteOn(0, 9, 36, 100);
        t.noteOff(960, 9, 36);
        t.endOfTrack(0);
    });
    for (int round = 0; round < 20; ++round) {
        play(round % 2 == 0 ? first : second);
        stage->setVolume(round * 5);
        stage->setPan(round * 10 - 100);
        stage->setSpeed(50 + round * 10);
        stage->fadeIn(round);
        EXPECT_TRUE(stage->playing());
        if (round % 3 == 0) {
            stage->fadeOut(5);
        }
    }
    stage->stop();
    running = false;
    audio.join();
    EXPECT_FALSE(stage->playing());
}

} // namespace
