#pragma once

#include <QByteArray>

// The application icon, drawn from the project's SVG for the hicolor sizes.
namespace pellwerk::assets {

inline constexpr int kIconSizes[] = {48, 128, 256};

// PNG bytes of `svg` drawn over transparency at size x size pixels, the same bytes on every run
// (no time stamp, a fixed resolution); empty when the SVG cannot be read.
QByteArray renderIconPng(const QByteArray &svg, int size);

} // namespace pellwerk::assets
