// The Open dialog component: its filter in the toolkit's form, cancelling, and the file name it
// keeps from one use to the next.
#include "dlg.h"
#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

TEST(dlgFilter, PairsBecomeNameFiltersAndAllFilesMatchesNamesWithoutADot) {
    struct Case {
        const char* filter;
        QStringList nameFilters;
    };
    const Case cases[] = {
        {"MIDI Sequences|*.mid;*.midi|All Files|*.*|",
         {"MIDI Sequences (*.mid *.midi)", "All Files (*)"}},
        {"WAV Files|*.wav|All Files|*.*|", {"WAV Files (*.wav)", "All Files (*)"}},
        {"WAV Files|*.wav", {"WAV Files (*.wav)"}},
        {"Lonely description", {}},
        {"", {}},
    };
    for (const Case& filter : cases) {
        EXPECT_EQ(dlg::nameFilters(QString::fromUtf8(filter.filter)), filter.nameFilters)
            << filter.filter;
    }
}

TEST(dlgShowOpen, ShowsTitleAndFilterAndKeepsTheFileNameForTheNextUse) {
    ScriptedDialogs dialogs;
    dlg dialog(dialogs, nullptr);
    dialog.DialogTitle = QStringLiteral("Open MIDI File");
    dialog.Filter = QStringLiteral("MIDI Sequences|*.mid;*.midi|");
    dialogs.openAnswers = {QStringLiteral("/music/first.mid"), QString()};
    dialog.ShowOpen();
    EXPECT_EQ(dialog.FileName, QStringLiteral("/music/first.mid"));
    dialog.ShowOpen(); // cancelled quietly without CancelError
    EXPECT_EQ(dialog.FileName, QStringLiteral("/music/first.mid"));
    ASSERT_EQ(dialogs.openRequests.size(), 2U);
    EXPECT_EQ(dialogs.openRequests[0].title, QStringLiteral("Open MIDI File"));
    EXPECT_EQ(dialogs.openRequests[0].startFile, QString());
    EXPECT_EQ(dialogs.openRequests[0].nameFilters, QStringList{"MIDI Sequences (*.mid *.midi)"});
    EXPECT_EQ(dialogs.openRequests[1].startFile, QStringLiteral("/music/first.mid"));
}

TEST(dlgShowOpen, CancellingRaisesAnErrorOnlyWhenCancelErrorIsSet) {
    ScriptedDialogs dialogs;
    dlg dialog(dialogs, nullptr);
    dialog.CancelError = true;
    EXPECT_THROW(dialog.ShowOpen(), dlg::CancelledError);
    dialog.CancelError = false;
    EXPECT_NO_THROW(dialog.ShowOpen());
}
