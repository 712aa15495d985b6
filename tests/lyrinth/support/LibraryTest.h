// The fixture of the tests that go through the exported functions: a private folder for fixture
// files, the disk output, and a tear-down that always leaves the library released.
#pragma once

#include "support/DiskOutput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lyrinth::test {

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path in this test's own folder.
    std::string file(const std::string& name) const;
    // LyrinthCreate then LyrinthInitWave, both expected to succeed.
    void startWaveEngine();
    // LyrinthCreate then LyrinthInitMidi, both expected to succeed.
    void startMidiEngine();
    // Stops writing the output file (LyrinthRelease) and returns all that was written.
    std::vector<float> releaseAndRead();

    std::filesystem::path folder_;
    std::optional<DiskOutput> output_;
};

// The library's own lines in what was written to standard error (SDL's disk driver adds its own).
std::vector<std::string> libraryLines(const std::string& written);

// What is written to standard error while it lives.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture() { finish(); }
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    std::string finish();

private:
    bool finished_ = false;
};

} // namespace lyrinth::test
