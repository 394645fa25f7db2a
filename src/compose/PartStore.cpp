#include "PartStore.h"

#include "PasteStep.h"

#include <QSet>

namespace pellwerk {

void PartStore::keepOnly(const std::vector<PasteStep> &steps)
{
    QSet<QString> named;
    for (const PasteStep &step : steps)
        named.insert(step.part);
    m_pictures.removeIf([&](const auto &entry) { return !named.contains(entry.key()); });
}

} // namespace pellwerk
