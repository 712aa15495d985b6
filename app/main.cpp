// The program's entry: creates the window, which starts the library, and shows it only if that
// worked.
#include "QtDialogs.h"
#include "VersionRecord.h"
#include "frmMain.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(versionRecord::productName));
    QApplication::setApplicationVersion(QString::fromUtf8(versionRecord::version));
    QApplication::setDesktopFileName(QStringLiteral("org.lyrinth.LyrinthDemo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/org.lyrinth.LyrinthDemo.png")));

    QtDialogs dialogs;
    frmMain window(dialogs);
    if (!window.Load()) {
        return 1;
    }
    window.show();
    return QApplication::exec();
}
