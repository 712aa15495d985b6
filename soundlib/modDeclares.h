// The sound library's 21 functions, bound lazily: the library is loaded from the program's own
// directory on the first call of any of them, and each is looked up on its own first call.
// -1 is the library's true. Every call may throw LibraryError (library or function missing,
// path not representable in the system's narrow encoding).
#pragma once

#include <QString>

#include <cstdint>

class LazyLibrary;

namespace modDeclares {

int32_t LyrinthCreate();
int32_t LyrinthInitMidi();
int32_t LyrinthInitWave();
int32_t LyrinthTermMidi();
int32_t LyrinthTermWave();
int32_t LyrinthRelease();
int32_t LyrinthStopMusic();
int32_t LyrinthPlayMusic(const QString& path);
int32_t LyrinthSetMusicSpeed(int32_t speed);
int32_t LyrinthSetMusicPanpot(int32_t pan);
int32_t LyrinthFadeInMusic(int32_t time);
int32_t LyrinthFadeOutMusic(int32_t time);
int32_t LyrinthSetMusicVolume(int32_t volume);
int32_t LyrinthPlaySound(const QString& path);
int32_t LyrinthStopSound();
int32_t LyrinthGetVersion();
int32_t LyrinthGetMidiTick();
int32_t LyrinthGetMusicPlaying();
int32_t LyrinthGetMusicLooping();
int32_t LyrinthCheckValidMidi();
int32_t LyrinthCheckValidWave();

// The library's true.
inline constexpr int32_t lyrinthTrue = -1;

// The absolute path of the library file beside the executable; never a bare name, which the
// system would look for on its search path and in the current directory.
QString defaultLibraryPath();

// The one binding of the process; tests point it at another file.
LazyLibrary& library();

} // namespace modDeclares
