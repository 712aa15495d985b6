// The FluidSynth synthesizer with the General MIDI SoundFont, loaded with dynamic sample loading.
// Created and prepared on the caller's thread; render() and the event functions run on the audio
// thread. Only one thread may use it at a time: the music stage hands it over.
//
// With dynamic sample loading, selecting a preset reads its samples from the SoundFont file and
// letting the last channel go of it frees them. So that the audio thread never does either, the
// caller's thread keeps every preset a song uses selected on spare "hold" channels above the 16
// MIDI channels before the song starts.
#pragma once

#include "midi/MidiEvent.h"
#include "midi/PresetUse.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace lyrinth {

class Synthesizer {
public:
    static constexpr int kMidiChannels = 16;
    static constexpr int kPercussionChannel = 9;
    // FluidSynth applies events at the start of its internal blocks of this many frames.
    static constexpr std::size_t kBlockFrames = 64;
    // Presets one song may use; two sets of hold channels let a new song's set be taken up
    // before the old one is let go, so that shared instruments are not read again.
    static constexpr std::size_t kMaxPresets = 120;

    // Caller's thread. Loads the first SoundFont that loads, in SoundFontLocator's order; on
    // failure returns null and says why.
    static std::unique_ptr<Synthesizer> create(double sampleRate, std::string& why);
    // The same, trying the given SoundFonts in order.
    static std::unique_ptr<Synthesizer> create(double sampleRate,
                                               const std::vector<std::filesystem::path>& soundFonts,
                                               std::string& why);
    ~Synthesizer();
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    const std::string& soundFontPath() const { return soundFontPath_; }

    // Caller's thread, while the audio thread keeps off: selects `presets` on hold channels
    // (reading samples as needed) and lets go of the previous song's.
    bool holdPresets(const std::vector<PresetUse>& presets, std::string& why);

    // Audio thread (or the caller's while the audio thread keeps off).
    void render(float* interleavedStereo, std::size_t frames) noexcept;
    void send(const MidiEvent& channelMessage) noexcept;
    void releaseAllNotes() noexcept;
    void silenceAll() noexcept;
    int activeVoices() const noexcept;
    std::uint64_t framesRendered() const noexcept { return framesRendered_; }

private:
    Synthesizer() = default;

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    std::string soundFontPath_;
    std::uint64_t framesRendered_ = 0;
    int holdSet_ = 0; // which half of the hold channels holds the current song's presets
    std::size_t held_[2] = {0, 0};
};

} // namespace lyrinth
