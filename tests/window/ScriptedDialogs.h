// Dialogs that a test scripts: message boxes are recorded instead of shown, and each Open dialog
// takes the next scripted answer: a path, or cancelling for a null QString or when none is left.
#pragma once

#include "Dialogs.h"

#include <deque>
#include <vector>

struct ShownMessage {
    QString text;
    QString title;
    Dialogs::Icon icon;
};

struct OpenRequest {
    QString title;
    QString startFile;
    QStringList nameFilters;
};

class ScriptedDialogs : public Dialogs {
public:
    void showMessage(QWidget* parent, const QString& text, const QString& title,
                     Icon icon) override;
    std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                        const QString& startFile,
                                        const QStringList& nameFilters) override;

    std::vector<ShownMessage> messages;
    std::vector<OpenRequest> openRequests;
    std::deque<QString> openAnswers;
};
