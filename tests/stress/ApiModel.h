// What the exported functions must answer, worked out from the calls made so far: which of the
// engine, the MIDI engine and the WAV engine are up. Calls made out of order must fail and change
// nothing; the stress test checks every answer against this.
#pragma once

#include <cstdint>
#include <string>

namespace lyrinth::test {

// The answers a call may give.
enum class Answer { Yes, No, YesOrNo, NonNegative, Version };

bool allows(Answer answer, std::int32_t got);
std::string describe(Answer answer);

class ApiModel {
public:
    // `midiAvailable`: whether LyrinthInitMidi can succeed here at all (it needs a SoundFont).
    explicit ApiModel(bool midiAvailable = true) : midiAvailable_(midiAvailable) {}

    Answer create();
    Answer release();
    Answer initMidi();
    Answer termMidi() { return stopEngine(midi_); }
    Answer initWave() { return startEngine(wave_); }
    Answer termWave() { return stopEngine(wave_); }

    // Calls that work while an engine is up and change which engines are up in no way.
    Answer midiCommand() const { return midi_ ? Answer::Yes : Answer::No; }
    Answer waveCommand() const { return wave_ ? Answer::Yes : Answer::No; }
    // A file is played only while its engine is up, and only a good file.
    Answer playMusic(bool goodFile) const { return midi_ && goodFile ? Answer::Yes : Answer::No; }
    Answer playSound(bool goodFile) const { return wave_ && goodFile ? Answer::Yes : Answer::No; }
    // Music states that depend on time (a fade-out ends on its own): only "no" while down is sure.
    Answer musicState() const { return midi_ ? Answer::YesOrNo : Answer::No; }
    Answer midiTick() const { return midi_ ? Answer::NonNegative : Answer::No; }

private:
    Answer startEngine(bool& up) const;
    static Answer stopEngine(bool& up);

    bool midiAvailable_;
    bool created_ = false;
    bool midi_ = false;
    bool wave_ = false;
};

} // namespace lyrinth::test
