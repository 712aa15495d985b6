// Start-up and shutdown: creating the engine or ending before the window shows, disabling the
// controls of an engine that did not start, the four shutdown calls once and in order, the
// program's directory made current, and a library that is missing or lacks functions.
#include "WindowTest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <set>

namespace {

const QStringList shutdownCalls{"LyrinthStopMusic()", "LyrinthTermMidi()", "LyrinthTermWave()",
                                "LyrinthRelease()"};

const std::set<QString> musicControls{"Command12", "Command10", "Command9", "Command8", "Command7",
                                      "Command6",  "Command5",  "Command4", "Command3", "Command2",
                                      "Panpot",    "SetSpeed",  "FadeOut",  "FadeIn",   "Volume"};
const std::set<QString> soundControls{"Command13", "Command15"};

class StartupTest : public WindowTest {
protected:
    std::set<QString> disabledControls() const {
        std::set<QString> disabled;
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            if (!control->isEnabled()) {
                disabled.insert(control->objectName());
            }
        }
        return disabled;
    }

    // The call log of whichever library file the binding has loaded, variants included.
    static QStringList loadedLibraryCalls() {
        const auto read = reinterpret_cast<const char* (*)()>(
            modDeclares::library().function("fakeLyrinthCalls"));
        return QString::fromUtf8(read()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

} // namespace

TEST_F(StartupTest, AnEngineCreatedStartsBothEnginesInOrder) {
    EXPECT_TRUE(window->Load());
    EXPECT_EQ(calls(), QStringList({"LyrinthCreate()", "LyrinthInitMidi()", "LyrinthInitWave()"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartupTest, AnEngineNotCreatedIsReportedAndNothingElseIsCalledEvenAtTheEnd) {
    for (const int32_t result : {1, 0, 2, -2}) {
        SCOPED_TRACE(result);
        useLibrary(QStringLiteral(FAKE_LYRINTH_PATH));
        dialogs.messages.clear();
        fakeLyrinthReset();
        fakeLyrinthSetResult("LyrinthCreate", result);
        EXPECT_FALSE(window->Load());
        ASSERT_EQ(dialogs.messages.size(), 1U);
        EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Cannot start Lyrinth"));
        EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Lyrinth Demo"));
        EXPECT_EQ(dialogs.messages[0].icon, Dialogs::Icon::None);
        EXPECT_FALSE(window->isVisible());
        window->close();
        window.reset();
        EXPECT_EQ(calls(), QStringList({"LyrinthCreate()"}));
    }
}

TEST_F(StartupTest, TheControlsOfAnEngineThatDidNotStartAreDisabledSilently) {
    struct Case {
        int32_t midi;
        int32_t wave;
        std::set<QString> disabled;
    };
    std::set<QString> both = musicControls;
    both.insert(soundControls.begin(), soundControls.end());
    const Case cases[] = {
        {-1, -1, {}},           {0, -1, musicControls}, {1, -1, musicControls},
        {-1, 0, soundControls}, {-1, 1, soundControls}, {0, 0, both},
    };
    for (const Case& engines : cases) {
        SCOPED_TRACE(testing::Message() << "midi " << engines.midi << ", wave " << engines.wave);
        fakeLyrinthReset();
        fakeLyrinthSetResult("LyrinthInitMidi", engines.midi);
        fakeLyrinthSetResult("LyrinthInitWave", engines.wave);
        useLibrary(QStringLiteral(FAKE_LYRINTH_PATH));
        EXPECT_TRUE(window->Load());
        EXPECT_EQ(disabledControls(), engines.disabled);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Lyrinth.dll active"));
        EXPECT_TRUE(dialogs.messages.empty());
    }
}

TEST_F(StartupTest, ClosingShutsTheLibraryDownOnceInOrderWhateverStartUpFound) {
    for (const int32_t engines : {-1, 0}) {
        SCOPED_TRACE(engines);
        fakeLyrinthReset();
        fakeLyrinthSetResult("LyrinthInitMidi", engines);
        fakeLyrinthSetResult("LyrinthInitWave", engines);
        useLibrary(QStringLiteral(FAKE_LYRINTH_PATH));
        startWindow();
        window->show();
        EXPECT_TRUE(window->close());
        EXPECT_FALSE(window->isVisible());
        window->close();
        window.reset();
        EXPECT_EQ(calls(), shutdownCalls);
    }
}

TEST_F(StartupTest, StartUpMakesTheProgramsDirectoryCurrent) {
    const QString before = QDir::currentPath();
    const QTemporaryDir elsewhere;
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    startWindow();
    EXPECT_EQ(QDir::current().canonicalPath(),
              QDir(QCoreApplication::applicationDirPath()).canonicalPath());
    QDir::setCurrent(before);
}

TEST_F(StartupTest, ALibraryThatCannotBeLoadedIsReportedWithItsReasonAndTheProgramEnds) {
    const QTemporaryDir folder;
    const QString missing = folder.filePath(QStringLiteral("liblyrinth.so"));
    const QString notALibrary = folder.filePath(QStringLiteral("text.so"));
    QFile text(notALibrary);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(200, 'x'));
    text.close();
    const QString withoutCreate = QStringLiteral(FAKE_LYRINTH_WITHOUT_CREATE_PATH);

    struct Case {
        QString path;
        QString reason;
    };
    const Case cases[] = {
        {missing, QStringLiteral("No such file")},
        {notALibrary, QStringLiteral("invalid ELF header")},
        {withoutCreate, QStringLiteral("LyrinthCreate")},
    };
    for (const Case& library : cases) {
        SCOPED_TRACE(library.path.toStdString());
        dialogs.messages.clear();
        useLibrary(library.path);
        EXPECT_FALSE(window->Load());
        ASSERT_EQ(dialogs.messages.size(), 1U);
        const QString shown = dialogs.messages[0].text;
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Cannot start Lyrinth")))
            << shown.toStdString();
        EXPECT_TRUE(shown.contains(library.path)) << shown.toStdString();
        EXPECT_TRUE(shown.contains(library.reason)) << shown.toStdString();
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(StartupTest, AShutdownFunctionMissingIsNamedAndTheOtherStepsStillRun) {
    useLibrary(QStringLiteral(FAKE_LYRINTH_WITHOUT_SOME_PATH));
    ASSERT_TRUE(window->Load());
    window->close();
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("LyrinthStopMusic")));
    EXPECT_EQ(loadedLibraryCalls(),
              QStringList({"LyrinthCreate()", "LyrinthInitMidi()", "LyrinthInitWave()",
                           "LyrinthTermMidi()", "LyrinthTermWave()", "LyrinthRelease()"}));
}
