// A row of the bad-file tables: how to make the file, and what the library must say about it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace lyrinth::test {

struct BadFile {
    const char* name;
    // Writes the bad file into the given folder and returns the path to give the library.
    std::string (*make)(const std::filesystem::path& folder);
    const char* reason; // part of the reported line
};

// Gives `path` to `play` (LyrinthPlaySound, LyrinthPlayMusic) and expects it refused: 0, and one
// line "lyrinth: <path>: ..." that contains `reason`.
void expectRefused(std::int32_t (*play)(const char*), const std::string& path, const char* reason);

} // namespace lyrinth::test
