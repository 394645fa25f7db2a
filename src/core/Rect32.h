#pragma once

#include <QtGlobal>

namespace pellwerk {

// Left, top, right, bottom in pixels, as the transfer takes them.
struct Rect32
{
    qint32 Left = 0;
    qint32 Top = 0;
    qint32 Right = 0;
    qint32 Bottom = 0;
    friend bool operator==(const Rect32 &, const Rect32 &) = default;
};

} // namespace pellwerk
