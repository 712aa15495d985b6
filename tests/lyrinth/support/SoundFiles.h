// Fixture files for the tests: WAV (and other) files written through libsndfile, and raw bytes
// for the files no encoder would write (or that are damaged on purpose).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lyrinth::test {

// Writes interleaved `samples` with libsndfile's `format` (SF_FORMAT_* major | encoding).
void writeSoundFile(const std::string& path, int format, int rate, int channels,
                    const std::vector<float>& samples);
void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// writeBytes() into `folder`/`name`; returns the path.
std::string writeBytesIn(const std::filesystem::path& folder, const char* name,
                         const std::vector<std::uint8_t>& bytes);
// Cuts the file at `path` to its first `bytes` bytes; returns the path.
std::string cutTo(const std::string& path, std::size_t bytes);
std::vector<std::uint8_t> readBytes(const std::string& path);

// A canonical 44-byte 16-bit PCM WAV header with the given fields, followed by `dataBytes` zeros
// (the header's own data size is `declaredDataBytes`).
std::vector<std::uint8_t> pcmWavBytes(std::uint16_t channels, std::uint32_t rate,
                                      std::uint32_t declaredDataBytes, std::size_t dataBytes);

} // namespace lyrinth::test
