// libFuzzer target: a Standard MIDI File from untrusted bytes through the reader, and whatever
// it accepts through the sequencer's set-up (loop points, the state restored at the loop start,
// the instruments to hold). Fast, so it reaches deep into the reader; fuzz_midi_playback plays.
#include "midi/MidiFileReader.h"
#include "midi/Sequencer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lyrinth::Song song;
    std::string why;
    if (lyrinth::MidiFileReader::parse({data, size}, song, why)) {
        const lyrinth::Sequencer sequencer(std::move(song), 48000.0);
        (void)sequencer.tick();
    }
    return 0;
}
