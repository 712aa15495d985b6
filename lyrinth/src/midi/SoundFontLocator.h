// Where to look for the General MIDI SoundFont, in order: the file named by LYRINTH_SOUNDFONT,
// lyrinth.sf2 or lyrinth.sf3 beside the library, then the system's default GM SoundFonts.
#pragma once

#include <filesystem>
#include <vector>

namespace lyrinth {

class SoundFontLocator {
public:
    static std::vector<std::filesystem::path> candidates();
};

} // namespace lyrinth
