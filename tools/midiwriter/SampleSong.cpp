// The demo's sample song: piano chords, a bass line and drums at 112 beats per minute; bar one
// is an intro, bars two to five loop.
#include "SampleSong.h"

#include "MidiFileWriter.h"

#include <array>

namespace midiwriter {

namespace {
constexpr std::uint32_t kQuarter = SampleSong::kTicksPerQuarter;
constexpr std::uint32_t kBar = 4 * kQuarter;
constexpr int kPiano = 0, kBass = 1, kDrums = 9;

// Root notes of the chords: an intro on C, then C, A minor, F, G.
constexpr std::array<int, 5> kRoots = {60, 60, 57, 53, 55};

bool isMinor(std::size_t bar) {
    return bar == 2;
}

MidiTrackWriter conductor() {
    MidiTrackWriter track;
    track.meta(0, 0x03, "Lyrinth sample song");
    track.tempo(0, 535714); // 112 beats per minute
    track.meta(0, 0x58, std::string_view("\x04\x02\x18\x08", 4));
    track.marker(kBar, "loopStart");
    track.endOfTrack(SampleSong::kEndTick - kBar);
    return track;
}

MidiTrackWriter piano() {
    MidiTrackWriter track(true);
    track.program(0, kPiano, 0);
    track.controller(0, kPiano, 7, 100);
    track.controller(0, kPiano, 91, 40);
    constexpr std::uint32_t kGap = 20;
    std::uint32_t wait = 0;
    for (std::size_t bar = 0; bar < kRoots.size(); ++bar) {
        const int root = kRoots[bar];
        const int third = root + (isMinor(bar) ? 3 : 4);
        const std::array<int, 3> chord = {root, third, root + 7};
        for (int half = 0; half < 2; ++half) {
            for (int key : chord) {
                track.noteOn(wait, kPiano, key, half == 0 ? 84 : 70);
                wait = 0;
            }
            track.noteOff(2 * kQuarter - kGap, kPiano, chord[0]);
            track.noteOff(0, kPiano, chord[1]);
            track.noteOff(0, kPiano, chord[2]);
            wait = kGap;
        }
    }
    track.endOfTrack(wait);
    return track;
}

MidiTrackWriter bass() {
    MidiTrackWriter track(true);
    track.program(0, kBass, 33);
    track.controller(0, kBass, 7, 110);
    constexpr std::uint32_t kGap = 40;
    std::uint32_t wait = 0;
    for (std::size_t bar = 0; bar < kRoots.size(); ++bar) {
        const int root = kRoots[bar] - 24;
        const std::array<int, 4> line = {root, root + 7, root + 12, root + 7};
        for (int key : line) {
            track.noteOn(wait, kBass, key, 96);
            track.noteOff(kQuarter - kGap, kBass, key);
            wait = kGap;
        }
    }
    track.endOfTrack(wait);
    return track;
}

MidiTrackWriter drums() {
    constexpr int kKick = 36, kSnare = 38, kHat = 42;
    MidiTrackWriter track(true);
    track.controller(0, kDrums, 7, 100);
    for (std::size_t bar = 0; bar < kRoots.size(); ++bar) {
        for (int eighth = 0; eighth < 8; ++eighth) {
            const bool kick = eighth == 0 || eighth == 4 || (bar > 0 && eighth == 5);
            const bool snare = eighth == 2 || eighth == 6;
            track.noteOn(0, kDrums, kHat, eighth % 2 == 0 ? 80 : 60);
            if (kick) {
                track.noteOn(0, kDrums, kKick, 100);
            }
            if (snare) {
                track.noteOn(0, kDrums, kSnare, 92);
            }
            track.noteOff(kQuarter / 2, kDrums, kHat);
            if (kick) {
                track.noteOff(0, kDrums, kKick);
            }
            if (snare) {
                track.noteOff(0, kDrums, kSnare);
            }
        }
    }
    track.endOfTrack(0);
    return track;
}
} // namespace

std::vector<std::uint8_t> SampleSong::bytes() {
    MidiFileWriter file(1, kTicksPerQuarter);
    file.addTrack(conductor());
    file.addTrack(piano());
    file.addTrack(bass());
    file.addTrack(drums());
    return file.bytes();
}

} // namespace midiwriter
