// Writes the benchmark's songs into a folder: the demo's sample song and the generated ones.
// Usage: bench_songs <folder>. Prints each file's name.
#include "BenchSong.h"
#include "MidiFileWriter.h"
#include "SampleSong.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_songs <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    auto save = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto path = folder / (name + ".mid");
        if (!midiwriter::MidiFileWriter::save(path, bytes)) {
            std::fprintf(stderr, "bench_songs: cannot write %s\n", path.c_str());
            return false;
        }
        std::printf("%s\n", path.c_str());
        return true;
    };
    bool saved = save("song", midiwriter::SampleSong::bytes());
    for (const auto& shape : bench::BenchSong::shapes()) {
        saved = save(shape.name, bench::BenchSong::bytes(shape)) && saved;
    }
    return saved ? 0 : 1;
}
