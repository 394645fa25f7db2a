#pragma once

#include "core/Result.h"

#include <QImage>
#include <QString>

#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace pellwerk {

// Pictures made once and then shared read-only, from any number of threads: decoded part and
// skin files keyed by their resolved path, and whatever else a caller derives from them under a
// key of its own. The first request for a key makes the picture (or the error); every request
// for that key, concurrent ones included, gets the same image data (QImage shares it) or the
// same error. Two different keys are made in parallel; a key being made is never made twice.
//
// The cache holds at most `budget` bytes of pixels (an error counts as a small picture): when a
// new picture would pass it, the pictures used longest ago are let go, never one still being
// made nor the newest. A picture let go is made again when it is asked for again; its earlier
// callers keep their copy for as long as they hold it.
class PictureCache
{
public:
    // Enough for the decoded parts and previews of hundreds of steps, far below the memory of
    // thousands of varied parts.
    static constexpr qint64 DefaultBudget = qint64(64) << 20;

    explicit PictureCache(qint64 budget = DefaultBudget) : m_budget(budget) {}

    // The picture of the bitmap file at `path`, as readBitmapFile reads it.
    Result<QImage> file(const QString &path);
    // The picture under `key`, made by `make` if it is not held.
    Result<QImage> get(const QString &key, const std::function<Result<QImage>()> &make);

    // The bytes of the pictures held now.
    qint64 heldBytes() const;

private:
    struct Slot
    {
        std::once_flag made;
        std::optional<Result<QImage>> result;
        qint64 bytes = -1; // counted once made; -1 while being made
        std::list<QString>::iterator use;
    };
    void chargeAndTrim(const QString &key, const std::shared_ptr<Slot> &slot);

    const qint64 m_budget;
    mutable std::mutex m_mutex;
    std::unordered_map<QString, std::shared_ptr<Slot>> m_slots;
    std::list<QString> m_uses; // the keys held, the most recently asked first
    qint64 m_held = 0;
};

} // namespace pellwerk
