/* Lyrinth: a small library that plays MIDI music and WAV sound effects.
 *
 * Every function returns a 32-bit signed integer: -1 means yes or success, 0 means no or
 * failure, unless the function returns a number (version, tick). Call from one thread at a
 * time. Every failure also writes one line starting with "lyrinth: " to standard error. */
#ifndef LYRINTH_H
#define LYRINTH_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(LYRINTH_BUILDING)
#define LYRINTH_API __declspec(dllexport)
#else
#define LYRINTH_API __declspec(dllimport)
#endif
#define LYRINTH_CALL __stdcall
#else
#define LYRINTH_API __attribute__((visibility("default")))
#define LYRINTH_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Engine */
LYRINTH_API int32_t LYRINTH_CALL LyrinthCreate(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthRelease(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthGetVersion(void);

/* MIDI engine */
LYRINTH_API int32_t LYRINTH_CALL LyrinthInitMidi(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthTermMidi(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthCheckValidMidi(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthPlayMusic(const char* path);
LYRINTH_API int32_t LYRINTH_CALL LyrinthStopMusic(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthSetMusicSpeed(int32_t percent);
LYRINTH_API int32_t LYRINTH_CALL LyrinthSetMusicPanpot(int32_t pan);
LYRINTH_API int32_t LYRINTH_CALL LyrinthSetMusicVolume(int32_t volume);
LYRINTH_API int32_t LYRINTH_CALL LyrinthFadeInMusic(int32_t ms);
LYRINTH_API int32_t LYRINTH_CALL LyrinthFadeOutMusic(int32_t ms);
LYRINTH_API int32_t LYRINTH_CALL LyrinthGetMusicPlaying(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthGetMusicLooping(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthGetMidiTick(void);

/* WAV engine */
LYRINTH_API int32_t LYRINTH_CALL LyrinthInitWave(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthTermWave(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthCheckValidWave(void);
LYRINTH_API int32_t LYRINTH_CALL LyrinthPlaySound(const char* path);
LYRINTH_API int32_t LYRINTH_CALL LyrinthStopSound(void);

#ifdef __cplusplus
}
#endif

#endif /* LYRINTH_H */
