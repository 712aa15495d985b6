// Calls in and out of order through the exported functions: before LyrinthCreate, after
// LyrinthRelease, twice in a row, and with the WAV engine down. A refused call returns 0, says why
// in one "lyrinth: " line and changes nothing.
#include "lyrinth.h"
#include "support/CaseName.h"
#include "support/LibraryTest.h"

#include <string>
#include <vector>

namespace lyrinth::test {
namespace {

using Call = int32_t (*)();

int32_t playMissingSound() {
    return LyrinthPlaySound("/no/such/sound.wav");
}
int32_t playNullPath() {
    return LyrinthPlaySound(nullptr);
}
int32_t playEmptyPath() {
    return LyrinthPlaySound("");
}

struct LifecycleCase {
    const char* name;
    std::vector<Call> before; // succeed or not, as they will
    Call call;
    int32_t expected;
    bool reports; // one "lyrinth: " line
    int32_t waveAfter;
};

const std::vector<Call> kNothing{};
const std::vector<Call> kReleased{LyrinthCreate, LyrinthRelease};
const std::vector<Call> kCreated{LyrinthCreate};
const std::vector<Call> kWaveUp{LyrinthCreate, LyrinthInitWave};
const std::vector<Call> kWaveDownAgain{LyrinthCreate, LyrinthInitWave, LyrinthTermWave};

const LifecycleCase kCases[] = {
    {"VersionBeforeCreate", kNothing, LyrinthGetVersion, 111, false, 0},
    {"ReleaseBeforeCreate", kNothing, LyrinthRelease, 0, true, 0},
    {"InitWaveBeforeCreate", kNothing, LyrinthInitWave, 0, true, 0},
    {"TermWaveBeforeCreate", kNothing, LyrinthTermWave, 0, true, 0},
    {"CheckValidWaveBeforeCreate", kNothing, LyrinthCheckValidWave, 0, false, 0},
    {"PlaySoundBeforeCreate", kNothing, playMissingSound, 0, true, 0},
    {"StopSoundBeforeCreate", kNothing, LyrinthStopSound, 0, true, 0},
    {"InitMidiBeforeCreate", kNothing, LyrinthInitMidi, 0, true, 0},
    {"ReleaseTwice", kReleased, LyrinthRelease, 0, true, 0},
    {"InitWaveAfterRelease", kReleased, LyrinthInitWave, 0, true, 0},
    {"PlaySoundAfterRelease", kReleased, playMissingSound, 0, true, 0},
    {"CreateAgainAfterRelease", kReleased, LyrinthCreate, -1, false, 0},
    {"CreateTwice", kCreated, LyrinthCreate, -1, false, 0},
    {"InitWave", kCreated, LyrinthInitWave, -1, false, -1},
    {"TermWaveWhileDown", kCreated, LyrinthTermWave, 0, true, 0},
    {"PlaySoundWhileDown", kCreated, playMissingSound, 0, true, 0},
    {"StopSoundWhileDown", kCreated, LyrinthStopSound, 0, true, 0},
    {"CreateTwiceKeepsWaveUp", kWaveUp, LyrinthCreate, -1, false, -1},
    {"InitWaveTwice", kWaveUp, LyrinthInitWave, 0, true, -1},
    {"CheckValidWaveWhileUp", kWaveUp, LyrinthCheckValidWave, -1, false, -1},
    {"StopSoundWithNothingPlaying", kWaveUp, LyrinthStopSound, -1, false, -1},
    {"PlaySoundWithoutPath", kWaveUp, playNullPath, 0, true, -1},
    {"PlaySoundWithEmptyPath", kWaveUp, playEmptyPath, 0, true, -1},
    {"TermWave", kWaveUp, LyrinthTermWave, -1, false, 0},
    {"ReleaseWithWaveUp", kWaveUp, LyrinthRelease, -1, false, 0},
    {"TermWaveTwice", kWaveDownAgain, LyrinthTermWave, 0, true, 0},
    {"PlaySoundAfterTermWave", kWaveDownAgain, playMissingSound, 0, true, 0},
    {"InitWaveAgainAfterTermWave", kWaveDownAgain, LyrinthInitWave, -1, false, -1},
};

class Lifecycle : public LibraryTest, public ::testing::WithParamInterface<LifecycleCase> {};

TEST_P(Lifecycle, AnswersAndChangesNothingElse) {
    const LifecycleCase& c = GetParam();
    {
        StderrCapture setUpNoise;
        for (Call step : c.before) {
            step();
        }
    }
    StderrCapture errors;
    EXPECT_EQ(c.call(), c.expected);
    const std::string said = errors.finish();
    EXPECT_EQ(libraryLines(said).size(), c.reports ? 1u : 0u) << said;
    EXPECT_EQ(LyrinthCheckValidWave(), c.waveAfter);
    EXPECT_EQ(LyrinthCheckValidMidi(), 0);
}

INSTANTIATE_TEST_SUITE_P(Calls, Lifecycle, ::testing::ValuesIn(kCases), CaseName());

// Until the library has a MIDI engine, it cannot be started, so every music call is refused as
// with the engine down; the queries answer "no" quietly.
struct MusicCall {
    const char* name;
    Call call;
    bool reports;
};

int32_t playMissingMusic() {
    return LyrinthPlayMusic("/no/such/song.mid");
}
int32_t setSpeed() {
    return LyrinthSetMusicSpeed(100);
}
int32_t setPanpot() {
    return LyrinthSetMusicPanpot(0);
}
int32_t setVolume() {
    return LyrinthSetMusicVolume(100);
}
int32_t fadeIn() {
    return LyrinthFadeInMusic(1000);
}
int32_t fadeOut() {
    return LyrinthFadeOutMusic(1000);
}

const MusicCall kMusicCalls[] = {
    {"LyrinthInitMidi", LyrinthInitMidi, true},
    {"LyrinthTermMidi", LyrinthTermMidi, true},
    {"LyrinthPlayMusic", playMissingMusic, true},
    {"LyrinthStopMusic", LyrinthStopMusic, true},
    {"LyrinthSetMusicSpeed", setSpeed, true},
    {"LyrinthSetMusicPanpot", setPanpot, true},
    {"LyrinthSetMusicVolume", setVolume, true},
    {"LyrinthFadeInMusic", fadeIn, true},
    {"LyrinthFadeOutMusic", fadeOut, true},
    {"LyrinthCheckValidMidi", LyrinthCheckValidMidi, false},
    {"LyrinthGetMusicPlaying", LyrinthGetMusicPlaying, false},
    {"LyrinthGetMusicLooping", LyrinthGetMusicLooping, false},
    {"LyrinthGetMidiTick", LyrinthGetMidiTick, false},
};

using MusicWithoutMidiEngine = LibraryTest;

TEST_F(MusicWithoutMidiEngine, EveryMusicCallAnswersNoAndWaveStaysUp) {
    startWaveEngine();
    for (const MusicCall& m : kMusicCalls) {
        StderrCapture errors;
        EXPECT_EQ(m.call(), 0) << m.name;
        const std::string said = errors.finish();
        EXPECT_EQ(libraryLines(said).size(), m.reports ? 1u : 0u) << m.name << ": " << said;
        if (m.reports) {
            EXPECT_NE(said.find(m.name), std::string::npos) << said;
        }
    }
    EXPECT_EQ(LyrinthCheckValidWave(), -1);
}

using CreateWithoutOutput = LibraryTest;

TEST_F(CreateWithoutOutput, FailsWithReasonAndLeavesNothingCreated) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    StderrCapture errors;
    EXPECT_EQ(LyrinthCreate(), 0);
    const auto said = libraryLines(errors.finish());
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].rfind("lyrinth: LyrinthCreate: ", 0), 0u) << said[0];
    StderrCapture more;
    EXPECT_EQ(LyrinthInitWave(), 0);
    EXPECT_EQ(LyrinthRelease(), 0);
}

} // namespace
} // namespace lyrinth::test
