// One file of a fuzz target's seed corpus: its name and its bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Seed {
    std::string name;
    std::vector<std::uint8_t> bytes;
};
