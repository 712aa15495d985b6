// The music: a MIDI song played by our sequencer on FluidSynth, with volume, pan, speed and fades.
// Created and controlled on the caller's thread; the mixer calls renderAdd() on the audio thread.
//
// Hand-over: the caller's thread reads and prepares a song, then passes it to the audio thread
// through a lock-free queue; songs the audio thread lets go come back through another queue and
// are freed on the caller's thread. Volume, pan and speed are atomics read once per block.
// The synthesizer belongs to the audio thread while music sounds; the caller's thread takes it
// (to read a new song's instruments) only once the music has ramped to silence, and the audio
// thread merely tries the lock and skips the synthesizer while it is taken.
#pragma once

#include "common/RenderSource.h"
#include "common/SpscQueue.h"
#include "music/SlewLimiter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace lyrinth {

class Sequencer;
class Synthesizer;

class MusicStage final : public RenderSource {
public:
    // Caller's thread. Loads the SoundFont and starts the synthesizer; null with a reason when
    // no SoundFont loads.
    static std::unique_ptr<MusicStage> create(double sampleRate, std::string& why);
    // Only once the audio thread no longer calls renderAdd().
    ~MusicStage() override;

    // Caller's thread. Each takes effect in the next rendered block.
    // Stops any music, reads the file and plays it from its start, looping. On failure nothing
    // plays and `why` says what was wrong with the file.
    bool play(const std::filesystem::path& path, std::string& why);
    void stop();
    void setSpeed(int percent); // 10..1000, clamped
    void setPan(int pan);       // -100..100, clamped
    void setVolume(int volume); // 0..100, clamped
    // Music playing: restarts its level from silence, rising over `milliseconds`. Otherwise the
    // next play() starts with this fade.
    void fadeIn(int milliseconds);
    // False when no music plays; 0 ms stops at once.
    bool fadeOut(int milliseconds);
    bool playing() const;
    bool looped() const;
    std::uint32_t tick() const;
    // Whether the last rendered block ran the synthesizer (it does not for silence).
    bool synthesizerRan() const { return synthRan_.load(std::memory_order_relaxed); }

    // Audio thread.
    void renderAdd(float* out, std::size_t frames) noexcept override;

private:
    enum class CommandType : std::uint8_t { Play, Stop, FadeIn, FadeOut };
    struct Command {
        CommandType type = CommandType::Stop;
        Sequencer* sequencer = nullptr;
        std::uint64_t frames = 0;
        std::uint32_t generation = 0;
    };
    static constexpr std::size_t kQueueSize = 64;
    static constexpr std::size_t kScratchFrames = 512;

    MusicStage(double sampleRate, std::unique_ptr<Synthesizer> synth);
    std::uint64_t framesFor(int milliseconds) const;
    void freeReturnedSongs();
    bool send(const Command& command);
    void waitUntilSilent() const;
    void flushTail();

    // Audio thread.
    void applyCommands() noexcept;
    void renderPiece(float* out, std::size_t frames, double speed) noexcept;
    void letGoOfSong() noexcept;
    void publishStatus() noexcept;

    const double sampleRate_;
    const std::unique_ptr<Synthesizer> synth_;
    std::mutex synthMutex_;
    SpscQueue<Command, kQueueSize> commands_;
    SpscQueue<Sequencer*, kQueueSize> returned_;

    // Written by the caller's thread, read by the audio thread.
    std::atomic<float> volumeGain_{1.0f};
    std::atomic<float> panLeft_{1.0f};
    std::atomic<float> panRight_{1.0f};
    std::atomic<double> speed_{1.0};

    // Written by the audio thread, read by the caller's thread.
    std::atomic<std::uint64_t> status_{0}; // generation << 32 | looped << 31 | tick
    std::atomic<std::uint32_t> endedGeneration_{0};
    std::atomic<std::uint32_t> silentGeneration_{0}; // the last song started has been let go
    std::atomic<bool> tailRunning_{false};
    std::atomic<bool> synthRan_{false};

    // Caller's thread only.
    std::uint32_t generation_ = 0;
    bool started_ = false;
    std::uint64_t pendingFadeIn_ = 0;

    // Audio thread only.
    Sequencer* song_ = nullptr;
    std::uint32_t songGeneration_ = 0;
    bool stopping_ = false;
    bool fadingOut_ = false;
    double fadeLevel_ = 1.0;
    double fadeStep_ = 0.0;
    float fadeGain_ = 1.0f;
    std::size_t startPad_ = 0;
    bool tail_ = false;
    std::size_t silentFrames_ = 0;
    SlewLimiter left_;
    SlewLimiter right_;
    std::vector<float> scratch_;
};

} // namespace lyrinth
