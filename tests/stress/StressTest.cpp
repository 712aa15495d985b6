// Thousands of calls of the 21 exported functions in random order, with random numbers and with
// good, damaged and missing files, while the output renders through SDL's disk driver. Every
// answer is checked against what the calls so far allow; afterwards the library must still play.
// Under the sanitizers the same run shows leaks and data races. The seed is printed; setting
// LYRINTH_STRESS_SEED repeats a run.
#include "ApiModel.h"

#include "MidiFileWriter.h"
#include "SampleSong.h"
#include "lyrinth.h"
#include "support/LibraryTest.h"
#include "support/Signals.h"
#include "support/SoundFiles.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace lyrinth::test {
namespace {

constexpr int kCalls = 3000;
constexpr std::uint32_t kDefaultSeed = 61106;
constexpr int kRate = DiskOutput::kRate;
constexpr std::size_t kTrailLength = 12;

// Numbers around every clamp and limit of the functions, and the extremes.
constexpr std::int32_t kEdgeNumbers[] = {std::numeric_limits<std::int32_t>::min(),
                                         -1000,
                                         -101,
                                         -100,
                                         -1,
                                         0,
                                         1,
                                         9,
                                         10,
                                         100,
                                         101,
                                         1000,
                                         1001,
                                         600000,
                                         600001,
                                         std::numeric_limits<std::int32_t>::max()};

struct Path {
    std::string text;
    bool null = false;
    const char* get() const { return null ? nullptr : text.c_str(); }
};

class StressTest : public LibraryTest {
protected:
    void SetUp() override {
        LibraryTest::SetUp();
        writeFixtures();
    }

    void writeFixtures();
    std::vector<std::uint8_t> randomBytes(std::size_t count);
    std::int32_t randomNumber();
    // A good file of the kind asked for, or (as often) one of anything else.
    Path randomPath(const std::vector<std::string>& good, bool& isGood);
    void callAtRandom();
    void expectStillPlays();
    bool midiAvailable_ = false;

    std::mt19937 random_;
    ApiModel model_;
    std::vector<std::string> goodMidi_;
    std::vector<std::string> goodWav_;
    std::vector<Path> badPaths_;
    std::deque<std::string> trail_; // the last calls, for the message of a failure
    int succeeded_ = 0;             // calls that answered -1: the run did reach the engines
};

std::vector<std::uint8_t> StressTest::randomBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random_());
    }
    return bytes;
}

void StressTest::writeFixtures() {
    const auto song = midiwriter::SampleSong::bytes();
    goodMidi_ = {file("song.mid"), file("song_rmid.mid")};
    midiwriter::MidiFileWriter::save(goodMidi_[0], song);
    midiwriter::MidiFileWriter::save(goodMidi_[1], midiwriter::MidiFileWriter::wrapInRmid(song));

    const auto tone = [](std::size_t channels, std::size_t frames) {
        return makeSignal(frames, channels,
                          [](std::size_t, std::size_t f) { return sineAt(440.0, kRate, f, 0.5f); });
    };
    goodWav_ = {file("beep.wav"), file("stereo_22050.wav")};
    writeSoundFile(goodWav_[0], SF_FORMAT_WAV | SF_FORMAT_PCM_16, kRate, 1, tone(1, kRate / 4));
    writeSoundFile(goodWav_[1], SF_FORMAT_WAV | SF_FORMAT_FLOAT, 22050, 2, tone(2, 4000));

    const auto wav = readBytes(goodWav_[0]);
    writeBytes(file("cut.mid"), {song.begin(), song.begin() + 14});
    writeBytes(file("cut.wav"), {wav.begin(), wav.begin() + 40});
    writeBytes(file("empty.wav"), {});
    writeBytes(file("garbage.mid"), randomBytes(3000));
    auto riffGarbage = randomBytes(3000);
    std::copy_n("RIFF", 4, riffGarbage.begin());
    writeBytes(file("garbage.wav"), riffGarbage);
    // Over every size limit, yet cheap: a hole in a sparse file.
    writeBytes(file("huge.mid"), {});
    std::filesystem::resize_file(file("huge.mid"), 40u << 20);
    std::filesystem::create_directories(file("folder.wav"));
    for (const char* name : {"cut.mid", "cut.wav", "empty.wav", "garbage.mid", "garbage.wav",
                             "huge.mid", "folder.wav", "missing.mid", "missing.wav"}) {
        badPaths_.push_back({file(name)});
    }
    badPaths_.push_back({""});
    badPaths_.push_back({"", true});
}

