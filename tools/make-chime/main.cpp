// make-chime: writes a short two-note chime ("ding-dong") as a 16-bit stereo WAV file, the sample
// sound effect in samples/. Usage: make-chime <output.wav>
//
// Each note is a struck bell: a few partials, the higher ones fading sooner, with a slightly
// different tuning on each side so that the sound has some width.
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kSeconds = 2.2;
constexpr double kPeak = 0.8; // about -2 dB full scale

struct Partial {
    double ratio; // to the note's pitch
    double amplitude;
    double decay; // seconds to fall to 1/e
};

constexpr Partial kBell[] = {
    {1.0, 1.0, 0.9}, {2.0, 0.5, 0.6}, {3.01, 0.25, 0.4}, {4.2, 0.15, 0.25}, {5.43, 0.08, 0.15},
};

struct Note {
    double pitch; // Hz
    double start; // seconds
    double level;
};

constexpr Note kNotes[] = {{1318.51, 0.0, 1.0}, {1046.50, 0.32, 0.9}}; // E6, then C6

double bell(const Note& note, double detune, double t) {
    const double since = t - note.start;
    if (since < 0.0) {
        return 0.0;
    }
    const double attack = std::min(since / 0.002, 1.0); // no click at the strike
    double sum = 0.0;
    for (const Partial& p : kBell) {
        const double phase = 2.0 * std::numbers::pi * note.pitch * p.ratio * (1.0 + detune) * since;
        sum += p.amplitude * std::exp(-since / p.decay) * std::sin(phase);
    }
    return note.level * attack * sum;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-chime <output.wav>\n");
        return 2;
    }
    const auto frames = static_cast<std::size_t>(kSeconds * kRate);
    std::vector<double> samples(2 * frames);
    for (std::size_t f = 0; f < frames; ++f) {
        const double t = static_cast<double>(f) / kRate;
        for (const Note& note : kNotes) {
            samples[2 * f] += bell(note, -0.0004, t);
            samples[2 * f + 1] += bell(note, 0.0004, t);
        }
    }
    double peak = 0.0;
    for (double s : samples) {
        peak = std::max(peak, std::fabs(s));
    }
    // The tail ends in silence rather than being cut off.
    const std::size_t fade = kRate / 10;
    for (std::size_t f = frames - fade; f < frames; ++f) {
        const double gain = static_cast<double>(frames - f) / static_cast<double>(fade);
        samples[2 * f] *= gain;
        samples[2 * f + 1] *= gain;
    }
    for (double& s : samples) {
        s *= kPeak / peak;
    }

    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(argv[1], SFM_WRITE, &info);
    if (file == nullptr) {
        std::fprintf(stderr, "make-chime: %s: %s\n", argv[1], sf_strerror(nullptr));
        return 1;
    }
    const auto written = sf_writef_double(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    if (written != static_cast<sf_count_t>(frames)) {
        std::fprintf(stderr, "make-chime: %s: could not write it all\n", argv[1]);
        return 1;
    }
    return 0;
}
