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

QString keyColourCounts(qint64 leftOut, qint64 near, qint64 fringe, const QString &words)
{
    const bool complete = words.contains(QLatin1String("%1")) && words.contains(QLatin1String("%2"))
                          && words.contains(QLatin1String("%3"));
    return (complete ? words : QString::fromUtf16(KeyColourCountsWords))
        .arg(leftOut)
        .arg(near)
        .arg(fringe);
}

} // namespace pellwerk::StatusText
