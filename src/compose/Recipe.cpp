#include "Recipe.h"

#include "JsonText.h"
#include "core/FileBytes.h"
#include "parts/PlacementTable.h"

#include <QFileInfo>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <limits>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

namespace pellwerk {

namespace {

using Json = nlohmann::json;

constexpr qint64 MaxRecipeBytes = qint64(16) * 1024 * 1024;

const QString DefaultBase = QStringLiteral("default");
const QString NewBase = QStringLiteral("new");

// The fields of the top level and of a step, each in the order its checks run.
enum TopField { TopVersion, TopBase, TopColour, TopSteps, TopFieldCount };
constexpr const char *TopFieldNames[TopFieldCount] = {"pellwerk-recipe", "base", "transparent", "steps"};
enum StepField {
    StepKind,
    StepPart,
    StepX,
    StepY,
    StepTint,
    StepColour,
    StepVisible,
    StepMirror,
    StepRamp,
    StepFieldCount
};
constexpr const char *StepFieldNames[StepFieldCount] = {"kind",        "part",    "x",      "y",   "tint",
                                                        "transparent", "visible", "mirror", "ramp"};
// The step fields from here on came with version 2.
constexpr int FirstVersion2Field = StepVisible;

Error recipeError(ErrorKind kind, int step, const QString &field, QString detail = {})
{
    Error e = makeError(kind, {}, std::move(detail));
    e.step = step;
    e.field = field;
    return e;
}

// A JSON value as far as the rules below look at it. Of a list only the first few elements are
// kept (no field takes more than three), and of a list or an object inside a list only that it is
// one: no rule accepts them, and memory stays bounded whatever a field holds.
struct Value
{
    enum class Type { Null, Boolean, Integer, Float, String, List, Object };
    static constexpr size_t MaxItems = 3;

    Type type = Type::Null;
    bool boolean = false;
    std::optional<qint64> integer; // Integer: empty when beyond 64 bits
    QString text;
    std::vector<Value> items; // List: its first MaxItems elements
    qsizetype count = 0;      // List: the number of its elements

    void append(Value item)
    {
        if (items.size() < MaxItems)
            items.push_back(std::move(item));
        ++count;
    }
};

Value typed(Value::Type type)
{
    Value v;
    v.type = type;
    return v;
}

// A whole number between the bounds: written without fraction and exponent, as JSON integers are.
std::optional<qint64> wholeNumber(const Value &value, qint64 low, qint64 high)
{
    if (value.type != Value::Type::Integer || !value.integer || *value.integer < low || *value.integer > high)
        return std::nullopt;
    return value.integer;
}

std::optional<UserRgb> rgbTriple(const Value &value)
{
    if (value.type != Value::Type::List || value.count != 3)
        return std::nullopt;
    qint32 c[3];
    for (size_t k = 0; k < 3; ++k) {
        const auto n = wholeNumber(value.items[k], 0, 255);
        if (!n)
            return std::nullopt;
        c[k] = qint32(*n);
    }
    return UserRgb{c[0], c[1], c[2]};
}

// The colour names of the settings dialog, spelled as it lists them.
std::optional<Colour> colourValue(const Value &value)
{
    if (value.type == Value::Type::String) {
        if (value.text == QLatin1String("schwarz"))
            return Colours::Black;
        if (value.text == QLatin1String("weiss"))
            return Colours::White;
        if (value.text == QLatin1String("blau"))
            return Colours::Blue;
        return std::nullopt;
    }
    const auto rgb = rgbTriple(value);
    return rgb ? std::optional(Colour::fromRgb(rgb->red, rgb->green, rgb->blue)) : std::nullopt;
}

// A path or keyword. No control characters: a file system that took them would show them to no
// one, and a NUL would cut the name short on its way to the system.
std::optional<QString> pathValue(const Value &value)
{
    if (value.type != Value::Type::String || value.text.isEmpty())
        return std::nullopt;
    for (const QChar c : value.text)
        if (c.unicode() < 0x20)
            return std::nullopt;
    return value.text;
}

std::optional<RampSwap> rampValue(const Value &value)
{
    if (value.type != Value::Type::List || value.count != 2)
        return std::nullopt;
    const auto from = pathValue(value.items[0]);
    const auto to = pathValue(value.items[1]);
    return from && to ? std::optional(RampSwap{*from, *to}) : std::nullopt;
}

std::optional<bool> booleanValue(const Value &value)
{
    return value.type == Value::Type::Boolean ? std::optional(value.boolean) : std::nullopt;
}

// A key as a message may show it: control characters as the JSON escapes that wrote them, and an
// empty key as the two quotes that wrote it, so that the field named is never none.
QString printable(const QString &key)
{
    if (key.isEmpty())
        return QStringLiteral("\"\"");
    QString shown;
    for (const QChar c : key)
        shown += c.unicode() < 0x20 ? QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')) : QString(c);
    return shown;
}

// An input iterator over the text that notes how far the parser has read: nlohmann's events carry
// no position, and a message about a hand-written file is only as good as the place it names.
class TrackedInput
{
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char *;
    using reference = const char &;

