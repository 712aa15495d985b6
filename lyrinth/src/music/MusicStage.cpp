// The music stage. renderAdd() and the functions below "Audio thread" run on the audio thread:
// they never allocate (the scratch buffer is made up front), never wait (the synthesizer's lock
// is only tried) and never touch a file.
#include "music/MusicStage.h"

#include "midi/MidiFileReader.h"
#include "midi/Sequencer.h"
#include "midi/Synthesizer.h"
#include "music/MusicLevels.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace lyrinth {

namespace {
// Below this the synthesizer's tail (reverb) counts as died away: about -100 dB.
constexpr float kSilence = 1e-5f;
// How long the tail must stay below kSilence before the synthesizer stops being run.
constexpr double kSilentSeconds = 0.1;
// How long play() waits for the audio thread to ramp the old song out before it takes the
// synthesizer anyway (the output is then stalled, so nothing can click).
// The longest reverb tail play() runs down.
constexpr double kMaxTailSeconds = 10.0;
constexpr auto kSilenceTimeout = std::chrono::milliseconds(250);
constexpr std::uint64_t kTickMask = 0x7FFFFFFF;
constexpr std::uint64_t kLoopedBit = 0x80000000;
} // namespace

std::unique_ptr<MusicStage> MusicStage::create(double sampleRate, std::string& why) {
    auto synth = Synthesizer::create(sampleRate, why);
    if (!synth) {
        return nullptr;
    }
    return std::unique_ptr<MusicStage>(new MusicStage(sampleRate, std::move(synth)));
}

MusicStage::MusicStage(double sampleRate, std::unique_ptr<Synthesizer> synth)
    : sampleRate_(sampleRate), synth_(std::move(synth)), left_(sampleRate), right_(sampleRate),
      scratch_(2 * kScratchFrames) {}

MusicStage::~MusicStage() {
    Command command;
    while (commands_.pop(command)) {
        delete command.sequencer;
    }
    delete song_;
    freeReturnedSongs();
}

std::uint64_t MusicStage::framesFor(int milliseconds) const {
    const int ms = std::clamp(milliseconds, 0, MusicLevels::kMaxFadeMilliseconds);
    return static_cast<std::uint64_t>(std::llround(ms * sampleRate_ / 1000.0));
}

void MusicStage::freeReturnedSongs() {
    Sequencer* song = nullptr;
    while (returned_.pop(song)) {
        delete song;
    }
}

bool MusicStage::send(const Command& command) {
    freeReturnedSongs();
    return commands_.push(command);
}

