// The mixer: renders one block of the library's output into a caller's buffer, first the music
// slot, then the sound-effect voices. The output device only asks it for frames; tests and
// benchmarks drive it directly, without any device.
//
// Threads. Methods marked "caller's thread" are for the library's one calling thread; renderAdd()
// is for the audio thread (or a test standing in for it). The two sides meet only through
// lock-free means: a queue carries sounds to the audio thread, a counter carries stop requests, a
// one-slot mailbox carries the music stage, and a queue brings back the objects the audio thread
// lets go, to be freed by collectRetired() on the caller's thread. The audio thread never
// allocates, frees, locks or logs.
//
// Music. A music stage is any RenderSource. Attach it with setMusic(std::move(stage)); from the
// next block on, the audio thread calls stage->renderAdd() before the voices, in pieces of at most
// kMaxBlockFrames frames. The mixer owns the stage from then on; its maker may keep a plain
// pointer to talk to it (through its own lock-free means) until it detaches it with
// setMusic(nullptr) or replaces it with another setMusic(). A detached stage is handed back by the
// audio thread and destroyed on the caller's thread by a later collectRetired() (or by the mixer's
// destructor), never while the audio thread may still be inside it. setMusic() cannot fail.
#pragma once

#include "common/RenderSource.h"
#include "common/SpscQueue.h"
#include "mixer/SoundClip.h"
#include "mixer/Voice.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace lyrinth {

class Mixer final : public RenderSource {
public:
    static constexpr std::size_t kMaxSounds = 16;       // sounds heard at once
    static constexpr std::size_t kMaxBlockFrames = 512; // largest piece a source is asked for
    static constexpr unsigned kRampMilliseconds = 5;    // de-click ramp of starts, stops, cuts

    // Caller's thread.
    explicit Mixer(int sampleRate);
    // Caller's thread, once no thread renders any more: frees everything still held.
    ~Mixer() override;
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // Caller's thread. Starts `clip` at the next block; when kMaxSounds are already playing, the
    // oldest is cut. False (and `clip` freed) when the audio thread is not keeping up.
    bool playSound(std::unique_ptr<SoundClip> clip);
    // Caller's thread. Fades out, at the next block, every sound asked for before this call.
    void stopSounds() noexcept;
    // Caller's thread. Installs `stage` as the music (nullptr removes it) at the next block; the
    // stage it replaces is retired.
    void setMusic(std::unique_ptr<RenderSource> stage);
    // Caller's thread. Frees what the audio thread has let go of.
    void collectRetired();
    // Caller's thread. Objects handed to the audio thread and not yet freed.
    std::size_t objectsInFlight() const noexcept { return inFlight_; }

    int sampleRate() const noexcept { return sampleRate_; }
    std::size_t rampFrames() const noexcept { return rampFrames_; }
    // Either thread. Frames rendered so far: the library's clock.
    std::uint64_t framesRendered() const noexcept {
        return framesRendered_.load(std::memory_order_acquire);
    }

    // Audio thread. Adds `frames` frames of the music and the sounds into `out`.
    void renderAdd(float* out, std::size_t frames) noexcept override;

private:
    struct PlayCommand {
        SoundClip* clip;
        std::uint64_t stopsBefore;
    };
    struct Retired {
        SoundClip* clip;
        RenderSource* music;
    };
    static constexpr std::size_t kMaxSoundsInFlight = 256;
    // Sounds in flight are capped above, and at most three music stages are ever out (playing,
    // in the mailbox, retired but not yet collected), so the audio thread's pushes always fit.
    static constexpr std::size_t kRetiredCapacity = 512;
    static constexpr std::size_t kVoiceSlots = 2 * kMaxSounds; // room for cut voices to fade

    void takeMusic() noexcept;
    void takeSounds() noexcept;
    void applyStops() noexcept;
    void startSound(SoundClip* clip, std::uint64_t stopsBefore) noexcept;
    Voice* freeVoice() noexcept;
    void retire(SoundClip* clip, RenderSource* music) noexcept;
    void retireFinishedVoices() noexcept;

    const int sampleRate_;
    const std::size_t rampFrames_;

    // Caller's thread only.
    std::size_t inFlight_ = 0;
    std::size_t soundsInFlight_ = 0;
    std::uint64_t stopsRequested_ = 0;

    // Between the threads.
    SpscQueue<PlayCommand, 128> sounds_;
    SpscQueue<Retired, kRetiredCapacity> retired_;
    std::atomic<std::uint64_t> stops_{0};
    std::atomic<RenderSource*> musicMailbox_;
    std::atomic<std::uint64_t> framesRendered_{0};

    // Audio thread only.
    std::array<Voice, kVoiceSlots> voices_{};
    RenderSource* music_ = nullptr;
    std::uint64_t stopsSeen_ = 0;
    std::uint64_t nextSerial_ = 0;
};

} // namespace lyrinth
