// libFuzzer target: a WAV file from untrusted bytes through the library's WAV loader. The loader
// reads from a path, so each input is written to one scratch file first.
#include "wav/WavLoader.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kOutputRate = 48000;

const std::string& scratchPath() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir != nullptr ? dir : "/tmp") + "/fuzz_wav_file." +
               std::to_string(getpid()) + ".wav";
    }();
    return path;
}

bool writeScratch(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(scratchPath().c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!writeScratch(data, size)) {
        std::abort(); // the scratch folder is broken: no input would be tried
    }
    std::string why;
    const auto clip = lyrinth::WavLoader(kOutputRate).load(scratchPath(), why);
    (void)clip;
    std::remove(scratchPath().c_str());
    return 0;
}
