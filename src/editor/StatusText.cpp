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

QString pixel(QPoint pixel, Colour colour)
{
    return position(pixel) + QStringLiteral("  %1, %2, %3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

QString keyColourCounts(qint64 leftOut, qint64 near, qint64 fringe)
{
    return QStringLiteral("%1 ausgelassen, %2 nahe an der Transparenzfarbe, davon %3 Rand")
        .arg(leftOut)
        .arg(near)
        .arg(fringe);
}

} // namespace pellwerk::StatusText
