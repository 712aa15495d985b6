// The library's engine: lives from LyrinthCreate to LyrinthRelease and holds the audio output,
// the mixer it drives and the state of the WAV and MIDI engines. Caller's thread only; it reaches
// the audio thread solely through the Mixer's hand-over.
#pragma once

#include "mixer/Mixer.h"
#include "music/MusicStage.h"
#include "output/AudioOutput.h"
#include "wav/WavLoader.h"

#include <memory>

namespace lyrinth {

class Engine {
public:
    // Opens the audio output and starts the mixer; nullptr, with the reason reported, when no
    // output can be opened.
    static std::unique_ptr<Engine> create();
    // Stops everything, closes the output, then frees all.
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Frees what the audio thread has let go of; every call into the library starts with this.
    void collectRetired() { mixer_->collectRetired(); }

    bool waveUp() const noexcept { return waveUp_; }
    void initWave() noexcept { waveUp_ = true; }
    // Fades out every sound; they are freed once the audio thread has let them go.
    void termWave();
    // Decodes `path` and starts it; false, with the reason reported, when it cannot.
    bool playSound(const char* path);
    void stopSounds() noexcept { mixer_->stopSounds(); }

    bool midiUp() const noexcept { return music_ != nullptr; }
    // Loads the SoundFont and attaches the music stage to the mixer; false, with the reason
    // reported, when no SoundFont loads. Volume, pan and speed start at their defaults.
    bool initMidi();
    // Stops the music, lets the stop's ramp reach the output, then detaches the stage.
    void termMidi();
    // Only while midiUp(). The mixer owns the stage; the engine talks to it until termMidi().
    MusicStage& music() noexcept { return *music_; }
    // Stops any music and plays `path`; false, with the reason reported, when it cannot.
    bool playMusic(const char* path);

private:
    Engine(std::unique_ptr<AudioOutput> output, std::unique_ptr<Mixer> mixer);

    // Declared before the output, so that the output (and with it the audio thread) is gone
    // before the mixer is destroyed.
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<AudioOutput> output_;
    // Waits, briefly at most, until what was asked of the audio thread has ramped out and reached
    // the device; a stalled device is not waited for long.
    void letRampsReachTheOutput();

    WavLoader wavLoader_;
    bool waveUp_ = false;
    MusicStage* music_ = nullptr; // owned by the mixer while attached
};

} // namespace lyrinth
