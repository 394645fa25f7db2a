#include "FileNamePattern.h"

#include <iterator>

namespace pellwerk {

namespace {

// The number of UTF-16 units of the character at `text[at]`: 2 for a surrogate pair, else 1.
// Folded text holds no lone surrogates.
size_t characterSize(std::u16string_view text, size_t at)
{
    return QChar::isHighSurrogate(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// Greedy matching that backtracks only to the most recent "*": linear in practice and never
// exponential, whatever a user types into the prefix box. Literal characters are compared unit
// by unit, which for surrogate pairs is comparing them whole, since both sides move from one
// character's start to the next.
bool globMatch(std::u16string_view name, std::u16string_view pattern)
{
    size_t n = 0;
    size_t p = 0;
    size_t starAt = std::u16string_view::npos;
    size_t resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && pattern[p] == u'?') {
            ++p;
            n += characterSize(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            resumeAt += characterSize(name, resumeAt);
            n = resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

// Where the one "*" of a pattern without "?" is: such a pattern (every list's) is a prefix and
// a suffix, matched without walking the name. Otherwise npos.
size_t onlyStar(std::u16string_view pattern)
{
    const size_t star = pattern.find(u'*');
    if (star == std::u16string_view::npos || pattern.find(u'*', star + 1) != std::u16string_view::npos
        || pattern.find(u'?') != std::u16string_view::npos)
        return std::u16string_view::npos;
    return star;
}

bool matchesShape(std::u16string_view name, std::u16string_view pattern, size_t star)
{
    if (star == std::u16string_view::npos)
        return globMatch(name, pattern);
    // Folded text holds whole characters only, so units that match line up with characters.
    const std::u16string_view prefix = pattern.substr(0, star);
    const std::u16string_view suffix = pattern.substr(star + 1);
    return name.size() >= prefix.size() + suffix.size() && name.starts_with(prefix) && name.ends_with(suffix);
}

} // namespace

FileNamePattern::FileNamePattern(const QString &pattern)
{
    foldName(pattern, m_folded);
    m_alsoWithoutExtension = pattern.endsWith(QLatin1String(".*"));
    m_star = onlyStar(m_folded);
    if (m_alsoWithoutExtension)
        m_starWithoutExtension = onlyStar(std::u16string_view(m_folded).substr(0, m_folded.size() - 2));
}

bool FileNamePattern::matchesFolded(std::u16string_view foldedName) const
{
    const std::u16string_view pattern(m_folded);
    if (matchesShape(foldedName, pattern, m_star))
        return true;
    return m_alsoWithoutExtension
           && matchesShape(foldedName, pattern.substr(0, pattern.size() - 2), m_starWithoutExtension);
}

bool FileNamePattern::matches(QStringView name) const
{
    std::u16string folded;
    foldName(name, folded);
    return matchesFolded(folded);
}

void FileNamePattern::foldName(QStringView name, std::u16string &out)
{
    // No unit gives more than two folded ones. A name of a usual length is folded on the stack
    // and appended in one piece.
    char16_t local[2 * 256];
    std::u16string large;
    const size_t room = 2 * size_t(name.size());
    char16_t *const begin = room <= std::size(local) ? local : (large.resize(room), large.data());
    char16_t *to = begin;
    const char16_t *c = name.utf16();
    const char16_t *const end = c + name.size();
    while (c < end) {
        const char16_t unit = *c++;
        // Most names are ASCII, where folding is lowering A to Z.
        if (unit < 0x80) {
            *to++ = unit >= u'A' && unit <= u'Z' ? char16_t(unit + (u'a' - u'A')) : unit;
            continue;
        }
        char32_t codePoint = unit;
        if (QChar::isHighSurrogate(unit) && c < end && QChar::isLowSurrogate(*c))
            codePoint = QChar::surrogateToUcs4(unit, *c++);
        else if (QChar::isSurrogate(unit))
            codePoint = QChar::ReplacementCharacter;
        codePoint = QChar::toCaseFolded(codePoint);
        if (QChar::requiresSurrogates(codePoint)) {
            *to++ = QChar::highSurrogate(codePoint);
            *to++ = QChar::lowSurrogate(codePoint);
        } else {
            *to++ = char16_t(codePoint);
        }
    }
    out.append(begin, to);
}

} // namespace pellwerk
