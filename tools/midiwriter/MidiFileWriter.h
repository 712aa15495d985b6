// Assembles a Standard MIDI File (header and track chunks), optionally wrapped in RIFF RMID.
#pragma once

#include "MidiTrackWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace midiwriter {

class MidiFileWriter {
public:
    // `division`: ticks per quarter note, or an SMPTE division word (bit 15 set).
    MidiFileWriter(std::uint16_t format, std::uint16_t division)
        : format_(format), division_(division) {}

    void addTrack(const MidiTrackWriter& track) { tracks_.push_back(track.bytes()); }
    void addChunk(const std::string& id, const std::vector<std::uint8_t>& body);
    // The track count written in the header; by default the number of tracks added.
    void setHeaderTrackCount(std::uint16_t count) { headerTrackCount_ = count; }

    std::vector<std::uint8_t> bytes() const;
    static std::vector<std::uint8_t> wrapInRmid(const std::vector<std::uint8_t>& smf);
    static bool save(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

private:
    struct Chunk {
        std::string id;
        std::vector<std::uint8_t> body;
    };

    std::uint16_t format_;
    std::uint16_t division_;
    int headerTrackCount_ = -1;
    std::vector<std::vector<std::uint8_t>> tracks_;
    std::vector<Chunk> extraChunks_;
};

} // namespace midiwriter
