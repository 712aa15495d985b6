// Plays one Song on the synthesizer. render() runs on the audio thread: it walks the prepared
// event list and sends to FluidSynth; it never allocates.
#include "midi/Sequencer.h"

#include "midi/Synthesizer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace lyrinth {

namespace {

MidiEvent message(int status, int data1, int data2 = 0) {
    MidiEvent e;
    e.status = static_cast<std::uint8_t>(status);
    e.data1 = static_cast<std::uint8_t>(data1);
    e.data2 = static_cast<std::uint8_t>(data2);
    return e;
}

// A channel's start-up state: pedals up first so that held notes are released, then the
// controllers that "reset all controllers" leaves alone, the pitch-bend range, the instrument.
constexpr std::array<std::array<std::uint8_t, 2>, 30> kChannelDefaults = {{
    {64, 0},  {66, 0},   {121, 0},   {7, 100},   {39, 0},  {10, 64}, {42, 0},  {8, 64},
    {40, 0},  {11, 127}, {43, 127},  {71, 64},   {72, 64}, {73, 64}, {74, 64}, {75, 64},
    {76, 64}, {77, 64},  {78, 64},   {79, 64},   {91, 0},  {93, 0},  {101, 0}, {100, 0},
    {6, 2},   {38, 0},   {101, 127}, {100, 127}, {0, 0},   {32, 0},
}};

void appendDefaults(std::vector<MidiEvent>& out, int channel) {
    for (const auto& [number, value] : kChannelDefaults) {
        out.push_back(message(0xB0 | channel, number, value));
    }
    out.push_back(message(0xC0 | channel, 0));
}

bool isChannelMode(const MidiEvent& e) {
    return e.type() == 0xB0 && e.data1 >= 120;
}

} // namespace

Sequencer::Sequencer(Song song, double sampleRate)
    : song_(std::move(song)), sampleRate_(sampleRate) {
    prepareLoop();
    collectPresets();
    updateRate();
}

void Sequencer::prepareLoop() {
    const auto& events = song_.events;
    const std::uint32_t start = song_.loopStartTick;
    std::uint32_t end = song_.endTick;
    if (song_.loopEndTick && *song_.loopEndTick > start) {
        end = *song_.loopEndTick;
    }
    canLoop_ = end > start;
    loopStartTick_ = start;
    loopEndTick_ = canLoop_ ? end : std::numeric_limits<double>::infinity();
    const auto firstAt = [&](std::uint32_t tick) {
        return static_cast<std::size_t>(
            std::lower_bound(events.begin(), events.end(), tick,
                             [](const MidiEvent& e, std::uint32_t t) { return e.tick < t; }) -
            events.begin());
    };
    loopStartIndex_ = firstAt(start);
    loopEndIndex_ = canLoop_ ? firstAt(end) : events.size();

    // The state at the loop start is what the events before it leave: per channel, the last
    // value of each controller and the program, in the order they were last set (so that bank
    // selects and parameter numbers come before what they qualify), pitch bend and pressure.
    struct Last {
        std::size_t order = 0; // 0: never set
        MidiEvent event;
    };
    std::vector<std::array<Last, 131>> last(Synthesizer::kMidiChannels);
    for (std::size_t i = 0; i < loopStartIndex_; ++i) {
        const MidiEvent& e = events[i];
        if (e.kind == MidiEventKind::Tempo) {
            loopTempo_ = e.value;
        }
        if (e.kind != MidiEventKind::Channel || isChannelMode(e) || e.isController(111)) {
            continue;
        }
        std::size_t slot = 0;
        switch (e.type()) {
        case 0xB0:
            slot = e.data1;
            break;
        case 0xC0:
            slot = 128;
            break;
        case 0xD0:
            slot = 129;
            break;
        case 0xE0:
            slot = 130;
            break;
        default:
            continue;
        }
        last[static_cast<std::size_t>(e.channel())][slot] = {i + 1, e};
    }
    for (int channel = 0; channel < Synthesizer::kMidiChannels; ++channel) {
        appendDefaults(restore_, channel);
        std::vector<Last> set;
        for (const Last& l : last[static_cast<std::size_t>(channel)]) {
            if (l.order != 0) {
                set.push_back(l);
            }
        }
        std::sort(set.begin(), set.end(),
                  [](const Last& a, const Last& b) { return a.order < b.order; });
        for (const Last& l : set) {
            restore_.push_back(l.event);
        }
    }
}