    TrackedInput(const char *at, const char **reached) : m_at(at), m_reached(reached) {}
    reference operator*() const { return *m_at; }
    TrackedInput &operator++()
    {
        *m_reached = ++m_at;
        return *this;
    }
    TrackedInput operator++(int)
    {
        TrackedInput before = *this;
        ++*this;
        return before;
    }
    friend bool operator==(const TrackedInput &a, const TrackedInput &b) { return a.m_at == b.m_at; }

private:
    const char *m_at;
    const char **m_reached;
};

// Reads a recipe from the parser's events as they come, keeping only the steps read so far and
// the fields of the step being read. Errors are noted, not acted on: the parser goes on to the
// end, so that a syntax error anywhere is reported before any error of meaning.
class RecipeReader final : public nlohmann::json_sax<Json>
{
public:
    explicit RecipeReader(QByteArrayView text) : m_text(text), m_reached(text.data()) { m_topAt.fill(-1); }
    TrackedInput begin() { return {m_text.data(), &m_reached}; }
    TrackedInput end() { return {m_text.data() + m_text.size(), &m_reached}; }
    Result<Recipe> result();

    bool null() override { return scalar(Value()); }
    bool boolean(bool b) override
    {
        Value v = typed(Value::Type::Boolean);
        v.boolean = b;
        return scalar(std::move(v));
    }
    bool number_integer(number_integer_t n) override
    {
        Value v = typed(Value::Type::Integer);
        v.integer = n;
        return scalar(std::move(v));
    }
    bool number_unsigned(number_unsigned_t n) override
    {
        Value v = typed(Value::Type::Integer);
        if (n <= number_unsigned_t(std::numeric_limits<qint64>::max()))
            v.integer = qint64(n);
        return scalar(std::move(v));
    }
    bool number_float(number_float_t, const string_t &) override { return scalar(typed(Value::Type::Float)); }
    bool string(string_t &s) override
    {
        Value v = typed(Value::Type::String);
        v.text = QString::fromUtf8(s.data(), qsizetype(s.size()));
        return scalar(std::move(v));
    }
    bool binary(binary_t &) override { return true; } // JSON text has none
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool key(string_t &name) override;
    bool parse_error(std::size_t position, const std::string &, const nlohmann::detail::exception &e) override;

private:
    // Where the parser is, as far as a recipe has places.
    enum class Where { Before, Top, TopList, Steps, Step, StepList, After };

    qsizetype offset() const { return m_reached - m_text.data(); }
    qsizetype stringStart(qsizetype end) const;
    qsizetype tokenStart(qsizetype end) const;
    void fail(Error error, qsizetype at);
    template <size_t N>
    int field(const QString &key, const char *const (&names)[N], std::array<qsizetype, N> &seen, qsizetype at);
    bool scalar(Value value);
    bool open(bool object);
    bool close();
    void topValue(Value value);
    void stepValue(Value value);
    void finishStep();

