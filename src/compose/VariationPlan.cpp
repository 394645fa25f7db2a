#include "VariationPlan.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <variant>

namespace pellwerk {

namespace {

CommandLineError planError(CommandLineErrorKind kind, const QString &field, const QString &detail = {},
                           const QString &file = {})
{
    return CommandLineError{kind, field, detail, file};
}

// An output pattern cut into literal text and placeholders (indexes into the varied kinds).
using Segment = std::variant<QString, size_t>;

CommandLineResult<std::vector<Segment>> parsePattern(const QString &pattern,
                                                     const std::vector<VariationPlan::VariedKind> &varied)
{
    std::vector<Segment> segments;
    std::vector<bool> used(varied.size(), false);
    QString literal;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const qsizetype close = pattern[i] == QLatin1Char('{') ? pattern.indexOf(QLatin1Char('}'), i) : -1;
        QStringView key = close > i ? QStringView(pattern).mid(i + 1, close - i - 1) : QStringView();
        const bool ramp = key.endsWith(QLatin1String(RampSuffix));
        if (ramp)
            key.chop(qsizetype(std::strlen(RampSuffix)));
        const PartKind *kind = close > i ? findPartKindByKey(key) : nullptr;
        if (!kind) {
            literal += pattern[i++];
            continue;
        }
        const auto it = std::find_if(varied.begin(), varied.end(), [&](const VariationPlan::VariedKind &v) {
            return v.kind == kind->kind && v.ramp == ramp;
        });
        if (it == varied.end())
            return planError(CommandLineErrorKind::OutputPlaceholderNotVaried,
                             kind->key + (ramp ? QLatin1String(RampSuffix) : QLatin1String()));
        segments.emplace_back(std::move(literal));
        literal.clear();
        segments.emplace_back(size_t(it - varied.begin()));
        used[size_t(it - varied.begin())] = true;
        i = close + 1;
    }
    segments.emplace_back(std::move(literal));
    for (size_t k = 0; k < varied.size(); ++k)
        if (!used[k])
            return planError(CommandLineErrorKind::OutputPlaceholderMissing, varied[k].key());
    return segments;
}

QString absoluteClean(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

QString VariationPlan::VariedKind::key() const
{
    return partKind(kind).key + (ramp ? QLatin1String(RampSuffix) : QLatin1String());
}

QStringList VariationPlan::choice(qsizetype index) const
{
    QStringList files;
    for (size_t k = m_varied.size(); k-- > 0;) {
        const QStringList &options = m_varied[k].files;
        files.prepend(options[index % options.size()]);
        index /= options.size();
    }
    return files;
}

Composition VariationPlan::composition(qsizetype index) const
{
    Composition result = m_recipe;
    const QStringList files = choice(index);
    for (size_t k = 0; k < m_varied.size(); ++k)
        for (PasteStep &step : result.steps)
            if (m_varied[k].varies(step))
                m_varied[k].put(step, files[qsizetype(k)]);
    return result;
}

CommandLineResult<VariationPlan> VariationPlan::make(const Recipe &recipe, const QString &recipePath,
                                                     const std::vector<Variation> &variations,
                                                     const QString &outputPattern, const RecipeFolders &folders)
{
    VariationPlan plan;
    plan.m_recipe = recipe.composition;
    plan.m_transparent = recipe.transparent;
    const auto &steps = recipe.composition.steps;
    for (const Variation &variation : variations) {
        VariedKind varied{variation.kind, {}, variation.ramp};
        const QString key = varied.key();
        if (std::none_of(steps.begin(), steps.end(), [&](const PasteStep &s) { return varied.varies(s); }))
            return planError(CommandLineErrorKind::VaryNoStep, key);
        QStringList files = matchingRecipeFiles(variation.pattern, variation.ramp ? folders.forPalettes() : folders);
        if (files.isEmpty())
            return planError(CommandLineErrorKind::VaryNoMatch, key, variation.pattern);
        if (plan.m_size > MaxSkins / files.size())
            return planError(CommandLineErrorKind::VaryTooMany, {},
                             QString::number(qint64(plan.m_size) * files.size()));
        plan.m_size *= files.size();
        varied.files = std::move(files);
        plan.m_varied.push_back(std::move(varied));
    }
    if (outputPattern.isEmpty())
        return plan;

    const CommandLineResult<std::vector<Segment>> segments = parsePattern(outputPattern, plan.m_varied);
    if (!segments)
        return segments.error();
    QHash<QString, qsizetype> seen;
    QSet<QString> outputFolders;
    plan.m_outputs.reserve(plan.m_size);
    for (qsizetype i = 0; i < plan.m_size; ++i) {
        const QStringList files = plan.choice(i);
        QString name;
        for (const Segment &segment : segments.value())
            name += std::holds_alternative<QString>(segment)
                        ? std::get<QString>(segment)
                        : QFileInfo(files[qsizetype(std::get<size_t>(segment))]).completeBaseName();
        // Written where the collision check looked: "a/b/../c" is "a/c" even where a/b is missing.
        name = QDir::cleanPath(name);
        const QString absolute = absoluteClean(name);
        if (const auto it = seen.constFind(absolute); it != seen.constEnd()) {
            const auto names = [&](qsizetype index) {
                QStringList shown;
                for (const QString &file : plan.choice(index))
                    shown << QFileInfo(file).fileName();
                return shown.join(QStringLiteral(", "));
            };
            return planError(CommandLineErrorKind::OutputCollision, {}, names(*it) + QStringLiteral(" / ") + names(i),
                             name);
        }
        seen.insert(absolute, i);
        outputFolders.insert(QFileInfo(absolute).path());
        plan.m_outputs << name;
    }
    for (const QString &folder : std::as_const(outputFolders))
        if (!QFileInfo(folder).isDir())
            return planError(CommandLineErrorKind::OutputFolderMissing, {}, {}, folder);

    // Nothing a skin is made of may be overwritten by one, not even after its own reading: not
    // the recipe, its base (the program's SkinNEW.bmp for "new": every later "neu" would start
    // from the batch's skin), a part or a varied file, under whatever name the output reaches it.
    QHash<QString, QString> inputs;
    const auto addInput = [&](const QString &path) {
        if (QFileInfo::exists(path))
            inputs.insert(fileIdentity(path), path);
    };
    addInput(recipePath);
    if (recipe.composition.base.kind == CompositionBase::Kind::File)
        addInput(resolveRecipePath(recipe.composition.base.file, folders));
    if (recipe.composition.base.kind == CompositionBase::Kind::New && !folders.programFolder.isEmpty())
        addInput(newSkinFile(folders.programFolder));
    for (const PasteStep &step : steps) {
        if (!step.part.isEmpty())
            addInput(resolveRecipePath(step.part, folders));
        for (const QString &palette : {step.ramp.from, step.ramp.to})
            if (!palette.isEmpty())
                addInput(resolveRecipePath(palette, folders.forPalettes()));
    }
    for (const VariedKind &kind : plan.m_varied)
        for (const QString &file : kind.files)
            addInput(file);
    for (const QString &output : std::as_const(plan.m_outputs))
        if (const auto input = inputs.constFind(fileIdentity(output)); input != inputs.constEnd())
            return planError(CommandLineErrorKind::OutputIsInput, {}, *input, output);
    return plan;
}

} // namespace pellwerk
