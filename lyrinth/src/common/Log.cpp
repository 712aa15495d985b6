#include "common/Log.h"

#include <cstdio>
#include <string>

namespace lyrinth {

void reportFailure(std::string_view what, std::string_view why) {
    std::string line = "lyrinth: ";
    if (!what.empty()) {
        line.append(what);
        line.append(": ");
    }
    line.append(why);
    line.push_back('\n');
    // One write, so that lines from different processes or threads do not interleave.
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace lyrinth
