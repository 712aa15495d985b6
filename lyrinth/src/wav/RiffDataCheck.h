// Checks a WAV file's own claim about its sound data against the file: a header that declares
// more data than the file holds means a truncated or lying file, which we refuse rather than play
// a fragment. Caller's thread.
#pragma once

#include <string>

namespace lyrinth {

class RiffDataCheck {
public:
    // Empty when the file's "data" chunk fits in the file (or none is found: the decoder has
    // already accepted the file then); else the reason to refuse it.
    static std::string problem(const std::string& path);
};

} // namespace lyrinth
