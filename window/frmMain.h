// The program's one window: a fixed panel of buttons that each call the sound library, built from
// the layout table. Load owns the library's start, closing the window its shutdown.
#pragma once

#include "dlg.h"

#include <QWidget>

#include <cstdint>
#include <functional>

class Dialogs;
class QLineEdit;
class QPushButton;

class frmMain : public QWidget {
public:
    explicit frmMain(Dialogs& dialogs);
    ~frmMain() override;
    frmMain(const frmMain&) = delete;
    frmMain& operator=(const frmMain&) = delete;

    // Starts the library. False when it cannot be started: the user has been told, and the
    // window must not be shown.
    bool Load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Stops the music and shuts the library down, once.
    void Unload();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void Command15_Click();
    void Command16_Click();

    // Hands the number in a text box to the library; an empty box calls nothing.
    void passNumber(const char* textBoxName, int32_t (*libraryFunction)(int32_t));
    // Shows dlg for a file; false when cancelled.
    bool chooseFile(const QString& title, const QString& filter);

    QPushButton* button(const char* name) const;
    QLineEdit* textBox(const char* name) const;
    void disable(std::initializer_list<const char*> names);
    void centreOnScreen();

    void showMessage(const QString& text);
    void showYesOrNo(int32_t answer, const char* yes, const char* no);
    // Runs a step that calls the library; a function the library lacks is reported in a box and
    // the program goes on.
    void reportingLibraryErrors(const std::function<void()>& step);
    // Runs a step that calls the library and drops its failure unseen.
    static void ignoringLibraryErrors(const std::function<void()>& step);

    Dialogs& dialogs_;
    ::dlg dlg;
    bool running_ = false;
};
