// Walks the RIFF/RIFX/RF64 chunk list to the "data" chunk and compares its declared size with the
// bytes that follow it in the file. Caller's thread.
#include "wav/RiffDataCheck.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace lyrinth {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool readAt(std::FILE* file, std::uint64_t offset, unsigned char* into, std::size_t bytes) {
    return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0 &&
           std::fread(into, 1, bytes, file) == bytes;
}

std::uint64_t number(const unsigned char* bytes, std::size_t count, bool bigEndian) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value = (value << 8) | bytes[bigEndian ? i : count - 1 - i];
    }
    return value;
}

} // namespace

std::string RiffDataCheck::problem(const std::string& path) {
    std::error_code error;
    const std::uint64_t fileSize = std::filesystem::file_size(path, error);
    File file(std::fopen(path.c_str(), "rb"));
    std::array<unsigned char, 12> riff{};
    if (error || !file || !readAt(file.get(), 0, riff.data(), riff.size())) {
        return {};
    }
    const bool bigEndian = std::memcmp(riff.data(), "RIFX", 4) == 0;
    const bool rf64 = std::memcmp(riff.data(), "RF64", 4) == 0;
    std::uint64_t rf64DataSize = 0;

    // Each step moves forward by at least 8 bytes, so the walk ends within the file; a file of
    // countless tiny chunks is left to the decoder rather than walked for long.
    constexpr int kMostChunks = 4096;
    std::uint64_t at = riff.size();
    for (int chunk = 0; chunk < kMostChunks && at + 8 <= fileSize; ++chunk) {
        std::array<unsigned char, 8> header{};
        if (!readAt(file.get(), at, header.data(), header.size())) {
            return {};
        }
        std::uint64_t size = number(header.data() + 4, 4, bigEndian);
        if (rf64 && std::memcmp(header.data(), "ds64", 4) == 0) {
            std::array<unsigned char, 16> ds64{};
            if (readAt(file.get(), at + 8, ds64.data(), ds64.size())) {
                rf64DataSize = number(ds64.data() + 8, 8, false);
            }
        }
        if (std::memcmp(header.data(), "data", 4) == 0) {
            if (rf64 && size == 0xFFFFFFFFu) {
                size = rf64DataSize;
            }
            const std::uint64_t held = fileSize - (at + 8);
            if (size > held) {
                return "truncated: the header declares " + std::to_string(size) +
                       " bytes of sound data, the file holds " + std::to_string(held);
            }
            return {};
        }
        at += 8 + size + (size & 1u);
    }
    return {};
}

} // namespace lyrinth
