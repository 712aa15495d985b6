// The binding against the fake library: every function reaches the library with its argument and
// brings its result back; missing files and functions and unrepresentable paths are typed errors.
#include "modDeclares.h"
#include "FakeLyrinth.h"
#include "LazyLibrary.h"
#include "LibraryError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace modDeclares;

namespace {

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeLyrinthReset();
        library().setFileName(QStringLiteral(FAKE_LYRINTH_PATH));
    }
    void TearDown() override { library().setFileName(defaultLibraryPath()); }

    static std::string calls() { return fakeLyrinthCalls(); }

    // Expects the call to fail with a LibraryError whose text holds every one of the parts.
    static void expectFailure(const std::function<void()>& call,
                              std::initializer_list<QString> parts) {
        try {
            call();
            ADD_FAILURE() << "no LibraryError";
        } catch (const LibraryError& error) {
            for (const QString& part : parts) {
                EXPECT_TRUE(QString::fromStdString(error.what()).contains(part))
                    << error.what() << " lacks " << part.toStdString();
            }
        }
    }
};

struct Binding {
    const char* name;
    std::function<int32_t()> call;
    const char* recorded;
};

const Binding bindings[] = {
    {"LyrinthCreate", LyrinthCreate, "LyrinthCreate()"},
    {"LyrinthInitMidi", LyrinthInitMidi, "LyrinthInitMidi()"},
    {"LyrinthInitWave", LyrinthInitWave, "LyrinthInitWave()"},
    {"LyrinthTermMidi", LyrinthTermMidi, "LyrinthTermMidi()"},
    {"LyrinthTermWave", LyrinthTermWave, "LyrinthTermWave()"},
    {"LyrinthRelease", LyrinthRelease, "LyrinthRelease()"},
    {"LyrinthStopMusic", LyrinthStopMusic, "LyrinthStopMusic()"},
    {"LyrinthPlayMusic", [] { return LyrinthPlayMusic(QStringLiteral("/music/a b.mid")); },
     "LyrinthPlayMusic(/music/a b.mid)"},
    {"LyrinthSetMusicSpeed", [] { return LyrinthSetMusicSpeed(150); }, "LyrinthSetMusicSpeed(150)"},
    {"LyrinthSetMusicPanpot", [] { return LyrinthSetMusicPanpot(-64); },
     "LyrinthSetMusicPanpot(-64)"},
    {"LyrinthFadeInMusic", [] { return LyrinthFadeInMusic(2147483647); },
     "LyrinthFadeInMusic(2147483647)"},
    {"LyrinthFadeOutMusic", [] { return LyrinthFadeOutMusic(-2147483647 - 1); },
     "LyrinthFadeOutMusic(-2147483648)"},
    {"LyrinthSetMusicVolume", [] { return LyrinthSetMusicVolume(0); }, "LyrinthSetMusicVolume(0)"},
    {"LyrinthPlaySound", [] { return LyrinthPlaySound(QStringLiteral("/no/such.wav")); },
     "LyrinthPlaySound(/no/such.wav)"},
    {"LyrinthStopSound", LyrinthStopSound, "LyrinthStopSound()"},
    {"LyrinthGetVersion", LyrinthGetVersion, "LyrinthGetVersion()"},
    {"LyrinthGetMidiTick", LyrinthGetMidiTick, "LyrinthGetMidiTick()"},
    {"LyrinthGetMusicPlaying", LyrinthGetMusicPlaying, "LyrinthGetMusicPlaying()"},
    {"LyrinthGetMusicLooping", LyrinthGetMusicLooping, "LyrinthGetMusicLooping()"},
    {"LyrinthCheckValidMidi", LyrinthCheckValidMidi, "LyrinthCheckValidMidi()"},
    {"LyrinthCheckValidWave", LyrinthCheckValidWave, "LyrinthCheckValidWave()"},
};

} // namespace

TEST_F(BindingTest, EachFunctionPassesItsArgumentAndReturnsTheLibrarysResult) {
    for (const Binding& binding : bindings) {
        SCOPED_TRACE(binding.name);
        fakeLyrinthReset();
        for (const int32_t result : {-1, 1, 0, -5, 2147483647}) {
            fakeLyrinthSetResult(binding.name, result);
            EXPECT_EQ(binding.call(), result);
        }
        std::string expected;
        for (int call = 0; call < 5; ++call) {
            expected += std::string(binding.recorded) + "\n";
        }
        EXPECT_EQ(calls(), expected);
    }
}

TEST_F(BindingTest, TheLibraryIsLookedForBesideTheExecutableByAbsolutePath) {
    const QString path = defaultLibraryPath();
    EXPECT_TRUE(QFileInfo(path).isAbsolute());
    EXPECT_EQ(QFileInfo(path).absolutePath(), QCoreApplication::applicationDirPath());
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("liblyrinth.so"));
}

TEST_F(BindingTest, AMissingLibraryFileFailsOnTheFirstCallNamingTheFile) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("liblyrinth.so"));
    library().setFileName(path); // pointing at it loads nothing yet
    expectFailure(LyrinthCreate, {path, QStringLiteral("No such file")});
}

TEST_F(BindingTest, AFileThatIsNoLibraryFailsNamingTheFile) {
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("liblyrinth.so"));
    QFile text(path);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a library\n");
    text.close();
    library().setFileName(path);
    expectFailure(LyrinthGetVersion, {path});
}

TEST_F(BindingTest, AMissingFunctionFailsAloneWhileTheOthersWork) {
    const QString path = QStringLiteral(FAKE_LYRINTH_WITHOUT_SOME_PATH);
    library().setFileName(path);
    EXPECT_EQ(LyrinthCreate(), -1);
    expectFailure(LyrinthGetMidiTick, {QStringLiteral("LyrinthGetMidiTick"), path});
    expectFailure(LyrinthGetMidiTick, {QStringLiteral("LyrinthGetMidiTick")});
    EXPECT_EQ(LyrinthCheckValidMidi(), 0);
}

TEST_F(BindingTest, APathTravelsInTheLocalesNarrowEncoding) {
    const QString path = QStringLiteral("/music/caf\u00e9 \u266b.mid");
    LyrinthPlayMusic(path);
    EXPECT_EQ(calls(), "LyrinthPlayMusic(" + QFile::encodeName(path).toStdString() + ")\n");
}

TEST_F(BindingTest, APathTheEncodingCannotCarryIsAFailedCallThatReachesNothing) {
    const QString loneSurrogate =
        QStringLiteral("/music/") + QChar(0xD800) + QStringLiteral(".mid");
    const QString embeddedNul = QStringLiteral("/music/a") + QChar::Null + QStringLiteral("b.wav");
    for (const QString& path : {loneSurrogate, embeddedNul}) {
        expectFailure([&path] { LyrinthPlayMusic(path); }, {QStringLiteral("LyrinthPlayMusic")});
        expectFailure([&path] { LyrinthPlaySound(path); }, {QStringLiteral("LyrinthPlaySound")});
    }
    EXPECT_EQ(calls(), "");
}
