// Every button's Click: the library calls it makes and the box it shows, through the fake library
// and scripted dialogs.
#include "WindowTest.h"

#include <QLineEdit>

namespace {

const QStringList midiFilters{"MIDI Sequences (*.mid *.midi)", "All Files (*)"};
const QStringList wavFilters{"WAV Files (*.wav)", "All Files (*)"};

struct NumericCommand {
    const char* button;
    const char* textBox;
    const char* function;
};

const NumericCommand numericCommands[] = {
    {"Command6", "SetSpeed", "LyrinthSetMusicSpeed"},
    {"Command2", "Panpot", "LyrinthSetMusicPanpot"},
    {"Command3", "FadeIn", "LyrinthFadeInMusic"},
    {"Command7", "FadeOut", "LyrinthFadeOutMusic"},
    {"Command8", "Volume", "LyrinthSetMusicVolume"},
};

class CommandsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        startWindow();
    }

    void expectOneMessage(const QString& text, const QString& title, Dialogs::Icon icon) {
        ASSERT_EQ(dialogs.messages.size(), 1U);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].title, title);
        EXPECT_EQ(dialogs.messages[0].icon, icon);
    }
};

// Start-up finds the MIDI engine down.
class MidiDownTest : public CommandsTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        fakeLyrinthSetResult("LyrinthInitMidi", 0);
        startWindow();
    }
};

} // namespace

