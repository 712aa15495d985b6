// Where to look for the General MIDI SoundFont.
#include "midi/SoundFontLocator.h"

#include <cstdlib>
#include <dlfcn.h>

namespace lyrinth {

namespace {
// Any object inside the library: dladdr names the file it was loaded from.
const char kAnchor = 0;

std::filesystem::path libraryDirectory() {
    Dl_info info{};
    if (dladdr(&kAnchor, &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    std::error_code error;
    const auto path = std::filesystem::canonical(info.dli_fname, error);
    return error ? std::filesystem::path() : path.parent_path();
}
} // namespace

std::vector<std::filesystem::path> SoundFontLocator::candidates() {
    std::vector<std::filesystem::path> paths;
    if (const char* chosen = std::getenv("LYRINTH_SOUNDFONT"); chosen != nullptr && *chosen) {
        paths.emplace_back(chosen);
    }
    if (const auto beside = libraryDirectory(); !beside.empty()) {
        paths.push_back(beside / "lyrinth.sf2");
        paths.push_back(beside / "lyrinth.sf3");
    }
    paths.emplace_back("/usr/share/sounds/sf2/default-GM.sf2");
    paths.emplace_back("/usr/share/sounds/sf3/default-GM.sf3");
    paths.emplace_back("/usr/share/soundfonts/default.sf2");
    return paths;
}

} // namespace lyrinth
