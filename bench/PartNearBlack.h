#pragma once

#include <QImage>

// A part for the key-colour benchmarks, the same for every run with the same seed: a third of the
// pixels black (the key), a third a few units from it, a third anything.
inline QImage partNearBlack(int width, int height, quint32 seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 state = seed;
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state = state * 1664525u + 1013904223u;
            const quint32 pick = (state >> 30) % 3;
            row[x] = pick == 0   ? 0xFF000000u
                     : pick == 1 ? (0xFF000000u | ((state >> 8) & 0x070707u))
                                 : (state | 0xFF000000u);
        }
    }
    return image;
}
