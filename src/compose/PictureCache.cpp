#include "PictureCache.h"

#include "core/BitmapDecoder.h"

namespace pellwerk {

namespace {

// What an error or an empty picture costs to keep: its key and words, roughly.
constexpr qint64 SmallEntryBytes = 256;

} // namespace

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
        if (!entry) {
            entry = std::make_shared<Slot>();
            m_uses.push_front(key);
            entry->use = m_uses.begin();
        } else {
            m_uses.splice(m_uses.begin(), m_uses, entry->use);
        }
        slot = entry;
    }
    // Made outside the lock, so that other keys are not held up by a slow decode.
    bool madeHere = false;
    std::call_once(slot->made, [&] {
        slot->result = make();
        madeHere = true;
    });
    if (madeHere)
        chargeAndTrim(key, slot);
    return *slot->result;
}

void PictureCache::chargeAndTrim(const QString &key, const std::shared_ptr<Slot> &slot)
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_slots.find(key);
    if (found == m_slots.end() || found->second != slot)
        return;
    const Result<QImage> &result = *slot->result;
    slot->bytes = SmallEntryBytes + (result ? qint64(result.value().sizeInBytes()) : 0);
    m_held += slot->bytes;
    // From the least recently asked on; pictures still being made cost nothing yet and stay, so
    // that their concurrent callers share them.
    for (auto it = m_uses.end(); m_held > m_budget && it != m_uses.begin();) {
        --it;
        const auto victim = m_slots.find(*it);
        if (victim->second == slot || victim->second->bytes < 0)
            continue;
        m_held -= victim->second->bytes;
        m_slots.erase(victim);
        it = m_uses.erase(it);
    }
}

qint64 PictureCache::heldBytes() const
{
    const std::lock_guard lock(m_mutex);
    return m_held;
}

} // namespace pellwerk
