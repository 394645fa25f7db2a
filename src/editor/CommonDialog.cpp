#include "CommonDialog.h"

#include <QFileInfo>
#include <QStringList>

namespace pellwerk {

QString CommonDialog::toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList lines;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty())
            continue;
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        lines << QStringLiteral("%1 (%2)").arg(parts[i], pattern);
    }
    if (lines.isEmpty() && !filter.isEmpty())
        lines << filter;
    return lines.join(QStringLiteral(";;"));
}

bool CommonDialog::show(FileDialogRequest::Kind kind)
{
    if (!m_backend)
        return false;
    FileDialogRequest request{kind, DialogTitle, Filter, InitDir, FileName, Places};
    const std::optional<QString> chosen = m_backend->run(request);
    if (!chosen || chosen->isEmpty())
        return false;
    FileName = *chosen;
    QString folder = QFileInfo(*chosen).absolutePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    InitDir = folder;
    return true;
}

} // namespace pellwerk
