// The window's modal dialogs behind an interface, so that its handlers can be driven by tests
// that script the answers instead of a user.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

class Dialogs {
public:
    enum class Icon { None, Information, Warning };

    virtual ~Dialogs() = default;

    // A modal box with one OK button.
    virtual void showMessage(QWidget* parent, const QString& text, const QString& title,
                             Icon icon) = 0;

    // A modal Open dialog starting at startFile; the full path chosen, or nothing if cancelled.
    // The name chosen need not name an existing file.
    virtual std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                                const QString& startFile,
                                                const QStringList& nameFilters) = 0;
};
