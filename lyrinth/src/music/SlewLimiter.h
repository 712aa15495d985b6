// A gain that follows its target but moves at most full scale per few milliseconds: jumps become
// short ramps (no click), while slow changes such as fades pass unchanged (no lag). Audio thread.
#pragma once

#include <algorithm>

namespace lyrinth {

class SlewLimiter {
public:
    static constexpr double kRampSeconds = 0.005;

    explicit SlewLimiter(double sampleRate, float start = 0.0f)
        : step_(static_cast<float>(1.0 / (kRampSeconds * sampleRate))), value_(start) {}

    float next(float target) noexcept {
        value_ += std::clamp(target - value_, -step_, step_);
        return value_;
    }

    float value() const noexcept { return value_; }

private:
    float step_;
    float value_;
};

} // namespace lyrinth
