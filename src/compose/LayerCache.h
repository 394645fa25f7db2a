#pragma once

#include "PasteStep.h"
#include "colour/Palette.h"
#include "colour/RampMap.h"

#include <QImage>

#include <functional>
#include <map>
#include <tuple>
#include <vector>

namespace pellwerk {

// The layers (stepLayer) an editor made for its last renders, so that an edit makes again only
// the layer it changed: a tint change costs one tinted part, a move or a hidden step none.
// Layers are kept per part picture (by its image data) and per tint, mirror and ramp swap (by
// the colours of its two palettes, so that a palette read anew under the same path is not
// mistaken for the old one); sweep() forgets those not asked for since the sweep before, so the
// cache never holds more than two renders' worth of layers.
class LayerCache
{
public:
    // The layer of `step` over `part`; `from` and `to` are the palettes of its swap (empty
    // without one), and `ramp` makes their map when the layer has to be made.
    QImage layer(const QImage &part, const PasteStep &step, const Palette &from, const Palette &to,
                 const std::function<RampMap()> &ramp);
    void sweep();
    qsizetype size() const { return qsizetype(m_layers.size()); }

private:
    using Key = std::tuple<qint64, qint32, qint32, qint32, bool, std::vector<quint32>, std::vector<quint32>>;
    struct Slot
    {
        QImage layer;
        bool used = true;
    };
    std::map<Key, Slot> m_layers;
};

} // namespace pellwerk
