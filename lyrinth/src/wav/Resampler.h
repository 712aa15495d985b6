// Converts stereo float from a sound file's rate to the output rate, piece by piece, appending to
// a growing buffer. Caller's thread.
//
// libsamplerate rather than SDL's audio streams: its band-limited sinc converter has a documented
// quality (SRC_SINC_FASTEST: 97 dB signal-to-noise, 80 % of the band kept) that does not change
// with SDL's version or build, and it converts a whole file on the loading thread, where SDL's
// streams are made for feeding a device.
#pragma once

#include <samplerate.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace lyrinth {

class Resampler {
public:
    // Rates for which a conversion to `outputRate` is possible.
    static bool canConvert(int inputRate, int outputRate);

    Resampler(int inputRate, int outputRate);

    // Appends the conversion of `frames` stereo frames of `in` to `out`; `last` flushes the
    // converter's tail. False, with `whyNot` set, when the converter fails.
    bool convert(const float* in, std::size_t frames, bool last, std::vector<float>& out,
                 std::string& whyNot);

private:
    struct StateDeleter {
        void operator()(SRC_STATE* state) const { src_delete(state); }
    };

    double ratio_;
    std::unique_ptr<SRC_STATE, StateDeleter> state_;
    int error_ = 0;
};

} // namespace lyrinth
