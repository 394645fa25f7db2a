#pragma once

#include "PasteStep.h"

#include <QImage>

#include <map>
#include <tuple>

namespace pellwerk {

// The layers (stepLayer) an editor made for its last renders, so that an edit makes again only
// the layer it changed: a tint change costs one tinted part, a move or a hidden step none.
// Layers are kept per part picture (by its image data) and per tint, mirror and ramp; sweep()
// forgets those not asked for since the sweep before, so the cache never holds more than two
// renders' worth of layers.
class LayerCache
{
public:
    QImage layer(const QImage &part, const PasteStep &step);
    void sweep();
    qsizetype size() const { return qsizetype(m_layers.size()); }

private:
    using Key = std::tuple<qint64, qint32, qint32, qint32, bool, QString, QString>;
    struct Slot
    {
        QImage layer;
        bool used = true;
    };
    std::map<Key, Slot> m_layers;
};

} // namespace pellwerk
