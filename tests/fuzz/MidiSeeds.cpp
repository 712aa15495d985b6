// Seeds for the MIDI file fuzz target, made with the tests' own MIDI writer.
#include "MidiSeeds.h"

#include "MidiFileWriter.h"
#include "SampleSong.h"

using midiwriter::MidiFileWriter;
using midiwriter::MidiTrackWriter;

namespace {

MidiTrackWriter melody(bool runningStatus) {
    MidiTrackWriter t(runningStatus);
    t.program(0, 0, 24);
    t.controller(0, 0, 7, 100);
    t.noteOn(0, 0, 60, 100);
    t.noteOn(0, 0, 64, 100);
    t.pitchBend(48, 0, 9000);
    t.noteOff(48, 0, 60);
    t.noteOff(0, 0, 64);
    t.endOfTrack(0);
    return t;
}

std::vector<std::uint8_t> oneTrack(const MidiTrackWriter& track, std::uint16_t division) {
    MidiFileWriter file(0, division);
    file.addTrack(track);
    return file.bytes();
}

// A conductor track with tempo changes and loop markers, and a drum track with controller 111.
std::vector<std::uint8_t> loopingFormat1() {
    MidiTrackWriter conductor;
    conductor.tempo(0, 400000);
    conductor.marker(96, "loopStart");
    conductor.tempo(0, 250000);
    conductor.marker(192, "LOOPEND");
    conductor.endOfTrack(0);
    MidiTrackWriter drums;
    drums.controller(0, 9, 0, 1);
    drums.controller(0, 9, 32, 2);
    drums.program(0, 9, 16);
    drums.controller(48, 9, 111, 0);
    drums.noteOn(0, 9, 36, 127);
    drums.noteOff(24, 9, 36);
    drums.sysex(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});
    drums.endOfTrack(200);
    MidiFileWriter file(1, 96);
    file.addTrack(conductor);
    file.addTrack(drums);
    return file.bytes();
}

} // namespace

std::vector<Seed> MidiSeeds::make() {
    const auto song = midiwriter::SampleSong::bytes();
    MidiFileWriter withChunk(0, 96);
    withChunk.addChunk("XTRA", {1, 2, 3});
    withChunk.addTrack(melody(false));
    return {
        {"sample_song.mid", song},
        {"sample_song_rmid.mid", MidiFileWriter::wrapInRmid(song)},
        {"running_status.mid", oneTrack(melody(true), 96)},
        {"smpte_25fps.mid", oneTrack(melody(false), 0xE728)},
        {"looping_format1.mid", loopingFormat1()},
        {"unknown_chunk.mid", withChunk.bytes()},
    };
}