    QByteArrayView m_text;
    const char *m_reached; // one past the last byte the parser has read
    Where m_where = Where::Before;
    qsizetype m_skip = 0; // > 0: inside a value no rule looks into, this deep
    Value m_list;         // the list being read in TopList and StepList

    int m_topField = -1;                          // the field whose value comes next; -1 for one that is not read
    std::array<qsizetype, TopFieldCount> m_topAt; // where each top-level key was; -1 when absent
    Value m_version;

    int m_stepCount = 0;
    int m_stepField = -1;
    qsizetype m_stepStart = 0;
    std::array<qsizetype, StepFieldCount> m_stepAt;
    std::array<Value, StepFieldCount> m_stepValues;

    Recipe m_recipe;
    std::vector<bool> m_ownColour; // per step: whether it named its own transparent colour
    std::optional<Error> m_syntax;
    bool m_notObject = false;
    std::optional<Error> m_error;  // the first error of meaning, in the order of the text
    std::optional<Error> m_tooNew; // the first version-2 field before it
};

// Line and column, from 1, of the byte at `offset`. Columns count characters: a byte that
// continues a UTF-8 sequence adds nothing, and a byte order mark at the start is not counted.
std::pair<int, int> textPlace(QByteArrayView text, qsizetype offset)
{
    int line = 1;
    int column = 1;
    qsizetype i = text.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    for (; i < offset && i < text.size(); ++i) {
        const auto byte = uchar(text[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

void RecipeReader::fail(Error error, qsizetype at)
{
    std::optional<Error> &slot = error.kind == ErrorKind::RecipeFieldTooNew ? m_tooNew : m_error;
    if (slot)
        return;
    if (at >= 0)
        std::tie(error.line, error.column) = textPlace(m_text, at);
    slot = std::move(error);
}

// The opening quote of the string whose closing quote is the byte before `end`: the nearest quote
// before it that no backslash escapes.
qsizetype RecipeReader::stringStart(qsizetype end) const
{
    for (qsizetype i = end - 2; i > 0; --i) {
        if (m_text[i] != '"')
            continue;
        qsizetype slashes = 0;
        while (i - 1 - slashes >= 0 && m_text[i - 1 - slashes] == '\\')
            ++slashes;
        if (slashes % 2 == 0)
            return i;
    }
    return 0;
}

// Where the value that was read last starts, when it ends at or just before `end`: the parser
// reads one character past a number.
qsizetype RecipeReader::tokenStart(qsizetype end) const
{
    while (end > 0 && QByteArrayView(" \t\r\n,]}").contains(m_text[end - 1]))
        --end;
    if (end > 0 && m_text[end - 1] == '"')
        return stringStart(end);
    while (end > 0 && (std::isalnum(uchar(m_text[end - 1])) || QByteArrayView("+-.").contains(m_text[end - 1])))
        --end;
    return end;
}

bool RecipeReader::parse_error(std::size_t position, const std::string &, const nlohmann::detail::exception &e)
{
    // The library's own words, sorted into the faults the catalogue words in German; what follows
    // "last read" is the recipe's own text, which may say anything. `position` counts the bytes
    // read, the offending one included, and the end of the text as one more.
    std::string_view what = e.what();
    what = what.substr(0, what.find("; last read:"));
    const auto says = [&](const char *words) { return what.find(words) != std::string_view::npos; };
    qsizetype at = std::clamp<qsizetype>(qsizetype(position) - 1, 0, m_text.size());
    const char *fault = JsonFault::Token;
    if (says("end of input;") || says("missing closing quote")) {
        fault = JsonFault::End;
    } else if (says("unexpected")) {
        // A whole token the grammar does not allow here: its first character. A number right after
        // a 0 is the rest of a number with a leading zero, which JSON does not have.
        if (at < m_text.size() && !QByteArrayView("{}[]:,").contains(m_text[at]))
            at = tokenStart(at + 1);
        const qsizetype digits = at + (at < m_text.size() && m_text[at] == '-' ? 1 : 0);
        if (digits + 1 < m_text.size() && m_text[digits] == '0' && std::isdigit(uchar(m_text[digits + 1])))
            fault = JsonFault::Number;
    } else if (says("after backslash")) {
        fault = JsonFault::Escape;
    } else if (says("surrogate") || says("'\\u'")) {
        fault = JsonFault::Unicode;
    } else if (says("control character")) {
        fault = JsonFault::Control;
    } else if (says("UTF-8") || says("BOM")) {
        fault = JsonFault::Utf8;
    } else if (says("invalid number")) {
        fault = JsonFault::Number;
    }
    Error error = recipeError(ErrorKind::RecipeSyntax, 0, {}, QString::fromLatin1(fault));
    std::tie(error.line, error.column) = textPlace(m_text, at);
    m_syntax = std::move(error);
    return false;
}

// The index of a known key, noted as seen at `at`; -1 for a key that is unknown or repeated, whose
// value is then not read.
template <size_t N>
int RecipeReader::field(const QString &key, const char *const (&names)[N], std::array<qsizetype, N> &seen, qsizetype at)
{
    const int step = m_where == Where::Step ? m_stepCount : 0;
    for (size_t i = 0; i < N; ++i) {
        if (key != QLatin1String(names[i]))
            continue;
        if (seen[i] >= 0) {
            fail(recipeError(ErrorKind::RecipeDuplicateField, step, key), at);
            return -1;
        }
        seen[i] = at;
        return int(i);
    }
    fail(recipeError(ErrorKind::RecipeUnknownField, step, printable(key)), at);
    return -1;
}

bool RecipeReader::key(string_t &name)
{
    if (m_skip > 0)
        return true;
    const QString key = QString::fromUtf8(name.data(), qsizetype(name.size()));
    // The parser has just read the key's closing quote.
    const qsizetype at = stringStart(offset());
    if (m_where == Where::Top)
        m_topField = field(key, TopFieldNames, m_topAt, at);
    else
        m_stepField = field(key, StepFieldNames, m_stepAt, at);
    return true;
}

bool RecipeReader::scalar(Value value)
{
    if (m_skip > 0)
        return true;
    switch (m_where) {
    case Where::Before:
        m_notObject = true;
        m_where = Where::After;
        break;
    case Where::Top:
        topValue(std::move(value));
        break;
    case Where::Steps:
        ++m_stepCount;
        fail(recipeError(ErrorKind::RecipeBadValue, m_stepCount, {}, QString::fromLatin1(ValueRule::Object)),
             tokenStart(offset()));
        break;
    case Where::Step:
        stepValue(std::move(value));
        break;
    case Where::TopList:
    case Where::StepList:
        m_list.append(std::move(value));
        break;
    case Where::After:
        break;
    }
    return true;
}

bool RecipeReader::open(bool object)
{
    if (m_skip > 0) {
        ++m_skip;
        return true;
    }
    const Value::Type type = object ? Value::Type::Object : Value::Type::List;
    switch (m_where) {
    case Where::Before:
        if (object) {
            m_where = Where::Top;
        } else {
            m_notObject = true;
            m_where = Where::After;
            m_skip = 1;
        }
        break;
    case Where::Top:
        if (object) {
            topValue(typed(type));
            m_skip = 1;
        } else if (m_topField == TopSteps) {
            m_where = Where::Steps;
        } else {
            m_list = typed(type);
            m_where = Where::TopList;
        }
        break;
    case Where::Steps:
        ++m_stepCount;
        // After an error only the version is still of use.
        if (m_error || !object) {
            if (!object)
                fail(recipeError(ErrorKind::RecipeBadValue, m_stepCount, {}, QString::fromLatin1(ValueRule::Object)),
                     offset() - 1);
            m_skip = 1;
        } else {
            m_where = Where::Step;
            m_stepStart = offset() - 1;
            m_stepAt.fill(-1);
            m_stepField = -1;
        }
        break;
    case Where::Step:
        if (object) {
            stepValue(typed(type));
            m_skip = 1;
        } else {
            m_list = typed(type);
            m_where = Where::StepList;
        }
        break;
    case Where::TopList:
    case Where::StepList:
        m_list.append(typed(type));
        m_skip = 1;
        break;
    case Where::After:
        break;
    }
    return true;
}

bool RecipeReader::close()
{
    if (m_skip > 0) {
        --m_skip;
        return true;
    }
    switch (m_where) {
    case Where::TopList:
        m_where = Where::Top;
        topValue(std::move(m_list));
        break;
    case Where::StepList:
        m_where = Where::Step;
        stepValue(std::move(m_list));
        break;
    case Where::Step:
        finishStep();
        m_where = Where::Steps;
        break;
    case Where::Steps:
        m_where = Where::Top;
        break;
    case Where::Top:
        m_where = Where::After;
        break;
    case Where::Before:
    case Where::After:
        break;
    }
    return true;
}

void RecipeReader::topValue(Value value)
{
    if (m_topField < 0)
        return;
    const auto bad = [&](const char *rule) {
        fail(recipeError(ErrorKind::RecipeBadValue, 0, QString::fromLatin1(TopFieldNames[m_topField]),
                         QString::fromLatin1(rule)),
             m_topAt[m_topField]);
    };
    switch (m_topField) {
    case TopVersion:
        // Judged at the end: whatever else is wrong, a recipe of another version is reported as one.
        m_version = std::move(value);
        break;
    case TopBase:
        if (const auto base = pathValue(value); !base)
            bad(ValueRule::Path);
        else if (*base == DefaultBase)
            m_recipe.composition.base = {CompositionBase::Kind::Default, {}};
        else if (*base == NewBase)
            m_recipe.composition.base = {CompositionBase::Kind::New, {}};
        else
            m_recipe.composition.base = {CompositionBase::Kind::File, *base};
        break;
    case TopColour:
        if (const auto colour = colourValue(value))
            m_recipe.transparent = *colour;
        else
            bad(ValueRule::Colour);
        break;
    case TopSteps: // a list of steps does not come here
        bad(ValueRule::List);
        break;
    }
}

void RecipeReader::stepValue(Value value)
{
    if (m_stepField >= 0)
        m_stepValues[size_t(m_stepField)] = std::move(value);
}

void RecipeReader::finishStep()
{
    if (m_error)
        return;
    const int step = m_stepCount;
    const auto has = [&](int f) { return m_stepAt[size_t(f)] >= 0; };
    const auto value = [&](int f) -> const Value & { return m_stepValues[size_t(f)]; };
    const auto name = [](int f) { return QString::fromLatin1(StepFieldNames[f]); };
    const auto bad = [&](int f, const char *rule) {
        fail(recipeError(ErrorKind::RecipeBadValue, step, name(f), QString::fromLatin1(rule)), m_stepAt[size_t(f)]);
    };
    const auto missing = [&](int f) { fail(recipeError(ErrorKind::RecipeMissingField, step, name(f)), m_stepStart); };

    if (!has(StepKind))
        return missing(StepKind);
    const PartKind *kind =
        value(StepKind).type == Value::Type::String ? findPartKindByKey(value(StepKind).text) : nullptr;
    if (!kind)
        return bad(StepKind, ValueRule::Kind);
    if (kind->place) {
        for (const int f : {StepX, StepY})
            if (has(f))
                return fail(recipeError(ErrorKind::RecipeUnknownField, step, name(f), kind->key), m_stepAt[size_t(f)]);
    }

    PasteStep result;
    result.kind = kind->kind;
    if (!has(StepPart))
        return missing(StepPart);
    const auto part = pathValue(value(StepPart));
    if (!part)
        return bad(StepPart, ValueRule::Path);
    result.part = *part == QLatin1String(PreviewPartName) ? QString() : *part;

    if (kind->place) {
        result.place = *kind->place;
    } else {
        qint64 xy[2];
        for (const int f : {StepX, StepY}) {
            if (!has(f))
                return missing(f);
            const auto n =
                wholeNumber(value(f), std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
            if (!n)
                return bad(f, ValueRule::Int32);
            xy[f - StepX] = *n;
        }
        result.place = QPoint(int(xy[0]), int(xy[1]));
    }

    if (has(StepTint)) {
        const auto tint = rgbTriple(value(StepTint));
        if (!tint)
            return bad(StepTint, ValueRule::Tint);
        result.tint = *tint;
    }
    if (has(StepColour)) {
        const auto colour = colourValue(value(StepColour));
        if (!colour)
            return bad(StepColour, ValueRule::Colour);
        result.transparent = *colour;
    }
    for (const int f : {StepVisible, StepMirror}) {
        if (!has(f))
            continue;
        const auto flag = booleanValue(value(f));
        if (!flag)
            return bad(f, ValueRule::Boolean);
        (f == StepVisible ? result.visible : result.mirrored) = *flag;
    }
    if (has(StepRamp)) {
        const auto ramp = rampValue(value(StepRamp));
        if (!ramp)
            return bad(StepRamp, ValueRule::Ramp);
        result.ramp = *ramp;
    }
    for (int f = FirstVersion2Field; f < StepFieldCount; ++f)
        if (has(f))
            fail(recipeError(ErrorKind::RecipeFieldTooNew, step, name(f)), m_stepAt[size_t(f)]);

    m_recipe.composition.steps.push_back(std::move(result));
    m_ownColour.push_back(has(StepColour));
}

Result<Recipe> RecipeReader::result()
{
    if (m_syntax)
        return *m_syntax;
    if (m_notObject)
        return recipeError(ErrorKind::RecipeSyntax, 0, {});
    const QString versionField = QString::fromLatin1(TopFieldNames[TopVersion]);
    if (m_topAt[TopVersion] < 0)
        return recipeError(ErrorKind::RecipeMissingField, 0, versionField);
    const auto version = wholeNumber(m_version, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
    if (!version || *version < 1 || *version > RecipeFormatVersion) {
        Error error =
            version ? recipeError(ErrorKind::RecipeVersion, 0, versionField, QString::number(*version))
                    : recipeError(ErrorKind::RecipeBadValue, 0, versionField, QString::fromLatin1(ValueRule::Version));
        std::tie(error.line, error.column) = textPlace(m_text, m_topAt[TopVersion]);
        return error;
    }
    if (*version == 1 && m_tooNew)
        return *m_tooNew;
    if (m_error)
        return *m_error;
    for (const int f : {TopBase, TopColour, TopSteps})
        if (m_topAt[size_t(f)] < 0)
            return recipeError(ErrorKind::RecipeMissingField, 0, QString::fromLatin1(TopFieldNames[f]));
    // The recipe's colour may come after the steps that take it.
    std::vector<PasteStep> &steps = m_recipe.composition.steps;
    for (size_t i = 0; i < steps.size(); ++i)
        if (!m_ownColour[i])
            steps[i].transparent = m_recipe.transparent;
    return std::move(m_recipe);
}

QByteArray rgbText(int red, int green, int blue)
{
    return QStringLiteral("[%1, %2, %3]").arg(red).arg(green).arg(blue).toUtf8();
}

QByteArray colourText(Colour colour)
{
    return rgbText(colour.red(), colour.green(), colour.blue());
}

// A path that reads back as the path and not as the keyword it happens to be spelled like.
QString pathText(const QString &path, std::initializer_list<const char *> keywords)
{
    for (const char *keyword : keywords)
        if (path == QLatin1String(keyword))
            return QStringLiteral("./") + path;
    return path;
}

bool needsVersion2(const PasteStep &step)
{
    return !step.visible || step.mirrored || !step.ramp.isNone();
}

QByteArray stepText(const PasteStep &step, Colour recipeColour)
{
    const PartKind &kind = partKind(step.kind);
    QByteArray line = "{\"kind\": " + jsonString(kind.key) + ", \"part\": ";
    line +=
        jsonString(step.part.isEmpty() ? QString::fromLatin1(PreviewPartName) : pathText(step.part, {PreviewPartName}));
    if (!kind.place)
        line += ", \"x\": " + QByteArray::number(step.place.x()) + ", \"y\": " + QByteArray::number(step.place.y());
    if (step.tint != UserRgb{})
        line += ", \"tint\": " + rgbText(step.tint.red, step.tint.green, step.tint.blue);
    if (step.transparent != recipeColour)
        line += ", \"transparent\": " + colourText(step.transparent);
    if (!step.visible)
        line += ", \"visible\": false";
    if (step.mirrored)
        line += ", \"mirror\": true";
    if (!step.ramp.isNone())
        line += ", \"ramp\": [" + jsonString(step.ramp.from) + ", " + jsonString(step.ramp.to) + ']';
    return line + '}';
}

// Each file a recipe names, replaced by what `change` makes of it.
// Palettes are looked for in the palette folders, the rest in the part folders.
template <class Change> Recipe withEachFile(Recipe recipe, const RecipeFolders &folders, const Change &change)
{
    const RecipeFolders palettes = folders.forPalettes();
    const auto each = [&](QString &path, const RecipeFolders &where) {
        if (!path.isEmpty())
            path = change(path, where);
    };
    if (recipe.composition.base.kind == CompositionBase::Kind::File)
        each(recipe.composition.base.file, folders);
    for (PasteStep &step : recipe.composition.steps) {
        each(step.part, folders);
        each(step.ramp.from, palettes);
        each(step.ramp.to, palettes);
    }
    return recipe;
}

} // namespace

Result<Recipe> readRecipe(QByteArrayView json)
{
    RecipeReader reader(json);
    Json::sax_parse(reader.begin(), reader.end(), &reader);
    return reader.result();
}

Result<Recipe> readRecipeFile(const QString &path)
{
    const Result<QByteArray> bytes = readFileBytes(path, MaxRecipeBytes);
    if (!bytes)
        return bytes.error();
    return readRecipe(bytes.value());
}

QByteArray writeRecipe(const Recipe &recipe)
{
    const CompositionBase &base = recipe.composition.base;
    QString baseText;
    switch (base.kind) {
    case CompositionBase::Kind::Default:
        baseText = DefaultBase;
        break;
    case CompositionBase::Kind::New:
        baseText = NewBase;
        break;
    case CompositionBase::Kind::File:
        baseText = pathText(base.file, {"default", "new"});
        break;
    }

    const auto &steps = recipe.composition.steps;
    // Version 1 where it says all there is, so that readers of version 1 still take it.
    const int version = std::any_of(steps.begin(), steps.end(), needsVersion2) ? 2 : 1;
    QByteArray out = "{\n  \"pellwerk-recipe\": " + QByteArray::number(version) + ",\n";
    out += "  \"base\": " + jsonString(baseText) + ",\n";
    out += "  \"transparent\": " + colourText(recipe.transparent) + ",\n";
    out += "  \"steps\": [";
    for (size_t i = 0; i < steps.size(); ++i)
        out += (i == 0 ? "\n    " : ",\n    ") + stepText(steps[i], recipe.transparent);
    out += steps.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

Recipe resolveRecipeFiles(Recipe recipe, const RecipeFolders &folders)
{
    return withEachFile(std::move(recipe), folders, [](const QString &written, const RecipeFolders &where) {
        const QString found = resolveRecipePath(written, where);
        return QFileInfo::exists(found) ? found : written;
    });
}

Recipe nameRecipeFiles(Recipe recipe, const RecipeFolders &folders)
{
    return withEachFile(std::move(recipe), folders,
                        [](const QString &file, const RecipeFolders &where) { return recipePathFor(file, where); });
}

} // namespace pellwerk
