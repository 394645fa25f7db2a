#pragma once

#include "Palette.h"

#include <QImage>

#include <utility>
#include <vector>

namespace pellwerk {

// The colour-ramp swap of two palettes, built once per pair and applied to any number of parts:
// the i-th colour of `from` becomes the i-th colour of `to`; a colour listed twice in `from`
// counts at its first place; every other colour stays. All colours change at once (a colour that
// `from` turns into another is not turned again), and only the 24 colour bits count.
class RampMap
{
public:
    // The identity: changes nothing.
    RampMap() = default;

    // Refused with RampSizesDiffer (detail "5/4": the counts of from and to) unless both
    // palettes hold the same number of colours; the caller says which step and field it was.
    static Result<RampMap> make(const Palette &from, const Palette &to);

    // The part with its colours swapped, as an opaque RGB32 image of the same size (a part in
    // another format is converted first). The part itself is not changed.
    QImage apply(const QImage &part) const;

    bool isIdentity() const { return m_keys.empty(); }

private:
    // Cuckoo hashing: every colour of `from` sits at one of two slots its hash names, so a
    // pixel is looked up with two loads and two comparisons, without a loop or a branch the
    // processor could mispredict (a ramp's dithered pixels alternate between hits and misses at
    // random). The cost is the same for 4 colours as for 65,536, where searching the palette per
    // pixel would cost its length. At most a quarter of the slots are taken, well below the half
    // where two-slot cuckoo tables start to fail; a build that fails anyway doubles the table.
    std::pair<quint32, quint32> slotsOf(quint32 key) const;
    bool insert(quint32 key, QRgb value);

    std::vector<quint32> m_keys; // 24-bit colours as Qt's 0x00RRGGBB; EmptyKey where unused
    std::vector<QRgb> m_values;  // the colour each key becomes, opaque
    int m_bits = 0;              // the table has 2^m_bits slots
};

} // namespace pellwerk
