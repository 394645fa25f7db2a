#include "LayerCache.h"

#include "StepRender.h"

namespace pellwerk {

namespace {

std::vector<quint32> colourValues(const Palette &palette)
{
    std::vector<quint32> values;
    values.reserve(palette.colours.size());
    for (const Colour colour : palette.colours)
        values.push_back(colour.value());
    return values;
}

} // namespace

QImage LayerCache::layer(const QImage &part, const PasteStep &step, const Palette &from, const Palette &to,
                         const std::function<RampMap()> &ramp)
{
    Key key = std::make_tuple(part.cacheKey(), step.tint.red, step.tint.green, step.tint.blue, step.mirrored,
                              colourValues(from), colourValues(to));
    auto found = m_layers.find(key);
    if (found == m_layers.end())
        found = m_layers.emplace(std::move(key), Slot{stepLayer(part, step, ramp())}).first;
    found->second.used = true;
    return found->second.layer;
}

void LayerCache::sweep()
{
    for (auto it = m_layers.begin(); it != m_layers.end();) {
        if (!it->second.used) {
            it = m_layers.erase(it);
        } else {
            it->second.used = false;
            ++it;
        }
    }
}

} // namespace pellwerk
