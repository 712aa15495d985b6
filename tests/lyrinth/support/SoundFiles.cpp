// Fixture files for the tests.
#include "support/SoundFiles.h"

#include <sndfile.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace lyrinth::test {

void writeSoundFile(const std::string& path, int format, int rate, int channels,
                    const std::vector<float>& samples) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        throw std::runtime_error(path + ": " + sf_strerror(nullptr));
    }
    const auto frames = static_cast<sf_count_t>(samples.size()) / channels;
    const sf_count_t written = sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    if (written != frames) {
        throw std::runtime_error(path + ": short write");
    }
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::string writeBytesIn(const std::filesystem::path& folder, const char* name,
                         const std::vector<std::uint8_t>& bytes) {
    const std::string path = (folder / name).string();
    writeBytes(path, bytes);
    return path;
}

std::string cutTo(const std::string& path, std::size_t bytes) {
    std::filesystem::resize_file(path, bytes);
    return path;
}

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> pcmWavBytes(std::uint16_t channels, std::uint32_t rate,
                                      std::uint32_t declaredDataBytes, std::size_t dataBytes) {
    std::vector<std::uint8_t> bytes;
    const auto text = [&](const char* four) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(four[i]));
        }
    };
    const auto number = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    const std::uint16_t blockAlign = static_cast<std::uint16_t>(channels * 2);
    text("RIFF");
    number(36 + declaredDataBytes, 4);
    text("WAVE");
    text("fmt ");
    number(16, 4);
    number(1, 2); // PCM
    number(channels, 2);
    number(rate, 4);
    number(rate * blockAlign, 4);
    number(blockAlign, 2);
    number(16, 2);
    text("data");
    number(declaredDataBytes, 4);
    bytes.resize(bytes.size() + dataBytes, 0);
    return bytes;
}

} // namespace lyrinth::test
