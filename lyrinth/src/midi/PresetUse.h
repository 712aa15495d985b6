// One instrument a song selects: what a channel's bank select and program change ask for.
#pragma once

#include <compare>
#include <cstdint>

namespace lyrinth {

struct PresetUse {
    bool drums = false; // on the percussion channel, where FluidSynth picks the drum bank
    std::uint8_t bankMsb = 0;
    std::uint8_t bankLsb = 0;
    std::uint8_t program = 0;

    auto operator<=>(const PresetUse&) const = default;
};

} // namespace lyrinth
