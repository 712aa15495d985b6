// Generated songs for the benchmarks. Each channel's notes are drawn from a small linear
// congruential generator seeded by the channel, so every run writes the same bytes.
#include "BenchSong.h"

#include "MidiFileWriter.h"

#include <algorithm>
#include <array>
#include <tuple>

namespace bench {

namespace {
constexpr std::uint16_t kTicksPerQuarter = 480;
constexpr int kDrumChannel = 9;
// Piano, strings, bass, brass, flute, guitar, organ, choir, vibraphone, pad: all with releases of
// a few seconds at most, so that they die away within the song's closing bars.
constexpr std::array<int, 10> kPrograms = {0, 48, 33, 61, 73, 26, 19, 52, 11, 89};
// The last bars are left empty for the notes' release and the reverb: FluidSynth's renderer goes
// on while any voice sounds, so both renderers then stop on nearly the same frame.
constexpr std::uint32_t kCodaBars = 2;

class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    int below(int limit) {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(limit));
    }

private:
    std::uint32_t state_;
};

struct NoteEvent {
    std::uint32_t tick;
    bool on;
    int key;
    int velocity;
    bool operator<(const NoteEvent& other) const {
        // Offs before ons at the same tick, so that a repeated key is not cut.
        return std::tie(tick, on, key) < std::tie(other.tick, other.on, other.key);
    }
};

void writeNotes(midiwriter::MidiTrackWriter& track, int channel, std::vector<NoteEvent> notes,
                std::uint32_t endTick) {
    std::sort(notes.begin(), notes.end());
    std::uint32_t at = 0;
    for (const NoteEvent& n : notes) {
        if (n.on) {
            track.noteOn(n.tick - at, channel, n.key, n.velocity);
        } else {
            track.noteOff(n.tick - at, channel, n.key);
        }
        at = n.tick;
    }
    track.endOfTrack(endTick - at);
}

midiwriter::MidiTrackWriter melodic(const BenchSong::Shape& shape, int channel,
                                    std::uint32_t endTick) {
    midiwriter::MidiTrackWriter track(true);
    Random random(static_cast<std::uint32_t>(channel + 1));
    track.program(0, channel, kPrograms[static_cast<std::size_t>(channel) % kPrograms.size()]);
    track.controller(0, channel, 10, 16 + random.below(96)); // pan
    track.controller(0, channel, 91, 40);                    // reverb send
    const int low = 36 + 6 * (channel % 5);
    const std::uint32_t step = kTicksPerQuarter / static_cast<std::uint32_t>(shape.notesPerBeat);
    std::vector<NoteEvent> notes;
    for (std::uint32_t tick = 0; tick + step <= endTick; tick += step) {
        const int key = low + random.below(24);
        const auto length = step * static_cast<std::uint32_t>(1 + random.below(4));
        const int velocity = 50 + random.below(60);
        notes.push_back({tick, true, key, velocity});
        notes.push_back({std::min(tick + length, endTick), false, key, 0});
    }
    writeNotes(track, channel, std::move(notes), endTick);
    return track;
}

midiwriter::MidiTrackWriter drums(std::uint32_t endTick) {
    constexpr int kKick = 36, kSnare = 38, kHat = 42;
    midiwriter::MidiTrackWriter track(true);
    std::vector<NoteEvent> notes;
    const std::uint32_t eighth = kTicksPerQuarter / 2;
    for (std::uint32_t tick = 0, n = 0; tick + eighth <= endTick; tick += eighth, ++n) {
        const std::array<int, 2> hits = {kHat, n % 4 == 0 ? kKick : n % 4 == 2 ? kSnare : 0};
        for (int key : hits) {
            if (key != 0) {
                notes.push_back({tick, true, key, key == kHat ? 70 : 100});
                notes.push_back({tick + eighth / 2, false, key, 0});
            }
        }
    }
    writeNotes(track, kDrumChannel, std::move(notes), endTick);
    return track;
}
} // namespace

std::vector<BenchSong::Shape> BenchSong::shapes() {
    return {
        {"sparse", 2, false, 22, 90, 1},
        {"medium", 5, true, 38, 120, 2},
        {"dense", 7, true, 62, 128, 3},
    };
}

std::vector<std::uint8_t> BenchSong::bytes(const Shape& shape) {
    const auto bars = static_cast<std::uint32_t>(shape.bars);
    const std::uint32_t endTick = (bars + kCodaBars) * 4 * kTicksPerQuarter;
    const std::uint32_t notesEnd = bars * 4 * kTicksPerQuarter;
    midiwriter::MidiFileWriter file(1, kTicksPerQuarter);
    midiwriter::MidiTrackWriter conductor;
    conductor.meta(0, 0x03, shape.name);
    conductor.tempo(0, static_cast<std::uint32_t>(60'000'000 / shape.beatsPerMinute));
    conductor.endOfTrack(endTick);
    file.addTrack(conductor);
    for (int channel = 0, made = 0; made < shape.melodicChannels; ++channel) {
        if (channel != kDrumChannel) {
            file.addTrack(melodic(shape, channel, notesEnd));
            ++made;
        }
    }
    if (shape.drums) {
        file.addTrack(drums(notesEnd));
    }
    return file.bytes();
}

} // namespace bench
