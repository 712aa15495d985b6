// Calls in and out of order through the exported functions: before LyrinthCreate, after
// LyrinthRelease, twice in a row, and with the WAV or MIDI engine down. A refused call returns 0,
// says why in one "lyrinth: " line and changes nothing; a query answers 0 without a word.
#include "lyrinth.h"
#include "support/CaseName.h"
#include "support/LibraryTest.h"

#include <climits>
#include <csignal>
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

int32_t playMissingMusic() {
    return LyrinthPlayMusic("/no/such/song.mid");
}
int32_t playMusicWithoutPath() {
    return LyrinthPlayMusic(nullptr);
}
int32_t playMusicWithEmptyPath() {
    return LyrinthPlayMusic("");
}
int32_t setSpeed() {
    return LyrinthSetMusicSpeed(100);
}
int32_t setLowestSpeed() {
    return LyrinthSetMusicSpeed(INT32_MIN);
}
int32_t setPanpot() {
    return LyrinthSetMusicPanpot(0);
}
int32_t setFarthestPanpot() {
    return LyrinthSetMusicPanpot(INT32_MAX);
}
int32_t setVolume() {
    return LyrinthSetMusicVolume(100);
}
int32_t setNegativeVolume() {
    return LyrinthSetMusicVolume(-1);
}
int32_t fadeIn() {
    return LyrinthFadeInMusic(1000);
}
int32_t fadeInForever() {
    return LyrinthFadeInMusic(INT32_MAX);
}
int32_t fadeOut() {
    return LyrinthFadeOutMusic(1000);
}

struct LifecycleCase {
    const char* name;
    std::vector<Call> before; // succeed or not, as they will
    Call call;
    int32_t expected;
    bool reports; // one "lyrinth: " line
    int32_t waveAfter;
    int32_t midiAfter;
};

const std::vector<Call> kNothing{};
const std::vector<Call> kReleased{LyrinthCreate, LyrinthRelease};
const std::vector<Call> kCreated{LyrinthCreate};
const std::vector<Call> kWaveUp{LyrinthCreate, LyrinthInitWave};
const std::vector<Call> kWaveDownAgain{LyrinthCreate, LyrinthInitWave, LyrinthTermWave};
const std::vector<Call> kMidiUp{LyrinthCreate, LyrinthInitMidi};
const std::vector<Call> kMidiDownAgain{LyrinthCreate, LyrinthInitMidi, LyrinthTermMidi};
const std::vector<Call> kBothUp{LyrinthCreate, LyrinthInitWave, LyrinthInitMidi};

