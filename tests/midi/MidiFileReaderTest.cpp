// The MIDI file reader: a table of well-formed files with the events and times they must give,
// and a table of damaged files, each rejected or read up to the damage, with its reason.
#include "midi/MidiFileReader.h"

#include "MidiFileWriter.h"
#include "SampleSong.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

using lyrinth::LoopStartKind;
using lyrinth::MidiEvent;
using lyrinth::MidiEventKind;
using lyrinth::MidiFileReader;
using lyrinth::Song;
using midiwriter::MidiFileWriter;
using midiwriter::MidiTrackWriter;
using Bytes = std::vector<std::uint8_t>;

namespace {

// One line per event: "tick:status data1 data2", "tick:tempo N", "tick:sysex F0 size",
// "tick:meta type text".
std::string describe(const Song& song, const MidiEvent& e) {
    char line[64];
    switch (e.kind) {
    case MidiEventKind::Channel:
        std::snprintf(line, sizeof line, "%u:%02X %d %d", e.tick, e.status, e.data1, e.data2);
        return line;
    case MidiEventKind::Tempo:
        return std::to_string(e.tick) + ":tempo " + std::to_string(e.value);
    case MidiEventKind::SysEx:
        std::snprintf(line, sizeof line, "%u:sysex %02X %u", e.tick, e.status, e.size);
        return line;
    case MidiEventKind::Meta:
        std::snprintf(line, sizeof line, "%u:meta %02X ", e.tick, e.status);
        return line + std::string(song.payloadOf(e));
    }
    return {};
}

std::vector<std::string> describe(const Song& song) {
    std::vector<std::string> lines;
    for (const MidiEvent& e : song.events) {
        lines.push_back(describe(song, e));
    }
    return lines;
}

Bytes oneTrack(const MidiTrackWriter& track, std::uint16_t format = 0,
               std::uint16_t division = 96) {
    MidiFileWriter file(format, division);
    file.addTrack(track);
    return file.bytes();
}

MidiTrackWriter shortMelody() {
    MidiTrackWriter t;
    t.tempo(0, 400000);
    t.program(0, 0, 5);
    t.noteOn(0, 0, 60, 100);
    t.noteOff(96, 0, 60);
    t.endOfTrack(0);
    return t;
}

const std::vector<std::string> kShortMelody = {"0:tempo 400000", "0:C0 5 0", "0:90 60 100",
                                               "96:80 60 0"};

struct GoodCase {
    const char* name;
    std::function<Bytes()> make;
    std::vector<std::string> events;
    std::uint32_t endTick;
};

const GoodCase kGoodCases[] = {
    {"Format0", [] { return oneTrack(shortMelody()); }, kShortMelody, 96},
    {"Format1TracksMergedByTime",
     [] {
         MidiTrackWriter conductor;
         conductor.tempo(0, 600000);
         conductor.tempo(48, 300000);
         conductor.endOfTrack(200);
         MidiTrackWriter notes;
         notes.noteOn(0, 1, 64, 90);
         notes.noteOff(48, 1, 64);
         notes.noteOn(10, 1, 65, 90);
         notes.endOfTrack(0);
         MidiFileWriter file(1, 96);
         file.addTrack(conductor);
         file.addTrack(notes);
         return file.bytes();
     },
     {"0:tempo 600000", "0:91 64 90", "48:tempo 300000", "48:81 64 0", "58:91 65 90"},
     248},
    {"RunningStatus",
     [] {
         MidiTrackWriter t(true);
         t.noteOn(0, 2, 60, 80);
         t.noteOn(0, 2, 64, 80);
         t.noteOn(12, 2, 67, 80);
         t.controller(0, 2, 7, 100);
         t.controller(5, 2, 10, 20);
         t.endOfTrack(0);
         return oneTrack(t);
     },
     {"0:92 60 80", "0:92 64 80", "12:92 67 80", "12:B2 7 100", "17:B2 10 20"},
     17},
    {"RunningStatusSurvivesMeta",
     [] {
         MidiTrackWriter t;
         t.noteOn(0, 0, 60, 80);
         t.marker(5, "x");
         t.raw({0x05, 62, 81}); // delta 5, then data bytes under the note-on status
         t.endOfTrack(0);
         return oneTrack(t);
     },
     {"0:90 60 80", "5:meta 06 x", "10:90 62 81"},
     10},
    {"SysExAndEscape",
     [] {
         MidiTrackWriter t;
         t.sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
         t.raw({0x10, 0xF7, 0x02, 0xF3, 0x01}); // escape: any bytes, here a song select
         t.noteOn(0, 0, 60, 1);
         t.endOfTrack(0);
         return oneTrack(t);
     },
     {"0:sysex F0 5", "16:sysex F7 2", "16:90 60 1"},
     16},
    {"Rmid", [] { return MidiFileWriter::wrapInRmid(oneTrack(shortMelody())); }, kShortMelody, 96},
    {"RmidWithOddSizedChunkBeforeData",
     [] {
         const Bytes smf = oneTrack(shortMelody());
         Bytes riff = {'R',
                       'I',
                       'F',
                       'F',
                       0,
                       0,
                       0,
                       0,
                       'R',
                       'M',
                       'I',
                       'D',
                       'L',
                       'I',
                       'S',
                       'T',
                       3,
                       0,
                       0,
                       0,
                       'a',
                       'b',
                       'c',
                       0,
                       'd',
                       'a',
                       't',
                       'a',
                       static_cast<std::uint8_t>(smf.size()),
                       0,
                       0,
                       0};
         riff.insert(riff.end(), smf.begin(), smf.end());
         return riff;
     },
     kShortMelody, 96},
    {"UnknownChunksAndLongHeaderSkipped",
     [] {
         Bytes bytes = {'M', 'T',  'h',  'd', 0,   0,   0,   8, 0, 0, 0, 1,    0,
                        96,  0xAA, 0xBB, 'X', 'Y', 'Z', 'W', 0, 0, 0, 2, 0x90, 0x90};
         MidiFileWriter file(0, 96);
         file.addTrack(shortMelody());
         const Bytes rest = file.bytes();
         bytes.insert(bytes.end(), rest.begin() + 14, rest.end());
         return bytes;
     },
     kShortMelody, 96},
    {"MetaEventsOfAnyLengthSkippedByLength",
     [] {
         MidiTrackWriter t;
         t.meta(0, 0x7F, std::string(300, '\x90'));
         t.meta(0, 0x51, "\x01\x02"); // a tempo of the wrong length is skipped
         t.noteOn(1, 0, 60, 1);
         t.endOfTrack(0);
         return oneTrack(t);
     },
     {"0:meta 7F " + std::string(300, '\x90'), "1:90 60 1"},
     1},
    {"EventsAfterEndOfTrackIgnored",
     [] {
         MidiTrackWriter t;
         t.noteOn(0, 0, 60, 1);
         t.endOfTrack(4);
         t.noteOn(0, 0, 61, 1);
         return oneTrack(t);
     },
     {"0:90 60 1"},
     4},
};

void PrintTo(const GoodCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadsWellFormedFile : public testing::TestWithParam<GoodCase> {};

TEST_P(ReadsWellFormedFile, GivesItsEventsInTimeOrder) {
    Song song;
    std::string why;
    ASSERT_TRUE(MidiFileReader::parse(GetParam().make(), song, why)) << why;
    EXPECT_EQ(describe(song), GetParam().events);
    EXPECT_EQ(song.endTick, GetParam().endTick);
    EXPECT_EQ(song.damage, "");
}

INSTANTIATE_TEST_SUITE_P(Table, ReadsWellFormedFile, testing::ValuesIn(kGoodCases),
                         [](const auto& param) { return param.param.name; });

TEST(MidiFileReader, TempoMapHasOneEntryPerTickStartingWithTheDefault) {
    MidiTrackWriter t;
    t.noteOn(10, 0, 60, 1);
    t.tempo(0, 300000);
    t.tempo(0, 250000); // replaces the one at the same tick
    t.tempo(90, 1000000);
    t.endOfTrack(0);
    Song song;
    std::string why;
    ASSERT_TRUE(MidiFileReader::parse(oneTrack(t), song, why)) << why;
    ASSERT_EQ(song.tempoMap.size(), 3u);
    EXPECT_EQ(song.tempoMap[0].tick, 0u);
    EXPECT_EQ(song.tempoMap[0].microsecondsPerQuarter, Song::kDefaultTempo);
    EXPECT_EQ(song.tempoMap[1].tick, 10u);
    EXPECT_EQ(song.tempoMap[1].microsecondsPerQuarter, 250000u);
    EXPECT_EQ(song.tempoMap[2].tick, 100u);
    EXPECT_EQ(song.ticksPerSecond(song.tempoMap[2].microsecondsPerQuarter), 96.0);
}

TEST(MidiFileReader, SmpteDivisionGivesFixedTicksPerSecond) {
    MidiTrackWriter t = shortMelody();
    const std::uint16_t twentyFiveFpsFortyTicks = 0xE728; // -25 fps, 40 ticks per frame
    Song song;
    std::string why;
    ASSERT_TRUE(MidiFileReader::parse(oneTrack(t, 0, twentyFiveFpsFortyTicks), song, why)) << why;
    EXPECT_EQ(song.ticksPerQuarter, 0u);
    EXPECT_EQ(song.ticksPerSecond(400000), 1000.0);
}

struct LoopCase {
    const char* name;
    std::function<void(MidiTrackWriter&)> write;
    LoopStartKind kind;
    std::uint32_t start;
    std::optional<std::uint32_t> end;
};

const LoopCase kLoopCases[] = {
    {"NoneMeansSongStart", [](MidiTrackWriter&) {}, LoopStartKind::SongStart, 0, std::nullopt},
    {"MarkerAnyCase",
     [](MidiTrackWriter& t) {
         t.marker(100, "LoopStart");
         t.marker(100, "LOOPEND");
     },
     LoopStartKind::Marker, 100, 200},
    {"Controller111",
     [](MidiTrackWriter& t) {
         t.controller(50, 0, 111, 0);
         t.controller(50, 0, 111, 0);
     },
     LoopStartKind::Controller111, 50, std::nullopt},
    {"MarkerWinsOverEarlierController111",
     [](MidiTrackWriter& t) {
         t.controller(50, 0, 111, 0);
         t.marker(50, "loopstart");
         t.marker(50, "loopStart");
     },
     LoopStartKind::Marker, 100, std::nullopt},
    {"OtherMarkersAreNotLoopPoints",
     [](MidiTrackWriter& t) {
         t.marker(10, "loopStarted");
         t.marker(10, "verse");
     },
     LoopStartKind::SongStart, 0, std::nullopt},
};

void PrintTo(const LoopCase& c, std::ostream* os) {
    *os << c.name;
}

class FindsLoopPoints : public testing::TestWithParam<LoopCase> {};

TEST_P(FindsLoopPoints, FromMarkersOrController111) {
    MidiTrackWriter t;
    t.noteOn(0, 0, 60, 1);
    GetParam().write(t);
    t.endOfTrack(400);
    Song song;
    std::string why;
    ASSERT_TRUE(MidiFileReader::parse(oneTrack(t), song, why)) << why;
    EXPECT_EQ(song.loopStartKind, GetParam().kind);
    EXPECT_EQ(song.loopStartTick, GetParam().start);
    EXPECT_EQ(song.loopEndTick, GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(Table, FindsLoopPoints, testing::ValuesIn(kLoopCases),
                         [](const auto& param) { return param.param.name; });

// A file whose bytes are `prefix`, then a track chunk with `trackBody` whose declared length is
// the body's plus `lengthExcess`.
Bytes withTrack(const Bytes& header, const Bytes& trackBody, int lengthExcess = 0) {
    Bytes bytes = header;
    const auto length =
        static_cast<std::uint32_t>(static_cast<int>(trackBody.size()) + lengthExcess);
    bytes.insert(bytes.end(),
                 {'M', 'T', 'r', 'k', static_cast<std::uint8_t>(length >> 24),
                  static_cast<std::uint8_t>(length >> 16), static_cast<std::uint8_t>(length >> 8),
                  static_cast<std::uint8_t>(length)});
    bytes.insert(bytes.end(), trackBody.begin(), trackBody.end());
    return bytes;
}

const Bytes kHeader = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
Bytes header(std::uint16_t format, std::uint16_t tracks, std::uint16_t division) {
    return {'M',
            'T',
            'h',
            'd',
            0,
            0,
            0,
            6,
            0,
            static_cast<std::uint8_t>(format),
            static_cast<std::uint8_t>(tracks >> 8),
            static_cast<std::uint8_t>(tracks),
            static_cast<std::uint8_t>(division >> 8),
            static_cast<std::uint8_t>(division)};
}
const Bytes kNote = {0x00, 0x90, 60, 100, 0x60, 0x80, 60, 0};
const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct BadCase {
    const char* name;
    std::function<Bytes()> make;
    const char* reason;     // part of the reason given
    std::size_t keptEvents; // 0: rejected; otherwise read up to the damage with these events
};

const BadCase kBadCases[] = {
    {"Empty", [] { return Bytes{}; }, "not a Standard MIDI File", 0},
    {"Garbage", [] { return Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}; },
     "not a Standard MIDI File", 0},
    {"RiffWave", [] { return Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}; },
     "not RMID", 0},
    {"RmidWithoutData", [] { return Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'R', 'M', 'I', 'D'}; },
     "without MIDI data", 0},
    // An odd-sized chunk ending the file without its pad byte once sent the chunk walk past it.
    {"RmidOddChunkEndsTheFile",
     [] {
         return Bytes{'R', 'I', 'F', 'F', 15, 0, 0, 0, 'R', 'M', 'I', 'D',
                      'L', 'I', 'S', 'T', 3,  0, 0, 0, 'a', 'b', 'c'};
     },
     "without MIDI data", 0},
    {"HeaderCutShort", [] { return Bytes(kHeader.begin(), kHeader.begin() + 10); },
     "header is cut short", 0},
    {"HeaderTooShort", [] { return Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 4, 0, 0, 0, 1}; },
     "header is too short", 0},
    {"Format2", [] { return withTrack(header(2, 1, 96), concat(kNote, kEnd)); }, "format 2", 0},
    {"Format3", [] { return withTrack(header(3, 1, 96), concat(kNote, kEnd)); }, "unknown format 3",
     0},
    {"NoTracksInHeader", [] { return withTrack(header(0, 0, 96), concat(kNote, kEnd)); },
     "no tracks", 0},
    {"ZeroDivision", [] { return withTrack(header(0, 1, 0), concat(kNote, kEnd)); },
     "time division is zero", 0},
    {"BadSmpteDivision", [] { return withTrack(header(0, 1, 0xE000), concat(kNote, kEnd)); },
     "SMPTE", 0},
    {"NoTrackChunk", [] { return header(0, 1, 96); }, "no track chunk", 0},
    {"MoreTracksThanHeaderSays",
     [] { return withTrack(withTrack(kHeader, concat(kNote, kEnd)), concat(kNote, kEnd)); },
     "more track chunks than the 1", 0},
    {"VariableLengthOverFourBytes",
     [] {
         return withTrack(kHeader, {0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 60, 1});
     },
     "longer than four bytes", 0},
    {"RunningStatusWithoutStatus",
     [] {
         return withTrack(kHeader, {0x00, 60, 100});
     },
     "running status", 0},
    {"DataByteOver127",
     [] {
         return withTrack(kHeader, {0x00, 0x90, 60, 0xC8});
     },
     "over 127", 0},
    {"RealTimeStatusInFile",
     [] {
         return withTrack(kHeader, {0x00, 0xF8});
     },
     "no place", 0},
    {"CutInsideFirstEvent",
     [] {
         return withTrack(kHeader, {0x00, 0x90, 60}, 5);
     },
     "before any event", 0},
    {"TrackChunkPastEndOfFile",
     [] {
         return withTrack(kHeader, concat(kNote, {0x00, 0x90, 62}), 40);
     },
     "cut short", 2},
    {"MetaLengthPastEndOfTrack",
     [] {
         return withTrack(kHeader, concat(kNote, {0x00, 0xFF, 0x01, 0x20, 'a'}));
     },
     "runs past the end of its track", 2},
    {"SysExLengthPastEndOfTrack",
     [] {
         return withTrack(kHeader, concat(kNote, {0x00, 0xF0, 0x7F, 0x01}));
     },
     "runs past the end of its track", 2},
    {"FewerTracksThanHeaderSays", [] { return withTrack(header(1, 3, 96), concat(kNote, kEnd)); },
     "only 1 of 3 tracks", 2},
    {"TicksPastTheLimit",
     [] {
         Bytes body;
         for (int i = 0; i < 9; ++i) {
             body.insert(body.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 1});
         }
         return withTrack(kHeader, body);
     },
     "longer than", 0},
    {"Over16MiB",
     [] {
         Bytes bytes = withTrack(kHeader, concat(kNote, kEnd));
         bytes.resize(MidiFileReader::kMaxFileSize + 1);
         return bytes;
     },
     "larger than 16 MiB", 0},
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.name;
}

