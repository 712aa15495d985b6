// WAV loading: checks, decoding in pieces, downmix, resampling. Caller's thread.
#include "wav/WavLoader.h"

#include "wav/Resampler.h"
#include "wav/RiffDataCheck.h"
#include "wav/StereoDownmix.h"

#include <sndfile.h>

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>
#include <vector>

namespace lyrinth {
namespace {

constexpr sf_count_t kPieceFrames = 4096;

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using Sndfile = std::unique_ptr<SNDFILE, SndfileCloser>;

std::string notAFileReason(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status)) {
        return "no such file";
    }
    if (std::filesystem::is_directory(status)) {
        return "is a directory, not a file";
    }
    // Pipes and devices could block or never end.
    if (!std::filesystem::is_regular_file(status)) {
        return "not a regular file";
    }
    if (std::filesystem::file_size(path, error) == 0 && !error) {
        return "empty file";
    }
    return {};
}

bool isWavContainer(int format) {
    const int major = format & SF_FORMAT_TYPEMASK;
    return major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX || major == SF_FORMAT_RF64;
}

std::string formatName(int format) {
    SF_FORMAT_INFO info{};
    info.format = format & SF_FORMAT_TYPEMASK;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) == 0 && info.name) {
        return info.name;
    }
    return "an unknown format";
}

std::vector<int> channelPositions(SNDFILE* file, int channels) {
    std::vector<int> positions(static_cast<std::size_t>(channels));
    const auto bytes = static_cast<int>(positions.size() * sizeof(int));
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, positions.data(), bytes) != SF_TRUE) {
        positions.clear();
    }
    return positions;
}

} // namespace

std::unique_ptr<SoundClip> WavLoader::load(const std::string& path, std::string& whyNot) const {
    if (whyNot = notAFileReason(path); !whyNot.empty()) {
        return nullptr;
    }
    SF_INFO info{};
    Sndfile file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        whyNot = std::string("not a readable sound file (") + sf_strerror(nullptr) + ")";
        return nullptr;
    }
    if (!isWavContainer(info.format)) {
        whyNot = "not a WAV file (it is " + formatName(info.format) + ")";
        return nullptr;
    }
    if (whyNot = RiffDataCheck::problem(path); !whyNot.empty()) {
        return nullptr;
    }
    if (info.channels < 1) {
        whyNot = "no channels";
        return nullptr;
    }
    if (info.samplerate < kMinRate || info.samplerate > kMaxRate ||
        !Resampler::canConvert(info.samplerate, outputRate_)) {
        whyNot = "sample rate " + std::to_string(info.samplerate) + " Hz is outside " +
                 std::to_string(kMinRate) + ".." + std::to_string(kMaxRate) + " Hz";
        return nullptr;
    }
    const sf_count_t maxFrames = sf_count_t{kMaxSeconds} * info.samplerate;
    const std::string tooLong = "longer than " + std::to_string(kMaxSeconds / 60) + " minutes";
    if (info.frames > maxFrames) {
        whyNot = tooLong;
        return nullptr;
    }

    try {
        const auto channels = static_cast<std::size_t>(info.channels);
        const StereoDownmix downmix(channels, channelPositions(file.get(), info.channels));
        Resampler resampler(info.samplerate, outputRate_);
        const bool sameRate = info.samplerate == outputRate_;
        std::vector<float> piece(static_cast<std::size_t>(kPieceFrames) * channels);
        std::vector<float> stereo(static_cast<std::size_t>(kPieceFrames) * 2);
        auto clip = std::make_unique<SoundClip>();
        // A hint only, with room for the resampler's last piece: the frame count comes from the
        // header (bounded above), the loop below goes by the data.
        const double ratio = static_cast<double>(outputRate_) / info.samplerate;
        const double expected = static_cast<double>(std::max<sf_count_t>(info.frames, 0));
        clip->samples.reserve(
            static_cast<std::size_t>((expected + 2.0 * kPieceFrames) * ratio + 1024.0) * 2);

        sf_count_t total = 0;
        for (;;) {
            const sf_count_t got = sf_readf_float(file.get(), piece.data(), kPieceFrames);
            if (got < 0 || sf_error(file.get()) != SF_ERR_NO_ERROR) {
                whyNot = std::string("unreadable sound data (") + sf_strerror(file.get()) + ")";
                return nullptr;
            }
            total += got;
            if (total > maxFrames) {
                whyNot = tooLong;
                return nullptr;
            }
            const auto frames = static_cast<std::size_t>(got);
            downmix.mix(piece.data(), frames, stereo.data());
            const bool last = got == 0;
            if (sameRate) {
                clip->samples.insert(clip->samples.end(), stereo.begin(),
                                     stereo.begin() + static_cast<std::ptrdiff_t>(2 * frames));
            } else if (!resampler.convert(stereo.data(), frames, last, clip->samples, whyNot)) {
                return nullptr;
            }
            if (last) {
                break;
            }
        }
        if (clip->frames() == 0) {
            whyNot = "no sound data";
            return nullptr;
        }
        return clip;
    } catch (const std::bad_alloc&) {
        whyNot = "not enough memory to load it";
        return nullptr;
    }
}

} // namespace lyrinth
