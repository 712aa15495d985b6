// Songs of a held organ chord, the tests' fixtures for level and timing measurements: the organ
// sounds steadily from its first frame, so a level read anywhere means the same.
#pragma once

#include "MidiTrackWriter.h"

#include <cstdint>
#include <vector>

namespace midiwriter {

class SteadySong {
public:
    // At the default tempo of 120 beats per minute: 960 ticks a second.
    static constexpr std::uint16_t kTicksPerQuarter = 480;
    static constexpr std::uint32_t kTicksPerSecond = 960;

    // An organ chord held from `delta` ticks after the previous event for `length` ticks.
    static void addChord(MidiTrackWriter& track, std::uint32_t delta, std::uint32_t length);
    // A minute of the chord, far longer than the tests listen, so it does not loop meanwhile.
    static void addMinute(MidiTrackWriter& track);
    // A format 0 file of `track` at kTicksPerQuarter.
    static std::vector<std::uint8_t> file(const MidiTrackWriter& track);
};

} // namespace midiwriter
