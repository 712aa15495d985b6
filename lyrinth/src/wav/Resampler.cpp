// Sample-rate conversion with libsamplerate. Caller's thread.
#include "wav/Resampler.h"

#include <cmath>

namespace lyrinth {

bool Resampler::canConvert(int inputRate, int outputRate) {
    return inputRate > 0 && outputRate > 0 &&
           src_is_valid_ratio(static_cast<double>(outputRate) / inputRate) != 0;
}

Resampler::Resampler(int inputRate, int outputRate)
    : ratio_(static_cast<double>(outputRate) / inputRate),
      state_(src_new(SRC_SINC_FASTEST, 2, &error_)) {}

bool Resampler::convert(const float* in, std::size_t frames, bool last, std::vector<float>& out,
                        std::string& whyNot) {
    if (!state_) {
        whyNot = std::string("cannot start the resampler: ") + src_strerror(error_);
        return false;
    }
    SRC_DATA data{};
    data.data_in = in;
    data.input_frames = static_cast<long>(frames);
    data.src_ratio = ratio_;
    data.end_of_input = last ? 1 : 0;
    // Room for this piece and the converter's delay; loop until it has taken all input and, at
    // the end, given out all it holds.
    const auto room =
        static_cast<std::size_t>(std::ceil(static_cast<double>(frames) * ratio_)) + 256;
    for (;;) {
        const std::size_t used = out.size();
        out.resize(used + 2 * room);
        data.data_out = out.data() + used;
        data.output_frames = static_cast<long>(room);
        if (const int error = src_process(state_.get(), &data); error != 0) {
            whyNot = std::string("resampling failed: ") + src_strerror(error);
            return false;
        }
        out.resize(used + 2 * static_cast<std::size_t>(data.output_frames_gen));
        const bool stuck = data.input_frames_used == 0 && data.output_frames_gen == 0;
        data.data_in += 2 * data.input_frames_used;
        data.input_frames -= data.input_frames_used;
        if (stuck || (data.input_frames == 0 && !last)) {
            return true;
        }
    }
}

} // namespace lyrinth
