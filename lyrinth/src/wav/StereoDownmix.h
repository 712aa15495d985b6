// Mixes any number of channels to stereo. Mono goes to both sides unchanged, stereo stays as it
// is; with more channels each side is the weighted average of the channels heard on it (a centre
// channel counts half on each side, LFE not at all), so the mix never exceeds full scale.
// Caller's thread.
#pragma once

#include <cstddef>
#include <vector>

namespace lyrinth {

class StereoDownmix {
public:
    // `positions` holds one SF_CHANNEL_MAP_* value per channel, or is empty when the file names
    // none (the WAVE default speaker order is assumed then).
    StereoDownmix(std::size_t channels, const std::vector<int>& positions);

    // Mixes `frames` frames of `in` (interleaved, all channels) into `out` (interleaved stereo),
    // turning samples that are not finite numbers into silence and clipping to full scale.
    void mix(const float* in, std::size_t frames, float* out) const;

private:
    std::size_t channels_;
    std::vector<float> left_;  // weight of each channel on the left
    std::vector<float> right_; // and on the right
};

} // namespace lyrinth
