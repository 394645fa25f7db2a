// Language files are whatever the user drops into the program folder. Any bytes, any key: the
// lookup must find exactly the line a plain reading of the rules gives, and never anything else.
//
// Input: the key's bytes at the front, the file's bytes after them; the key's length and how its
// bytes are read (Windows-1252 like the files, or UTF-8) come from the last two bytes.

#include "FuzzSupport.h"

#include "language/LanguageLookup.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <optional>

using namespace pellwerk;

namespace {

const QString FileName = QStringLiteral("fuzz.zlf");

// One program folder for the whole run; each input rewrites the one language file in it.
const QTemporaryDir &programFolder()
{
    static const QTemporaryDir dir;
    return dir;
}

QString fromWindows1252(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252");
    return decoder.decode(bytes);
}

FUZZ_MODEL QString upper(const QString &s)
{
    QString out;
    for (const QChar c : s)
        out.append(c.toUpper());
    return out;
}

// The rules read plainly: lines end at CR LF in the bytes; a line holding "##" never matches;
// the last line that holds the key, letter case aside (one character at a time), is the one.
FUZZ_MODEL std::optional<QString> modelLookup(const QByteArray &file, const QString &key)
{
    std::optional<QString> found;
    for (qsizetype start = 0, end = 0; !file.isEmpty() && end >= 0; start = end + 2) {
        end = file.indexOf("\r\n", start);
        const QByteArray bytes = file.mid(start, end < 0 ? -1 : end - start);
        if (!bytes.contains("##") && upper(fromWindows1252(bytes)).contains(upper(key)))
            found = fromWindows1252(bytes);
    }
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool keyIsUtf8 = in.ConsumeBool();
    const size_t keyLength = in.ConsumeIntegralInRange<size_t>(0, 48);
    const std::vector<char> keyBytes = in.ConsumeBytes<char>(keyLength);
    const std::vector<char> fileBytes = in.ConsumeRemainingBytes<char>();
    const QByteArray rawKey(keyBytes.data(), qsizetype(keyBytes.size()));
    const QByteArray file(fileBytes.data(), qsizetype(fileBytes.size()));
    const QString key = keyIsUtf8 ? QString::fromUtf8(rawKey) : fromWindows1252(rawKey);

    const QTemporaryDir &dir = programFolder();
    FUZZ_CHECK(dir.isValid());
    {
        QFile out(dir.filePath(FileName));
        FUZZ_CHECK(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_CHECK(out.write(file) == file.size());
    }

    AppState state;
    state.ProgramFolder = dir.path();
    state.LanguageFile = FileName;
    state.LanguageLine = QStringLiteral("left over from before");

    const std::optional<QString> expected = modelLookup(file, key);
    const bool found = FindLanguageLine(state, key, FileName);
    FUZZ_CHECK(found == expected.has_value());
    FUZZ_CHECK(state.LanguageLine == expected.value_or(QString()));

    const QString line = state.LanguageLine;
    state.LanguageLine = QStringLiteral("left over from before");
    const QString text = LanguageText(state, key);
    FUZZ_CHECK(state.LanguageLine == line);
    // The text is everything behind the first mark, or the whole line without one.
    FUZZ_CHECK(text == (line.contains(QLatin1Char('#')) ? line.section(QLatin1Char('#'), 1) : line));

    // A file that is not there has no lines.
    state.LanguageLine = QStringLiteral("left over from before");
    FUZZ_CHECK(!FindLanguageLine(state, key, QStringLiteral("missing.zlf")));
    FUZZ_CHECK(state.LanguageLine.isEmpty());
    return 0;
}
