// How the music functions' numbers become gains: volume and fades on a perceptual curve, pan as
// a constant-power balance.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lyrinth {

struct StereoGain {
    float left = 1.0f;
    float right = 1.0f;
};

class MusicLevels {
public:
    static constexpr int kMinSpeed = 10, kMaxSpeed = 1000;
    static constexpr int kMaxFadeMilliseconds = 600000;

    // Perceived loudness grows as about the 0.6th power of amplitude, so amplitude is taken as
    // level^(5/3): each step of the scale sounds alike, and 50 sounds half as loud (-10 dB) as
    // 100.
    static double loudnessGain(double level) {
        return std::pow(std::clamp(level, 0.0, 1.0), 5.0 / 3.0);
    }

    // 0..100.
    static float volumeGain(int volume) {
        return static_cast<float>(loudnessGain(std::clamp(volume, 0, 100) / 100.0));
    }

    // -100 (left) .. 100 (right). Left² + right² stays 2, so the centre leaves the music as it is
    // and the total power does not change as it moves. Both sides are sines, so that either end
    // silences the other side exactly (the cosine of a computed right angle is only nearly 0).
    static StereoGain panGain(int pan) {
        const int clamped = std::clamp(pan, -100, 100);
        const auto side = [](int towards) {
            return static_cast<float>(std::numbers::sqrt2 *
                                      std::sin((towards + 100) / 200.0 * std::numbers::pi / 2.0));
        };
        return {side(-clamped), side(clamped)};
    }

    static double speedFactor(int percent) {
        return std::clamp(percent, kMinSpeed, kMaxSpeed) / 100.0;
    }
};

} // namespace lyrinth
