#include "FileListing.h"

#include <QDir>
#include <QList>

#include <algorithm>

namespace pellwerk {

namespace {

// Case is folded per code point, so letters outside the BMP compare like any other.
QList<uint> folded(const QString &text)
{
    QList<uint> codePoints = text.toUcs4();
    for (uint &c : codePoints)
        c = QChar::toCaseFolded(c);
    return codePoints;
}

// Greedy matching that backtracks only to the most recent "*": linear in practice and never
// exponential, whatever a user types into the prefix box.
bool globMatch(const QList<uint> &name, const QList<uint> &pattern)
{
    qsizetype n = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;
    qsizetype resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starAt >= 0) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool fileNameMatches(const QString &name, const QString &pattern)
{
    const QList<uint> foldedName = folded(name);
    const QList<uint> foldedPattern = folded(pattern);
    if (globMatch(foldedName, foldedPattern))
        return true;
    if (pattern.endsWith(QLatin1String(".*")))
        return globMatch(foldedName, foldedPattern.first(foldedPattern.size() - 2));
    return false;
}

QStringList listMatchingFiles(const QString &folder, const QString &pattern)
{
    // QDir("") would be the working directory; a list without a folder stays empty.
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    QStringList names;
    const QStringList entries = dir.entryList(QDir::Files, QDir::NoSort);
    for (const QString &entry : entries) {
        if (fileNameMatches(entry, pattern))
            names.append(entry);
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = QString::compare(a, b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

QString userListPattern(const QString &prefix)
{
    return prefix + QStringLiteral("*.bmp");
}

} // namespace pellwerk
