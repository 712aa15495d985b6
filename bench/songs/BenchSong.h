// Generated songs for the benchmarks: several channels of pseudo-random notes (the same on every
// run), so that files of a chosen density and length need not be kept in the repository.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

class BenchSong {
public:
    struct Shape {
        std::string name;
        int melodicChannels = 1; // programs from a fixed list, on channels 0, 1, ... (not 9)
        bool drums = false;      // a drum track on channel 9
        int bars = 8;            // of four beats, with notes; then two empty bars
        int beatsPerMinute = 120;
        int notesPerBeat = 1; // on each melodic channel; overlapping notes make chords
    };

    // The shapes the render benchmark uses, from sparse and short to the ~50 KB dense song.
    static std::vector<Shape> shapes();
    static std::vector<std::uint8_t> bytes(const Shape& shape);
};

} // namespace bench
