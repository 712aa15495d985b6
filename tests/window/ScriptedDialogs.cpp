// Dialogs that a test scripts.
#include "ScriptedDialogs.h"

void ScriptedDialogs::showMessage(QWidget*, const QString& text, const QString& title, Icon icon) {
    messages.push_back({text, title, icon});
}

std::optional<QString> ScriptedDialogs::openFileName(QWidget*, const QString& title,
                                                     const QString& startFile,
                                                     const QStringList& nameFilters) {
    openRequests.push_back({title, startFile, nameFilters});
    if (openAnswers.empty()) {
        return std::nullopt;
    }
    const QString answer = openAnswers.front();
    openAnswers.pop_front();
    if (answer.isNull()) {
        return std::nullopt;
    }
    return answer;
}
