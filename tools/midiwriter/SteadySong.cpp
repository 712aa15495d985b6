// Songs of a held organ chord for the tests.
#include "SteadySong.h"

#include "MidiFileWriter.h"

namespace midiwriter {

void SteadySong::addChord(MidiTrackWriter& track, std::uint32_t delta, std::uint32_t length) {
    constexpr int kChurchOrgan = 19; // General MIDI program 20, counted from 0
    track.program(0, 0, kChurchOrgan);
    track.noteOn(delta, 0, 60, 100);
    track.noteOn(0, 0, 67, 100);
    track.noteOff(length, 0, 60);
    track.noteOff(0, 0, 67);
}

void SteadySong::addMinute(MidiTrackWriter& track) {
    addChord(track, 0, 60 * kTicksPerSecond);
    track.endOfTrack(0);
}

std::vector<std::uint8_t> SteadySong::file(const MidiTrackWriter& track) {
    MidiFileWriter writer(0, kTicksPerQuarter);
    writer.addTrack(track);
    return writer.bytes();
}

} // namespace midiwriter
