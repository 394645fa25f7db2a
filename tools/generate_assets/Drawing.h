#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRect>
#include <QSize>

#include <functional>

// What every picture of the generator is drawn with: deterministic noise, three-tone materials,
// cloth, and transparent layers that end up as part files or whole skins. Every value comes from
// fixed numbers (hash noise with fixed seeds, no fonts), so one Qt version draws the same bytes on
// every machine.
namespace pellwerk::assets {

inline constexpr double kPi = 3.14159265358979323846;

double clamp01(double v);
double smoothstep(double edge0, double edge1, double x);
// An unnormalised Gaussian bump around (cx, cy): 1 at the centre, widths sx and sy in pixels.
double gauss(double x, double y, double cx, double cy, double sx, double sy);
// Light across a round limb seen from the front, 0 at the rims (u = 0 and 1) and 1 at the
// highlight; the highlight sits left of the middle because every picture is lit from the upper left.
double cylinder(double u, double highlight = 0.4);
// Noise in [0, 1): one value per integer point, smooth value noise between them, and three octaves of it.
double random01(int x, int y, quint32 seed);
double valueNoise(double x, double y, quint32 seed);
double fbm(double x, double y, quint32 seed);

QColor mixColour(const QColor &a, const QColor &b, double t);
QColor withAlpha(QColor c, int alpha);

// A material as three tones; shading picks a place between shadow (0) and highlight (1).
struct Ramp
{
    QColor dark;
    QColor mid;
    QColor light;

    QColor at(double t) const;
};

inline constexpr Ramp kSkinWarm{{148, 88, 66}, {226, 172, 134}, {252, 218, 188}};
inline constexpr Ramp kSkinDeep{{58, 32, 22}, {132, 84, 58}, {196, 142, 104}};
inline constexpr Ramp kSkinPale{{178, 118, 100}, {240, 200, 178}, {255, 236, 222}};
inline constexpr Ramp kSkinNeutral{{156, 104, 84}, {224, 180, 150}, {248, 222, 198}};
inline constexpr Ramp kGold{{112, 72, 14}, {214, 162, 46}, {255, 240, 160}};
inline constexpr Ramp kSilver{{70, 76, 86}, {170, 176, 186}, {246, 248, 252}};

// Plain cloth with a little grain; horizontal stripes; a flannel check of two thread colours
// over a base, darker where they cross; denim, a diagonal twill with slubs along the threads.
enum class Weave { Plain, Stripes, Check, Denim };

// A cloth as values: the fields a weave does not use stay at their defaults.
struct Fabric
{
    Weave weave = Weave::Plain;
    Ramp base{};
    quint32 seed = 0;
    double grain = 0.05; // plain cloth: how far single threads stray from the light
    Ramp second{};       // the stripe, or the band of the check
    Ramp third{};        // the thin line of the check
    double period = 0.0; // stripes: rows from one stripe to the next
    double width = 0.0;  // stripes: rows of one stripe
};

// The cloth's colour at pixel (x, y) for an amount of light from 0 to 1.
QColor fabricColour(const Fabric &fabric, double x, double y, double light);

// A transparent ARGB32 layer of the given size.
QImage newLayer(int width, int height);
// A colour field the size of the layer, sampled at pixel centres. Filling a path with it as a
// brush gives smooth antialiased outlines with per-pixel shading inside.
QImage field(QSize size, const std::function<QColor(double x, double y)> &f);
QImage fabricField(QSize size, const Fabric &fabric, const std::function<double(double x, double y)> &light);
void fillWith(QPainter &p, const QPainterPath &path, const QImage &colours);
void fillWith(QPainter &p, const QRectF &rect, const QImage &colours);
// Brightens (factor > 1) or darkens every drawn pixel of a rectangle, keeping its coverage.
void modulate(QImage &layer, const QRect &rect, const std::function<double(double x, double y)> &factor);
QPen stitchPen(const QColor &colour, double dash = 2.0, double gap = 1.5);
void beginPainter(QPainter &p);
// A transparent layer of `size` with `paint` drawn on it through an antialiasing painter.
QImage paintLayer(QSize size, const std::function<void(QPainter &p)> &paint);

// A part file (RGB32): wherever the layer is mostly covered the pixel is opaque, elsewhere it
// is black, the colour that pasting leaves out. Hard edges keep a dark fringe off the skin, and
// drawn pixels never come out exactly black, or they would be left out as well.
QImage flattenPart(const QImage &layer);
// A whole skin (RGB32): everything over black, edges blended.
QImage flattenOnBlack(const QImage &layer);

} // namespace pellwerk::assets
