// Plays one Song on the synthesizer: sends each event at its frame, follows the tempo map and the
// speed, and loops. Built on the caller's thread (it works out the loop and the instruments
// there); start() and render() then run on the audio thread.
#pragma once

#include "midi/PresetUse.h"
#include "midi/Song.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lyrinth {

class Synthesizer;

class Sequencer {
public:
    Sequencer(Song song, double sampleRate);

    const Song& song() const { return song_; }
    // Every instrument the song can select, the channels' defaults included.
    const std::vector<PresetUse>& presets() const { return presets_; }

    // Caller's thread, or audio thread: the 16 channels back to their defaults, all sound off.
    static void resetChannels(Synthesizer& synth) noexcept;

    // Audio thread. Renders `frames` frames of the song into `out` (overwriting it), sending
    // each event between the pieces; `speed` is a factor of the file's tempo.
    void render(Synthesizer& synth, float* out, std::size_t frames, double speed) noexcept;

    std::uint32_t tick() const noexcept;
    bool looped() const noexcept { return looped_; }

    // FluidSynth starts an event at the first boundary of its 64-frame blocks at or after the
    // moment it is sent, so each event is sent half a block early: it then sounds within half a
    // block (under a millisecond at 48 kHz) of its exact frame, early or late.
    static constexpr std::size_t kLeadFrames = 32;
    // Events (a loop jump's restored state included) one render() sends at most. A file denser
    // than any song (thousands of events in a moment, a loop shorter than a frame) then slows
    // itself down instead of holding up the audio thread. Above the largest restored state.
    static constexpr std::size_t kMaxEventsPerRender = 4096;

private:
    void advance(Synthesizer& synth, float* out, std::size_t frames, std::size_t& budget) noexcept;
    void dispatchDue(Synthesizer& synth, std::size_t& budget) noexcept;
    void jumpToLoopStart(Synthesizer& synth) noexcept;
    void updateRate() noexcept;
    void prepareLoop();
    void collectPresets();

    Song song_;
    double sampleRate_;

    // Loop: events [loopStartIndex_, loopEndIndex_) repeat; the jump restores `restore_`.
    bool canLoop_ = false;
    double loopStartTick_ = 0.0;
    double loopEndTick_ = 0.0;
    std::size_t loopStartIndex_ = 0;
    std::size_t loopEndIndex_ = 0;
    std::uint32_t loopTempo_ = Song::kDefaultTempo;
    std::vector<MidiEvent> restore_; // channel state in force at the loop start, in order
    std::vector<PresetUse> presets_;

    // Audio thread state.
    bool started_ = false;
    bool looped_ = false;
    std::size_t next_ = 0;
    double position_ = 0.0; // in ticks
    std::uint32_t tempo_ = Song::kDefaultTempo;
    double speed_ = 1.0;
    double ticksPerFrame_ = 0.0;
};

} // namespace lyrinth
