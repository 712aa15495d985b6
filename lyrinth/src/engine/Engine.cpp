// The engine's lifetime and state. Caller's thread only.
#include "engine/Engine.h"

#include "common/Log.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <utility>

namespace lyrinth {

std::unique_ptr<Engine> Engine::create() {
    std::unique_ptr<AudioOutput> output = AudioOutput::init();
    if (!output) {
        return nullptr;
    }
    auto mixer = std::make_unique<Mixer>(output->sampleRate());
    if (!output->start(*mixer)) {
        return nullptr;
    }
    return std::unique_ptr<Engine>(new Engine(std::move(output), std::move(mixer)));
}

Engine::Engine(std::unique_ptr<AudioOutput> output, std::unique_ptr<Mixer> mixer)
    : mixer_(std::move(mixer)), output_(std::move(output)), wavLoader_(mixer_->sampleRate()) {}

Engine::~Engine() {
    // Let the music and the sounds fade out, and the fade reach the device, before the output
    // closes. The mixer frees the music stage with everything else.
    if (music_ != nullptr) {
        music_->stop();
    }
    mixer_->stopSounds();
    letRampsReachTheOutput();
    output_.reset();
    mixer_.reset();
}

void Engine::letRampsReachTheOutput() {
    const std::uint64_t faded =
        mixer_->framesRendered() + mixer_->rampFrames() + 2 * AudioOutput::kBufferFrames;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
    while (mixer_->framesRendered() < faded && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void Engine::termWave() {
    mixer_->stopSounds();
    waveUp_ = false;
}

bool Engine::playSound(const char* path) {
    std::string whyNot;
    std::unique_ptr<SoundClip> clip = wavLoader_.load(path, whyNot);
    if (!clip) {
        reportFailure(path, whyNot);
        return false;
    }
    if (!mixer_->playSound(std::move(clip))) {
        reportFailure(path, "too many sounds are waiting for the audio output (is it stalled?)");
        return false;
    }
    return true;
}

bool Engine::initMidi() {
    std::string why;
    std::unique_ptr<MusicStage> stage = MusicStage::create(mixer_->sampleRate(), why);
    if (!stage) {
        reportFailure("LyrinthInitMidi", why);
        return false;
    }
    music_ = stage.get();
    mixer_->setMusic(std::move(stage));
    return true;
}

void Engine::termMidi() {
    music_->stop();
    letRampsReachTheOutput();
    music_ = nullptr;
    mixer_->setMusic(nullptr); // freed by a later collectRetired(), off the audio thread
}

bool Engine::playMusic(const char* path) {
    std::string why;
    if (!music_->play(path, why)) {
        reportFailure(path, why);
        return false;
    }
    return true;
}

} // namespace lyrinth
