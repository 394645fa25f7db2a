#pragma once

#include <QString>
#include <QStringView>

#include <string>
#include <string_view>

namespace pellwerk {

// A file-list pattern, folded once so that matching many names costs no allocation and no case
// folding: "*" stands for any run of characters, "?" for exactly one, everything else for itself
// without regard to letter case. As on the platform the lists come from, a pattern ending in
// ".*" also takes names without that extension ("*.*" matches every name). No other character
// is special: "[", "]" and ";" match themselves. A character is a Unicode code point: "?" takes
// a surrogate pair whole.
class FileNamePattern
{
public:
    explicit FileNamePattern(const QString &pattern);

    // Whether a name matches, given as foldName() made it.
    bool matchesFolded(std::u16string_view foldedName) const;
    bool matches(QStringView name) const;

    // The name with each code point case-folded, in UTF-16, appended to `out`. A lone surrogate
    // becomes U+FFFD, as QString::toUcs4() reads it.
    static void foldName(QStringView name, std::u16string &out);

private:
    std::u16string m_folded;
    bool m_alsoWithoutExtension = false;
    // Where the only "*" is, for patterns without "?" (npos otherwise), with and without ".*".
    size_t m_star = std::u16string::npos;
    size_t m_starWithoutExtension = std::u16string::npos;
};

} // namespace pellwerk
