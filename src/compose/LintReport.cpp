#include "LintReport.h"

#include "JsonText.h"

#include <QFileInfo>

namespace pellwerk {

Result<std::vector<LintEntry>> lintPlan(const VariationPlan &plan, const Composer &composer, int nearLimit)
{
    std::vector<LintEntry> entries;
    const Composition recipe = plan.composition(0);
    for (size_t i = 0; i < recipe.steps.size(); ++i) {
        const PasteStep &step = recipe.steps[i];
        const auto varied = std::find_if(plan.varied().begin(), plan.varied().end(),
                                         [&](const VariationPlan::VariedKind &v) { return v.kind == step.kind; });
        const QStringList parts = varied == plan.varied().end() ? QStringList{step.part} : varied->files;
        for (const QString &part : parts) {
            const Result<QImage> picture = composer.partPicture(part);
            if (!picture) {
                Error error = picture.error();
                error.step = int(i + 1);
                error.field = QStringLiteral("part");
                return error;
            }
            LintEntry entry;
            entry.step = int(i + 1);
            entry.kind = partKind(step.kind).key;
            entry.part = part.isEmpty()                  ? QString::fromLatin1(PreviewPartName)
                         : varied == plan.varied().end() ? part
                                                         : QFileInfo(part).fileName();
            entry.lint = lintKeyColour(picture.value(), step.transparent, step.tint, nearLimit);
            entries.push_back(std::move(entry));
        }
    }
    return entries;
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

QByteArray lintJson(const std::vector<LintEntry> &entries)
{
    QByteArray out = "[";
    for (size_t i = 0; i < entries.size(); ++i) {
        const LintEntry &e = entries[i];
        const KeyColourLint &l = e.lint;
        out += i == 0 ? "\n  " : ",\n  ";
        out += "{\"step\": " + QByteArray::number(e.step) + ", \"kind\": " + jsonString(e.kind) + ", \"part\": "
               + jsonString(e.part) + ", \"left_out\": " + QByteArray::number(l.leftOut) + ", \"near\": "
               + QByteArray::number(l.near) + ", \"fringe\": " + QByteArray::number(l.fringe) + ", \"near_first\": "
               + (l.firstNear
                      ? "[" + QByteArray::number(l.firstNear->x()) + ", " + QByteArray::number(l.firstNear->y()) + "]"
                      : QByteArray("null"))
               + "}";
    }
    out += entries.empty() ? "]\n" : "\n]\n";
    return out;
}

} // namespace pellwerk
