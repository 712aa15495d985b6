// A sound ready to play: interleaved stereo float samples at the output rate. Built on the
// caller's thread (the WAV loader), read on the audio thread by a Voice, freed on the caller's
// thread once the mixer retires it.
#pragma once

#include <cstddef>
#include <vector>

namespace lyrinth {

struct SoundClip {
    std::vector<float> samples; // L, R, L, R ...

    std::size_t frames() const noexcept { return samples.size() / 2; }
};

} // namespace lyrinth