TEST_F(CommandsTest, NumericCommandsPassTheirTextBoxesNumberAndKeepTheText) {
    struct Typed {
        const char* text;
        const char* argument;
    };
    const Typed typed[] = {{"-7.5", "-8"}, {" ", "0"}, {"12abc", "12"}, {"&HFFFFFFFF", "-1"}};
    for (const NumericCommand& command : numericCommands) {
        for (const Typed& entry : typed) {
            SCOPED_TRACE(testing::Message() << command.button << " \"" << entry.text << '"');
            clearCalls();
            control<QLineEdit>(command.textBox)->setText(QString::fromUtf8(entry.text));
            click(command.button);
            EXPECT_EQ(calls(),
                      QStringList{QStringLiteral("%1(%2)").arg(QLatin1String(command.function),
                                                               QLatin1String(entry.argument))});
            EXPECT_EQ(control<QLineEdit>(command.textBox)->text(), QString::fromUtf8(entry.text));
        }
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandsTest, AnEmptyTextBoxCallsNothing) {
    for (const NumericCommand& command : numericCommands) {
        click(command.button);
    }
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandsTest, ANumberOutOfRangeIsReportedWithTheRangeAndCallsNothing) {
    for (const NumericCommand& command : numericCommands) {
        SCOPED_TRACE(command.button);
        dialogs.messages.clear();
        control<QLineEdit>(command.textBox)->setText(QStringLiteral("3e9"));
        click(command.button);
        ASSERT_EQ(dialogs.messages.size(), 1U);
        EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("out of range")));
        EXPECT_TRUE(dialogs.messages[0].text.contains(QStringLiteral("-2147483648 to 2147483647")));
        EXPECT_EQ(control<QLineEdit>(command.textBox)->text(), QStringLiteral("3e9"));
    }
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(CommandsTest, StopMidiAndStopSoundCallTheirFunctionsOnly) {
    click("Command5");
    click("Command15");
    EXPECT_EQ(calls(), QStringList({"LyrinthStopMusic()", "LyrinthStopSound()"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandsTest, APlayCommandWhoseDialogIsCancelledCallsNothing) {
    click("Command4");
    click("Command13");
    EXPECT_TRUE(calls().isEmpty());
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(dialogs.openRequests.size(), 2U);
    EXPECT_EQ(dialogs.openRequests[0].title, QStringLiteral("Open MIDI File"));
    EXPECT_EQ(dialogs.openRequests[0].nameFilters, midiFilters);
    EXPECT_EQ(dialogs.openRequests[1].title, QStringLiteral("Load WAV File"));
    EXPECT_EQ(dialogs.openRequests[1].nameFilters, wavFilters);
}

TEST_F(CommandsTest, PlayMidiStopsTheMusicThenPlaysTheChosenPathEvenIfNoFileIsThere) {
    dialogs.openAnswers = {QStringLiteral("/no/such folder/song.mid")};
    click("Command4");
    EXPECT_EQ(calls(),
              QStringList({"LyrinthStopMusic()", "LyrinthPlayMusic(/no/such folder/song.mid)"}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CommandsTest, PlaySoundReportsEveryResultButMinusOne) {
    struct Case {
        int32_t result;
        bool reported;
    };
    for (const Case played : {Case{-1, false}, Case{0, true}, Case{1, true}, Case{5, true}}) {
        SCOPED_TRACE(played.result);
        clearCalls();
        dialogs.messages.clear();
        fakeLyrinthSetResult("LyrinthPlaySound", played.result);
        dialogs.openAnswers = {QStringLiteral("/no/such.wav")};
        click("Command13");
        EXPECT_EQ(calls(), QStringList{"LyrinthPlaySound(/no/such.wav)"});
        if (played.reported) {
            expectOneMessage(QStringLiteral("Can't play sound"), QStringLiteral("Lyrinth Demo"),
                             Dialogs::Icon::None);
        } else {
            EXPECT_TRUE(dialogs.messages.empty());
        }
    }
}

TEST_F(CommandsTest, TheOneDialogStartsAtTheFileTheOtherPlayCommandChose) {
    dialogs.openAnswers = {QStringLiteral("/sounds/bell.wav"), QString(),
                           QStringLiteral("/music/song.mid"), QString()};
    click("Command13");
    click("Command4");
    click("Command4");
    click("Command13");
    ASSERT_EQ(dialogs.openRequests.size(), 4U);
    EXPECT_EQ(dialogs.openRequests[0].startFile, QString());
    EXPECT_EQ(dialogs.openRequests[1].startFile, QStringLiteral("/sounds/bell.wav"));
    EXPECT_EQ(dialogs.openRequests[2].startFile, QStringLiteral("/sounds/bell.wav"));
    EXPECT_EQ(dialogs.openRequests[3].startFile, QStringLiteral("/music/song.mid"));
}

TEST_F(CommandsTest, QueriesShowTheirAnswerReadingAnyNonzeroAsYes) {
    struct Query {
        const char* button;
        const char* function;
        int32_t result;
        const char* text;
        const char* title;
    };
    const char* const application = "Lyrinth Demo";
    const Query queries[] = {
        {"Command9", "LyrinthGetMusicPlaying", 1, "Music is playing", application},
        {"Command9", "LyrinthGetMusicPlaying", -1, "Music is playing", application},
        {"Command9", "LyrinthGetMusicPlaying", 0, "No music is playing", application},
        {"Command10", "LyrinthGetMusicLooping", -1, "Music has looped", application},
        {"Command10", "LyrinthGetMusicLooping", 0, "Music has not looped", application},
        {"Command11", "LyrinthCheckValidMidi", 1, "The MIDI engine is active", application},
        {"Command11", "LyrinthCheckValidMidi", 0, "The MIDI engine is not active", application},
        {"Command14", "LyrinthCheckValidWave", -1, "The WAV engine is active", application},
        {"Command14", "LyrinthCheckValidWave", 0, "The WAV engine is not active", application},
        {"Command1", "LyrinthGetVersion", -5, "-5", "LyrinthGetVersion result"},
        {"Command1", "LyrinthGetVersion", 2147483647, "2147483647", "LyrinthGetVersion result"},
        {"Command1", "LyrinthGetVersion", -2147483647 - 1, "-2147483648",
         "LyrinthGetVersion result"},
        {"Command12", "LyrinthGetMidiTick", 1234567, "1234567", application},
        {"Command12", "LyrinthGetMidiTick", 0, "0", application},
    };
    for (const Query& query : queries) {
        SCOPED_TRACE(testing::Message() << query.button << " " << query.result);
        clearCalls();
        dialogs.messages.clear();
        fakeLyrinthSetResult(query.function, query.result);
        click(query.button);
        EXPECT_EQ(calls(), QStringList{QString::fromUtf8(query.function) + "()"});
        expectOneMessage(QString::fromUtf8(query.text), QString::fromUtf8(query.title),
                         Dialogs::Icon::None);
    }
}

TEST_F(CommandsTest, AboutShowsTheVersionRecordWithTheInformationIcon) {
    click("Command16");
    ASSERT_EQ(dialogs.messages.size(), 1U);
    for (const char* part : {"Lyrinth Demo", "1.11.0.0", "Demonstration of Lyrinth.dll"}) {
        EXPECT_TRUE(dialogs.messages[0].text.contains(QString::fromUtf8(part))) << part;
    }
    EXPECT_EQ(dialogs.messages[0].icon, Dialogs::Icon::Information);
    EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("Lyrinth Demo")); // the application's
    EXPECT_TRUE(calls().isEmpty());
}

TEST_F(MidiDownTest, TheMidiCheckStillAnswers) {
    ASSERT_TRUE(control("Command11")->isEnabled());
    click("Command11");
    expectOneMessage(QStringLiteral("The MIDI engine is not active"),
                     QStringLiteral("Lyrinth Demo"), Dialogs::Icon::None);
}

TEST_F(CommandsTest, AMissingFunctionIsNamedOutsideThePlayCommandsAndTheProgramGoesOn) {
    useLibrary(QStringLiteral(FAKE_LYRINTH_WITHOUT_SOME_PATH));
    startWindow();
    dialogs.openAnswers = {QStringLiteral("/music/song.mid"), QStringLiteral("/sounds/bell.wav")};
    click("Command4");  // LyrinthStopMusic and LyrinthPlayMusic missing: nothing shown
    click("Command13"); // LyrinthPlaySound missing: the sound did not start
    click("Command12"); // LyrinthGetMidiTick missing: named
    click("Command1");
    ASSERT_EQ(dialogs.messages.size(), 3U);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Can't play sound"));
    EXPECT_TRUE(dialogs.messages[1].text.contains(QStringLiteral("LyrinthGetMidiTick")));
    EXPECT_EQ(dialogs.messages[2].text, QStringLiteral("0"));
}
