// The mixer. renderAdd() and everything it calls run on the audio thread; the public methods
// above it in the header run on the caller's thread.
#include "mixer/Mixer.h"

#include <algorithm>
#include <limits>

namespace lyrinth {
namespace {

// What the music mailbox holds when there is no change waiting. (nullptr would mean "remove the
// music".)
class NoChange final : public RenderSource {
public:
    void renderAdd(float*, std::size_t) noexcept override {}
};
NoChange noChange;

bool isStage(const RenderSource* music) {
    return music != nullptr && music != &noChange;
}

} // namespace

Mixer::Mixer(int sampleRate)
    : sampleRate_(sampleRate),
      rampFrames_(static_cast<std::size_t>(sampleRate) * kRampMilliseconds / 1000),
      musicMailbox_(&noChange) {}

Mixer::~Mixer() {
    PlayCommand command{};
    while (sounds_.pop(command)) {
        delete command.clip;
    }
    for (Voice& voice : voices_) {
        delete voice.release();
    }
    if (RenderSource* waiting = musicMailbox_.exchange(&noChange); isStage(waiting)) {
        delete waiting;
    }
    delete music_;
    collectRetired();
}

bool Mixer::playSound(std::unique_ptr<SoundClip> clip) {
    collectRetired();
    if (soundsInFlight_ >= kMaxSoundsInFlight || !sounds_.push({clip.get(), stopsRequested_})) {
        return false;
    }
    clip.release(); // now the audio thread's until it retires it
    ++soundsInFlight_;
    ++inFlight_;
    return true;
}

void Mixer::stopSounds() noexcept {
    stops_.store(++stopsRequested_, std::memory_order_release);
}

void Mixer::setMusic(std::unique_ptr<RenderSource> stage) {
    collectRetired();
    if (stage) {
        ++inFlight_;
    }
    RenderSource* untaken = musicMailbox_.exchange(stage.release(), std::memory_order_acq_rel);
    // A stage the audio thread never saw is simply ours again.
    if (isStage(untaken)) {
        delete untaken;
        --inFlight_;
    }
}

void Mixer::collectRetired() {
    Retired retired{};
    while (retired_.pop(retired)) {
        if (retired.clip != nullptr) {
            delete retired.clip;
            --soundsInFlight_;
            --inFlight_;
        }
        if (retired.music != nullptr) {
            delete retired.music;
            --inFlight_;
        }
    }
}

void Mixer::renderAdd(float* out, std::size_t frames) noexcept {
    takeMusic();
    takeSounds();
    for (std::size_t done = 0; done < frames;) {
        const std::size_t piece = std::min(frames - done, kMaxBlockFrames);
        float* block = out + 2 * done;
        if (music_ != nullptr) {
            music_->renderAdd(block, piece);
        }
        for (Voice& voice : voices_) {
            voice.renderAdd(block, piece);
        }
        done += piece;
    }
    retireFinishedVoices();
    framesRendered_.fetch_add(frames, std::memory_order_release);
}

void Mixer::takeMusic() noexcept {
    RenderSource* next = musicMailbox_.exchange(&noChange, std::memory_order_acq_rel);
    if (next == &noChange) {
        return;
    }
    retire(nullptr, music_);
    music_ = next;
}

void Mixer::takeSounds() noexcept {
    // Read before the queue: a sound asked for after a stop that this block does not see yet
    // carries that stop in its own count, so it is never stopped by mistake.
    const std::uint64_t stops = stops_.load(std::memory_order_acquire);
    PlayCommand command{};
    while (sounds_.pop(command)) {
        if (command.stopsBefore < stops) {
            retire(command.clip, nullptr); // stopped before it could start
        } else {
            startSound(command.clip, command.stopsBefore);
        }
    }
    if (stops != stopsSeen_) {
        for (Voice& voice : voices_) {
            if (voice.stopsBefore() < stops) {
                voice.stop();
            }
        }
        stopsSeen_ = stops;
    }
}

void Mixer::startSound(SoundClip* clip, std::uint64_t stopsBefore) noexcept {
    std::size_t playing = 0;
    Voice* oldest = nullptr;
    for (Voice& voice : voices_) {
        if (voice.state() == Voice::State::Playing) {
            ++playing;
            if (oldest == nullptr || voice.serial() < oldest->serial()) {
                oldest = &voice;
            }
        }
    }
    if (playing >= kMaxSounds && oldest != nullptr) {
        oldest->stop();
    }
    freeVoice()->start(clip, nextSerial_++, stopsBefore, rampFrames_);
}

Voice* Mixer::freeVoice() noexcept {
    // With every slot busy, at most kMaxSounds are playing, so some voice is already fading out:
    // the quietest of those gives up the rest of its ramp.
    Voice* quietest = nullptr;
    float quietestGain = std::numeric_limits<float>::max();
    for (Voice& voice : voices_) {
        if (voice.state() == Voice::State::Free) {
            return &voice;
        }
        if (voice.state() != Voice::State::Playing && voice.gain() < quietestGain) {
            quietest = &voice;
            quietestGain = voice.gain();
        }
    }
    retire(quietest->release(), nullptr);
    return quietest;
}

void Mixer::retire(SoundClip* clip, RenderSource* music) noexcept {
    if (clip != nullptr || music != nullptr) {
        retired_.push({clip, music}); // always fits: see kRetiredCapacity
    }
}

void Mixer::retireFinishedVoices() noexcept {
    for (Voice& voice : voices_) {
        if (voice.state() == Voice::State::Finished) {
            retire(voice.release(), nullptr);
        }
    }
}

} // namespace lyrinth
