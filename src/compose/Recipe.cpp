#include "Recipe.h"

#include "JsonText.h"
#include "core/FileBytes.h"
#include "parts/PlacementTable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <cmath>
#include <limits>
#include <optional>

namespace pellwerk {

namespace {

constexpr qint64 MaxRecipeBytes = qint64(16) * 1024 * 1024;

const QString VersionField = QStringLiteral("pellwerk-recipe");
const QString BaseField = QStringLiteral("base");
const QString TransparentField = QStringLiteral("transparent");
const QString StepsField = QStringLiteral("steps");
const QString KindField = QStringLiteral("kind");
const QString PartField = QStringLiteral("part");
const QString XField = QStringLiteral("x");
const QString YField = QStringLiteral("y");
const QString TintField = QStringLiteral("tint");

const QString DefaultBase = QStringLiteral("default");
const QString NewBase = QStringLiteral("new");

Error recipeError(ErrorKind kind, int step, const QString &field, QString detail = {})
{
    Error e = makeError(kind, {}, std::move(detail));
    e.step = step;
    e.field = field;
    return e;
}

Error badValue(int step, const QString &field, const char *rule)
{
    return recipeError(ErrorKind::RecipeBadValue, step, field, QString::fromLatin1(rule));
}

// A whole number between the bounds. JSON has one number type, so 40.0 counts as 40.
std::optional<qint64> wholeNumber(const QJsonValue &value, qint64 low, qint64 high)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (std::floor(d) != d || d < double(low) || d > double(high))
        return std::nullopt;
    return qint64(d);
}

std::optional<UserRgb> rgbTriple(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    const QJsonArray array = value.toArray();
    if (array.size() != 3)
        return std::nullopt;
    qint32 c[3];
    for (int k = 0; k < 3; ++k) {
        const auto n = wholeNumber(array.at(k), 0, 255);
        if (!n)
            return std::nullopt;
        c[k] = qint32(*n);
    }
    return UserRgb{c[0], c[1], c[2]};
}

// The colour names of the settings dialog, spelled as it lists them.
std::optional<Colour> colourValue(const QJsonValue &value)
{
    if (value.isString()) {
        const QString name = value.toString();
        if (name == QLatin1String("schwarz"))
            return Colours::Black;
        if (name == QLatin1String("weiss"))
            return Colours::White;
        if (name == QLatin1String("blau"))
            return Colours::Blue;
        return std::nullopt;
    }
    const auto rgb = rgbTriple(value);
    return rgb ? std::optional(Colour::fromRgb(rgb->red, rgb->green, rgb->blue)) : std::nullopt;
}

// A path or keyword: a non-empty string that a file name can hold (no lone surrogates, which
// could not be written back as UTF-8).
std::optional<QString> textValue(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    QString text = value.toString();
    if (text.isEmpty() || !QStringView(text).isValidUtf16())
        return std::nullopt;
    return text;
}

// The first key of `object` that is not allowed, or an empty string.
QString unknownKey(const QJsonObject &object, std::initializer_list<const QString *> allowed)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        bool known = false;
        for (const QString *key : allowed)
            known = known || *key == it.key();
        if (!known)
            return it.key();
    }
    return {};
}

