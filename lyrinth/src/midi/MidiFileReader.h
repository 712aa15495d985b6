// Reads Standard MIDI Files (format 0 and 1, plain or in a RIFF RMID wrapper) into a Song.
// Caller's thread. No input makes it read out of bounds, loop without end or allocate without
// bound: every length is checked against the bytes that are really there.
#pragma once

#include "midi/Song.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace lyrinth {

class MidiFileReader {
public:
    static constexpr std::size_t kMaxFileSize = 16u * 1024u * 1024u;
    static constexpr std::size_t kMaxEvents = 2u * 1024u * 1024u;
    static constexpr std::uint32_t kMaxTick = 0x7FFFFFFF;

    // On failure returns false and says why in `why`; `song` is then unspecified.
    static bool parse(std::span<const std::uint8_t> bytes, Song& song, std::string& why);
    static bool load(const std::filesystem::path& path, Song& song, std::string& why);
};

} // namespace lyrinth
