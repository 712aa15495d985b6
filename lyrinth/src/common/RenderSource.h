// Anything the mixer asks for sound: the music stage, the sound-effect voices.
#pragma once

#include <cstddef>

namespace lyrinth {

class RenderSource {
public:
    virtual ~RenderSource() = default;

    // Audio thread. Adds `frames` frames of interleaved stereo float (L, R, L, R ...) into `out`.
    // Must not allocate, wait on a lock held by slow work, log, or touch a file.
    virtual void renderAdd(float* out, std::size_t frames) noexcept = 0;
};

} // namespace lyrinth
