// The window's dialogs shown with Qt's own message box and file dialog.
#include "QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

void QtDialogs::showMessage(QWidget* parent, const QString& text, const QString& title, Icon icon) {
    const QMessageBox::Icon shown = icon == Icon::Information ? QMessageBox::Information
                                    : icon == Icon::Warning   ? QMessageBox::Warning
                                                              : QMessageBox::NoIcon;
    QMessageBox box(shown, title, text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> QtDialogs::openFileName(QWidget* parent, const QString& title,
                                               const QString& startFile,
                                               const QStringList& nameFilters) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Any name may be typed: the library, not the dialog, reports a file it cannot play.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(nameFilters);
    if (!startFile.isEmpty()) {
        dialog.selectFile(startFile);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}