const LifecycleCase kCases[] = {
    {"VersionBeforeCreate", kNothing, LyrinthGetVersion, 111, false, 0, 0},
    {"ReleaseBeforeCreate", kNothing, LyrinthRelease, 0, true, 0, 0},
    {"InitWaveBeforeCreate", kNothing, LyrinthInitWave, 0, true, 0, 0},
    {"TermWaveBeforeCreate", kNothing, LyrinthTermWave, 0, true, 0, 0},
    {"CheckValidWaveBeforeCreate", kNothing, LyrinthCheckValidWave, 0, false, 0, 0},
    {"PlaySoundBeforeCreate", kNothing, playMissingSound, 0, true, 0, 0},
    {"StopSoundBeforeCreate", kNothing, LyrinthStopSound, 0, true, 0, 0},
    {"InitMidiBeforeCreate", kNothing, LyrinthInitMidi, 0, true, 0, 0},
    {"ReleaseTwice", kReleased, LyrinthRelease, 0, true, 0, 0},
    {"InitWaveAfterRelease", kReleased, LyrinthInitWave, 0, true, 0, 0},
    {"PlaySoundAfterRelease", kReleased, playMissingSound, 0, true, 0, 0},
    {"InitMidiAfterRelease", kReleased, LyrinthInitMidi, 0, true, 0, 0},
    {"CreateAgainAfterRelease", kReleased, LyrinthCreate, -1, false, 0, 0},
    {"CreateTwice", kCreated, LyrinthCreate, -1, false, 0, 0},
    {"InitWave", kCreated, LyrinthInitWave, -1, false, -1, 0},
    {"TermWaveWhileDown", kCreated, LyrinthTermWave, 0, true, 0, 0},
    {"PlaySoundWhileDown", kCreated, playMissingSound, 0, true, 0, 0},
    {"StopSoundWhileDown", kCreated, LyrinthStopSound, 0, true, 0, 0},
    {"CreateTwiceKeepsWaveUp", kWaveUp, LyrinthCreate, -1, false, -1, 0},
    {"InitWaveTwice", kWaveUp, LyrinthInitWave, 0, true, -1, 0},
    {"CheckValidWaveWhileUp", kWaveUp, LyrinthCheckValidWave, -1, false, -1, 0},
    {"StopSoundWithNothingPlaying", kWaveUp, LyrinthStopSound, -1, false, -1, 0},
    {"PlaySoundWithoutPath", kWaveUp, playNullPath, 0, true, -1, 0},
    {"PlaySoundWithEmptyPath", kWaveUp, playEmptyPath, 0, true, -1, 0},
    {"TermWave", kWaveUp, LyrinthTermWave, -1, false, 0, 0},
    {"ReleaseWithWaveUp", kWaveUp, LyrinthRelease, -1, false, 0, 0},
    {"TermWaveTwice", kWaveDownAgain, LyrinthTermWave, 0, true, 0, 0},
    {"PlaySoundAfterTermWave", kWaveDownAgain, playMissingSound, 0, true, 0, 0},
    {"InitWaveAgainAfterTermWave", kWaveDownAgain, LyrinthInitWave, -1, false, -1, 0},
    {"InitMidi", kCreated, LyrinthInitMidi, -1, false, 0, -1},
    {"CreateTwiceKeepsMidiUp", kMidiUp, LyrinthCreate, -1, false, 0, -1},
    {"InitMidiTwice", kMidiUp, LyrinthInitMidi, 0, true, 0, -1},
    {"CheckValidMidiWhileUp", kMidiUp, LyrinthCheckValidMidi, -1, false, 0, -1},
    {"PlayMissingMusic", kMidiUp, playMissingMusic, 0, true, 0, -1},
    {"PlayMusicWithoutPath", kMidiUp, playMusicWithoutPath, 0, true, 0, -1},
    {"PlayMusicWithEmptyPath", kMidiUp, playMusicWithEmptyPath, 0, true, 0, -1},
    {"StopMusicWithNothingPlaying", kMidiUp, LyrinthStopMusic, -1, false, 0, -1},
    {"SetMusicSpeed", kMidiUp, setSpeed, -1, false, 0, -1},
    {"SetMusicSpeedClamped", kMidiUp, setLowestSpeed, -1, false, 0, -1},
    {"SetMusicPanpot", kMidiUp, setPanpot, -1, false, 0, -1},
    {"SetMusicPanpotClamped", kMidiUp, setFarthestPanpot, -1, false, 0, -1},
    {"SetMusicVolume", kMidiUp, setVolume, -1, false, 0, -1},
    {"SetMusicVolumeClamped", kMidiUp, setNegativeVolume, -1, false, 0, -1},
    {"FadeInWithNothingPlaying", kMidiUp, fadeIn, -1, false, 0, -1},
    {"FadeInClamped", kMidiUp, fadeInForever, -1, false, 0, -1},
    {"FadeOutWithNothingPlaying", kMidiUp, fadeOut, 0, true, 0, -1},
    {"MusicPlayingWithNothingPlaying", kMidiUp, LyrinthGetMusicPlaying, 0, false, 0, -1},
    {"MusicLoopingWithNothingPlaying", kMidiUp, LyrinthGetMusicLooping, 0, false, 0, -1},
    {"MidiTickWithNothingPlaying", kMidiUp, LyrinthGetMidiTick, 0, false, 0, -1},
    {"TermMidi", kMidiUp, LyrinthTermMidi, -1, false, 0, 0},
    {"ReleaseWithMidiUp", kMidiUp, LyrinthRelease, -1, false, 0, 0},
    {"TermMidiTwice", kMidiDownAgain, LyrinthTermMidi, 0, true, 0, 0},
    {"InitMidiAgainAfterTermMidi", kMidiDownAgain, LyrinthInitMidi, -1, false, 0, -1},
    {"TermMidiKeepsWaveUp", kBothUp, LyrinthTermMidi, -1, false, -1, 0},
    {"TermWaveKeepsMidiUp", kBothUp, LyrinthTermWave, -1, false, 0, -1},
};

