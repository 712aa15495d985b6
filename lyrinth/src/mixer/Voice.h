// One sound-effect voice: plays a SoundClip once, with a short gain ramp at its start and when it
// is stopped or cut, so that neither clicks. Runs on the audio thread: no allocation, no locks.
#pragma once

#include "common/RenderSource.h"
#include "mixer/SoundClip.h"

#include <cstddef>
#include <cstdint>

namespace lyrinth {

class Voice final : public RenderSource {
public:
    enum class State : std::uint8_t { Free, Playing, Stopping, Finished };

    // Audio thread. Starts `clip` from its first frame, rising from silence over `rampFrames`.
    // `serial` orders voices by age; `stopsBefore` counts the stop requests made before the
    // sound was asked for, so a later request can tell whether it applies.
    void start(SoundClip* clip, std::uint64_t serial, std::uint64_t stopsBefore,
               std::size_t rampFrames) noexcept;
    // Audio thread. Falls from the current gain to silence over at most the ramp length.
    void stop() noexcept;
    // Audio thread. Gives the clip back and frees the voice; the caller retires the clip.
    SoundClip* release() noexcept;

    void renderAdd(float* out, std::size_t frames) noexcept override;

    State state() const noexcept { return state_; }
    std::uint64_t serial() const noexcept { return serial_; }
    std::uint64_t stopsBefore() const noexcept { return stopsBefore_; }
    float gain() const noexcept { return gain_; }

private:
    SoundClip* clip_ = nullptr;
    std::size_t position_ = 0;
    std::uint64_t serial_ = 0;
    std::uint64_t stopsBefore_ = 0;
    float gain_ = 0.0f;
    float rampStep_ = 0.0f; // gain change per frame of a full ramp
    float step_ = 0.0f;     // positive while fading in, negative while stopping, else 0
    State state_ = State::Free;
};

} // namespace lyrinth
