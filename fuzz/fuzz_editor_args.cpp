// The editor's command line comes from file managers and from users at a terminal. Any argument
// list: the parser gives a mode and at most one file that a plain reading of the arguments agrees
// with, or refuses with an error that names the argument at fault.
//
// Input: the arguments, separated by newlines.

#include "FuzzSupport.h"

#include "core/EditorOptions.h"
#include "core/ErrorText.h"

#include <cstddef>
#include <cstdint>

using namespace pellwerk;

namespace {

// The plain reading: before the first "--", an argument that starts with "-" (a lone "-" aside)
// is an option named by what follows its one or two dashes, up to a "=".
struct Reading
{
    bool help = false;
    bool version = false;
    QStringList unknown; // options as given, in order
    QStringList files;
};

FUZZ_MODEL Reading read(const QStringList &arguments)
{
    Reading r;
    const qsizetype optionsEnd = arguments.indexOf(QStringLiteral("--"));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (i == optionsEnd)
            continue;
        if ((optionsEnd >= 0 && i > optionsEnd) || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            r.files << arg;
            continue;
        }
        const QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1).section(QLatin1Char('='), 0, 0);
        const bool help = name == QLatin1String("h") || name == QLatin1String("help");
        const bool version = name == QLatin1String("version");
        r.help = r.help || help;
        r.version = r.version || version;
        if (!(help || version) || arg.contains(QLatin1Char('=')))
            r.unknown << arg;
    }
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList arguments = size == 0 ? QStringList() : text.split(QLatin1Char('\n'));
    const Reading r = read(arguments);
    const Result<EditorOptions> parsed = parseEditorOptions(arguments);
    if (!parsed) {
        const Error &e = parsed.error();
        FUZZ_CHECK(!r.help && !r.version);
        if (e.kind == ErrorKind::ArgumentUnknown)
            FUZZ_CHECK(!r.unknown.isEmpty() && e.detail == r.unknown.first());
        else
            FUZZ_CHECK(e.kind == ErrorKind::ArgumentSurplus && r.unknown.isEmpty() && r.files.size() > 1
                       && e.detail == r.files[1]);
        FUZZ_CHECK(ErrorText::describe(e).contains(e.detail));
        return 0;
    }
    const EditorOptions &o = parsed.value();
    switch (o.mode) {
    case EditorOptions::Mode::Help:
        FUZZ_CHECK(r.help && !o.file);
        break;
    case EditorOptions::Mode::Version:
        FUZZ_CHECK(!r.help && r.version && !o.file);
        break;
    case EditorOptions::Mode::Edit:
        FUZZ_CHECK(!r.help && !r.version && r.unknown.isEmpty() && r.files.size() <= 1);
        FUZZ_CHECK(o.file == (r.files.isEmpty() ? std::nullopt : std::optional<QString>(r.files.first())));
        break;
    }
    return 0;
}
