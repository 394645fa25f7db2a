// File-list patterns come from the prefix box, which takes whatever the user types, and file
// names from any folder. Any pattern, any name, lone surrogates included: the compiled matcher
// gives exactly what a plain reading of the rules gives.
//
// Input: UTF-16 units, little-endian; the first unit's low byte says how many of the following
// units are the pattern, the rest is the name.

#include "FuzzSupport.h"

#include "core/FileNamePattern.h"

#include <QList>
#include <QString>

#include <vector>

using namespace pellwerk;

namespace {

// Code points as QString::toUcs4() reads them, each case-folded.
FUZZ_MODEL std::vector<char32_t> foldedCodePoints(const QString &text)
{
    std::vector<char32_t> out;
    for (const uint c : text.toUcs4())
        out.push_back(QChar::toCaseFolded(c));
    return out;
}

// Every way of matching, tried one position pair at a time: whether name[n..] matches pattern[p..].
FUZZ_MODEL bool globModel(const std::vector<char32_t> &name, const std::vector<char32_t> &pattern)
{
    std::vector<std::vector<char>> matches(name.size() + 1, std::vector<char>(pattern.size() + 1, 0));
    matches[name.size()][pattern.size()] = 1;
    for (size_t n = name.size() + 1; n-- > 0;) {
        for (size_t p = pattern.size(); p-- > 0;) {
            if (pattern[p] == U'*')
                matches[n][p] = matches[n][p + 1] || (n < name.size() && matches[n + 1][p]);
            else if (n < name.size() && (pattern[p] == U'?' || pattern[p] == name[n]))
                matches[n][p] = matches[n + 1][p + 1];
        }
    }
    return matches[0][0];
}

FUZZ_MODEL bool model(const QString &name, const QString &pattern)
{
    const std::vector<char32_t> n = foldedCodePoints(name), p = foldedCodePoints(pattern);
    return globModel(n, p) || (pattern.endsWith(QLatin1String(".*")) && globModel(n, {p.begin(), p.end() - 2}));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The model's table grows with both lengths: names and patterns of up to 255 units serve.
    if (size < 2 || size > 2 * 512)
        return 0;
    std::vector<char16_t> units(size / 2);
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    const size_t patternSize = std::min<size_t>(units[0] & 0xFF, units.size() - 1);
    const QString pattern = QString::fromUtf16(units.data() + 1, qsizetype(patternSize));
    const QString name = QString::fromUtf16(units.data() + 1 + patternSize, qsizetype(units.size() - 1 - patternSize));

    const FileNamePattern compiled(pattern);
    FUZZ_CHECK(compiled.matches(name) == model(name, pattern));
    return 0;
}
