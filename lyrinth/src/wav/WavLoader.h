// Loads a WAV file into a SoundClip ready to play: decoded with libsndfile, mixed to stereo and
// converted to the output rate. Only WAV containers (RIFF, RIFX, RF64) of at most ten minutes are
// accepted; sizes in the file's header are never trusted for memory. Caller's thread.
#pragma once

#include "mixer/SoundClip.h"

#include <memory>
#include <string>

namespace lyrinth {

class WavLoader {
public:
    static constexpr int kMaxSeconds = 600;
    static constexpr int kMinRate = 1000;
    static constexpr int kMaxRate = 768000;

    explicit WavLoader(int outputRate) : outputRate_(outputRate) {}

    // The sound, or nullptr with `whyNot` saying why.
    std::unique_ptr<SoundClip> load(const std::string& path, std::string& whyNot) const;

private:
    int outputRate_;
};

} // namespace lyrinth
