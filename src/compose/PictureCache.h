#pragma once

#include "core/Result.h"

#include <QImage>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace pellwerk {

// Pictures made once and then shared read-only, from any number of threads: decoded part and
// skin files keyed by their resolved path, and whatever else a caller derives from them under a
// key of its own. The first request for a key makes the picture (or the error); every request
// for that key, concurrent ones included, gets the same image data (QImage shares it) or the
// same error. Two different keys are made in parallel; one key is never made twice.
class PictureCache
{
public:
    // The picture of the bitmap file at `path`, as readBitmapFile reads it.
    Result<QImage> file(const QString &path);
    // The picture under `key`, made by `make` if no request made it before.
    Result<QImage> get(const QString &key, const std::function<Result<QImage>()> &make);

private:
    struct Slot
    {
        std::once_flag made;
        std::optional<Result<QImage>> result;
    };
    std::mutex m_mutex;
    std::map<QString, std::shared_ptr<Slot>> m_slots;
};

} // namespace pellwerk
