#include "PartFolders.h"

#include <QStandardPaths>

namespace pellwerk {

QString userFolder(const QString &sub)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/pellwerk/") + sub
           + QLatin1Char('/');
}

QString userPartFolder()
{
    return userFolder(QStringLiteral("Image"));
}

QString programPartFolder(const QString &programFolder)
{
    // Plain concatenation: a program in "/" gives "//Image/".
    return programFolder + QStringLiteral("/Image/");
}

} // namespace pellwerk
