// Downmix weights by speaker position, and the mix itself. Caller's thread.
#include "wav/StereoDownmix.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace lyrinth {
namespace {

enum class Side { Left, Right, Both, None };

// WAVE's speaker order for files that do not name their channels' positions.
constexpr std::array kWaveDefaultOrder{
    SF_CHANNEL_MAP_FRONT_LEFT,
    SF_CHANNEL_MAP_FRONT_RIGHT,
    SF_CHANNEL_MAP_FRONT_CENTER,
    SF_CHANNEL_MAP_LFE,
    SF_CHANNEL_MAP_REAR_LEFT,
    SF_CHANNEL_MAP_REAR_RIGHT,
    SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER,
    SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER,
    SF_CHANNEL_MAP_REAR_CENTER,
    SF_CHANNEL_MAP_SIDE_LEFT,
    SF_CHANNEL_MAP_SIDE_RIGHT,
    SF_CHANNEL_MAP_TOP_CENTER,
    SF_CHANNEL_MAP_TOP_FRONT_LEFT,
    SF_CHANNEL_MAP_TOP_FRONT_CENTER,
    SF_CHANNEL_MAP_TOP_FRONT_RIGHT,
    SF_CHANNEL_MAP_TOP_REAR_LEFT,
    SF_CHANNEL_MAP_TOP_REAR_CENTER,
    SF_CHANNEL_MAP_TOP_REAR_RIGHT,
};

Side sideOf(int position) {
    switch (position) {
    case SF_CHANNEL_MAP_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT:
    case SF_CHANNEL_MAP_REAR_LEFT:
    case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
    case SF_CHANNEL_MAP_SIDE_LEFT:
    case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
    case SF_CHANNEL_MAP_TOP_REAR_LEFT:
        return Side::Left;
    case SF_CHANNEL_MAP_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_REAR_RIGHT:
    case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
    case SF_CHANNEL_MAP_SIDE_RIGHT:
    case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
    case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
        return Side::Right;
    case SF_CHANNEL_MAP_LFE:
    case SF_CHANNEL_MAP_AMBISONIC_B_X:
    case SF_CHANNEL_MAP_AMBISONIC_B_Y:
    case SF_CHANNEL_MAP_AMBISONIC_B_Z:
        return Side::None;
    default:
        return Side::Both;
    }
}

void normalise(std::vector<float>& weights) {
    const float sum = std::accumulate(weights.begin(), weights.end(), 0.0f);
    for (float& weight : weights) {
        weight /= sum;
    }
}

} // namespace

StereoDownmix::StereoDownmix(std::size_t channels, const std::vector<int>& positions)
    : channels_(channels), left_(channels, 0.0f), right_(channels, 0.0f) {
    if (channels == 1) {
        left_[0] = right_[0] = 1.0f;
        return;
    }
    if (channels == 2 && positions.empty()) {
        left_[0] = right_[1] = 1.0f;
        return;
    }
    for (std::size_t c = 0; c < channels; ++c) {
        const int position = c < positions.size()           ? positions[c]
                             : c < kWaveDefaultOrder.size() ? kWaveDefaultOrder[c]
                                                            : SF_CHANNEL_MAP_INVALID;
        const Side side = sideOf(position);
        left_[c] = side == Side::Left ? 1.0f : side == Side::Both ? 0.5f : 0.0f;
        right_[c] = side == Side::Right ? 1.0f : side == Side::Both ? 0.5f : 0.0f;
    }
    const auto silent = [](const std::vector<float>& w) {
        return std::all_of(w.begin(), w.end(), [](float x) { return x == 0.0f; });
    };
    // A file whose channels all sit on one side, or nowhere we can place, is still heard.
    if (silent(left_) && silent(right_)) {
        std::fill(left_.begin(), left_.end(), 1.0f);
        std::fill(right_.begin(), right_.end(), 1.0f);
    } else if (silent(left_)) {
        left_ = right_;
    } else if (silent(right_)) {
        right_ = left_;
    }
    normalise(left_);
    normalise(right_);
}

void StereoDownmix::mix(const float* in, std::size_t frames, float* out) const {
    for (std::size_t f = 0; f < frames; ++f) {
        float left = 0.0f;
        float right = 0.0f;
        for (std::size_t c = 0; c < channels_; ++c) {
            float sample = in[f * channels_ + c];
            sample = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
            left += sample * left_[c];
            right += sample * right_[c];
        }
        out[2 * f] = left;
        out[2 * f + 1] = right;
    }
}

} // namespace lyrinth
