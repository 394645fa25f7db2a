#include "Palette.h"

#include "core/FileBytes.h"

namespace pellwerk {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmedBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// The next token of `rest` up to a space or tab, taken off `rest`; empty at the end of the line.
QByteArrayView nextToken(QByteArrayView &rest)
{
    rest = trimmedBlanks(rest);
    qsizetype end = 0;
    while (end < rest.size() && !isBlank(rest[end]))
        ++end;
    const QByteArrayView token = rest.first(end);
    rest = rest.sliced(end);
    return token;
}

// A whole number of decimal digits up to `max`, or -1. Leading zeros are allowed, so the digits
// are counted only once they are not zeros, before any sum could overflow.
int wholeNumber(QByteArrayView token, int max)
{
    if (token.isEmpty())
        return -1;
    int value = 0;
    for (const char c : token) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
        if (value > max)
            return -1;
    }
    return value;
}

Error lineError(ErrorKind kind, const QString &file, int line, QByteArrayView detail = {})
{
    Error error = makeError(kind, file, QString::fromUtf8(detail));
    error.line = line;
    return error;
}

} // namespace

Result<Palette> parsePalette(QByteArrayView text, const QString &file)
{
    Palette palette;
    bool header = false;
    int line = 0;
    qsizetype start = 0;
    while (start < text.size() || (line == 0 && !header)) {
        ++line;
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        QByteArrayView content = text.sliced(start, end - start);
        start = end + 1;
        if (content.endsWith('\r'))
            content.chop(1);

        if (!header) {
            if (!content.startsWith("GIMP Palette") || !trimmedBlanks(content.sliced(12)).isEmpty())
                return lineError(ErrorKind::PaletteHeader, file, line);
            header = true;
            continue;
        }
        const QByteArrayView trimmed = trimmedBlanks(content);
        if (trimmed.isEmpty() || trimmed.startsWith('#'))
            continue;
        if (palette.colours.empty() && content.startsWith("Name:")) {
            palette.name = QString::fromUtf8(trimmedBlanks(content.sliced(5)));
            continue;
        }
        if (palette.colours.empty() && content.startsWith("Columns:")) {
            const QByteArrayView value = trimmedBlanks(content.sliced(8));
            palette.columns = wholeNumber(value, 256);
            if (palette.columns < 0)
                return lineError(ErrorKind::PaletteBadColumns, file, line, value);
            continue;
        }

        QByteArrayView rest = content;
        int rgb[3];
        for (int &channel : rgb) {
            const QByteArrayView token = nextToken(rest);
            if (token.isEmpty())
                return lineError(ErrorKind::PaletteMissingValue, file, line);
            channel = wholeNumber(token, 255);
            if (channel < 0)
                return lineError(ErrorKind::PaletteBadValue, file, line, token);
        }
        if (palette.colours.size() == size_t(PaletteLimits::MaxColours))
            return lineError(ErrorKind::PaletteTooManyColours, file, line);
        palette.colours.push_back(Colour::fromRgb(rgb[0], rgb[1], rgb[2]));
    }
    return palette;
}

Result<Palette> readPaletteFile(const QString &path)
{
    const Result<QByteArray> bytes = readFileBytes(path, PaletteLimits::MaxFileBytes);
    if (!bytes)
        return bytes.error();
    return parsePalette(bytes.value(), path);
}

QByteArray writePalette(const Palette &palette)
{
    QByteArray text = QByteArrayLiteral("GIMP Palette\n");
    // A name that runs over a line would end the header early: only its first line is kept.
    if (const QString name = palette.name.section(QLatin1Char('\n'), 0, 0).trimmed(); !name.isEmpty())
        text += "Name: " + name.toUtf8() + '\n';
    if (palette.columns > 0)
        text += "Columns: " + QByteArray::number(palette.columns) + '\n';
    for (const Colour colour : palette.colours)
        text += QByteArray::number(colour.red()) + ' ' + QByteArray::number(colour.green()) + ' '
                + QByteArray::number(colour.blue()) + '\n';
    return text;
}

} // namespace pellwerk
