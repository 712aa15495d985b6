// libFuzzer target: a Standard MIDI File from untrusted bytes played as LyrinthPlayMusic plays
// it: read, then the sequencer sends its events onto a real synthesizer at the highest speed,
// across the loop as often as the song allows. Slower than fuzz_midi_file: FluidSynth renders.
#include "midi/MidiFileReader.h"
#include "midi/Sequencer.h"
#include "midi/Synthesizer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr double kRate = 48000.0;
// Enough blocks to cross a short song's loop many times at the highest speed, few enough to
// keep thousands of runs a second.
constexpr std::size_t kBlockFrames = 512;
constexpr int kBlocks = 8;
constexpr double kSpeed = 10.0;

// Made once: the SoundFont is large. Without one, only the reader and the loop set-up are tried.
lyrinth::Synthesizer* synthesizer() {
    static const std::unique_ptr<lyrinth::Synthesizer> synth = [] {
        std::string why;
        return lyrinth::Synthesizer::create(kRate, why);
    }();
    return synth.get();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    lyrinth::Song song;
    std::string why;
    if (!lyrinth::MidiFileReader::parse({data, size}, song, why)) {
        return 0;
    }
    lyrinth::Sequencer sequencer(std::move(song), kRate);
    lyrinth::Synthesizer* synth = synthesizer();
    if (synth == nullptr) {
        return 0;
    }
    // As the music stage does: the song's instruments are read before the audio thread plays.
    if (!synth->holdPresets(sequencer.presets(), why)) {
        return 0;
    }
    lyrinth::Sequencer::resetChannels(*synth);
    static std::array<float, 2 * kBlockFrames> block;
    for (int i = 0; i < kBlocks; ++i) {
        sequencer.render(*synth, block.data(), kBlockFrames, kSpeed);
        (void)sequencer.tick();
    }
    return 0;
}
