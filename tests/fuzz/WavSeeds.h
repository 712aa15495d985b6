// Seeds for the WAV file fuzz target, written with the tests' own sound-file writer: every
// encoding, channel count and container the loader accepts, each only a few frames long.
#pragma once

#include <filesystem>

class WavSeeds {
public:
    // Writes the seeds into `folder`; throws std::runtime_error if one cannot be written.
    static void write(const std::filesystem::path& folder);
};
