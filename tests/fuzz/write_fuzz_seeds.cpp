// Writes the fuzz targets' seed corpora: write_fuzz_seeds <output folder> <samples folder>.
// MIDI seeds go to <output>/midi, WAV seeds to <output>/wav, each joined by the samples' files.
#include "MidiSeeds.h"
#include "WavSeeds.h"

#include "MidiFileWriter.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool copySamples(const fs::path& samples, const fs::path& to, const char* extension) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(samples, error)) {
        if (entry.path().extension() == extension &&
            !fs::copy_file(entry.path(), to / entry.path().filename(),
                           fs::copy_options::overwrite_existing, error)) {
            return false;
        }
    }
    return !error;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_fuzz_seeds <output folder> <samples folder>\n");
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path samples = argv[2];
    std::error_code error;
    fs::create_directories(out / "midi", error);
    fs::create_directories(out / "wav", error);
    bool ok = !error;
    for (const Seed& seed : MidiSeeds::make()) {
        ok = ok && midiwriter::MidiFileWriter::save(out / "midi" / seed.name, seed.bytes);
    }
    ok = ok && copySamples(samples, out / "midi", ".mid");
    try {
        WavSeeds::write(out / "wav");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "write_fuzz_seeds: %s\n", e.what());
        return 1;
    }
    ok = ok && copySamples(samples, out / "wav", ".wav");
    if (!ok) {
        std::fprintf(stderr, "write_fuzz_seeds: cannot write the seeds into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
