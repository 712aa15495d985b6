// The library's exported functions. Placeholder until the engine lands: every call fails.
#include "lyrinth.h"

#include <cstdio>

namespace {
int32_t notReady(const char* function) {
    std::fprintf(stderr, "lyrinth: %s: the engine is not built yet\n", function);
    return 0;
}
} // namespace

extern "C" {
int32_t LyrinthCreate(void) { return notReady("LyrinthCreate"); }
int32_t LyrinthRelease(void) { return notReady("LyrinthRelease"); }
int32_t LyrinthGetVersion(void) { return 111; }
int32_t LyrinthInitMidi(void) { return notReady("LyrinthInitMidi"); }
int32_t LyrinthTermMidi(void) { return notReady("LyrinthTermMidi"); }
int32_t LyrinthCheckValidMidi(void) { return 0; }
int32_t LyrinthPlayMusic(const char*) { return notReady("LyrinthPlayMusic"); }
int32_t LyrinthStopMusic(void) { return notReady("LyrinthStopMusic"); }
int32_t LyrinthSetMusicSpeed(int32_t) { return notReady("LyrinthSetMusicSpeed"); }
int32_t LyrinthSetMusicPanpot(int32_t) { return notReady("LyrinthSetMusicPanpot"); }
int32_t LyrinthSetMusicVolume(int32_t) { return notReady("LyrinthSetMusicVolume"); }
int32_t LyrinthFadeInMusic(int32_t) { return notReady("LyrinthFadeInMusic"); }
int32_t LyrinthFadeOutMusic(int32_t) { return notReady("LyrinthFadeOutMusic"); }
int32_t LyrinthGetMusicPlaying(void) { return 0; }
int32_t LyrinthGetMusicLooping(void) { return 0; }
int32_t LyrinthGetMidiTick(void) { return 0; }
int32_t LyrinthInitWave(void) { return notReady("LyrinthInitWave"); }
int32_t LyrinthTermWave(void) { return notReady("LyrinthTermWave"); }
int32_t LyrinthCheckValidWave(void) { return 0; }
int32_t LyrinthPlaySound(const char*) { return notReady("LyrinthPlaySound"); }
int32_t LyrinthStopSound(void) { return notReady("LyrinthStopSound"); }
}
