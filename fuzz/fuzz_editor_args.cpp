// The editor's command line comes from file managers and from users at a terminal. Any argument
// list: the parser gives a mode and at most one file taken from the arguments, help wins over
// everything and version over errors, or it refuses with an error that names the argument at fault.
//
// Input: the arguments, separated by newlines.

#include "FuzzSupport.h"

#include "compose/CommandLineError.h"
#include "editor/EditorOptions.h"

using namespace pellwerk;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList arguments = size == 0 ? QStringList() : text.split(QLatin1Char('\n'));
    const QStringList options = arguments.first(
        arguments.contains(QStringLiteral("--")) ? arguments.indexOf(QStringLiteral("--")) : arguments.size());
    const bool help = options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h"));
    const bool version = options.contains(QStringLiteral("--version"));
    const CommandLineResult<EditorOptions> parsed = parseEditorOptions(arguments);
    if (!parsed) {
        const CommandLineError &e = parsed.error();
        FUZZ_CHECK(!help && !version && arguments.contains(e.detail));
        FUZZ_CHECK(e.kind == CommandLineErrorKind::ArgumentSurplus
                   || (e.kind == CommandLineErrorKind::ArgumentUnknown && options.contains(e.detail)
                       && e.detail.startsWith('-')));
        FUZZ_CHECK(CommandLineText::describe(e).contains(e.detail));
        return 0;
    }
    const EditorOptions &o = parsed.value();
    FUZZ_CHECK(!help || o.mode == EditorOptions::Mode::Help);
    FUZZ_CHECK(!version || o.mode != EditorOptions::Mode::Edit);
    FUZZ_CHECK(!o.file || (o.mode == EditorOptions::Mode::Edit && arguments.contains(*o.file)));
    return 0;
}