void Sequencer::collectPresets() {
    presets_.push_back({false, 0, 0, 0});
    presets_.push_back({true, 0, 0, 0});
    std::array<std::uint8_t, Synthesizer::kMidiChannels> msb{};
    std::array<std::uint8_t, Synthesizer::kMidiChannels> lsb{};
    for (const MidiEvent& e : song_.events) {
        if (e.kind != MidiEventKind::Channel) {
            continue;
        }
        const auto channel = static_cast<std::size_t>(e.channel());
        if (e.isController(0)) {
            msb[channel] = e.data2;
        } else if (e.isController(32)) {
            lsb[channel] = e.data2;
        } else if (e.type() == 0xC0) {
            presets_.push_back(
                {channel == Synthesizer::kPercussionChannel, msb[channel], lsb[channel], e.data1});
        }
    }
    std::sort(presets_.begin(), presets_.end());
    presets_.erase(std::unique(presets_.begin(), presets_.end()), presets_.end());
}

void Sequencer::resetChannels(Synthesizer& synth) noexcept {
    synth.silenceAll();
    for (int channel = 0; channel < Synthesizer::kMidiChannels; ++channel) {
        for (const auto& [number, value] : kChannelDefaults) {
            synth.send(message(0xB0 | channel, number, value));
        }
        synth.send(message(0xC0 | channel, 0));
    }
}

void Sequencer::updateRate() noexcept {
    ticksPerFrame_ = song_.ticksPerSecond(tempo_) * speed_ / sampleRate_;
}

std::uint32_t Sequencer::tick() const noexcept {
    // The song runs kLeadFrames ahead of what is heard.
    double heard = position_ - static_cast<double>(kLeadFrames) * ticksPerFrame_;
    heard = std::max(heard, looped_ ? loopStartTick_ : 0.0);
    const double limit = canLoop_ ? loopEndTick_ : static_cast<double>(song_.endTick);
    return static_cast<std::uint32_t>(std::min(heard, limit));
}

void Sequencer::render(Synthesizer& synth, float* out, std::size_t frames, double speed) noexcept {
    if (speed != speed_) {
        speed_ = speed;
        updateRate();
    }
    std::size_t budget = kMaxEventsPerRender;
    if (!started_) {
        started_ = true;
        advance(synth, nullptr, kLeadFrames, budget);
    }
    advance(synth, out, frames, budget);
}

// Moves the song on by `frames`, rendering into `out` when it is given, and sends each event in
// between at the first frame at which the song has reached its tick.
void Sequencer::advance(Synthesizer& synth, float* out, std::size_t frames,
                        std::size_t& budget) noexcept {
    std::size_t done = 0;
    for (;;) {
        dispatchDue(synth, budget);
        if (done == frames) {
            return;
        }
        if (budget == 0) {
            // Out of events for this render: the song waits here while the synthesizer plays on.
            if (out != nullptr) {
                synth.render(out + 2 * done, frames - done);
            }
            return;
        }
        double target = loopEndTick_;
        if (next_ < loopEndIndex_) {
            target = std::min(target, static_cast<double>(song_.events[next_].tick));
        }
        const double until = std::ceil((target - position_) / ticksPerFrame_);
        const std::size_t left = frames - done;
        const std::size_t n = until >= static_cast<double>(left)
                                  ? left
                                  : std::max<std::size_t>(1, static_cast<std::size_t>(until));
        if (out != nullptr) {
            synth.render(out + 2 * done, n);
        }
        position_ += static_cast<double>(n) * ticksPerFrame_;
        done += n;
    }
}

void Sequencer::dispatchDue(Synthesizer& synth, std::size_t& budget) noexcept {
    while (budget > 0) {
        if (next_ < loopEndIndex_ && song_.events[next_].tick <= position_) {
            --budget;
            const MidiEvent& e = song_.events[next_++];
            if (e.kind == MidiEventKind::Tempo) {
                tempo_ = e.value;
                updateRate();
            } else if (e.kind == MidiEventKind::Channel && !e.isController(111)) {
                synth.send(e);
            }
        } else if (canLoop_ && position_ >= loopEndTick_) {
            budget -= std::min(budget, restore_.size());
            jumpToLoopStart(synth);
        } else {
            return;
        }
    }
}

void Sequencer::jumpToLoopStart(Synthesizer& synth) noexcept {
    synth.releaseAllNotes();
    for (const MidiEvent& e : restore_) {
        synth.send(e);
    }
    tempo_ = loopTempo_;
    updateRate();
    // What ran past the end carries on after the start, so the loop keeps its length exactly.
    const double length = loopEndTick_ - loopStartTick_;
    position_ = loopStartTick_ + std::fmod(position_ - loopEndTick_, length);
    next_ = loopStartIndex_;
    looped_ = true;
}

} // namespace lyrinth