Result<PasteStep> readStep(const QJsonValue &value, int step, Colour recipeColour)
{
    if (!value.isObject())
        return badValue(step, {}, ValueRule::Object);
    const QJsonObject object = value.toObject();
    if (const QString unknown =
            unknownKey(object, {&KindField, &PartField, &XField, &YField, &TintField, &TransparentField});
        !unknown.isEmpty())
        return recipeError(ErrorKind::RecipeUnknownField, step, unknown);

    if (!object.contains(KindField))
        return recipeError(ErrorKind::RecipeMissingField, step, KindField);
    const QJsonValue kindValue = object.value(KindField);
    const PartKind *kind = kindValue.isString() ? findPartKindByKey(kindValue.toString()) : nullptr;
    if (!kind)
        return badValue(step, KindField, ValueRule::Kind);
    if (kind->place) {
        for (const QString *field : {&XField, &YField})
            if (object.contains(*field))
                return recipeError(ErrorKind::RecipeUnknownField, step, *field, kind->key);
    }

    PasteStep result;
    result.kind = kind->kind;
    if (!object.contains(PartField))
        return recipeError(ErrorKind::RecipeMissingField, step, PartField);
    const auto part = textValue(object.value(PartField));
    if (!part)
        return badValue(step, PartField, ValueRule::Text);
    result.part = *part == QLatin1String(PreviewPartName) ? QString() : *part;

    if (kind->place) {
        result.place = *kind->place;
    } else {
        qint64 xy[2];
        const QString *fields[2] = {&XField, &YField};
        for (int k = 0; k < 2; ++k) {
            if (!object.contains(*fields[k]))
                return recipeError(ErrorKind::RecipeMissingField, step, *fields[k]);
            const auto n = wholeNumber(object.value(*fields[k]), std::numeric_limits<qint32>::min(),
                                       std::numeric_limits<qint32>::max());
            if (!n)
                return badValue(step, *fields[k], ValueRule::Int32);
            xy[k] = *n;
        }
        result.place = QPoint(int(xy[0]), int(xy[1]));
    }

    if (object.contains(TintField)) {
        const auto tint = rgbTriple(object.value(TintField));
        if (!tint)
            return badValue(step, TintField, ValueRule::Tint);
        result.tint = *tint;
    }
    result.transparent = recipeColour;
    if (object.contains(TransparentField)) {
        const auto colour = colourValue(object.value(TransparentField));
        if (!colour)
            return badValue(step, TransparentField, ValueRule::Colour);
        result.transparent = *colour;
    }
    return result;
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
    return line + '}';
}

} // namespace

Result<Recipe> readRecipe(QByteArrayView json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return recipeError(ErrorKind::RecipeSyntax, 0, {}, QString::number(parseError.offset));
    if (!document.isObject())
        return recipeError(ErrorKind::RecipeSyntax, 0, {});
    const QJsonObject top = document.object();

    // The version first: a later format may well have fields this one does not know.
    if (!top.contains(VersionField))
        return recipeError(ErrorKind::RecipeMissingField, 0, VersionField);
    if (const QJsonValue version = top.value(VersionField); wholeNumber(version, 1, 1) != RecipeFormatVersion) {
        const QByteArray found = QJsonDocument(QJsonArray{version}).toJson(QJsonDocument::Compact);
        return recipeError(ErrorKind::RecipeVersion, 0, VersionField,
                           QString::fromUtf8(found.mid(1, found.size() - 2)));
    }
    if (const QString unknown = unknownKey(top, {&VersionField, &BaseField, &TransparentField, &StepsField});
        !unknown.isEmpty())
        return recipeError(ErrorKind::RecipeUnknownField, 0, unknown);
    for (const QString *field : {&BaseField, &TransparentField, &StepsField})
        if (!top.contains(*field))
            return recipeError(ErrorKind::RecipeMissingField, 0, *field);

    Recipe recipe;
    const auto base = textValue(top.value(BaseField));
    if (!base)
        return badValue(0, BaseField, ValueRule::Text);
    if (*base == DefaultBase)
        recipe.composition.base = {CompositionBase::Kind::Default, {}};
    else if (*base == NewBase)
        recipe.composition.base = {CompositionBase::Kind::New, {}};
    else
        recipe.composition.base = {CompositionBase::Kind::File, *base};

    const auto colour = colourValue(top.value(TransparentField));
    if (!colour)
        return badValue(0, TransparentField, ValueRule::Colour);
    recipe.transparent = *colour;

    const QJsonValue steps = top.value(StepsField);
    if (!steps.isArray())
        return badValue(0, StepsField, ValueRule::List);
    const QJsonArray array = steps.toArray();
    recipe.composition.steps.reserve(size_t(array.size()));
    for (qsizetype i = 0; i < array.size(); ++i) {
        Result<PasteStep> step = readStep(array.at(i), int(i + 1), recipe.transparent);
        if (!step)
            return step.error();
        recipe.composition.steps.push_back(std::move(step).value());
    }
    return recipe;
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

    QByteArray out = "{\n  \"pellwerk-recipe\": " + QByteArray::number(RecipeFormatVersion) + ",\n";
    out += "  \"base\": " + jsonString(baseText) + ",\n";
    out += "  \"transparent\": " + colourText(recipe.transparent) + ",\n";
    out += "  \"steps\": [";
    const auto &steps = recipe.composition.steps;
    for (size_t i = 0; i < steps.size(); ++i)
        out += (i == 0 ? "\n    " : ",\n    ") + stepText(steps[i], recipe.transparent);
    out += steps.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

} // namespace pellwerk
