// Start-up cost as a user feels it: LyrinthCreate, LyrinthInitMidi and LyrinthInitWave in a fresh
// process, with the SoundFont named by LYRINTH_SOUNDFONT. Prints one line of figures.
#include "ProcessMeter.h"

#include "lyrinth.h"

#include <cstdio>

int main() {
    const double residentBefore = bench::residentMiB();
    const double start = bench::wallSeconds();
    const bool created = LyrinthCreate() == -1;
    const bool midi = LyrinthInitMidi() == -1;
    const bool wave = LyrinthInitWave() == -1;
    const double elapsed = bench::wallSeconds() - start;
    const double growth = bench::residentMiB() - residentBefore;
    std::printf("startup_ms %.2f rss_growth_mib %.1f engine %d midi %d wave %d\n", elapsed * 1e3,
                growth, created, midi, wave);
    LyrinthStopMusic();
    LyrinthTermMidi();
    LyrinthTermWave();
    LyrinthRelease();
    return created && midi && wave ? 0 : 1;
}
