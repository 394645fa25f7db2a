#include "LintReport.h"

#include "JsonText.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace pellwerk {

Result<void> lintPlan(const VariationPlan &plan, const Composer &composer, int nearLimit,
                      const std::function<void(const LintEntry &)> &onEntry,
                      const std::function<void(const Error &)> &onFailure)
{
    const Composition recipe = plan.composition(0);
    // The files a step takes in turn: its parts (ramp false) or its "to" palettes (ramp true).
    const auto variedFiles = [&](const PasteStep &step, bool ramp) -> const QStringList * {
        for (const VariationPlan::VariedKind &v : plan.varied())
            if (v.ramp == ramp && v.varies(step))
                return &v.files;
        return nullptr;
    };
    const auto fileOf = [&](const QString &part) { return part.isEmpty() ? QString() : composer.resolve(part); };

    if (const Result<QImage> base = composer.base(recipe.base); !base)
        return base.error();
    for (size_t i = 0; i < recipe.steps.size(); ++i) {
        const PasteStep &step = recipe.steps[i];
        if (!variedFiles(step, false))
            if (const Result<QImage> picture = composer.partPicture(step.part); !picture)
                return atStep(picture.error(), i, fileOf(step.part));
        if (!variedFiles(step, true))
            if (const Result<RampMap> map = composer.ramp(step.ramp); !map)
                return atStep(map.error(), i, {});
    }

    QSet<QString> failed;
    const auto failOnce = [&](const Error &error, size_t i, const QString &file) {
        if (!failed.contains(file)) {
            failed.insert(file);
            onFailure(atStep(error, i, file));
        }
    };
    for (size_t i = 0; i < recipe.steps.size(); ++i) {
        const PasteStep &step = recipe.steps[i];
        const QStringList *varied = variedFiles(step, false);
        const QStringList *palettes = variedFiles(step, true);
        for (const QString &part : varied ? *varied : QStringList{step.part}) {
            const Result<QImage> picture = composer.partPicture(part);
            if (!picture) {
                // A shared part read a moment ago and gone now is as fatal as before.
                if (!varied)
                    return atStep(picture.error(), i, fileOf(part));
                failOnce(picture.error(), i, fileOf(part));
                continue;
            }
            for (const QString &to : palettes ? *palettes : QStringList{step.ramp.to}) {
                const Result<RampMap> map = composer.ramp({step.ramp.from, to});
                if (!map) {
                    if (!palettes)
                        return atStep(map.error(), i, {});
                    failOnce(map.error(), i, to);
                    continue;
                }
                LintEntry entry;
                entry.step = int(i + 1);
                entry.kind = partKind(step.kind).key;
                entry.part = part.isEmpty() ? QString::fromLatin1(PreviewPartName)
                             : varied       ? QFileInfo(part).fileName()
                                            : part;
                entry.ramp = palettes ? QFileInfo(to).fileName() : QString();
                entry.lint = lintKeyColour(map->apply(picture.value()), step.transparent, step.tint, nearLimit,
                                           KeyMarks::CountOnly);
                onEntry(entry);
            }
        }
    }
    return {};
}

QString lintLine(const LintEntry &entry)
{
    const KeyColourLint &l = entry.lint;
    QString line = QStringLiteral("step %1 %2 ").arg(entry.step).arg(entry.kind) + entry.part
                   + (entry.ramp.isEmpty() ? QString() : QStringLiteral(" ramp ") + entry.ramp)
                   + QStringLiteral(": %1 left out, %2 near the transparent colour (%3 fringe)")
                         .arg(l.leftOut)
                         .arg(l.near)
                         .arg(l.fringe);
    if (l.firstNear)
        line += QStringLiteral(", first at %1,%2").arg(l.firstNear->x()).arg(l.firstNear->y());
    return line;
}

QByteArray lintJsonEntry(const LintEntry &e, qsizetype index)
{
    const KeyColourLint &l = e.lint;
    return (index == 0 ? "[\n  " : ",\n  ") + QByteArray("{\"step\": ") + QByteArray::number(e.step)
           + ", \"kind\": " + jsonString(e.kind) + ", \"part\": " + jsonString(e.part)
           + (e.ramp.isEmpty() ? QByteArray() : ", \"ramp\": " + jsonString(e.ramp))
           + ", \"left_out\": " + QByteArray::number(l.leftOut) + ", \"near\": " + QByteArray::number(l.near)
           + ", \"fringe\": " + QByteArray::number(l.fringe) + ", \"near_first\": "
           + (l.firstNear
                  ? "[" + QByteArray::number(l.firstNear->x()) + ", " + QByteArray::number(l.firstNear->y()) + "]"
                  : QByteArray("null"))
           + "}";
}

QByteArray lintJsonEnd(qsizetype count)
{
    return count == 0 ? "[]\n" : "\n]\n";
}

} // namespace pellwerk
