// Bad files given to LyrinthPlayMusic while a song plays: each is refused with 0 and one line
// naming the file and the reason, nothing plays afterwards, and a good file still plays.
#include "lyrinth.h"
#include "support/BadFile.h"
#include "support/CaseName.h"
#include "support/LibraryTest.h"
#include "support/Signals.h"
#include "support/SoundFiles.h"

#include "MidiFileWriter.h"
#include "SteadySong.h"

#include <filesystem>
#include <string>

namespace lyrinth::test {
namespace {

using midiwriter::MidiFileWriter;
using midiwriter::MidiTrackWriter;
using midiwriter::SteadySong;

std::vector<std::uint8_t> steadyBytes() {
    MidiTrackWriter track;
    SteadySong::addMinute(track);
    return SteadySong::file(track);
}

const BadFile kBadSongs[] = {
    {"MissingFile", [](const auto& folder) { return (folder / "missing.mid").string(); },
     "no such file"},
    {"Directory", [](const auto& folder) { return folder.string(); }, "not a file"},
    {"EmptyFile", [](const auto& folder) { return writeBytesIn(folder, "empty.mid", {}); },
     "not a Standard MIDI File"},
    {"TextFile",
     [](const auto& folder) {
         const std::string text = "MIDI? No, just words.\n";
         return writeBytesIn(folder, "text.mid", {text.begin(), text.end()});
     },
     "not a Standard MIDI File"},
    {"TruncatedHeader",
     [](const auto& folder) { return cutTo(writeBytesIn(folder, "cut.mid", steadyBytes()), 10); },
     "the header is cut short"},
    {"TruncatedBeforeAnyEvent",
     [](const auto& folder) {
         // The 14-byte header, the track's chunk header, and a delta time cut in half.
         auto bytes = steadyBytes();
         bytes.resize(14 + 8 + 1);
         bytes.back() = 0x81;
         return writeBytesIn(folder, "cut.mid", bytes);
     },
     "cut short"},
    {"Format2",
     [](const auto& folder) {
         MidiTrackWriter track;
         SteadySong::addMinute(track);
         MidiFileWriter file(2, SteadySong::kTicksPerQuarter);
         file.addTrack(track);
         return writeBytesIn(folder, "format2.mid", file.bytes());
     },
     "format 2"},
    {"Over16MiB",
     [](const auto& folder) {
         // A good song padded with zeros past the limit; sparse, so it costs no disk.
         const std::string path = writeBytesIn(folder, "huge.mid", steadyBytes());
         std::filesystem::resize_file(path, 16 * 1024 * 1024 + 1);
         return path;
     },
     "larger than 16 MiB"},
};

class BadSongs : public LibraryTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadSongs, AreRefusedWithReasonAndLeaveNothingPlaying) {
    const BadFile& bad = GetParam();
    startMidiEngine();
    const std::string good = writeBytesIn(folder_, "good.mid", steadyBytes());
    ASSERT_EQ(LyrinthPlayMusic(good.c_str()), -1);
    ASSERT_TRUE(output_->waitForSound(4800));
    const std::string path = bad.make(folder_);

    expectRefused(LyrinthPlayMusic, path, bad.reason);

    EXPECT_EQ(LyrinthGetMusicPlaying(), 0);
    EXPECT_EQ(LyrinthGetMidiTick(), 0);
    EXPECT_EQ(LyrinthCheckValidMidi(), -1);
    // Silence follows within a ramp of the next buffers...
    const std::size_t refused = output_->framesWritten();
    ASSERT_TRUE(output_->waitForMore(9600));
    const std::vector<float> after = output_->read();
    const std::vector<float> tail(after.begin() + static_cast<std::ptrdiff_t>(2 * (refused + 2048)),
                                  after.end());
    EXPECT_FALSE(soundExtent(tail)) << "music still sounds after a refused file";
    // ...and the engine plays a good file again.
    const std::size_t before = output_->framesWritten();
    ASSERT_EQ(LyrinthPlayMusic(good.c_str()), -1);
    ASSERT_TRUE(output_->waitUntil([before](const std::vector<float>& out) {
        const std::vector<float> since(out.begin() + static_cast<std::ptrdiff_t>(2 * before),
                                       out.end());
        const auto extent = soundExtent(since);
        return extent && extent->end > extent->begin + 4800;
    }));
}

INSTANTIATE_TEST_SUITE_P(Files, BadSongs, ::testing::ValuesIn(kBadSongs), CaseName());

} // namespace
} // namespace lyrinth::test
