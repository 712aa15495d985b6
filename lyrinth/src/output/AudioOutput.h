// The SDL audio device: a thin adapter that asks one RenderSource (the mixer) for frames, as
// 32-bit float stereo at the device's preferred rate, in buffers of at most 512 frames.
#pragma once

#include "common/RenderSource.h"

#include <SDL_audio.h>

#include <memory>

namespace lyrinth {

class AudioOutput {
public:
    static constexpr Uint16 kBufferFrames = 512;

    // Caller's thread. Starts SDL's audio and picks the rate; nullptr, with the reason reported,
    // when there is no audio at all.
    static std::unique_ptr<AudioOutput> init();
    // Caller's thread. Closes the device (waiting for its thread to finish) and SDL's audio.
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    int sampleRate() const noexcept { return sampleRate_; }

    // Caller's thread. Opens the default device and has its thread render `source` until this
    // object is destroyed. False, with the reason reported, when the device cannot be opened.
    bool start(RenderSource& source);

private:
    explicit AudioOutput(int sampleRate) : sampleRate_(sampleRate) {}
    static void SDLCALL fill(void* self, Uint8* stream, int bytes);

    const int sampleRate_;
    RenderSource* source_ = nullptr;
    SDL_AudioDeviceID device_ = 0;
};

} // namespace lyrinth
