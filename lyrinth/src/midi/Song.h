// A song as read from a Standard MIDI File: every track's events merged into one time-ordered
// list, the tempo map and the loop points.
#pragma once

#include "midi/MidiEvent.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lyrinth {

struct TempoChange {
    std::uint32_t tick = 0;
    std::uint32_t microsecondsPerQuarter = 500000;
};

enum class LoopStartKind : std::uint8_t { SongStart, Marker, Controller111 };

struct Song {
    static constexpr std::uint32_t kDefaultTempo = 500000; // 120 beats per minute

    std::uint16_t format = 0;
    std::uint16_t trackCount = 0;
    std::uint32_t ticksPerQuarter = 0; // metrical division; 0 with SMPTE division
    double smpteTicksPerSecond = 0.0;  // SMPTE division; 0 with metrical division

    std::vector<MidiEvent> events;     // time-ordered; same tick keeps track, then file order
    std::vector<std::uint8_t> payload; // bytes of system exclusive and meta events
    std::vector<TempoChange> tempoMap; // starts at tick 0; one entry per tick at most

    std::uint32_t endTick = 0; // the last event of the longest track
    std::uint32_t loopStartTick = 0;
    LoopStartKind loopStartKind = LoopStartKind::SongStart;
    std::optional<std::uint32_t> loopEndTick;

    std::string damage; // empty, or why the file was read only up to a damaged place

    std::string_view payloadOf(const MidiEvent& event) const {
        return {reinterpret_cast<const char*>(payload.data()) + event.value, event.size};
    }

    // Ticks per second at a tempo: fixed under SMPTE division, where tempo events do not count.
    double ticksPerSecond(std::uint32_t microsecondsPerQuarter) const {
        if (smpteTicksPerSecond > 0.0) {
            return smpteTicksPerSecond;
        }
        return ticksPerQuarter * 1e6 / microsecondsPerQuarter;
    }
};

} // namespace lyrinth
