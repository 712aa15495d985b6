// Audio thread: a sound-effect voice with de-clicked start and stop.
#include "mixer/Voice.h"

#include <algorithm>

namespace lyrinth {

void Voice::start(SoundClip* clip, std::uint64_t serial, std::uint64_t stopsBefore,
                  std::size_t rampFrames) noexcept {
    clip_ = clip;
    position_ = 0;
    serial_ = serial;
    stopsBefore_ = stopsBefore;
    rampStep_ = 1.0f / static_cast<float>(std::max<std::size_t>(rampFrames, 1));
    step_ = rampStep_;
    gain_ = 0.0f;
    state_ = State::Playing;
}

void Voice::stop() noexcept {
    if (state_ != State::Playing) {
        return;
    }
    // The same slope as the start ramp, so a voice cut while still fading in stops sooner.
    step_ = -rampStep_;
    state_ = State::Stopping;
}

SoundClip* Voice::release() noexcept {
    SoundClip* clip = clip_;
    clip_ = nullptr;
    state_ = State::Free;
    return clip;
}

void Voice::renderAdd(float* out, std::size_t frames) noexcept {
    if (state_ != State::Playing && state_ != State::Stopping) {
        return;
    }
    const float* in = clip_->samples.data();
    const std::size_t end = clip_->frames();
    for (std::size_t i = 0; i < frames; ++i) {
        if (position_ >= end || (state_ == State::Stopping && gain_ <= 0.0f)) {
            state_ = State::Finished;
            return;
        }
        if (step_ != 0.0f) {
            gain_ = std::clamp(gain_ + step_, 0.0f, 1.0f);
            if (state_ == State::Playing && gain_ >= 1.0f) {
                step_ = 0.0f;
            }
        }
        out[2 * i] += in[2 * position_] * gain_;
        out[2 * i + 1] += in[2 * position_ + 1] * gain_;
        ++position_;
    }
    if (position_ >= end) {
        state_ = State::Finished;
    }
}

} // namespace lyrinth
