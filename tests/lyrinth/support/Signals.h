// Test signals and their measurement: sines and constants to write into fixtures, and the level,
// pitch and extent of what comes back.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace lyrinth::test {

// `frames` frames of `channels` interleaved channels, each filled by `value(channel, frame)`.
template <typename Value>
std::vector<float> makeSignal(std::size_t frames, std::size_t channels, Value value) {
    std::vector<float> out(frames * channels);
    for (std::size_t f = 0; f < frames; ++f) {
        for (std::size_t c = 0; c < channels; ++c) {
            out[f * channels + c] = value(c, f);
        }
    }
    return out;
}

float sineAt(double frequency, double rate, std::size_t frame, float amplitude);

// One channel of interleaved stereo.
std::vector<float> channel(const std::vector<float>& stereo, std::size_t which);

// First and one-past-last non-silent frame of a stereo signal, if any.
struct Extent {
    std::size_t begin;
    std::size_t end;
};
std::optional<Extent> soundExtent(const std::vector<float>& stereo);

double rms(const std::vector<float>& mono, std::size_t begin, std::size_t end);
// Frequency from the rising zero crossings between begin and end.
double frequency(const std::vector<float>& mono, std::size_t begin, std::size_t end, double rate);
// Largest change between neighbouring samples: a click shows as a big one.
float largestStep(const std::vector<float>& mono, std::size_t begin, std::size_t end);

} // namespace lyrinth::test
