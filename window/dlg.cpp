// The window's one file-open dialog component.
#include "dlg.h"

#include "Dialogs.h"

dlg::dlg(Dialogs& dialogs, QWidget* parent) : dialogs_(dialogs), parent_(parent) {}

void dlg::ShowOpen() {
    const std::optional<QString> chosen =
        dialogs_.openFileName(parent_, DialogTitle, FileName, nameFilters(Filter));
    if (chosen.has_value()) {
        FileName = *chosen;
    } else if (CancelError) {
        throw CancelledError();
    }
}

QStringList dlg::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype pair = 0; pair + 1 < parts.size(); pair += 2) {
        QStringList patterns = parts[pair + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        if (parts[pair].isEmpty() && patterns.isEmpty()) {
            continue;
        }
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*")) {
                pattern = QStringLiteral("*");
            }
        }
        filters.append(QStringLiteral("%1 (%2)").arg(parts[pair], patterns.join(QLatin1Char(' '))));
    }
    return filters;
}
