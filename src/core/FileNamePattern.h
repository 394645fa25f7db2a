#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace pellwerk {

// A file-list pattern, folded once so that matching many names costs no allocation and no case
// folding: "*" stands for any run of characters, "?" for exactly one, everything else for itself
// without regard to letter case. As on the platform the lists come from, a pattern ending in
// ".*" also takes names without that extension ("*.*" matches every name). No other character
// is special: "[", "]" and ";" match themselves. Characters are Unicode code points.
class FileNamePattern
{
public:
    explicit FileNamePattern(const QString &pattern);

    // Whether a name matches, given as foldName() made it.
    bool matchesFolded(std::u32string_view foldedName) const;
    bool matches(const QString &name) const;

    // The name's code points, each case-folded, appended to `out`. A lone surrogate counts as
    // one character U+FFFD, as QString::toUcs4() reads it.
    static void foldName(const QString &name, std::u32string &out);

private:
    std::u32string m_folded;
    bool m_alsoWithoutExtension = false;
};

} // namespace pellwerk
