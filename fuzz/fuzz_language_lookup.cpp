// Language files are whatever the user drops into the program folder. Any bytes, any key: a line
// found is one whole line of the file (lines end at CR LF) that holds the key, letter case aside,
// and no comment mark; which of them wins is proven in the unit test.
//
// Input: the key's bytes at the front, the file's bytes after them; the key's length and how its
// bytes are read (Windows-1252 like the files, or UTF-8) come from the last two bytes.

#include "FuzzSupport.h"

#include "language/LanguageLookup.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

using namespace pellwerk;

namespace {

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const bool keyIsUtf8 = in.ConsumeBool();
    const QByteArray rawKey = QByteArray::fromStdString(in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 48)));
    const QByteArray file = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());
    const QString key = keyIsUtf8 ? QString::fromUtf8(rawKey) : fromWindows1252(rawKey);

    // One program folder for the whole run; each input rewrites the one language file in it.
    static const QTemporaryDir dir;
    const QString FileName = QStringLiteral("fuzz.zlf");
    QFile out(dir.filePath(FileName));
    FUZZ_CHECK(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(file) == file.size());
    out.close();

    AppState state;
    state.ProgramFolder = dir.path();
    state.LanguageFile = FileName;
    state.LanguageLine = QStringLiteral("left over from before");

    const bool found = FindLanguageLine(state, key, FileName);
    const QString line = state.LanguageLine;
    const QString crlf = QStringLiteral("\r\n");
    FUZZ_CHECK(found || line.isEmpty());
    FUZZ_CHECK(!found
               || (!line.contains(QLatin1String("##")) && upper(line).contains(upper(key))
                   && (crlf + fromWindows1252(file) + crlf).contains(crlf + line + crlf)));

    state.LanguageLine = QStringLiteral("left over from before");
    const QString text = LanguageText(state, key);
    FUZZ_CHECK(state.LanguageLine == line);
    // The text is everything behind the first mark, or the whole line without one.
    FUZZ_CHECK(text == (line.contains(QLatin1Char('#')) ? line.section(QLatin1Char('#'), 1) : line));

    return 0;
}