void MusicStage::waitUntilSilent() const {
    const auto deadline = std::chrono::steady_clock::now() + kSilenceTimeout;
    while (silentGeneration_.load(std::memory_order_acquire) != generation_ &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Caller's thread, holding the synthesizer. The last song's reverb may still be dying away,
// unheard; FluidSynth cannot clear its effects without dropping every selected instrument, so it
// is run down here rather than heard again under the new song's start.
void MusicStage::flushTail() {
    if (!tailRunning_.load(std::memory_order_acquire)) {
        return;
    }
    constexpr std::size_t kPiece = 1024;
    std::vector<float> buffer(2 * kPiece);
    const auto quietNeeded = static_cast<std::size_t>(kSilentSeconds * sampleRate_);
    const auto most = static_cast<std::size_t>(kMaxTailSeconds * sampleRate_);
    std::size_t quiet = 0;
    for (std::size_t done = 0; done < most && quiet < quietNeeded; done += kPiece) {
        synth_->render(buffer.data(), kPiece);
        const bool silent = std::all_of(buffer.begin(), buffer.end(),
                                        [](float v) { return std::abs(v) < kSilence; });
        quiet = silent ? quiet + kPiece : 0;
    }
}

bool MusicStage::play(const std::filesystem::path& path, std::string& why) {
    stop();
    Song song;
    if (!MidiFileReader::load(path, song, why)) {
        return false;
    }
    auto sequencer = std::make_unique<Sequencer>(std::move(song), sampleRate_);
    waitUntilSilent();
    {
        std::lock_guard lock(synthMutex_);
        if (!synth_->holdPresets(sequencer->presets(), why)) {
            return false;
        }
        Sequencer::resetChannels(*synth_);
        flushTail();
    }
    const std::uint32_t generation = generation_ + 1;
    if (!send({CommandType::Play, sequencer.get(), pendingFadeIn_, generation})) {
        why = "the audio output does not take commands";
        return false;
    }
    sequencer.release();
    generation_ = generation;
    started_ = true;
    pendingFadeIn_ = 0;
    return true;
}

void MusicStage::stop() {
    if (started_) {
        started_ = false;
        send({CommandType::Stop, nullptr, 0, generation_});
    }
    freeReturnedSongs();
}

void MusicStage::setSpeed(int percent) {
    speed_.store(MusicLevels::speedFactor(percent), std::memory_order_relaxed);
}

void MusicStage::setPan(int pan) {
    const StereoGain gain = MusicLevels::panGain(pan);
    panLeft_.store(gain.left, std::memory_order_relaxed);
    panRight_.store(gain.right, std::memory_order_relaxed);
}

void MusicStage::setVolume(int volume) {
    volumeGain_.store(MusicLevels::volumeGain(volume), std::memory_order_relaxed);
}

void MusicStage::fadeIn(int milliseconds) {
    if (playing()) {
        send({CommandType::FadeIn, nullptr, framesFor(milliseconds), generation_});
    } else {
        pendingFadeIn_ = framesFor(milliseconds);
    }
}

bool MusicStage::fadeOut(int milliseconds) {
    if (!playing()) {
        return false;
    }
    if (milliseconds <= 0) {
        stop();
        return true;
    }
    return send({CommandType::FadeOut, nullptr, framesFor(milliseconds), generation_});
}

bool MusicStage::playing() const {
    return started_ && endedGeneration_.load(std::memory_order_acquire) != generation_;
}

bool MusicStage::looped() const {
    const std::uint64_t status = status_.load(std::memory_order_acquire);
    return playing() && (status >> 32) == generation_ && (status & kLoopedBit) != 0;
}

std::uint32_t MusicStage::tick() const {
    const std::uint64_t status = status_.load(std::memory_order_acquire);
    if (!playing() || (status >> 32) != generation_) {
        return 0;
    }
    return static_cast<std::uint32_t>(status & kTickMask);
}

// Audio thread from here on.

void MusicStage::applyCommands() noexcept {
    Command command;
    while (commands_.pop(command)) {
        switch (command.type) {
        case CommandType::Play:
            letGoOfSong(); // only sounding if play() gave up waiting for silence
            song_ = command.sequencer;
            songGeneration_ = command.generation;
            stopping_ = false;
            tail_ = false;
            tailRunning_.store(false, std::memory_order_release);
            fadingOut_ = false;
            fadeLevel_ = command.frames > 0 ? 0.0 : 1.0;
            fadeStep_ = command.frames > 0 ? 1.0 / static_cast<double>(command.frames) : 0.0;
            // The song starts on a boundary of FluidSynth's blocks, so that its events keep
            // their places relative to those blocks.
            startPad_ = static_cast<std::size_t>(
                (Synthesizer::kBlockFrames - synth_->framesRendered() % Synthesizer::kBlockFrames) %
                Synthesizer::kBlockFrames);
            break;
        case CommandType::Stop:
            stopping_ = song_ != nullptr;
            fadingOut_ = false;
            fadeStep_ = 0.0;
            break;
        case CommandType::FadeIn:
            if (song_ != nullptr && !stopping_ && command.generation == songGeneration_) {
                fadingOut_ = false;
                fadeLevel_ = command.frames > 0 ? 0.0 : 1.0;
                fadeStep_ = command.frames > 0 ? 1.0 / static_cast<double>(command.frames) : 0.0;
            }
            break;
        case CommandType::FadeOut:
            if (song_ != nullptr && !stopping_ && command.generation == songGeneration_) {
                fadingOut_ = true;
                fadeStep_ = -std::max(fadeLevel_, 1e-9) / static_cast<double>(command.frames);
            }
            break;
        }
    }
    fadeGain_ = static_cast<float>(MusicLevels::loudnessGain(fadeLevel_));
}

void MusicStage::letGoOfSong() noexcept {
    if (song_ == nullptr) {
        return;
    }
    // The queue has room for every song the caller's thread has sent, so this always succeeds.
    returned_.push(song_);
    song_ = nullptr;
    stopping_ = false;
}

void MusicStage::renderAdd(float* out, std::size_t frames) noexcept {
    applyCommands();
    if (song_ == nullptr && !tail_ && left_.value() == 0.0f && right_.value() == 0.0f) {
        synthRan_.store(false, std::memory_order_relaxed);
        silentGeneration_.store(songGeneration_, std::memory_order_release);
        return;
    }
    std::unique_lock lock(synthMutex_, std::try_to_lock);
    if (!lock.owns_lock()) {
        // The caller's thread is preparing the next song; the music is silent meanwhile.
        synthRan_.store(false, std::memory_order_relaxed);
        return;
    }
    const double speed = speed_.load(std::memory_order_relaxed);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t piece = std::min(kScratchFrames, frames - done);
        renderPiece(out + 2 * done, piece, speed);
        done += piece;
    }
    synthRan_.store(true, std::memory_order_relaxed);
    publishStatus();
}

void MusicStage::renderPiece(float* out, std::size_t frames, double speed) noexcept {
    float* scratch = scratch_.data();
    if (song_ != nullptr) {
        const std::size_t pad = std::min(startPad_, frames);
        if (pad > 0) {
            synth_->render(scratch, pad);
            startPad_ -= pad;
        }
        song_->render(*synth_, scratch + 2 * pad, frames - pad, speed);
    } else {
        synth_->render(scratch, frames);
    }

    const float volume = volumeGain_.load(std::memory_order_relaxed);
    const float panLeft = panLeft_.load(std::memory_order_relaxed);
    const float panRight = panRight_.load(std::memory_order_relaxed);
    float peak = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        if (fadeStep_ != 0.0) {
            fadeLevel_ += fadeStep_;
            if (fadeLevel_ >= 1.0) {
                fadeLevel_ = 1.0;
                fadeStep_ = 0.0;
            } else if (fadeLevel_ <= 0.0) {
                fadeLevel_ = 0.0;
                fadeStep_ = 0.0;
                if (fadingOut_) {
                    fadingOut_ = false;
                    stopping_ = true;
                    endedGeneration_.store(songGeneration_, std::memory_order_release);
                }
            }
            fadeGain_ = static_cast<float>(MusicLevels::loudnessGain(fadeLevel_));
        }
        const float level = stopping_ || song_ == nullptr ? 0.0f : volume * fadeGain_;
        const float left = left_.next(level * panLeft);
        const float right = right_.next(level * panRight);
        const float l = scratch[2 * i];
        const float r = scratch[2 * i + 1];
        out[2 * i] += l * left;
        out[2 * i + 1] += r * right;
        peak = std::max({peak, std::abs(l), std::abs(r)});
    }

    if (stopping_ && left_.value() == 0.0f && right_.value() == 0.0f) {
        letGoOfSong();
        synth_->silenceAll();
        tail_ = true;
        silentFrames_ = 0;
    }
    if (tail_) {
        silentFrames_ = peak < kSilence && synth_->activeVoices() == 0 ? silentFrames_ + frames : 0;
        if (static_cast<double>(silentFrames_) >= kSilentSeconds * sampleRate_) {
            tail_ = false;
        }
    }
    tailRunning_.store(tail_, std::memory_order_release);
}

void MusicStage::publishStatus() noexcept {
    if (song_ == nullptr) {
        silentGeneration_.store(songGeneration_, std::memory_order_release);
        return;
    }
    const std::uint64_t looped = song_->looped() ? kLoopedBit : 0;
    status_.store(static_cast<std::uint64_t>(songGeneration_) << 32 | looped |
                      (song_->tick() & kTickMask),
                  std::memory_order_release);
}

} // namespace lyrinth
