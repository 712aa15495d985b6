// Seeds for the MIDI file fuzz target, made with the tests' own MIDI writer: one file for each
// feature the reader and the sequencer handle, so the fuzzer starts from every path.
#pragma once

#include "Seed.h"

#include <vector>

class MidiSeeds {
public:
    static std::vector<Seed> make();
};
