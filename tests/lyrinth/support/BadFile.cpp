// The check that the bad-file tables share.
#include "support/BadFile.h"

#include "support/LibraryTest.h"

#include <gtest/gtest.h>

namespace lyrinth::test {

void expectRefused(std::int32_t (*play)(const char*), const std::string& path, const char* reason) {
    StderrCapture errors;
    EXPECT_EQ(play(path.c_str()), 0);
    const auto said = libraryLines(errors.finish());
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].rfind("lyrinth: " + path + ": ", 0), 0u) << said[0];
    EXPECT_NE(said[0].find(reason), std::string::npos) << said[0];
}

} // namespace lyrinth::test
