#include "PictureCache.h"

#include "core/BitmapDecoder.h"

namespace pellwerk {

Result<QImage> PictureCache::file(const QString &path)
{
    // The prefix keeps file keys apart from the keys callers choose.
    return get(QStringLiteral("file:") + path, [&path] { return readBitmapFile(path); });
}

Result<QImage> PictureCache::get(const QString &key, const std::function<Result<QImage>()> &make)
{
    std::shared_ptr<Slot> slot;
    {
        const std::lock_guard lock(m_mutex);
        std::shared_ptr<Slot> &entry = m_slots[key];
        if (!entry)
            entry = std::make_shared<Slot>();
        slot = entry;
    }
    // Made outside the lock, so that other keys are not held up by a slow decode.
    std::call_once(slot->made, [&] { slot->result = make(); });
    return *slot->result;
}

} // namespace pellwerk