class HandlesDamagedFile : public testing::TestWithParam<BadCase> {};

TEST_P(HandlesDamagedFile, RejectsOrReadsUpToTheDamageWithItsReason) {
    Song song;
    std::string why;
    const bool accepted = MidiFileReader::parse(GetParam().make(), song, why);
    if (GetParam().keptEvents == 0) {
        EXPECT_FALSE(accepted);
        EXPECT_NE(why.find(GetParam().reason), std::string::npos) << why;
    } else {
        ASSERT_TRUE(accepted) << why;
        EXPECT_EQ(song.events.size(), GetParam().keptEvents);
        EXPECT_NE(song.damage.find(GetParam().reason), std::string::npos) << song.damage;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, HandlesDamagedFile, testing::ValuesIn(kBadCases),
                         [](const auto& param) { return param.param.name; });

TEST(MidiFileReader, EveryPrefixOfAFileIsReadOrRejectedWithAReason) {
    const Bytes whole = midiwriter::SampleSong::bytes();
    for (std::size_t size = 0; size < whole.size(); ++size) {
        Song song;
        std::string why;
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<long>(size));
        if (!MidiFileReader::parse(prefix, song, why)) {
            EXPECT_FALSE(why.empty()) << size;
        } else {
            EXPECT_LE(song.events.size(), whole.size()) << size;
        }
    }
}

