// The SDL audio device adapter. fill() runs on SDL's audio thread; the rest on the caller's.
#include "output/AudioOutput.h"

#include "common/Log.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

namespace lyrinth {
namespace {

constexpr int kFallbackRate = 48000;

int preferredRate() {
    SDL_AudioSpec preferred{};
    // Not every SDL driver can tell (the disk and dummy drivers cannot); an answer outside what
    // any sound card offers is not trusted either.
    if (SDL_GetDefaultAudioInfo(nullptr, &preferred, 0) == 0 && preferred.freq >= 8000 &&
        preferred.freq <= 384000) {
        return preferred.freq;
    }
    return kFallbackRate;
}

} // namespace

std::unique_ptr<AudioOutput> AudioOutput::init() {
    // SDL would otherwise take over SIGINT and SIGTERM for its own event queue, which nobody
    // reads here: the program that loaded us could then no longer be stopped by them.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        reportFailure("LyrinthCreate", std::string("no audio output: ") + SDL_GetError());
        return nullptr;
    }
    return std::unique_ptr<AudioOutput>(new AudioOutput(preferredRate()));
}

AudioOutput::~AudioOutput() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool AudioOutput::start(RenderSource& source) {
    source_ = &source;
    SDL_AudioSpec want{};
    want.freq = sampleRate_;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = kBufferFrames;
    want.callback = &AudioOutput::fill;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants, so fill() always gets
    // exactly this format and at most kBufferFrames frames.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
        reportFailure("LyrinthCreate",
                      std::string("cannot open the audio output: ") + SDL_GetError());
        return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

// Audio thread.
void SDLCALL AudioOutput::fill(void* self, Uint8* stream, int bytes) {
    auto* output = static_cast<AudioOutput*>(self);
    const auto samples = static_cast<std::size_t>(bytes) / sizeof(float);
    auto* out = reinterpret_cast<float*>(stream);
    std::memset(out, 0, samples * sizeof(float));
    output->source_->renderAdd(out, samples / 2);
    // The sum of many sounds can pass full scale: clip here rather than wrap in a converter.
    for (std::size_t i = 0; i < samples; ++i) {
        out[i] = std::isnan(out[i]) ? 0.0f : std::clamp(out[i], -1.0f, 1.0f);
    }
}

} // namespace lyrinth
