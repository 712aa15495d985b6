// Control of the fake sound library: tests link it directly to script its results and read which
// functions the program called, while the program loads the same file through its real binding.
#pragma once

#include <stdint.h>

#define FAKE_LYRINTH_EXPORT __attribute__((visibility("default")))

extern "C" {
// Forgets the calls and puts every result back to its default: -1 for creating, starting an
// engine and playing a sound, 0 for everything else.
FAKE_LYRINTH_EXPORT void fakeLyrinthReset(void);
FAKE_LYRINTH_EXPORT void fakeLyrinthSetResult(const char* function, int32_t result);
// Forgets the calls only; scripted results stay.
FAKE_LYRINTH_EXPORT void fakeLyrinthClearCalls(void);
// One line per call, in order: "Name()", "Name(42)" or "Name(/the/path)".
FAKE_LYRINTH_EXPORT const char* fakeLyrinthCalls(void);
}
