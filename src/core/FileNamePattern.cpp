#include "FileNamePattern.h"

namespace pellwerk {

namespace {

// Greedy matching that backtracks only to the most recent "*": linear in practice and never
// exponential, whatever a user types into the prefix box.
bool globMatch(std::u32string_view name, std::u32string_view pattern)
{
    size_t n = 0;
    size_t p = 0;
    size_t starAt = std::u32string_view::npos;
    size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == U'*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (starAt != std::u32string_view::npos) {
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

FileNamePattern::FileNamePattern(const QString &pattern)
{
    foldName(pattern, m_folded);
    m_alsoWithoutExtension = pattern.endsWith(QLatin1String(".*"));
}

bool FileNamePattern::matchesFolded(std::u32string_view foldedName) const
{
    const std::u32string_view pattern(m_folded);
    if (globMatch(foldedName, pattern))
        return true;
    return m_alsoWithoutExtension && globMatch(foldedName, pattern.substr(0, pattern.size() - 2));
}

bool FileNamePattern::matches(const QString &name) const
{
    std::u32string folded;
    foldName(name, folded);
    return matchesFolded(folded);
}

void FileNamePattern::foldName(const QString &name, std::u32string &out)
{
    const QChar *c = name.constData();
    const QChar *const end = c + name.size();
    while (c < end) {
        char32_t codePoint = c->unicode();
        if (c->isHighSurrogate() && c + 1 < end && c[1].isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(*c, c[1]);
            ++c;
        } else if (c->isSurrogate()) {
            codePoint = QChar::ReplacementCharacter;
        }
        ++c;
        out.push_back(char32_t(QChar::toCaseFolded(codePoint)));
    }
}

} // namespace pellwerk
