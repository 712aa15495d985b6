// The fixture of the tests that go through the exported functions.
#include "support/LibraryTest.h"

#include "lyrinth.h"

#include <cctype>
#include <sstream>

namespace lyrinth::test {

void LibraryTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    folder_ = std::filesystem::path(::testing::TempDir()) / ("lyrinth_" + name);
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    output_.emplace(file("output.raw"));
}

void LibraryTest::TearDown() {
    StderrCapture quiet; // whatever is still up is taken down without noise
    LyrinthTermWave();
    LyrinthRelease();
    quiet.finish();
    std::filesystem::remove_all(folder_);
}

std::string LibraryTest::file(const std::string& name) const {
    return (folder_ / name).string();
}

void LibraryTest::startWaveEngine() {
    ASSERT_EQ(LyrinthCreate(), -1);
    ASSERT_EQ(LyrinthInitWave(), -1);
}

void LibraryTest::startMidiEngine() {
    ASSERT_EQ(LyrinthCreate(), -1);
    ASSERT_EQ(LyrinthInitMidi(), -1);
}

std::vector<float> LibraryTest::releaseAndRead() {
    EXPECT_EQ(LyrinthRelease(), -1);
    return output_->read();
}

std::vector<std::string> libraryLines(const std::string& written) {
    std::vector<std::string> lines;
    std::istringstream in(written);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("lyrinth:", 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

StderrCapture::StderrCapture() {
    ::testing::internal::CaptureStderr();
}

std::string StderrCapture::finish() {
    if (finished_) {
        return {};
    }
    finished_ = true;
    return ::testing::internal::GetCapturedStderr();
}

} // namespace lyrinth::test
