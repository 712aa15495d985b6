// Renders one MIDI file offline through the music stage, as the mixer would drive it but with no
// device, and writes it to a 16-bit WAV file with libsndfile, as FluidSynth's renderer does.
// Usage: bench_render <song.mid> <out.wav> <rate> [match.wav]
// The stage loops without end, so the song is rendered exactly to its end (worked out from the
// file's tempo map); with `match.wav`, the music is then stopped and its tail rendered until the
// output is as long as that file, which another renderer wrote for the same song.
#include "midi/MidiFileReader.h"
#include "music/MusicStage.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Seconds from the song's start to `tick`, following the tempo map.
double secondsTo(const lyrinth::Song& song, std::uint32_t tick) {
    double seconds = 0.0;
    for (std::size_t i = 0; i < song.tempoMap.size() && song.tempoMap[i].tick < tick; ++i) {
        const auto& change = song.tempoMap[i];
        const std::uint32_t next =
            i + 1 < song.tempoMap.size() ? std::min(song.tempoMap[i + 1].tick, tick) : tick;
        seconds += (next - change.tick) / song.ticksPerSecond(change.microsecondsPerQuarter);
    }
    return seconds;
}

// Where the stage goes back to the loop start: a loopEnd marker after the loop start, else the end.
std::uint32_t loopPoint(const lyrinth::Song& song) {
    if (song.loopEndTick && *song.loopEndTick > song.loopStartTick) {
        return *song.loopEndTick;
    }
    return song.endTick;
}

std::size_t framesOf(const char* wavPath) {
    SF_INFO info{};
    SNDFILE* file = sf_open(wavPath, SFM_READ, &info);
    if (file == nullptr) {
        return 0;
    }
    sf_close(file);
    return static_cast<std::size_t>(info.frames);
}

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::fprintf(stderr, "usage: bench_render <song.mid> <out.wav> <rate> [match.wav]\n");
        return 2;
    }
    const char* songPath = argv[1];
    const char* outPath = argv[2];
    const int rate = std::atoi(argv[3]);
    std::string why;
    lyrinth::Song song;
    if (rate < 8000 || !lyrinth::MidiFileReader::load(songPath, song, why)) {
        std::fprintf(stderr, "bench_render: %s: %s\n", songPath, why.c_str());
        return 1;
    }
    const auto songFrames =
        static_cast<std::size_t>(std::llround(secondsTo(song, loopPoint(song)) * rate));
    const std::size_t totalFrames = std::max(argc == 5 ? framesOf(argv[4]) : 0, songFrames);

    const double createStart = now();
    auto stage = lyrinth::MusicStage::create(rate, why);
    if (!stage) {
        std::fprintf(stderr, "bench_render: %s\n", why.c_str());
        return 1;
    }
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open(outPath, SFM_WRITE, &info);
    if (out == nullptr) {
        std::fprintf(stderr, "bench_render: %s: %s\n", outPath, sf_strerror(nullptr));
        return 1;
    }

    const double renderStart = now();
    if (!stage->play(songPath, why)) {
        std::fprintf(stderr, "bench_render: %s: %s\n", songPath, why.c_str());
        sf_close(out);
        return 1;
    }
    // Blocks of the device's largest buffer, as the mixer renders them.
    constexpr std::size_t kBlock = 512;
    std::vector<float> buffer(2 * kBlock);
    // Where the stage went back to the loop start: at most a block before the song's end.
    std::size_t loopFrame = 0;
    for (std::size_t done = 0; done < totalFrames;) {
        const std::size_t frames =
            std::min(kBlock, (done < songFrames ? songFrames : totalFrames) - done);
        std::fill(buffer.begin(), buffer.end(), 0.0f);
        stage->renderAdd(buffer.data(), frames);
        sf_writef_float(out, buffer.data(), static_cast<sf_count_t>(frames));
        done += frames;
        if (loopFrame == 0 && stage->looped()) {
            loopFrame = done;
        }
        if (done == songFrames) {
            stage->stop();
        }
    }
    sf_close(out);
    const double renderSeconds = now() - renderStart;

    std::printf("frames %zu song_frames %zu looped_by_frame %zu create_ms %.1f render_s %.3f "
                "realtime_x %.1f\n",
                totalFrames, songFrames, loopFrame, (renderStart - createStart) * 1e3,
                renderSeconds, static_cast<double>(totalFrames) / rate / renderSeconds);
    return 0;
}