std::int32_t StressTest::randomNumber() {
    if (random_() % 2 == 0) {
        return kEdgeNumbers[random_() % std::size(kEdgeNumbers)];
    }
    return std::uniform_int_distribution<std::int32_t>(-2000, 700000)(random_);
}

Path StressTest::randomPath(const std::vector<std::string>& good, bool& isGood) {
    isGood = random_() % 2 == 0;
    if (isGood) {
        return {good[random_() % good.size()]};
    }
    // Anything else: a damaged or missing file, or a good file of the other kind.
    std::vector<Path> others = badPaths_;
    for (const auto& path : good == goodMidi_ ? goodWav_ : goodMidi_) {
        others.push_back({path});
    }
    return others[random_() % others.size()];
}

void StressTest::callAtRandom() {
    struct Call {
        const char* name;
        std::function<Answer(std::int32_t&, std::string&)> make;
    };
    auto number = [this](std::int32_t (*function)(std::int32_t), std::function<Answer()> expect) {
        return [this, function, expect](std::int32_t& got, std::string& argument) {
            const std::int32_t n = randomNumber();
            argument = std::to_string(n);
            const Answer answer = expect();
            got = function(n);
            return answer;
        };
    };
    const auto midiCommand = [this] { return model_.midiCommand(); };
    auto plain = [](std::int32_t (*function)(), std::function<Answer()> expect) {
        return [function, expect](std::int32_t& got, std::string&) {
            const Answer answer = expect();
            got = function();
            return answer;
        };
    };
    auto play = [this](std::int32_t (*function)(const char*), const std::vector<std::string>& good,
                       bool music) {
        return [this, function, &good, music](std::int32_t& got, std::string& argument) {
            bool isGood = false;
            const Path path = randomPath(good, isGood);
            argument = path.null ? "null" : "\"" + path.text + "\"";
            got = function(path.get());
            return music ? model_.playMusic(isGood) : model_.playSound(isGood);
        };
    };
    const Call calls[] = {
        {"LyrinthCreate", plain(LyrinthCreate, [this] { return model_.create(); })},
        {"LyrinthRelease", plain(LyrinthRelease, [this] { return model_.release(); })},
        {"LyrinthGetVersion", plain(LyrinthGetVersion, [] { return Answer::Version; })},
        {"LyrinthInitMidi", plain(LyrinthInitMidi, [this] { return model_.initMidi(); })},
        {"LyrinthTermMidi", plain(LyrinthTermMidi, [this] { return model_.termMidi(); })},
        {"LyrinthCheckValidMidi", plain(LyrinthCheckValidMidi, midiCommand)},
        {"LyrinthPlayMusic", play(LyrinthPlayMusic, goodMidi_, true)},
        {"LyrinthStopMusic", plain(LyrinthStopMusic, midiCommand)},
        {"LyrinthSetMusicSpeed", number(LyrinthSetMusicSpeed, midiCommand)},
        {"LyrinthSetMusicPanpot", number(LyrinthSetMusicPanpot, midiCommand)},
        {"LyrinthSetMusicVolume", number(LyrinthSetMusicVolume, midiCommand)},
        {"LyrinthFadeInMusic", number(LyrinthFadeInMusic, midiCommand)},
        {"LyrinthFadeOutMusic",
         number(LyrinthFadeOutMusic, [this] { return model_.musicState(); })},
        {"LyrinthGetMusicPlaying",
         plain(LyrinthGetMusicPlaying, [this] { return model_.musicState(); })},
        {"LyrinthGetMusicLooping",
         plain(LyrinthGetMusicLooping, [this] { return model_.musicState(); })},
        {"LyrinthGetMidiTick", plain(LyrinthGetMidiTick, [this] { return model_.midiTick(); })},
        {"LyrinthInitWave", plain(LyrinthInitWave, [this] { return model_.initWave(); })},
        {"LyrinthTermWave", plain(LyrinthTermWave, [this] { return model_.termWave(); })},
        {"LyrinthCheckValidWave",
         plain(LyrinthCheckValidWave, [this] { return model_.waveCommand(); })},
        {"LyrinthPlaySound", play(LyrinthPlaySound, goodWav_, false)},
        {"LyrinthStopSound", plain(LyrinthStopSound, [this] { return model_.waveCommand(); })},
    };
    static_assert(std::size(calls) == 21);

    const Call& call = calls[random_() % std::size(calls)];
    std::int32_t got = 0;
    std::string argument;
    const Answer want = call.make(got, argument);
    succeeded_ += got == -1 ? 1 : 0;
    trail_.push_back(std::string(call.name) + "(" + argument + ") = " + std::to_string(got));
    if (trail_.size() > kTrailLength) {
        trail_.pop_front();
    }
    if (!allows(want, got)) {
        std::string message = "the last calls, the last one wrong (wanted " + describe(want) + "):";
        for (const auto& line : trail_) {
            message += "\n  " + line;
        }
        FAIL() << message;
    }
}