class Lifecycle : public LibraryTest, public ::testing::WithParamInterface<LifecycleCase> {};

void run(const std::vector<Call>& steps) {
    StderrCapture setUpNoise;
    for (Call step : steps) {
        step();
    }
}

TEST_P(Lifecycle, AnswersAndChangesNothingElse) {
    const LifecycleCase& c = GetParam();
    run(c.before);
    StderrCapture errors;
    EXPECT_EQ(c.call(), c.expected);
    const std::string said = errors.finish();
    EXPECT_EQ(libraryLines(said).size(), c.reports ? 1u : 0u) << said;
    EXPECT_EQ(LyrinthCheckValidWave(), c.waveAfter);
    EXPECT_EQ(LyrinthCheckValidMidi(), c.midiAfter);
}

INSTANTIATE_TEST_SUITE_P(Calls, Lifecycle, ::testing::ValuesIn(kCases), CaseName());

// Every music call while the MIDI engine is down, in each way it can be down: commands are
// refused with a line naming the function, queries answer 0 quietly, the WAV engine is untouched.
struct MusicCall {
    const char* name;
    Call call;
    bool reports;
};

const MusicCall kMusicCalls[] = {
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

struct DownState {
    const char* name;
    std::vector<Call> before;
    int32_t waveAfter;
};

const DownState kDownStates[] = {
    {"BeforeCreate", kNothing, 0},
    {"AfterRelease", {LyrinthCreate, LyrinthInitMidi, LyrinthRelease}, 0},
    {"MidiNeverUp", kWaveUp, -1},
    {"AfterTermMidi", {LyrinthCreate, LyrinthInitWave, LyrinthInitMidi, LyrinthTermMidi}, -1},
};

class MusicWhileDown : public LibraryTest,
                       public ::testing::WithParamInterface<std::tuple<DownState, MusicCall>> {};

TEST_P(MusicWhileDown, IsRefusedOrAnswersNo) {
    const auto& [state, music] = GetParam();
    run(state.before);
    StderrCapture errors;
    EXPECT_EQ(music.call(), 0);
    const std::string said = errors.finish();
    ASSERT_EQ(libraryLines(said).size(), music.reports ? 1u : 0u) << said;
    if (music.reports) {
        EXPECT_EQ(said.find(std::string("lyrinth: ") + music.name + ": "), said.find("lyrinth: "))
            << said;
    }
    EXPECT_EQ(LyrinthCheckValidWave(), state.waveAfter);
    EXPECT_EQ(LyrinthCheckValidMidi(), 0);
}

INSTANTIATE_TEST_SUITE_P(Calls, MusicWhileDown,
                         ::testing::Combine(::testing::ValuesIn(kDownStates),
                                            ::testing::ValuesIn(kMusicCalls)),
                         [](const auto& tested) {
                             return std::string(std::get<0>(tested.param).name) + "_" +
                                    std::get<1>(tested.param).name;
                         });

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

using CreateAndSignals = LibraryTest;

// The program that loads us keeps its own signals: with SDL's default handlers a SIGTERM would
// only post an event nobody reads, and the program could no longer be stopped.
TEST_F(CreateAndSignals, LeavesTheProgramsSignalHandlersAlone) {
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction before {};
        ASSERT_EQ(sigaction(signal, nullptr, &before), 0);
        ASSERT_EQ(LyrinthCreate(), -1);
        struct sigaction after {};
        ASSERT_EQ(sigaction(signal, nullptr, &after), 0);
        EXPECT_EQ(after.sa_handler, before.sa_handler) << "signal " << signal;
        EXPECT_EQ(LyrinthRelease(), -1);
    }
}

} // namespace
} // namespace lyrinth::test
