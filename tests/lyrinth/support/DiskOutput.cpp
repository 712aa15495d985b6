// Reading back what SDL's disk audio driver wrote.
#include "support/DiskOutput.h"

#include "support/Signals.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>

namespace lyrinth::test {
namespace {

constexpr auto kPatience = std::chrono::seconds(30);

bool waitFor(const std::function<bool()>& done) {
    const auto giveUp = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

DiskOutput::DiskOutput(std::string path, int millisecondsPerBuffer) : path_(std::move(path)) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", std::to_string(millisecondsPerBuffer).c_str(), 1);
}

std::vector<float> DiskOutput::read() const {
    std::ifstream in(path_, std::ios::binary);
    std::vector<float> samples(framesWritten() * 2);
    in.read(reinterpret_cast<char*>(samples.data()),
            static_cast<std::streamsize>(samples.size() * sizeof(float)));
    samples.resize(static_cast<std::size_t>(in.gcount()) / sizeof(float) / 2 * 2);
    return samples;
}

std::size_t DiskOutput::framesWritten() const {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path_, error);
    return error ? 0 : static_cast<std::size_t>(bytes) / (2 * sizeof(float));
}

bool DiskOutput::waitForSound(std::size_t frames) const {
    return waitFor([&] {
        const auto extent = soundExtent(read());
        return extent && framesWritten() >= extent->begin + frames;
    });
}

bool DiskOutput::waitForMore(std::size_t frames) const {
    const std::size_t target = framesWritten() + frames;
    return waitFor([&] { return framesWritten() >= target; });
}

DiskOutput::Answer DiskOutput::answerAt(const std::function<int()>& ask) const {
    // Asked again until no buffer was written meanwhile, so that the answer and the frame count
    // belong together.
    for (;;) {
        const std::size_t before = framesWritten();
        const int value = ask();
        if (framesWritten() == before) {
            return {value, before};
        }
    }
}

bool DiskOutput::askUntil(const std::function<int()>& ask, const std::function<bool(int)>& done,
                          const std::function<void(const Answer&)>& seen) const {
    return waitFor([&] {
        const Answer answer = answerAt(ask);
        seen(answer);
        return done(answer.value);
    });
}

bool DiskOutput::waitUntil(const std::function<bool(const std::vector<float>&)>& heard) const {
    return waitFor([&] { return heard(read()); });
}

} // namespace lyrinth::test
