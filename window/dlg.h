// The window's one file-open dialog component, shared by Play MIDI and Play Sound. It keeps
// FileName between uses, and each Open starts at the file the previous one returned.
#pragma once

#include <QString>
#include <QStringList>

#include <stdexcept>

class Dialogs;
class QWidget;

class dlg {
public:
    // Raised by ShowOpen when the user cancels and CancelError is set.
    class CancelledError : public std::runtime_error {
    public:
        CancelledError() : std::runtime_error("The Open dialog was cancelled") {}
    };

    dlg(Dialogs& dialogs, QWidget* parent);

    bool CancelError = false;
    QString DialogTitle;
    // Description and pattern pairs, all separated by "|"; patterns in one pair by ";".
    QString Filter;
    // The full path of the file chosen last.
    QString FileName;

    void ShowOpen();

    // Filter in the toolkit's form: "MIDI Sequences|*.mid;*.midi|" gives
    // "MIDI Sequences (*.mid *.midi)". "*.*" becomes "*", which matches names without a dot too.
    static QStringList nameFilters(const QString& filter);

private:
    Dialogs& dialogs_;
    QWidget* parent_;
};
