#include "PixelArt.h"

#include "Drawing.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace pellwerk::assets {

namespace {

// The 4 x 4 ordered-dither thresholds, in sixteenths.
constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// The ramp's tone for light t (0 the darkest tone, 1 the lightest), dithered by the pixel's place.
QColor tone(const PixelRamp &ramp, double t, int x, int y)
{
    const double v = clamp01(t) * double(ramp.size() - 1);
    size_t i = size_t(v);
    if (v - double(i) > (kBayer[y & 3][x & 3] + 0.5) / 16.0)
        ++i;
    return ramp[std::min(i, ramp.size() - 1)];
}

bool inEllipse(double x, double y, double cx, double cy, double rx, double ry)
{
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

double distanceToSegment(double x, double y, double ax, double ay, double bx, double by)
{
    const double vx = bx - ax, vy = by - ay;
    const double t = clamp01(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy));
    return std::hypot(x - ax - t * vx, y - ay - t * vy);
}

// The regions of a picture, one per pixel, with a colour rule for each; a pixel whose region
// `outlines` a 4-neighbour's region takes the outline colour instead.
template <class Region, class RegionAt, class ColourOf, class Outline>
QImage paintRegions(QSize size, RegionAt regionAt, ColourOf colourOf, Outline outline)
{
    std::vector<Region> regions(size_t(size.width() * size.height()));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            regions[size_t(y * size.width() + x)] = regionAt(x + 0.5, y + 0.5);
    const auto at = [&](int x, int y) {
        x = std::clamp(x, 0, size.width() - 1);
        y = std::clamp(y, 0, size.height() - 1);
        return regions[size_t(y * size.width() + x)];
    };
    QImage layer(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const Region here = at(x, y);
            std::optional<QColor> edge;
            for (const Region next : {at(x - 1, y), at(x + 1, y), at(x, y - 1), at(x, y + 1)})
                if (!edge)
                    edge = outline(here, next);
            layer.setPixelColor(x, y, edge ? *edge : colourOf(here, x, y));
        }
    }
    return layer;
}

} // namespace

QImage drawTeamShirt(QSize size, const TeamShirtStyle &s)
{
    enum class Part { Neck, Collar, Cloth, Stripe, Number, Hem };
    const double w = size.width(), h = size.height(), cx = w / 2.0;
    const auto regionAt = [&](double x, double y) {
        if (inEllipse(x, y, cx, -3.0, 19.0, 16.0))
            return Part::Neck;
        if (inEllipse(x, y, cx, -3.0, 23.0, 20.0))
            return Part::Collar;
        if (y >= h - 8.0)
            return Part::Hem;
        // A seven: a bar and a slanted stem.
        if ((x >= cx - 10.0 && x < cx + 10.0 && y >= 50.0 && y < 56.0)
            || distanceToSegment(x, y, cx + 7.0, 53.0, cx - 3.0, 86.0) < 3.2)
            return Part::Number;
        if (std::abs(x - 12.0) < 3.0 || std::abs(x - (w - 12.0)) < 3.0)
            return Part::Stripe;
        return Part::Cloth;
    };
    const auto colourOf = [&](Part part, int x, int y) {
        const double px = x + 0.5, py = y + 0.5;
        // Round like a torso, lit from the upper left, with long folds from the shoulders.
        double body = 0.12 + 0.8 * cylinder(px / w, 0.42)
                      + 0.1 * std::sin(px * 0.16 + py * 0.05) * smoothstep(20, 60, py)
                      - 0.12 * smoothstep(h - 40, h, py);
        switch (part) {
        case Part::Neck:
            return tone(s.skin, 0.1 + 0.9 * cylinder((px - cx + 19.0) / 38.0) - 0.5 * smoothstep(2.0, 13.0, py), x, y);
        case Part::Collar:
            return tone(s.trim, 0.2 + 0.8 * cylinder((px - cx + 23.0) / 46.0), x, y);
        case Part::Stripe:
        case Part::Hem:
            return tone(s.trim, body + 0.15, x, y);
        case Part::Number:
            return tone(s.trim, body + 0.35, x, y);
        case Part::Cloth:
            break;
        }
        return tone(s.cloth, body, x, y);
    };
    const auto outline = [&](Part here, Part next) -> std::optional<QColor> {
        if (here == Part::Neck && next == Part::Collar)
            return s.skin.front(); // the collar's shadow on the neck
        if (here != next && here != Part::Neck && here != Part::Cloth && next != Part::Neck)
            return s.cloth.front();
        return std::nullopt;
    };
    return paintRegions<Part>(size, regionAt, colourOf, outline);
}

QImage drawPixelBeard(const PixelRamp &hair, quint32 seed)
{
    enum class Part { None, Hair };
    const QSize size(56, 40);
    // The mouth on the beard part: the face's mouth moved by the places of face and beard.
    const double cx = 28.0, my = 7.0;
    const auto regionAt = [&](double x, double y) {
        const double side = std::abs(x - cx);
        // From the cheeks at the top corners down to the mouth corners, a moustache over the lip.
        const double top = side > 11.0 ? std::max(0.0, (my - 4.0) * (1.0 - (side - 11.0) / 17.0)) : my - 5.0;
        const double bottom = 39.5 - 2.5 * random01(int(x), 0, seed); // strands at the chin
        const bool inside =
            y >= top && y < bottom && inEllipse(x, y, cx, 4.0, 28.0, 36.0) && !inEllipse(x, y, cx, my + 0.5, 10.5, 3.6);
        return inside ? Part::Hair : Part::None;
    };
    const auto colourOf = [&](Part part, int x, int y) {
        if (part == Part::None)
            return QColor(0, 0, 0, 0);
        const double px = x + 0.5, py = y + 0.5;
        const double strands = valueNoise(px * 1.3, py * 0.35, seed) * 0.6 + random01(x, y, seed + 1) * 0.4;
        return tone(hair, 0.1 + 0.6 * strands + 0.3 * cylinder(px / 56.0, 0.45) - 0.15 * smoothstep(20, 40, py), x, y);
    };
    const auto outline = [&](Part here, Part next) -> std::optional<QColor> {
        if (here == Part::Hair && next == Part::None)
            return hair.front();
        return std::nullopt;
    };
    return paintRegions<Part>(size, regionAt, colourOf, outline);
}

} // namespace pellwerk::assets
