// Seeds for the WAV file fuzz target, written with the tests' own sound-file writer.
#include "WavSeeds.h"

#include "support/Signals.h"
#include "support/SoundFiles.h"

#include <sndfile.h>

#include <string>

namespace {

struct WavSeed {
    const char* name;
    int format;
    int rate;
    int channels;
};

constexpr WavSeed kSeeds[] = {
    {"u8_mono_8000.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 8000, 1},
    {"s16_stereo_44100.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2},
    {"s24_mono_96000.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 96000, 1},
    {"s32_quad_48000.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 48000, 4},
    {"float_stereo_22050.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 22050, 2},
    {"double_mono_48000.wav", SF_FORMAT_WAV | SF_FORMAT_DOUBLE, 48000, 1},
    {"ulaw_mono_8000.wav", SF_FORMAT_WAV | SF_FORMAT_ULAW, 8000, 1},
    {"alaw_mono_8000.wav", SF_FORMAT_WAV | SF_FORMAT_ALAW, 8000, 1},
    {"ima_adpcm_mono_22050.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 22050, 1},
    {"ms_adpcm_stereo_11025.wav", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 11025, 2},
    {"extensible_six_48000.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16, 48000, 6},
    {"rifx_s16_mono_16000.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG, 16000, 1},
    {"rf64_s16_stereo_48000.wav", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 48000, 2},
};

constexpr std::size_t kFrames = 256;

} // namespace

void WavSeeds::write(const std::filesystem::path& folder) {
    using namespace lyrinth::test;
    for (const WavSeed& seed : kSeeds) {
        const auto channels = static_cast<std::size_t>(seed.channels);
        const auto samples = makeSignal(kFrames, channels, [&](std::size_t c, std::size_t f) {
            return sineAt(440.0 * static_cast<double>(c + 1), seed.rate, f, 0.5f);
        });
        writeSoundFile((folder / seed.name).string(), seed.format, seed.rate, seed.channels,
                       samples);
    }
    // A header that claims more data than there is, as a cut-short download leaves it.
    writeBytes((folder / "cut_short.wav").string(), pcmWavBytes(2, 44100, 4096, 100));
}
