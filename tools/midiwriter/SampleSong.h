// The demo's sample song: a one-bar intro, then four bars that loop from a "loopStart" marker.
#pragma once

#include <cstdint>
#include <vector>

namespace midiwriter {

class SampleSong {
public:
    static constexpr std::uint16_t kTicksPerQuarter = 480;
    static constexpr std::uint32_t kLoopStartTick = 4 * kTicksPerQuarter;
    static constexpr std::uint32_t kEndTick = 5 * 4 * kTicksPerQuarter;

    static std::vector<std::uint8_t> bytes();
};

} // namespace midiwriter
