// The window's layout table: every control with its name, kind, caption, place and size in twips,
// listed in tab order. 15 twips make one logical pixel.
#pragma once

#include <array>

struct ControlPlace {
    enum class Kind { Button, TextBox, Frame };

    const char* name;
    Kind kind;
    const char* caption;
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int twipsPerPixel = 15;
inline constexpr int clientWidthTwips = 8775;
inline constexpr int clientHeightTwips = 4455;

inline constexpr std::array<ControlPlace, 22> frmMainLayout{{
    {"Command1", ControlPlace::Kind::Button, "Get Version", 120, 120, 8535, 375},
    {"Command4", ControlPlace::Kind::Button, "Play MIDI", 120, 600, 2055, 375},
    {"Command5", ControlPlace::Kind::Button, "Stop MIDI", 2280, 600, 2055, 375},
    {"Command6", ControlPlace::Kind::Button, "Set MIDI Speed", 120, 1080, 3255, 375},
    {"SetSpeed", ControlPlace::Kind::TextBox, "", 3480, 1080, 855, 375},
    {"Command2", ControlPlace::Kind::Button, "Set MIDI Pan", 120, 1560, 3255, 375},
    {"Panpot", ControlPlace::Kind::TextBox, "", 3480, 1560, 855, 375},
    {"Command3", ControlPlace::Kind::Button, "Fade In MIDI", 120, 2040, 3255, 375},
    {"Command7", ControlPlace::Kind::Button, "Fade Out MIDI", 120, 2520, 3255, 375},
    {"FadeIn", ControlPlace::Kind::TextBox, "", 3480, 2040, 855, 375},
    {"FadeOut", ControlPlace::Kind::TextBox, "", 3480, 2520, 855, 375},
    {"Command8", ControlPlace::Kind::Button, "Set MIDI Volume", 120, 3000, 3255, 375},
    {"Volume", ControlPlace::Kind::TextBox, "", 3480, 3000, 855, 375},
    {"Command9", ControlPlace::Kind::Button, "LyrinthGetMusicPlaying", 120, 3480, 2055, 375},
    {"Command10", ControlPlace::Kind::Button, "LyrinthGetMusicLooping", 2280, 3480, 2055, 375},
    {"Command11", ControlPlace::Kind::Button, "LyrinthCheckValidMidi", 120, 3960, 2055, 375},
    {"Command12", ControlPlace::Kind::Button, "LyrinthGetMidiTick", 2280, 3960, 2055, 375},
    {"Command13", ControlPlace::Kind::Button, "Play Sound", 4440, 600, 4215, 375},
    {"Command14", ControlPlace::Kind::Button, "LyrinthCheckValidWave", 4440, 1560, 4215, 375},
    {"Command15", ControlPlace::Kind::Button, "Stop Sound", 4440, 1080, 4215, 375},
    {"Frame1", ControlPlace::Kind::Frame, "", 4440, 2040, 4215, 1815},
    {"Command16", ControlPlace::Kind::Button, "About The Lyrinth Demo", 4440, 3960, 4215, 375},
}};
