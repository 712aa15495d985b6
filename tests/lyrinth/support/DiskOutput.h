// The library's output as a file: points SDL's disk audio driver at a file and reads back the raw
// 32-bit float stereo the library wrote.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace lyrinth::test {

class DiskOutput {
public:
    // The disk driver has no preferred rate to tell, so the library falls back to this one.
    static constexpr int kRate = 48000;

    // Milliseconds the driver waits after each 512-frame buffer: a few times faster than real
    // time for tests that only look at what was written, about real time for tests whose calls
    // must land while a sound still plays, however slow the machine is at the moment.
    static constexpr int kFast = 1;
    static constexpr int kRealTime = 10;
    // The library's largest buffer: what the device may have been given but not written yet.
    static constexpr std::size_t kBufferFrames = 512;

    // Sets SDL's environment for the next LyrinthCreate.
    explicit DiskOutput(std::string path, int millisecondsPerBuffer = kFast);

    std::vector<float> read() const;
    std::size_t framesWritten() const;
    // Waits until a sound has started and `frames` frames from its start are written. The driver
    // runs a few times faster than real time, so this takes a fraction of the sound's length.
    bool waitForSound(std::size_t frames) const;
    // Waits until `frames` more frames than now are written.
    bool waitForMore(std::size_t frames) const;
    // An answer of the library with the frames written when it was given: the answer describes
    // the output from those frames to at most one buffer (kBufferFrames) later. `ask` may be
    // asked more than once, so it must be a query or a call that may be repeated.
    struct Answer {
        int value;
        std::size_t frames;
    };
    Answer answerAt(const std::function<int()>& ask) const;
    // Asks until `done` says yes to an answer, handing every answer to `seen` on the way.
    bool askUntil(const std::function<int()>& ask, const std::function<bool(int)>& done,
                  const std::function<void(const Answer&)>& seen) const;
    // Waits until `heard` says yes to all that was written so far.
    bool waitUntil(const std::function<bool(const std::vector<float>&)>& heard) const;

private:
    std::string path_;
};

} // namespace lyrinth::test
