#include "LanguageLookup.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>

namespace pellwerk {

namespace {

// Language files are 8-bit Windows ANSI text. Only CR LF ends a line: a lone CR or LF is an
// ordinary character, so a file saved with Unix line ends reads as one long line.
QStringList readLanguageLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return {};
    QStringDecoder decoder("windows-1252");
    const QString text = decoder.decode(bytes);
    return text.split(QStringLiteral("\r\n"));
}

// Per-character upper-casing keeps every position in place (no "ß" to "SS"), which is all a
// containment test needs; the keys themselves are plain ASCII.
QString upperCased(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        c = c.toUpper();
    return out;
}

} // namespace

bool FindLanguageLine(AppState &state, const QString &key, const QString &fileName)
{
    state.LanguageLine.clear();
    bool found = false;

    const QString wanted = upperCased(key);
    const QStringList lines = readLanguageLines(state.ProgramFolder + QLatin1Char('/') + fileName);
    for (const QString &line : lines) {
        if (line.contains(QLatin1String("##")))
            continue;
        if (!upperCased(line).contains(wanted))
            continue;
        // No early exit: a later line for the same key overrides an earlier one.
        found = true;
        state.LanguageLine = line;
    }
    return found;
}

QString LanguageText(AppState &state, const QString &key)
{
    if (!FindLanguageLine(state, key, state.LanguageFile))
        return {};
    const qsizetype hash = state.LanguageLine.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return state.LanguageLine;
    return state.LanguageLine.mid(hash + 1);
}

} // namespace pellwerk
