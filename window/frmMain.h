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

    QPushButton* button(const char* name) const;
    QLineEdit* textBox(const char* name) const;
    void disable(std::initializer_list<const char*> names);
    void centreOnScreen();

    void showMessage(const QString& text);
    // Runs a step that calls the library; a function the library lacks is reported in a box and
    // the program goes on.
    void reportingLibraryErrors(const std::function<void()>& step);

    Dialogs& dialogs_;
    ::dlg dlg;
    bool running_ = false;
};
