#include "StatusText.h"

namespace pellwerk::StatusText {

QString position(QPoint pixel)
{
    return QStringLiteral(" x=%1,  y=%2 ").arg(pixel.x()).arg(pixel.y());
}

QString productLine()
{
    return QStringLiteral("Pellwerk V1.2");
}

QString userFileList()
{
    return QStringLiteral("User File-List");
}

QString userFile(const QString &name)
{
    return QStringLiteral("User File  ") + name + QLatin1Char(' ');
}

QString userFileWithoutPlace(const QString &name, bool xIsNumber, bool yIsNumber)
{
    const QString which = !xIsNumber && !yIsNumber ? QStringLiteral("X - und Y - Koordinate sind keine Zahlen")
                          : !xIsNumber             ? QStringLiteral("X - Koordinate ist keine Zahl")
                                                   : QStringLiteral("Y - Koordinate ist keine Zahl");
    return QStringLiteral("User File  %1 : %2").arg(name, which);
}

} // namespace pellwerk::StatusText
