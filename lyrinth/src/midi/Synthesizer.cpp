// The FluidSynth synthesizer with the General MIDI SoundFont. render() and the event functions
// run on the audio thread: they only call FluidSynth functions that neither allocate nor touch a
// file once every preset the song uses is held (see the header).
#include "midi/Synthesizer.h"

#include "midi/SoundFontLocator.h"

#include <fluidsynth.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <mutex>

namespace lyrinth {

namespace {
constexpr int kHoldChannels = static_cast<int>(2 * Synthesizer::kMaxPresets);
constexpr int kAllChannels = Synthesizer::kMidiChannels + kHoldChannels;

// FluidSynth would write its own lines to standard error, also from the audio thread; the
// library reports failures itself.
void silenceFluidSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
            fluid_set_log_function(level, nullptr, nullptr);
        }
    });
}

int holdChannel(int set, std::size_t index) {
    return Synthesizer::kMidiChannels + set * static_cast<int>(Synthesizer::kMaxPresets) +
           static_cast<int>(index);
}
} // namespace

std::unique_ptr<Synthesizer> Synthesizer::create(double sampleRate, std::string& why) {
    return create(sampleRate, SoundFontLocator::candidates(), why);
}

std::unique_ptr<Synthesizer>
Synthesizer::create(double sampleRate, const std::vector<std::filesystem::path>& soundFonts,
                    std::string& why) {
    silenceFluidSynthLog();
    std::unique_ptr<Synthesizer> synth(new Synthesizer());
    synth->settings_ = new_fluid_settings();
    if (synth->settings_ == nullptr) {
        why = "cannot create FluidSynth's settings";
        return nullptr;
    }
    fluid_settings_setnum(synth->settings_, "synth.sample-rate", sampleRate);
    fluid_settings_setint(synth->settings_, "synth.dynamic-sample-loading", 1);
    fluid_settings_setint(synth->settings_, "synth.midi-channels", kAllChannels);
    // The music stage makes sure that one thread at a time uses the synthesizer.
    fluid_settings_setint(synth->settings_, "synth.threadsafe-api", 0);
    synth->synth_ = new_fluid_synth(synth->settings_);
    if (synth->synth_ == nullptr) {
        why = "cannot create FluidSynth's synthesizer";
        return nullptr;
    }

    std::string tried;
    for (const auto& path : soundFonts) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error)) {
            continue;
        }
        const std::string name = path.string();
        // No preset is selected yet, so no sample is read: start-up stays fast and small, and
        // each song reads only the instruments it uses.
        if (fluid_is_soundfont(name.c_str()) &&
            fluid_synth_sfload(synth->synth_, name.c_str(), 0) != FLUID_FAILED) {
            synth->soundFontPath_ = name;
            return synth;
        }
        tried += (tried.empty() ? "" : ", ") + name;
    }
    why = tried.empty() ? "no SoundFont found (set LYRINTH_SOUNDFONT, or install a General MIDI "
                          "SoundFont such as fluid-soundfont-gm)"
                        : "no SoundFont could be loaded (tried " + tried + ")";
    return nullptr;
}

Synthesizer::~Synthesizer() {
    if (synth_ != nullptr) {
        delete_fluid_synth(synth_);
    }
    if (settings_ != nullptr) {
        delete_fluid_settings(settings_);
    }
}

bool Synthesizer::holdPresets(const std::vector<PresetUse>& presets, std::string& why) {
    if (presets.size() > kMaxPresets) {
        why = "uses " + std::to_string(presets.size()) + " instruments, more than " +
              std::to_string(kMaxPresets);
        return false;
    }
    const int next = 1 - holdSet_;
    for (std::size_t i = 0; i < presets.size(); ++i) {
        const PresetUse& preset = presets[i];
        const int channel = holdChannel(next, i);
        // The same type, bank select and program change as on the song's own channel, so that
        // FluidSynth picks the same preset, with the same fallbacks.
        fluid_synth_set_channel_type(synth_, channel,
                                     preset.drums ? CHANNEL_TYPE_DRUM : CHANNEL_TYPE_MELODIC);
        fluid_synth_cc(synth_, channel, 0, preset.bankMsb);
        fluid_synth_cc(synth_, channel, 32, preset.bankLsb);
        fluid_synth_program_change(synth_, channel, preset.program);
    }
    for (std::size_t i = presets.size(); i < held_[next]; ++i) {
        fluid_synth_unset_program(synth_, holdChannel(next, i));
    }
    held_[next] = presets.size();
    for (std::size_t i = 0; i < held_[holdSet_]; ++i) {
        fluid_synth_unset_program(synth_, holdChannel(holdSet_, i));
    }
    held_[holdSet_] = 0;
    holdSet_ = next;
    return true;
}

void Synthesizer::render(float* interleavedStereo, std::size_t frames) noexcept {
    while (frames > 0) {
        const std::size_t chunk = std::min<std::size_t>(frames, INT_MAX / 2);
        fluid_synth_write_float(synth_, static_cast<int>(chunk), interleavedStereo, 0, 2,
                                interleavedStereo, 1, 2);
        framesRendered_ += chunk;
        interleavedStereo += 2 * chunk;
        frames -= chunk;
    }
}

void Synthesizer::send(const MidiEvent& e) noexcept {
    const int channel = e.channel();
    switch (e.type()) {
    case 0x80:
        fluid_synth_noteoff(synth_, channel, e.data1);
        break;
    case 0x90:
        if (e.data2 == 0) {
            fluid_synth_noteoff(synth_, channel, e.data1);
        } else {
            fluid_synth_noteon(synth_, channel, e.data1, e.data2);
        }
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth_, channel, e.data1, e.data2);
        break;
    case 0xB0:
        fluid_synth_cc(synth_, channel, e.data1, e.data2);
        break;
    case 0xC0:
        fluid_synth_program_change(synth_, channel, e.data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth_, channel, e.data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth_, channel, e.data2 << 7 | e.data1);
        break;
    default:
        break;
    }
}

void Synthesizer::releaseAllNotes() noexcept {
    for (int channel = 0; channel < kMidiChannels; ++channel) {
        fluid_synth_all_notes_off(synth_, channel);
    }
}

void Synthesizer::silenceAll() noexcept {
    for (int channel = 0; channel < kMidiChannels; ++channel) {
        fluid_synth_all_sounds_off(synth_, channel);
    }
}

int Synthesizer::activeVoices() const noexcept {
    return fluid_synth_get_active_voice_count(synth_);
}

} // namespace lyrinth
