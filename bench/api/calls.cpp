// Time per call of LyrinthPlayMusic and LyrinthPlaySound, as the caller's thread feels it, with
// both engines up on a real-time device (run under SDL_AUDIODRIVER=dummy where there is no sound
// card). Usage: bench_calls <song.mid> <work folder>; writes a 1.5 s 48 kHz mono effect there.
// Prints one line of figures, in milliseconds, medians over repeats; n/a where an engine does not
// start or a call fails (the library says why on standard error).
#include "ProcessMeter.h"

#include "lyrinth.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRepeats = 9;

// A decaying 440 Hz tone, 16-bit mono at 48 kHz.
bool writeEffect(const std::string& path) {
    constexpr int kRate = 48000;
    constexpr int kFrames = kRate * 3 / 2;
    std::vector<float> samples(kFrames);
    for (int i = 0; i < kFrames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        samples[static_cast<std::size_t>(i)] = static_cast<float>(
            0.5 * std::exp(-3.0 * t) * std::sin(2.0 * std::numbers::pi * 440.0 * t));
    }
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    const bool written = sf_writef_float(file, samples.data(), kFrames) == kFrames;
    return sf_close(file) == 0 && written;
}

void pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Times calls in milliseconds, remembering whether any failed.
struct CallTimer {
    bool failed = false;

    double time(const std::function<int32_t()>& call) {
        const double start = bench::wallSeconds();
        failed = call() != -1 || failed;
        return (bench::wallSeconds() - start) * 1e3;
    }
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string milliseconds(const char* name, double value, bool failed) {
    char text[64];
    std::snprintf(text, sizeof text, failed ? "%s n/a" : "%s %.2f", name, value);
    return text;
}

std::string timeMusic(const std::string& song) {
    auto play = [&] { return LyrinthPlayMusic(song.c_str()); };
    CallTimer timer;
    // The first song reads its instruments from the SoundFont.
    const double first = timer.time(play);
    // Then the song replacing itself while it sounds, and started from silence.
    std::vector<double> replacing;
    std::vector<double> fromSilence;
    for (int i = 0; i < kRepeats; ++i) {
        pause(300);
        replacing.push_back(timer.time(play));
    }
    for (int i = 0; i < kRepeats / 3; ++i) {
        LyrinthStopMusic();
        pause(2000); // the reverb tail dies away and the synthesizer rests
        fromSilence.push_back(timer.time(play));
    }
    LyrinthStopMusic();
    std::string figures = milliseconds("play_music_first_ms", first, timer.failed);
    figures += milliseconds(" play_music_replacing_ms", median(replacing), timer.failed);
    figures += milliseconds(" play_music_from_silence_ms", median(fromSilence), timer.failed);
    return figures;
}

std::string timeSound(const std::string& effect) {
    CallTimer timer;
    std::vector<double> times;
    for (int i = 0; i < 2 * kRepeats; ++i) {
        pause(50);
        times.push_back(timer.time([&] { return LyrinthPlaySound(effect.c_str()); }));
    }
    LyrinthStopSound();
    return milliseconds(" play_sound_ms", median(times), timer.failed);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_calls <song.mid> <work folder>\n");
        return 2;
    }
    const std::string song = argv[1];
    const std::string effect = (std::filesystem::path(argv[2]) / "effect.wav").string();
    if (!writeEffect(effect)) {
        std::fprintf(stderr, "calls: cannot write %s\n", effect.c_str());
        return 1;
    }
    if (LyrinthCreate() != -1) {
        std::fprintf(stderr, "calls: the engine did not start\n");
        return 1;
    }
    // Each engine is measured if it starts; the other's figures are then n/a.
    std::string figures;
    if (LyrinthInitMidi() == -1) {
        figures += timeMusic(song);
    } else {
        figures += "play_music_first_ms n/a play_music_replacing_ms n/a "
                   "play_music_from_silence_ms n/a";
    }
    if (LyrinthInitWave() == -1) {
        figures += timeSound(effect);
    } else {
        figures += " play_sound_ms n/a";
    }
    std::printf("%s\n", figures.c_str());
    LyrinthTermMidi();
    LyrinthTermWave();
    LyrinthRelease();
    return 0;
}
