// The window's dialogs shown with Qt's own message box and file dialog.
#pragma once

#include "Dialogs.h"

class QtDialogs : public Dialogs {
public:
    void showMessage(QWidget* parent, const QString& text, const QString& title,
                     Icon icon) override;
    std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                        const QString& startFile,
                                        const QStringList& nameFilters) override;
};
