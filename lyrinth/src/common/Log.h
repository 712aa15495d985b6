// Failure reports: one line on standard error, starting with "lyrinth: ". Caller's thread only;
// the audio thread never logs.
#pragma once

#include <string_view>

namespace lyrinth {

// Writes "lyrinth: <what>: <why>" (or "lyrinth: <why>" when what is empty) and a newline.
void reportFailure(std::string_view what, std::string_view why);

} // namespace lyrinth
