// Finding and loading the SoundFont: the lookup's order, falling back past files that do not
// load, and a clear failure when none does.
#include "midi/Synthesizer.h"
#include "midi/SoundFontLocator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using lyrinth::SoundFontLocator;
using lyrinth::Synthesizer;

namespace {

const std::filesystem::path kSystemSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

class SoundFontLookup : public testing::Test {
protected:
    void SetUp() override {
        garbage = std::filesystem::temp_directory_path() /
                  ("lyrinth-not-a-soundfont-" + std::to_string(getpid()) + ".sf2");
        std::ofstream(garbage) << "RIFF....sfbk but not really";
    }
    void TearDown() override {
        unsetenv("LYRINTH_SOUNDFONT");
        std::filesystem::remove(garbage);
    }
    std::filesystem::path garbage;
};

TEST_F(SoundFontLookup, TriesTheVariableThenBesideTheLibraryThenTheSystem) {
    setenv("LYRINTH_SOUNDFONT", "/somewhere/chosen.sf2", 1);
    const auto paths = SoundFontLocator::candidates();
    ASSERT_GE(paths.size(), 6u);
    EXPECT_EQ(paths[0], "/somewhere/chosen.sf2");
    EXPECT_EQ(paths[1].filename(), "lyrinth.sf2");
    EXPECT_EQ(paths[2].filename(), "lyrinth.sf3");
    EXPECT_EQ(paths[1].parent_path(), paths[2].parent_path());
    EXPECT_EQ(paths[3], kSystemSoundFont);
    EXPECT_EQ(paths.back(), "/usr/share/soundfonts/default.sf2");
    unsetenv("LYRINTH_SOUNDFONT");
    EXPECT_EQ(SoundFontLocator::candidates().size(), paths.size() - 1);
}

TEST_F(SoundFontLookup, FallsBackPastFilesThatDoNotLoad) {
    std::string why;
    auto synth = Synthesizer::create(48000, {"/nonexistent.sf2", garbage, kSystemSoundFont}, why);
    ASSERT_TRUE(synth) << why;
    EXPECT_EQ(synth->soundFontPath(), kSystemSoundFont.string());
}

TEST_F(SoundFontLookup, VariableNamesTheSoundFont) {
    const auto real = std::filesystem::canonical(kSystemSoundFont);
    setenv("LYRINTH_SOUNDFONT", real.c_str(), 1);
    std::string why;
    auto synth = Synthesizer::create(48000, why);
    ASSERT_TRUE(synth) << why;
    EXPECT_EQ(synth->soundFontPath(), real.string());
}

TEST_F(SoundFontLookup, FailsWithAReasonWhenNoneLoads) {
    std::string why;
    EXPECT_FALSE(Synthesizer::create(48000, {"/nonexistent.sf2"}, why));
    EXPECT_NE(why.find("no SoundFont found"), std::string::npos) << why;
    EXPECT_FALSE(Synthesizer::create(48000, {garbage}, why));
    EXPECT_NE(why.find("could be loaded"), std::string::npos) << why;
    EXPECT_NE(why.find(garbage.string()), std::string::npos) << why;
}

} // namespace
