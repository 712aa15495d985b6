// Bad files given to LyrinthPlaySound: each is refused with 0 and one line naming the file and the
// reason, and the WAV engine goes on playing good files.
#include "lyrinth.h"
#include "support/BadFile.h"
#include "support/CaseName.h"
#include "support/LibraryTest.h"
#include "support/Signals.h"
#include "support/SoundFiles.h"

#include <sndfile.h>

#include <filesystem>
#include <fstream>

namespace lyrinth::test {
namespace {

std::vector<float> shortTone(int rate, int channels) {
    return makeSignal(static_cast<std::size_t>(rate / 10), static_cast<std::size_t>(channels),
                      [rate](std::size_t, std::size_t f) { return sineAt(440, rate, f, 0.5f); });
}

std::string goodWav(const std::filesystem::path& folder) {
    const std::string path = (folder / "good.wav").string();
    writeSoundFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, shortTone(44100, 1));
    return path;
}

std::string otherFormat(const std::filesystem::path& folder, const char* name, int format) {
    const std::string path = (folder / name).string();
    writeSoundFile(path, format, 44100, 1, shortTone(44100, 1));
    return path;
}

const BadFile kBadInputs[] = {
    {"MissingFile", [](const auto& folder) { return (folder / "missing.wav").string(); },
     "no such file"},
    {"Directory", [](const auto& folder) { return folder.string(); }, "directory"},
    {"EmptyFile", [](const auto& folder) { return writeBytesIn(folder, "empty.wav", {}); },
     "empty file"},
    {"TextFile",
     [](const auto& folder) {
         const std::string text = "This is not a sound.\nNot at all.\n";
         return writeBytesIn(folder, "text.wav", {text.begin(), text.end()});
     },
     "not a readable sound file"},
    {"TruncatedHeader", [](const auto& folder) { return cutTo(goodWav(folder), 30); },
     "not a readable sound file"},
    {"TruncatedData",
     [](const auto& folder) {
         const std::string path = goodWav(folder);
         return cutTo(path, std::filesystem::file_size(path) * 2 / 3);
     },
     "truncated"},
    {"HeaderClaimsMoreDataThanThereIs",
     [](const auto& folder) {
         return writeBytesIn(folder, "liar.wav", pcmWavBytes(1, 44100, 0x7FFFFFF0u, 4410 * 2));
     },
     "truncated"},
    {"ZeroChannels",
     [](const auto& folder) {
         return writeBytesIn(folder, "nochan.wav", pcmWavBytes(0, 44100, 800, 800));
     },
     "not a readable sound file"},
    {"ZeroRate",
     [](const auto& folder) {
         return writeBytesIn(folder, "norate.wav", pcmWavBytes(1, 0, 800, 800));
     },
     "not a readable sound file"},
    {"AbsurdRate",
     [](const auto& folder) {
         return writeBytesIn(folder, "slow.wav", pcmWavBytes(1, 10, 800, 800));
     },
     "sample rate 10 Hz"},
    {"AiffFile",
     [](const auto& folder) {
         return otherFormat(folder, "aiff.wav", SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
     },
     "not a WAV file"},
    {"Wave64File",
     [](const auto& folder) {
         return otherFormat(folder, "w64.wav", SF_FORMAT_W64 | SF_FORMAT_PCM_16);
     },
     "not a WAV file"},
    {"OverTenMinutes",
     [](const auto& folder) {
         // 601 seconds of silence at a low rate keeps the file small.
         const std::string path = (folder / "long.wav").string();
         writeSoundFile(path, SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1000, 1,
                        std::vector<float>(601 * 1000, 0.0f));
         return path;
     },
     "longer than 10 minutes"},
};

class BadInputs : public LibraryTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadInputs, AreRefusedWithReasonAndEngineKeepsWorking) {
    const BadFile& bad = GetParam();
    startWaveEngine();
    const std::string path = bad.make(folder_);

    expectRefused(LyrinthPlaySound, path, bad.reason);

    EXPECT_EQ(LyrinthCheckValidWave(), -1);
    EXPECT_EQ(LyrinthPlaySound(goodWav(folder_).c_str()), -1);
    EXPECT_TRUE(output_->waitForSound(100));
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputs, ::testing::ValuesIn(kBadInputs), CaseName());

} // namespace
} // namespace lyrinth::test
