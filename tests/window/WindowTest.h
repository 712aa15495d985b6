// A window on the fake library with scripted dialogs, and what a test needs to drive and check it.
#pragma once

#include "FakeLyrinth.h"
#include "LazyLibrary.h"
#include "ScriptedDialogs.h"
#include "frmMain.h"
#include "modDeclares.h"

#include <QPushButton>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fakeLyrinthReset();
        useLibrary(QStringLiteral(FAKE_LYRINTH_PATH));
    }

    void TearDown() override {
        window.reset();
        modDeclares::library().setFileName(modDeclares::defaultLibraryPath());
    }

    // Points the binding at a library file and creates the window on it.
    void useLibrary(const QString& path) {
        window.reset();
        modDeclares::library().setFileName(path);
        window = std::make_unique<frmMain>(dialogs);
    }

    // Creates the window, runs its start-up and forgets the calls start-up made.
    void startWindow() {
        ASSERT_TRUE(window->Load());
        clearCalls();
    }

    template <typename Control = QWidget> Control* control(const char* name) const {
        auto* found = window->findChild<Control*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(const char* button) const { control<QPushButton>(button)->click(); }

    static QStringList calls() {
        return QString::fromUtf8(fakeLyrinthCalls()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    static void clearCalls() { fakeLyrinthClearCalls(); }

    QStringList messageTexts() const {
        QStringList texts;
        for (const ShownMessage& message : dialogs.messages) {
            texts.append(message.text);
        }
        return texts;
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<frmMain> window;
};
