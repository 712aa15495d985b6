// Test signals and their measurement.
#include "support/Signals.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lyrinth::test {

float sineAt(double frequency, double rate, std::size_t frame, float amplitude) {
    const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(frame) / rate;
    return amplitude * static_cast<float>(std::sin(phase));
}

std::vector<float> channel(const std::vector<float>& stereo, std::size_t which) {
    std::vector<float> out(stereo.size() / 2);
    for (std::size_t f = 0; f < out.size(); ++f) {
        out[f] = stereo[2 * f + which];
    }
    return out;
}

std::optional<Extent> soundExtent(const std::vector<float>& stereo) {
    const auto loud = [](float x) { return std::fabs(x) > 1e-6f; };
    const auto first = std::find_if(stereo.begin(), stereo.end(), loud);
    if (first == stereo.end()) {
        return std::nullopt;
    }
    const auto last = std::find_if(stereo.rbegin(), stereo.rend(), loud);
    const auto begin = static_cast<std::size_t>(first - stereo.begin()) / 2;
    const auto end = (stereo.size() - static_cast<std::size_t>(last - stereo.rbegin()) - 1) / 2 + 1;
    return Extent{begin, end};
}

double rms(const std::vector<float>& mono, std::size_t begin, std::size_t end) {
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) {
        sum += static_cast<double>(mono[i]) * mono[i];
    }
    return std::sqrt(sum / static_cast<double>(end - begin));
}

double frequency(const std::vector<float>& mono, std::size_t begin, std::size_t end, double rate) {
    // A crossing counts only after the signal has gone clearly negative, so that noise from a
    // lossy encoding near zero does not count twice.
    constexpr float kArmBelow = -0.05f;
    double first = -1.0;
    double last = -1.0;
    int crossings = 0;
    bool armed = false;
    for (std::size_t i = begin + 1; i < end; ++i) {
        armed = armed || mono[i - 1] < kArmBelow;
        if (armed && mono[i - 1] < 0.0f && mono[i] >= 0.0f) {
            armed = false;
            // Where the line between the two samples crosses zero.
            const double at = static_cast<double>(i - 1) + mono[i - 1] / (mono[i - 1] - mono[i]);
            first = first < 0.0 ? at : first;
            last = at;
            ++crossings;
        }
    }
    return crossings < 2 ? 0.0 : (crossings - 1) * rate / (last - first);
}

float largestStep(const std::vector<float>& mono, std::size_t begin, std::size_t end) {
    float largest = 0.0f;
    for (std::size_t i = begin + 1; i < end; ++i) {
        largest = std::max(largest, std::fabs(mono[i] - mono[i - 1]));
    }
    return largest;
}

} // namespace lyrinth::test
