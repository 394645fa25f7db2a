#include "LayerCache.h"

#include "StepRender.h"

namespace pellwerk {

QImage LayerCache::layer(const QImage &part, const PasteStep &step)
{
    const Key key = std::make_tuple(part.cacheKey(), step.tint.red, step.tint.green, step.tint.blue, step.mirrored,
                                    step.ramp.from, step.ramp.to);
    auto found = m_layers.find(key);
    if (found == m_layers.end())
        found = m_layers.emplace(key, Slot{stepLayer(part, step)}).first;
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
