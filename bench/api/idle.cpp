// CPU used with both engines up and nothing playing, over a given number of seconds (default 10).
#include "ProcessMeter.h"

#include "lyrinth.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    if (LyrinthCreate() != -1 || LyrinthInitMidi() != -1 || LyrinthInitWave() != -1) {
        std::fprintf(stderr, "idle: the engines did not start\n");
        return 1;
    }
    // Let start-up work settle before measuring.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const double cpuBefore = bench::cpuSeconds();
    const double wallBefore = bench::wallSeconds();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double cpu = bench::cpuSeconds() - cpuBefore;
    const double wall = bench::wallSeconds() - wallBefore;
    std::printf("idle_cpu_percent %.3f over_s %.1f\n", 100.0 * cpu / wall, wall);
    LyrinthTermMidi();
    LyrinthTermWave();
    LyrinthRelease();
    return 0;
}
