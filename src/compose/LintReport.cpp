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
    const auto variedFiles = [&](PartKindId kind) -> const QStringList * {
        for (const VariationPlan::VariedKind &v : plan.varied())
            if (v.kind == kind)
                return &v.files;
        return nullptr;
    };
    const auto fileOf = [&](const QString &part) { return part.isEmpty() ? QString() : composer.resolve(part); };

    if (const Result<QImage> base = composer.base(recipe.base); !base)
        return base.error();
    for (size_t i = 0; i < recipe.steps.size(); ++i) {
        const PasteStep &step = recipe.steps[i];
        if (variedFiles(step.kind))
            continue;
        if (const Result<QImage> picture = composer.partPicture(step.part); !picture)
            return atStep(picture.error(), i, fileOf(step.part));
    }

    QSet<QString> failed;
    for (size_t i = 0; i < recipe.steps.size(); ++i) {
        const PasteStep &step = recipe.steps[i];
        const QStringList *varied = variedFiles(step.kind);
        for (const QString &part : varied ? *varied : QStringList{step.part}) {
            const Result<QImage> picture = composer.partPicture(part);
            if (!picture) {
                // A shared part read a moment ago and gone now is as fatal as before.
                if (!varied)
                    return atStep(picture.error(), i, fileOf(part));
                if (!failed.contains(part)) {
                    failed.insert(part);
                    onFailure(atStep(picture.error(), i, fileOf(part)));
                }
                continue;
            }
            LintEntry entry;
            entry.step = int(i + 1);
            entry.kind = partKind(step.kind).key;
            entry.part = part.isEmpty() ? QString::fromLatin1(PreviewPartName)
                         : varied       ? QFileInfo(part).fileName()
                                        : part;
            entry.lint = lintKeyColour(picture.value(), step.transparent, step.tint, nearLimit, KeyMarks::CountOnly);
            onEntry(entry);
        }
    }
    return {};
}

QString lintLine(const LintEntry &entry)
{
    const KeyColourLint &l = entry.lint;
    QString line = QStringLiteral("step %1 %2 ").arg(entry.step).arg(entry.kind) + entry.part
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