void StressTest::expectStillPlays() {
    output_.emplace(file("after.raw"));
    ASSERT_EQ(LyrinthCreate(), -1);
    ASSERT_EQ(LyrinthInitWave(), -1);
    ASSERT_EQ(LyrinthPlaySound(goodWav_[0].c_str()), -1);
    ASSERT_TRUE(output_->waitForSound(kRate / 10)) << "no sound after the stress";
    ASSERT_EQ(LyrinthStopSound(), -1);

    if (!midiAvailable_) {
        releaseAndRead();
        return;
    }
    ASSERT_EQ(LyrinthInitMidi(), -1);
    const std::size_t musicFrom = output_->framesWritten() + kRate / 10;
    ASSERT_EQ(LyrinthPlayMusic(goodMidi_[0].c_str()), -1);
    ASSERT_TRUE(output_->waitForMore(kRate));
    const auto written = releaseAndRead();
    const auto left = channel(written, 0);
    ASSERT_GT(left.size(), musicFrom);
    EXPECT_GT(rms(left, musicFrom, left.size()), 1e-3) << "no music after the stress";
}

TEST_F(StressTest, RandomCallsNeitherBreakNorStopTheLibrary) {
    {
        StderrCapture quiet;
        const bool created = LyrinthCreate() == -1;
        midiAvailable_ = created && LyrinthInitMidi() == -1;
        LyrinthRelease();
        const std::string why = quiet.finish();
        if (!created) {
            GTEST_SKIP() << "LyrinthCreate failed, so there is no engine to stress: " << why;
        }
        if (!midiAvailable_) {
            std::printf("stress: the MIDI engine does not start here, so every music call must "
                        "fail:\n");
            for (const auto& line : libraryLines(why)) {
                std::printf("  %s\n", line.c_str());
            }
        }
    }
    model_ = ApiModel(midiAvailable_);
    const char* chosen = std::getenv("LYRINTH_STRESS_SEED");
    const auto seed = chosen != nullptr
                          ? static_cast<std::uint32_t>(std::strtoul(chosen, nullptr, 0))
                          : kDefaultSeed;
    std::printf("stress: seed %u (LYRINTH_STRESS_SEED=%u repeats this run)\n", seed, seed);
    RecordProperty("seed", std::to_string(seed));
    random_.seed(seed);

    {
        StderrCapture quiet; // thousands of refusals, each with its "lyrinth: " line
        for (int i = 0; i < kCalls && !HasFailure(); ++i) {
            callAtRandom();
        }
        LyrinthRelease();
    }
    std::printf("stress: %d calls, %d of them answered -1\n", kCalls, succeeded_);
    if (!HasFailure()) {
        expectStillPlays();
    }
}

} // namespace
} // namespace lyrinth::test
