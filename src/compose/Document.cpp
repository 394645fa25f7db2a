#include "Document.h"

#include "LayerCache.h"
#include "StepRender.h"
#include "core/SkinDocument.h"
#include "parts/PlacementTable.h"

#include <QSet>

#include <utility>

namespace pellwerk {

namespace {

qint64 stringBytes(const QString &text)
{
    return qint64(text.capacity()) * qint64(sizeof(QChar));
}

} // namespace

Document::Document() : m_composition{CompositionBase{}, {}}
{
    // Decoded once per run: every new document and every test program starts from it.
    static const QImage defaultCanvas = pellwerk::baseCanvas(SkinDocument::defaultSkin().image);
    m_baseCanvas = defaultCanvas;
}

Document::Document(CompositionBase base, const QImage &picture)
    : m_composition{std::move(base), {}}, m_baseCanvas(pellwerk::baseCanvas(picture))
{}

QImage Document::partOf(int index) const
{
    return isStep(index) ? m_parts.picture(steps()[size_t(index)].part) : QImage();
}

QImage Document::layerOf(int index) const
{
    return isStep(index) ? stepLayer(partOf(index), steps()[size_t(index)], rampOf(index)) : QImage();
}

void Document::append(PasteStep step, const QImage &part)
{
    m_parts.insert(step.part, part);
    m_composition.steps.push_back(std::move(step));
}

bool Document::move(int index, int to)
{
    if (!isStep(index) || !isStep(to))
        return false;
    std::vector<PasteStep> &s = m_composition.steps;
    PasteStep moved = std::move(s[size_t(index)]);
    s.erase(s.begin() + index);
    s.insert(s.begin() + to, std::move(moved));
    return true;
}

bool Document::remove(int index)
{
    if (!isStep(index))
        return false;
    m_composition.steps.erase(m_composition.steps.begin() + index);
    m_parts.keepOnly(m_composition.steps);
    keepNamedPalettes();
    return true;
}

bool Document::change(int index, const PasteStep &step)
{
    if (!isStep(index) || step.part != steps()[size_t(index)].part || step.kind != steps()[size_t(index)].kind)
        return false;
    if (const std::optional<QPoint> fixed = partKind(step.kind).place; fixed && step.place != *fixed)
        return false;
    if (!step.ramp.isNone()) {
        const auto from = m_palettes.constFind(step.ramp.from), to = m_palettes.constFind(step.ramp.to);
        if (from == m_palettes.cend() || to == m_palettes.cend() || from->colours.size() != to->colours.size())
            return false;
    }
    m_composition.steps[size_t(index)] = step;
    keepNamedPalettes();
    return true;
}

void Document::addPalette(const QString &path, const Palette &palette)
{
    m_palettes.insert(path, palette);
}

void Document::keepNamedPalettes()
{
    QSet<QString> named;
    for (const PasteStep &step : steps())
        named << step.ramp.from << step.ramp.to;
    m_palettes.removeIf([&](const auto &entry) { return !named.contains(entry.key()); });
}

RampMap Document::rampOf(const PasteStep &step) const
{
    if (step.ramp.isNone())
        return {};
    // Whoever stored the palettes checked that they fit; a pair that does not swaps nothing.
    Result<RampMap> map = RampMap::make(m_palettes.value(step.ramp.from), m_palettes.value(step.ramp.to));
    return map ? std::move(map).value() : RampMap();
}

RampMap Document::rampOf(int index) const
{
    return isStep(index) ? rampOf(steps()[size_t(index)]) : RampMap();
}

bool Document::swapPart(int index, const QString &path, const QImage &part)
{
    if (!isStep(index))
        return false;
    m_composition.steps[size_t(index)].part = path;
    m_parts.insert(path, part);
    m_parts.keepOnly(m_composition.steps);
    keepNamedPalettes();
    return true;
}

QImage Document::render(LayerCache *cache) const
{
    const std::vector<PasteStep> &all = steps();
    // Every part is in the store, so no layer can fail to be made.
    StepSource source;
    source.layerOf = [&](std::size_t i) -> Result<QImage> {
        const QImage part = m_parts.picture(all[i].part);
        if (!cache)
            return stepLayer(part, all[i], rampOf(all[i]));
        return cache->layer(part, all[i], m_palettes.value(all[i].ramp.from), m_palettes.value(all[i].ramp.to),
                            [&] { return rampOf(all[i]); });
    };
    const Result<QImage> skin = renderSkin(m_baseCanvas, all, source);
    return skin.value();
}

KeyColourLint Document::keyColourCheck(int index, int nearLimit) const
{
    if (!isStep(index))
        return {};
    const PasteStep &step = steps()[size_t(index)];
    return lintKeyColour(layerOf(index), step.transparent, {}, nearLimit);
}

void Document::forEachPicture(const std::function<void(const QImage &)> &visit) const
{
    visit(m_baseCanvas);
    for (const QImage &picture : m_parts.pictures())
        visit(picture);
}

qint64 Document::descriptionBytes() const
{
    // A map entry costs its node besides the key: a few pointers and the colour of the tree.
    constexpr qint64 MapNode = 64;
    qint64 bytes = qint64(sizeof(Document)) + stringBytes(base().file)
                   + qint64(m_composition.steps.capacity() * sizeof(PasteStep));
    for (const PasteStep &step : steps())
        bytes += stringBytes(step.part) + stringBytes(step.ramp.from) + stringBytes(step.ramp.to);
    for (auto it = m_parts.pictures().cbegin(); it != m_parts.pictures().cend(); ++it)
        bytes += MapNode + qint64(sizeof(QImage)) + stringBytes(it.key());
    for (auto it = m_palettes.cbegin(); it != m_palettes.cend(); ++it)
        bytes += MapNode + qint64(sizeof(Palette)) + stringBytes(it.key()) + stringBytes(it->name)
                 + qint64(it->colours.capacity() * sizeof(Colour));
    return bytes;
}

} // namespace pellwerk
