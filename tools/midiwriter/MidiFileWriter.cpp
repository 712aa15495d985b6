// Assembles a Standard MIDI File, optionally wrapped in RIFF RMID.
#include "MidiFileWriter.h"

#include <fstream>

namespace midiwriter {

namespace {
void putBig(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
    }
}

void putLittle32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
    }
}

void putChunk(std::vector<std::uint8_t>& out, const std::string& id,
              const std::vector<std::uint8_t>& body) {
    out.insert(out.end(), id.begin(), id.end());
    putBig(out, static_cast<std::uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
}
} // namespace

void MidiFileWriter::addChunk(const std::string& id, const std::vector<std::uint8_t>& body) {
    extraChunks_.push_back({id, body});
}

std::vector<std::uint8_t> MidiFileWriter::bytes() const {
    std::vector<std::uint8_t> out;
    std::vector<std::uint8_t> header;
    putBig(header, format_, 2);
    const auto count = headerTrackCount_ >= 0 ? static_cast<std::uint32_t>(headerTrackCount_)
                                              : static_cast<std::uint32_t>(tracks_.size());
    putBig(header, count, 2);
    putBig(header, division_, 2);
    putChunk(out, "MThd", header);
    for (const auto& chunk : extraChunks_) {
        putChunk(out, chunk.id, chunk.body);
    }
    for (const auto& track : tracks_) {
        putChunk(out, "MTrk", track);
    }
    return out;
}

std::vector<std::uint8_t> MidiFileWriter::wrapInRmid(const std::vector<std::uint8_t>& smf) {
    std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F'};
    const auto padded = smf.size() + (smf.size() & 1);
    putLittle32(out, static_cast<std::uint32_t>(4 + 8 + padded));
    out.insert(out.end(), {'R', 'M', 'I', 'D', 'd', 'a', 't', 'a'});
    putLittle32(out, static_cast<std::uint32_t>(smf.size()));
    out.insert(out.end(), smf.begin(), smf.end());
    if (smf.size() & 1) {
        out.push_back(0);
    }
    return out;
}

bool MidiFileWriter::save(const std::filesystem::path& path,
                          const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace midiwriter
