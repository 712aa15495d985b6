// Writes the demo's sample song: make-sample-song <output.mid>
#include "MidiFileWriter.h"
#include "SampleSong.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample-song <output.mid>\n");
        return 2;
    }
    if (!midiwriter::MidiFileWriter::save(argv[1], midiwriter::SampleSong::bytes())) {
        std::fprintf(stderr, "make-sample-song: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