TEST(MidiFileReader, LoadGivesTheReasonForMissingAndUnreadablePaths) {
    Song song;
    std::string why;
    EXPECT_FALSE(MidiFileReader::load("/nonexistent/song.mid", song, why));
    EXPECT_EQ(why, "no such file");
    EXPECT_FALSE(MidiFileReader::load(std::filesystem::temp_directory_path(), song, why));
    EXPECT_EQ(why, "not a file");
}

TEST(MidiFileReader, LoadReadsAFileFromDisk) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("lyrinth-reader-test-" + std::to_string(getpid()) + ".mid");
    ASSERT_TRUE(MidiFileWriter::save(path, midiwriter::SampleSong::bytes()));
    Song song;
    std::string why;
    EXPECT_TRUE(MidiFileReader::load(path, song, why)) << why;
    std::filesystem::remove(path);
    EXPECT_EQ(song.loopStartKind, LoopStartKind::Marker);
    EXPECT_EQ(song.loopStartTick, midiwriter::SampleSong::kLoopStartTick);
    EXPECT_EQ(song.endTick, midiwriter::SampleSong::kEndTick);
}

} // namespace

namespace {

TEST(SampleSong, CommittedFileIsWhatTheToolWrites) {
    std::ifstream file(std::filesystem::path(LYRINTH_SOURCE_DIR) / "samples" / "song.mid",
                       std::ios::binary);
    const Bytes committed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(committed, midiwriter::SampleSong::bytes())
        << "run: build/bin/make-sample-song samples/song.mid";
}

} // namespace
