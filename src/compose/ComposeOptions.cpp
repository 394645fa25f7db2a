#include "ComposeOptions.h"

#include <algorithm>
#include <cstring>

namespace pellwerk {

namespace {

constexpr int MaxJobs = 1024;

CommandLineError argumentError(CommandLineErrorKind kind, const QString &field, const QString &detail = {})
{
    return CommandLineError{kind, field, detail, {}};
}

std::optional<int> number(const QString &text, int low, int high)
{
    bool ok = false;
    const int n = text.toInt(&ok, 10);
    return ok && n >= low && n <= high ? std::optional(n) : std::nullopt;
}

bool isAny(const QString &name, std::initializer_list<const char *> spellings)
{
    return std::any_of(spellings.begin(), spellings.end(), [&](const char *s) { return name == QLatin1String(s); });
}

// Sets what one option with its value asks for; false when the option takes no value.
CommandLineResult<bool> applyValue(ComposeOptions &o, const QString &name, const QString &value)
{
    if (isAny(name, {"-o", "--output"})) {
        if (value.isEmpty())
            return argumentError(CommandLineErrorKind::ArgumentBadValue, name, value);
        o.output = value;
    } else if (isAny(name, {"-j", "--jobs"})) {
        const auto jobs = number(value, 1, MaxJobs);
        if (!jobs)
            return argumentError(CommandLineErrorKind::ArgumentBadValue, name, value);
        o.jobs = *jobs;
    } else if (name == QLatin1String("--near")) {
        const auto limit = number(value, 0, 255);
        if (!limit)
            return argumentError(CommandLineErrorKind::ArgumentBadValue, name, value);
        o.nearLimit = *limit;
    } else if (name == QLatin1String("--vary")) {
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        QStringView key = QStringView(value).left(qMax(equals, qsizetype(0)));
        const bool ramp = key.endsWith(QLatin1String(RampSuffix));
        if (ramp)
            key.chop(qsizetype(std::strlen(RampSuffix)));
        const PartKind *kind = equals > 0 ? findPartKindByKey(key) : nullptr;
        const QString pattern = value.mid(equals + 1);
        if (!kind || pattern.isEmpty())
            return argumentError(CommandLineErrorKind::ArgumentBadValue, name, value);
        if (std::any_of(o.variations.begin(), o.variations.end(),
                        [&](const Variation &v) { return v.kind == kind->kind && v.ramp == ramp; }))
            return argumentError(CommandLineErrorKind::VaryRepeated,
                                 kind->key + (ramp ? QLatin1String(RampSuffix) : QLatin1String()));
        o.variations.push_back({kind->kind, pattern, ramp});
    } else {
        return false;
    }
    return true;
}

} // namespace

CommandLineResult<ComposeOptions> parseComposeOptions(const QStringList &arguments)
{
    ComposeOptions o;
    qsizetype optionsEnd = arguments.indexOf(QStringLiteral("--"));
    if (optionsEnd < 0)
        optionsEnd = arguments.size();
    const auto given = [&](std::initializer_list<const char *> spellings) {
        return std::any_of(arguments.begin(), arguments.begin() + optionsEnd,
                           [&](const QString &a) { return isAny(a, spellings); });
    };
    if (given({"--help", "-h"})) {
        o.mode = ComposeOptions::Mode::Help;
        return o;
    }
    if (given({"--version"})) {
        o.mode = ComposeOptions::Mode::Version;
        return o;
    }

    bool check = false;
    bool lint = false;
    bool json = false;
    bool near = false;
    QStringList recipes;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (optionsEnded || arg.size() < 2 || !arg.startsWith(QLatin1Char('-'))) {
            recipes << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (isAny(arg, {"--check", "--lint", "--json", "--fail-fast"})) {
            check = check || arg == QLatin1String("--check");
            lint = lint || arg == QLatin1String("--lint");
            json = json || arg == QLatin1String("--json");
            o.failFast = o.failFast || arg == QLatin1String("--fail-fast");
            continue;
        }

        // "--name=value", "-xvalue", or the value in the next argument.
        QString name = arg;
        QString value;
        bool joined = false;
        if (arg.startsWith(QLatin1String("--"))) {
            if (const qsizetype equals = arg.indexOf(QLatin1Char('=')); equals > 0) {
                name = arg.left(equals);
                value = arg.mid(equals + 1);
                joined = true;
            }
        } else if (arg.size() > 2) {
            name = arg.left(2);
            value = arg.mid(2);
            joined = true;
        }
        if (!isAny(name, {"-o", "--output", "-j", "--jobs", "--near", "--vary"}))
            return argumentError(CommandLineErrorKind::ArgumentUnknown, {}, arg);
        if (!joined) {
            if (i + 1 >= arguments.size())
                return argumentError(CommandLineErrorKind::ArgumentMissingValue, name);
            value = arguments[++i];
        }
        const CommandLineResult<bool> applied = applyValue(o, name, value);
        if (!applied)
            return applied.error();
        near = near || name == QLatin1String("--near");
    }

    if (check && lint)
        return argumentError(CommandLineErrorKind::ArgumentConflict, QStringLiteral("--check"),
                             QStringLiteral("--lint"));
    if (!lint && json)
        return argumentError(CommandLineErrorKind::ArgumentConflict, QStringLiteral("--json"));
    if (!lint && near)
        return argumentError(CommandLineErrorKind::ArgumentConflict, QStringLiteral("--near"));
    if ((check || lint) && !o.output.isEmpty())
        return argumentError(CommandLineErrorKind::ArgumentConflict, QStringLiteral("-o"),
                             check ? QStringLiteral("--check") : QStringLiteral("--lint"));
    if (recipes.isEmpty())
        return argumentError(CommandLineErrorKind::ArgumentMissing, {}, QStringLiteral("recipe"));
    if (recipes.size() > 1)
        return argumentError(CommandLineErrorKind::ArgumentSurplus, {}, recipes[1]);
    o.recipe = recipes.first();
    o.mode = check ? ComposeOptions::Mode::Check : lint ? ComposeOptions::Mode::Lint : ComposeOptions::Mode::Compose;
    o.json = json;
    if (o.mode == ComposeOptions::Mode::Compose && o.output.isEmpty())
        return argumentError(CommandLineErrorKind::ArgumentMissing, {}, QStringLiteral("output"));
    return o;
}

} // namespace pellwerk
