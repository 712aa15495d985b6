// One event of a song, as the MIDI file reader produces it and the sequencer plays it.
#pragma once

#include <cstdint>

namespace lyrinth {

enum class MidiEventKind : std::uint8_t {
    Channel, // status 0x80..0xEF with its one or two data bytes
    Tempo,   // `value` holds microseconds per quarter note
    SysEx,   // status 0xF0 or 0xF7; payload in the song's payload bytes
    Meta,    // `status` holds the meta type; payload in the song's payload bytes
};

struct MidiEvent {
    std::uint32_t tick = 0;
    MidiEventKind kind = MidiEventKind::Channel;
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
    std::uint32_t value = 0; // tempo, or the payload's offset
    std::uint32_t size = 0;  // payload size

    int channel() const { return status & 0x0F; }
    int type() const { return status & 0xF0; }
    bool isController(int number) const {
        return kind == MidiEventKind::Channel && type() == 0xB0 && data1 == number;
    }
};

} // namespace lyrinth
