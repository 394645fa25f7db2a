// Draws every picture that the program and its installation ship: the default skin, the
// template for "neu", the built-in preview picture and the sample parts of the image folder.
//
//   generate_assets <assets-dir>                          writes the pictures
//   generate_assets <assets-dir> --preview <png> [n]      also writes a three-times enlarged view
//                                                          of the default skin with the n-th sample
//                                                          of every part kind pasted on it
//
// Everything is computed from fixed numbers (hash noise with fixed seeds, no fonts), so the
// same Qt version writes byte-identical files on every machine.

#include "core/BitmapWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace pellwerk {
namespace {

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------------
// Numbers

double clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

double smoothstep(double edge0, double edge1, double x)
{
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

double gauss(double x, double y, double cx, double cy, double sx, double sy)
{
    const double dx = (x - cx) / sx;
    const double dy = (y - cy) / sy;
    return std::exp(-0.5 * (dx * dx + dy * dy));
}

// Light across a round limb seen from the front, 0 at the rims and 1 at the highlight; the
// highlight sits left of the middle because every picture is lit from the upper left.
double cylinder(double u, double highlight = 0.4)
{
    u = clamp01(u);
    const double d = u < highlight ? (highlight - u) / highlight : (u - highlight) / (1.0 - highlight);
    return std::pow(std::max(0.0, 1.0 - d * d), 0.6);
}

quint32 mixBits(quint32 h)
{
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

quint32 hashPoint(int x, int y, quint32 seed)
{
    return mixBits(mixBits(mixBits(seed ^ 0x9e3779b9u) ^ quint32(x)) ^ quint32(y) * 0x85ebca77u);
}

double random01(int x, int y, quint32 seed)
{
    return double(hashPoint(x, y, seed) & 0xFFFFFFu) / double(0x1000000);
}

double valueNoise(double x, double y, quint32 seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = int(fx);
    const int iy = int(fy);
    const double tx = smoothstep(0.0, 1.0, x - fx);
    const double ty = smoothstep(0.0, 1.0, y - fy);
    const double a = random01(ix, iy, seed);
    const double b = random01(ix + 1, iy, seed);
    const double c = random01(ix, iy + 1, seed);
    const double d = random01(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) * (1.0 - ty) + (c + (d - c) * tx) * ty;
}

double fbm(double x, double y, quint32 seed)
{
    return 0.55 * valueNoise(x, y, seed) + 0.3 * valueNoise(2.0 * x, 2.0 * y, seed + 1) +
           0.15 * valueNoise(4.0 * x, 4.0 * y, seed + 2);
}

// ---------------------------------------------------------------------------------------------
// Colours

QColor mixColour(const QColor &a, const QColor &b, double t)
{
    t = clamp01(t);
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * t)),
                  int(std::lround(a.green() + (b.green() - a.green()) * t)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * t)),
                  int(std::lround(a.alpha() + (b.alpha() - a.alpha()) * t)));
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// A material as three tones; shading picks a place between shadow (0) and highlight (1).
struct Ramp
{
    QColor dark;
    QColor mid;
    QColor light;

    QColor at(double t) const
    {
        t = clamp01(t);
        return t < 0.5 ? mixColour(dark, mid, t * 2.0) : mixColour(mid, light, t * 2.0 - 1.0);
    }
};

const Ramp kSkinWarm{{148, 88, 66}, {226, 172, 134}, {252, 218, 188}};
const Ramp kSkinDeep{{58, 32, 22}, {132, 84, 58}, {196, 142, 104}};
const Ramp kSkinPale{{178, 118, 100}, {240, 200, 178}, {255, 236, 222}};
const Ramp kSkinNeutral{{156, 104, 84}, {224, 180, 150}, {248, 222, 198}};
const Ramp kGold{{112, 72, 14}, {214, 162, 46}, {255, 240, 160}};
const Ramp kSilver{{70, 76, 86}, {170, 176, 186}, {246, 248, 252}};

// Fabric colour at a pixel for a given amount of light (0..1).
using Fabric = std::function<QColor(double x, double y, double light)>;

Fabric plainFabric(Ramp ramp, quint32 seed, double grain = 0.05)
{
    return [ramp, seed, grain](double x, double y, double light) {
        const double n = random01(int(x), int(y), seed) - 0.5;
        return ramp.at(light + grain * n);
    };
}

Fabric stripedFabric(Ramp base, Ramp stripe, double period, double width, quint32 seed)
{
    return [=](double x, double y, double light) {
        const double n = random01(int(x), int(y), seed) - 0.5;
        const double phase = std::fmod(y, period);
        const bool onStripe = phase < width;
        return (onStripe ? stripe : base).at(light + 0.04 * n);
    };
}

// A flannel check: two thread colours woven over a base, where the crossings darken.
Fabric plaidFabric(Ramp base, Ramp band, Ramp line, quint32 seed)
{
    return [=](double x, double y, double light) {
        const double n = random01(int(x), int(y), seed) - 0.5;
        const double px = std::fmod(x + 2.0, 24.0);
        const double py = std::fmod(y + 5.0, 24.0);
        const bool bandX = px < 9.0;
        const bool bandY = py < 9.0;
        const bool lineX = px >= 15.0 && px < 16.0;
        const bool lineY = py >= 15.0 && py < 16.0;
        const bool twill = (int(x) + int(y)) % 2 == 0;
        QColor c;
        if (lineX || lineY)
            c = line.at(light + 0.03 * n);
        else if (bandX && bandY)
            c = band.at(light - 0.16 + 0.05 * n);
        else if (bandX || bandY)
            c = twill ? band.at(light + 0.04 * n) : base.at(light - 0.08 + 0.04 * n);
        else
            c = base.at(light + 0.05 * n);
        return c;
    };
}

// Denim: a diagonal twill with slubs running along the threads.
Fabric denimFabric(Ramp ramp, quint32 seed)
{
    return [=](double x, double y, double light) {
        const int ix = int(x);
        const int iy = int(y);
        const double twill = ((ix + iy) % 4 < 2) ? 0.05 : -0.04;
        const double slub = 0.12 * (valueNoise(x * 0.9, y * 0.08, seed) - 0.5);
        const double n = 0.06 * (random01(ix, iy, seed + 7) - 0.5);
        return ramp.at(light + twill + slub + n);
    };
}

// ---------------------------------------------------------------------------------------------
// Layers: transparent pictures in a part's own coordinates, flattened at the end

QImage newLayer(int width, int height)
{
    QImage layer(width, height, QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    return layer;
}

// A colour field the size of the layer, sampled at pixel centres. Filling a path with it as a
// brush gives smooth antialiased outlines with per-pixel shading inside.
QImage field(QSize size, const std::function<QColor(double x, double y)> &f)
{
    QImage img(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = f(x + 0.5, y + 0.5).rgba();
    }
    return img;
}

QImage fabricField(QSize size, const Fabric &fabric, const std::function<double(double x, double y)> &light)
{
    return field(size, [&](double x, double y) { return fabric(x, y, light(x, y)); });
}

void fillWith(QPainter &p, const QPainterPath &path, const QImage &colours)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(colours));
    p.drawPath(path);
    p.restore();
}

void fillWith(QPainter &p, const QRectF &rect, const QImage &colours)
{
    QPainterPath path;
    path.addRect(rect);
    fillWith(p, path, colours);
}

// Brightens (factor > 1) or darkens every drawn pixel of a rectangle, keeping its coverage.
void modulate(QImage &layer, const QRect &rect, const std::function<double(double x, double y)> &factor)
{
    const QRect r = rect.intersected(layer.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(layer.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb px = line[x];
            if (qAlpha(px) == 0)
                continue;
            const double f = factor(x + 0.5, y + 0.5);
            auto ch = [f](int v) { return std::clamp(int(std::lround(v * f)), 0, 255); };
            line[x] = qRgba(ch(qRed(px)), ch(qGreen(px)), ch(qBlue(px)), qAlpha(px));
        }
    }
}

QPen stitchPen(const QColor &colour, double dash = 2.0, double gap = 1.5)
{
    QPen pen(colour, 1.0, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern({dash, gap});
    return pen;
}

void beginPainter(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

// A part file: wherever the layer is mostly covered the pixel is opaque, elsewhere it is black,
// the colour that pasting leaves out. Hard edges keep a dark fringe off the skin, and drawn
// pixels never come out exactly black, or they would be left out as well.
QImage flattenPart(const QImage &layer)
{
    QImage out(layer.size(), QImage::Format_RGB32);
    for (int y = 0; y < layer.height(); ++y) {
        const auto *src = reinterpret_cast<const QRgb *>(layer.constScanLine(y));
        auto *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            const QRgb px = src[x];
            if (qAlpha(px) < 128) {
                dst[x] = qRgb(0, 0, 0);
                continue;
            }
            int r = qRed(px);
            int g = qGreen(px);
            int b = qBlue(px);
            if (r + g + b < 9) {
                r = std::max(r, 4);
                g = std::max(g, 3);
                b = std::max(b, 3);
            }
            dst[x] = qRgb(r, g, b);
        }
    }
    return out;
}

// A whole skin: everything over black, edges blended.
QImage flattenOnBlack(const QImage &layer)
{
    QImage out(layer.size(), QImage::Format_RGB32);
    out.fill(qRgb(0, 0, 0));
    QPainter p(&out);
    p.drawImage(0, 0, layer);
    p.end();
    return out;
}

// ---------------------------------------------------------------------------------------------
// Skin regions and part places (the placement table of the parts window)

constexpr QRect kFootArea{0, 0, 56, 85};
constexpr QSize kShoeSize{56, 72};
constexpr QRect kRightArmArea{56, 0, 39, 85};
constexpr QRect kLeftArmArea{95, 0, 33, 85};
constexpr QRect kHeadArea{128, 0, 128, 128};
constexpr QRect kPantsArea{0, 85, 87, 171};
constexpr QRect kShirtArea{87, 128, 129, 128};
constexpr QRect kChestArea{216, 128, 40, 128};
constexpr QPoint kChainPlace{216, 139};
constexpr QPoint kGlassesPlace{184, 32};
constexpr QPoint kBeardPlace{188, 71};

// Features of the front of the head, in head coordinates; glasses and beards are drawn to meet them.
constexpr double kFaceCentreX = 88.0;
constexpr double kEyeY = 42.0;
constexpr double kEyeLeftX = 72.0;
constexpr double kEyeRightX = 104.0;
constexpr double kMouthY = 78.0;

// ---------------------------------------------------------------------------------------------
// Shoes: a shoe seen from above, heel at the top and toe at the bottom

struct ShoeStyle
{
    Ramp upper;
    Ramp sole;
    Ramp trim; // tongue, heel tab and toe cap
    QColor lace;
    QColor stitch;
    QColor lining;
    bool stripes = false;
    bool boot = false;
    quint32 seed = 1;
};

QPainterPath shoeOutline(const QRectF &r)
{
    // Narrow heel, wide ball of the foot, round toe.
    const double cx = r.center().x();
    const double heelInset = r.width() * 0.12;
    QPainterPath path;
    path.moveTo(cx, r.top());
    path.cubicTo(r.right() - heelInset + 2, r.top(), r.right() - heelInset, r.top() + 6, r.right() - heelInset * 0.5,
                 r.top() + r.height() * 0.3);
    path.cubicTo(r.right(), r.top() + r.height() * 0.45, r.right(), r.top() + r.height() * 0.6, r.right(),
                 r.bottom() - r.width() * 0.42);
    path.cubicTo(r.right(), r.bottom() - 2, r.right() - 8, r.bottom(), cx, r.bottom());
    path.cubicTo(r.left() + 8, r.bottom(), r.left(), r.bottom() - 2, r.left(), r.bottom() - r.width() * 0.42);
    path.cubicTo(r.left(), r.top() + r.height() * 0.6, r.left(), r.top() + r.height() * 0.45,
                 r.left() + heelInset * 0.5, r.top() + r.height() * 0.3);
    path.cubicTo(r.left() + heelInset, r.top() + 6, r.left() + heelInset - 2, r.top(), cx, r.top());
    path.closeSubpath();
    return path;
}

QImage drawShoe(QSize size, const ShoeStyle &s)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const double w = size.width();
    const double h = size.height();
    const double cx = w / 2.0;

    // Rubber sole rim.
    const QRectF soleRect(0.5, 0.5, w - 1.0, h - 1.0);
    fillWith(p, shoeOutline(soleRect), field(size, [&](double x, double y) {
                 const double t = 0.45 + 0.35 * cylinder(x / w, 0.35) + 0.06 * (random01(int(x), int(y), s.seed) - 0.5);
                 return s.sole.at(t - 0.15 * smoothstep(h * 0.85, h, y));
             }));

    // Leather or canvas upper, darker where it bends down towards the sole.
    const QRectF upperRect = soleRect.adjusted(3.0, 3.0, -3.0, -3.5);
    const QPainterPath upper = shoeOutline(upperRect);
    fillWith(p, upper, field(size, [&](double x, double y) {
                 const double across = cylinder((x - upperRect.left()) / upperRect.width(), 0.38);
                 const double along = 1.0 - 0.35 * std::pow(std::abs((y - h * 0.55) / (h * 0.5)), 3.0);
                 const double grain = 0.08 * (fbm(x * 0.6, y * 0.6, s.seed + 3) - 0.5);
                 return s.upper.at(0.12 + 0.78 * across * along + grain);
             }));

    // Side panels: the stripes of a trainer, or a brogue line on a boot.
    if (s.stripes) {
        p.save();
        p.setClipPath(upper);
        for (int side = 0; side < 2; ++side) {
            for (int i = 0; i < 3; ++i) {
                QPainterPath band;
                const double x0 = side == 0 ? 3.0 + i * 4.0 : w - 3.0 - i * 4.0;
                const double dir = side == 0 ? 1.0 : -1.0;
                band.moveTo(x0, h * 0.30);
                band.lineTo(x0 + dir * 2.6, h * 0.30);
                band.lineTo(x0 + dir * 9.0, h * 0.74);
                band.lineTo(x0 + dir * 6.4, h * 0.74);
                band.closeSubpath();
                fillWith(p, band, field(size, [&](double x, double y) {
                             return s.trim.at(0.3 + 0.6 * cylinder(x / w, 0.38) - 0.1 * (y / h));
                         }));
            }
        }
        p.restore();
    }

    // Toe cap with a stitched seam.
    QPainterPath capShape;
    const double capTop = h * 0.70;
    capShape.moveTo(0, capTop + 6);
    capShape.quadTo(cx, capTop - 6, w, capTop + 6);
    capShape.lineTo(w, h);
    capShape.lineTo(0, h);
    capShape.closeSubpath();
    const QPainterPath cap = upper.intersected(capShape);
    fillWith(p, cap, field(size, [&](double x, double y) {
                 const double across = cylinder(x / w, 0.38);
                 const double shine = 0.25 * gauss(x, y, cx - 6, h * 0.83, 5, 3);
                 return s.trim.at(0.15 + 0.65 * across + shine - 0.25 * smoothstep(h * 0.86, h, y));
             }));
    QPainterPath capSeam;
    capSeam.moveTo(upperRect.left() + 1, capTop + 8.5);
    capSeam.quadTo(cx, capTop - 2.5, upperRect.right() - 1, capTop + 8.5);
    p.setPen(QPen(withAlpha(s.upper.dark, 200), 1.0));
    QPainterPath capEdge;
    capEdge.moveTo(upperRect.left(), capTop + 6);
    capEdge.quadTo(cx, capTop - 6, upperRect.right(), capTop + 6);
    p.drawPath(capEdge);
    p.setPen(stitchPen(s.stitch));
    p.drawPath(capSeam);
    if (s.boot) {
        // Brogue punching along the cap.
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(s.trim.dark, 220));
        for (int i = 1; i < 12; ++i) {
            const double t = i / 12.0;
            const double x = upperRect.left() + t * upperRect.width();
            const double y = capTop + 6.0 - 24.0 * t * (1.0 - t) + 2.6;
            p.drawEllipse(QPointF(x, y), 0.7, 0.7);
        }
    }

    // Stitching around the upper's edge.
    p.setPen(stitchPen(withAlpha(s.stitch, 170)));
    p.setBrush(Qt::NoBrush);
    p.save();
    p.setClipPath(upper.subtracted(cap));
    p.drawPath(shoeOutline(upperRect.adjusted(2.0, 2.0, -2.0, -2.0)));
    p.restore();

    // Foot opening with its padded collar.
    const QPointF openingCentre(cx, s.boot ? 11.0 : 12.0);
    const double openRx = s.boot ? 12.0 : 14.0;
    const double openRy = s.boot ? 7.5 : 9.0;
    QRadialGradient inside(openingCentre + QPointF(0, 3), openRx);
    inside.setColorAt(0.0, s.lining.darker(160));
    inside.setColorAt(1.0, s.lining);
    p.setPen(Qt::NoPen);
    p.setBrush(inside);
    p.drawEllipse(openingCentre, openRx, openRy);
    QPen collar(s.trim.at(0.65), 3.0);
    p.setPen(collar);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(openingCentre.x() - openRx, openingCentre.y() - openRy, 2 * openRx, 2 * openRy), 10 * 16,
              160 * 16);
    p.setPen(QPen(s.trim.at(0.35), 3.0));
    p.drawArc(QRectF(openingCentre.x() - openRx, openingCentre.y() - openRy, 2 * openRx, 2 * openRy), 190 * 16,
              160 * 16);

    // Tongue.
    const QRectF tongue(cx - 9.0, openingCentre.y() + 1.0, 18.0, h * 0.62 - openingCentre.y());
    QPainterPath tonguePath;
    tonguePath.addRoundedRect(tongue, 5, 5);
    fillWith(p, tonguePath, field(size, [&](double x, double y) {
                 const double across = cylinder((x - tongue.left()) / tongue.width(), 0.4);
                 return s.trim.at(0.25 + 0.6 * across - 0.2 * smoothstep(tongue.bottom() - 6, tongue.bottom(), y));
             }));
    p.setPen(QPen(withAlpha(s.upper.dark, 160), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tonguePath);

    // Eyelets and criss-cross laces.
    const int rows = s.boot ? 6 : 5;
    const double laceTop = openingCentre.y() + 7.0;
    const double laceStep = (tongue.bottom() - 4.0 - laceTop) / (rows - 1);
    const double leftX = cx - 11.5;
    const double rightX = cx + 11.5;
    auto eyeletY = [&](int i) { return laceTop + i * laceStep; };
    for (int i = 0; i + 1 < rows; ++i) {
        for (int pass = 0; pass < 2; ++pass) {
            p.setPen(pass == 0 ? QPen(s.lace.darker(190), 3.2, Qt::SolidLine, Qt::RoundCap)
                               : QPen(s.lace, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(leftX, eyeletY(i + 1)), QPointF(rightX, eyeletY(i)));
            p.drawLine(QPointF(leftX, eyeletY(i)), QPointF(rightX, eyeletY(i + 1)));
        }
    }
    p.setPen(QPen(s.lace.darker(190), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(leftX, laceTop), QPointF(rightX, laceTop));
    p.setPen(QPen(s.lace, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(leftX, laceTop), QPointF(rightX, laceTop));
    for (int i = 0; i < rows; ++i) {
        for (const double x : {leftX, rightX}) {
            p.setPen(QPen(kSilver.dark, 0.8));
            p.setBrush(kSilver.at(0.7));
            p.drawEllipse(QPointF(x, eyeletY(i)), 1.6, 1.6);
        }
    }
    // The bow.
    p.setBrush(Qt::NoBrush);
    for (const double dir : {-1.0, 1.0}) {
        QPainterPath loop;
        loop.moveTo(cx, laceTop);
        loop.cubicTo(cx + dir * 9, laceTop - 7, cx + dir * 11, laceTop + 1, cx, laceTop);
        p.setPen(QPen(s.lace.darker(190), 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(loop);
        p.setPen(QPen(s.lace, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(loop);
        QPainterPath end;
        end.moveTo(cx, laceTop);
        end.quadTo(cx + dir * 3, laceTop + 6, cx + dir * 6, laceTop + 12);
        p.setPen(QPen(s.lace.darker(190), 3.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(end);
        p.setPen(QPen(s.lace, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(end);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(s.lace.darker(130));
    p.drawEllipse(QPointF(cx, laceTop), 1.8, 1.6);

    // Heel tab.
    const QRectF tab(cx - 5.0, 0.5, 10.0, 4.0);
    QPainterPath tabPath;
    tabPath.addRoundedRect(tab, 1.5, 1.5);
    fillWith(p, tabPath, field(size, [&](double x, double) {
                 return s.trim.at(0.3 + 0.5 * cylinder((x - tab.left()) / tab.width()));
             }));
    p.end();
    return layer;
}

// Ribbed socks between the shoes and the trousers.
QImage drawSocks(QSize size, Ramp ramp, std::optional<Ramp> band, quint32 seed)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    fillWith(p, QRectF(0, 0, size.width(), size.height()), field(size, [&](double x, double y) {
                 const double rib = (int(x) % 3 == 0) ? -0.1 : 0.04;
                 const double light =
                     0.2 + 0.65 * cylinder(x / size.width(), 0.4) + rib + 0.05 * (random01(int(x), int(y), seed) - 0.5);
                 const bool onBand = band && y >= 3.0 && y < 6.0;
                 return (onBand ? *band : ramp).at(light);
             }));
    p.end();
    return layer;
}

// Bare feet of the template: toes at the bottom, soft shading, pale nails.
QImage drawBareFoot(QSize size, const Ramp &skin)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const double w = size.width();
    const double h = size.height();
    fillWith(p, QRectF(0, 0, w, h), field(size, [&](double x, double y) {
                 const double light = 0.2 + 0.65 * cylinder(x / w, 0.4);
                 const double arch = -0.08 * gauss(x, y, w * 0.3, h * 0.45, 6, 14);
                 const double heel = 0.08 * gauss(x, y, w * 0.5, 8, 12, 6);
                 return skin.at(light + arch + heel);
             }));
    // Toes: five rounded bumps, big toe left.
    const double toeTop = h - 16.0;
    const double widths[5] = {13, 10, 9, 8, 7};
    double x = 4.0;
    for (int i = 0; i < 5; ++i) {
        const QRectF toe(x, toeTop + i * 1.2, widths[i], h - toeTop - 1.5 - i * 1.2);
        p.setPen(QPen(skin.at(0.15), 1.0));
        p.setBrush(skin.at(0.6));
        p.drawRoundedRect(toe, widths[i] / 2.2, widths[i] / 2.2);
        p.setPen(Qt::NoPen);
        p.setBrush(mixColour(skin.light, QColor(255, 210, 210), 0.4));
        p.drawRoundedRect(QRectF(toe.left() + toe.width() * 0.22, toe.bottom() - toe.width() * 0.62, toe.width() * 0.56,
                                 toe.width() * 0.5),
                          2, 2);
        x += widths[i] + 1.0;
    }
    p.end();
    return layer;
}

// ---------------------------------------------------------------------------------------------
// Arms: sleeve at the top, hand at the bottom

enum class Wrist { Bare, Watch, Bracelet };

struct ArmStyle
{
    Ramp skin = kSkinWarm;
    std::optional<Fabric> sleeve;
    Ramp hemShade{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    int sleeveEnd = 22; // first row of bare skin
    bool cuff = false;  // a buttoned shirt cuff at the end of a long sleeve
    QColor stitch{250, 250, 250};
    Wrist wrist = Wrist::Bare;
    bool mirrored = false;
    quint32 seed = 11;
};

QImage drawArm(QSize size, const ArmStyle &s)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const double w = size.width();
    const double h = size.height();
    const double handTop = h - 19.0;
    auto across = [&](double x) { return cylinder(s.mirrored ? 1.0 - x / w : x / w, 0.42); };

    fillWith(p, QRectF(0, 0, w, h), field(size, [&](double x, double y) {
                 double t = 0.14 + 0.74 * across(x);
                 t += 0.05 * gauss(x, y, w * 0.45, s.sleeveEnd + 10.0, w * 0.3, 8);       // upper arm muscle
                 t -= 0.07 * gauss(x, y, w * (s.mirrored ? 0.65 : 0.35), 42, w * 0.2, 3); // elbow crease
                 t -= 0.06 * gauss(x, y, w * 0.5, handTop - 2.0, w, 3);                   // wrist
                 if (y > handTop)
                     t += 0.04;
                 if (s.sleeve && y >= s.sleeveEnd)
                     t -= 0.3 * std::exp(-(y - s.sleeveEnd) / 2.5); // shadow under the sleeve
                 t += 0.04 * (fbm(x * 0.3, y * 0.3, s.seed) - 0.5);
                 return s.skin.at(t);
             }));

    // Hand: a thumb on the inner side, four fingers with knuckles and nails.
    const double thumbW = std::round(w * 0.22);
    const double fingersLeft = s.mirrored ? thumbW : 0.0;
    const double fingersRight = s.mirrored ? w : w - thumbW;
    const double fingerW = (fingersRight - fingersLeft) / 4.0;
    const double fingerTop = handTop + 8.0;
    const QColor nail = mixColour(s.skin.at(0.85), QColor(255, 214, 214), 0.45);
    {
        const QRectF thumb(s.mirrored ? 0.5 : w - thumbW - 0.5, handTop + 2.0, thumbW, h - handTop - 5.0);
        QPainterPath thumbPath;
        thumbPath.addRoundedRect(thumb, thumbW / 2.2, thumbW / 2.2);
        fillWith(p, thumbPath, field(size, [&](double x, double y) {
                     return s.skin.at(0.25 + 0.5 * cylinder((x - thumb.left()) / thumb.width()) -
                                      0.1 * smoothstep(handTop, h, y));
                 }));
        p.setPen(QPen(withAlpha(s.skin.at(0.05), 170), 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawPath(thumbPath);
        p.setPen(QPen(withAlpha(s.skin.at(0.2), 200), 0.8));
        p.setBrush(nail);
        p.drawRoundedRect(QRectF(thumb.center().x() - thumbW * 0.28, thumb.bottom() - 5.0, thumbW * 0.56, 4.0), 1.6,
                          1.6);
    }
    for (int i = 1; i < 4; ++i) {
        const double fx = fingersLeft + fingerW * i;
        QLinearGradient g(fx, fingerTop, fx, h);
        g.setColorAt(0.0, withAlpha(s.skin.at(0.1), 0));
        g.setColorAt(0.3, withAlpha(s.skin.at(0.1), 200));
        g.setColorAt(1.0, withAlpha(s.skin.at(0.0), 230));
        p.setPen(QPen(QBrush(g), 1.1));
        p.drawLine(QPointF(fx, fingerTop), QPointF(fx, h));
    }
    for (int i = 0; i < 4; ++i) {
        const double fx = fingersLeft + fingerW * (i + 0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(s.skin.at(0.95), 110));
        p.drawEllipse(QPointF(fx - 0.5, handTop + 5.0), fingerW * 0.3, 1.2);
        p.setPen(QPen(withAlpha(s.skin.at(0.25), 120), 0.7));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(fx - 2.0, fingerTop + 2.0, 4.0, 2.0), 200 * 16, 140 * 16);
        p.setPen(QPen(withAlpha(s.skin.at(0.2), 200), 0.8));
        p.setBrush(nail);
        const double nailW = std::max(2.5, fingerW - 3.0);
        p.drawRoundedRect(QRectF(fx - nailW / 2.0, h - 5.0, nailW, 4.0), 1.5, 1.5);
    }

    // Sleeve with folds and a stitched hem.
    if (s.sleeve) {
        const double end = s.sleeveEnd;
        fillWith(p, QRectF(0, 0, w, end), field(size, [&](double x, double y) {
                     double light = 0.12 + 0.78 * across(x);
                     light += 0.1 * std::sin((x * 0.45 + y * 0.22) + 1.3) * gauss(x, y, w * 0.5, end * 0.6, w, end);
                     light -= 0.14 * smoothstep(end - 4.0, end, y);
                     light += 0.08 * smoothstep(3.0, 0.0, y);
                     return (*s.sleeve)(x, y, light);
                 }));
        p.setPen(QPen(withAlpha(QColor(20, 16, 16), 110), 1.0));
        p.drawLine(QPointF(0, end - 0.5), QPointF(w, end - 0.5));
        p.setPen(stitchPen(withAlpha(s.stitch, 150)));
        p.drawLine(QPointF(0, end - 3.5), QPointF(w, end - 3.5));
        if (s.cuff) {
            const double cuffTop = end - 7.0;
            p.setPen(QPen(withAlpha(QColor(20, 16, 16), 120), 1.0));
            p.drawLine(QPointF(0, cuffTop + 0.5), QPointF(w, cuffTop + 0.5));
            p.setPen(stitchPen(withAlpha(s.stitch, 150)));
            p.drawLine(QPointF(0, cuffTop + 2.5), QPointF(w, cuffTop + 2.5));
            p.setPen(QPen(QColor(120, 110, 100), 0.8));
            p.setBrush(QColor(236, 230, 216));
            const double bx = s.mirrored ? w * 0.25 : w * 0.75;
            p.drawEllipse(QPointF(bx, cuffTop + 3.8), 1.7, 1.7);
        }
    }

    // Something around the wrist.
    const double wristY = handTop - 4.0;
    if (s.wrist == Wrist::Watch) {
        const Ramp strap{{40, 24, 16}, {104, 66, 40}, {170, 120, 80}};
        fillWith(p, QRectF(0, wristY - 2.5, w, 5.0), field(size, [&](double x, double y) {
                     return strap.at(0.2 + 0.6 * across(x) - 0.15 * std::abs(y - wristY) / 2.5);
                 }));
        p.setPen(stitchPen(withAlpha(QColor(230, 210, 170), 170), 1.5, 1.5));
        p.drawLine(QPointF(0, wristY - 1.5), QPointF(w, wristY - 1.5));
        p.drawLine(QPointF(0, wristY + 1.5), QPointF(w, wristY + 1.5));
        const QPointF face(w * 0.5, wristY);
        QRadialGradient bezel(face - QPointF(1.5, 1.5), 6.0);
        bezel.setColorAt(0.0, kSilver.light);
        bezel.setColorAt(1.0, kSilver.dark);
        p.setPen(QPen(QColor(40, 42, 48), 0.8));
        p.setBrush(bezel);
        p.drawEllipse(face, 5.2, 5.2);
        p.setBrush(QColor(246, 240, 224));
        p.setPen(Qt::NoPen);
        p.drawEllipse(face, 3.6, 3.6);
        p.setPen(QPen(QColor(30, 30, 40), 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(face, face + QPointF(0, -2.8));
        p.drawLine(face, face + QPointF(2.0, 0.8));
        p.setPen(QPen(QColor(200, 40, 40), 0.6));
        p.drawLine(face, face + QPointF(-1.8, 1.8));
    } else if (s.wrist == Wrist::Bracelet) {
        const QColor beads[3] = {QColor(120, 74, 40), QColor(52, 160, 156), QColor(196, 140, 64)};
        int i = 0;
        for (double x = 1.5; x < w; x += 3.6, ++i) {
            const QColor c = beads[i % 3];
            QRadialGradient g(QPointF(x - 0.6, wristY - 0.8), 2.2);
            g.setColorAt(0.0, c.lighter(160));
            g.setColorAt(1.0, c.darker(150));
            p.setPen(QPen(c.darker(220), 0.6));
            p.setBrush(g);
            p.drawEllipse(QPointF(x, wristY), 1.8, 1.8);
        }
    }
    p.end();
    return layer;
}

// Tattoo ink for the left arm's place: a small dragon winding down the forearm.
QImage drawDragonTattoo(QSize size)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const QColor outline(12, 38, 34);
    const QColor ink(30, 104, 86);
    const QColor scale(92, 168, 130);
    const QColor spike(172, 40, 36);

    QPainterPath body;
    body.moveTo(20, 32);
    body.cubicTo(5, 36, 5, 44, 16, 47);
    body.cubicTo(29, 50, 29, 57, 16, 59);
    body.cubicTo(5, 61, 7, 67, 21, 67);

    auto radius = [](double t) { return 3.6 * (1.0 - t) + 0.7; };
    const int samples = 90;
    // Back spikes first, so the body covers their roots.
    p.setPen(Qt::NoPen);
    for (int i = 4; i < samples - 6; i += 6) {
        const double t = double(i) / samples;
        const QPointF at = body.pointAtPercent(t);
        const double angle = body.angleAtPercent(t) * kPi / 180.0;
        const QPointF normal(-std::sin(angle), -std::cos(angle));
        const QPointF tangent(std::cos(angle), -std::sin(angle));
        const double r = radius(t);
        QPolygonF tri;
        tri << at + normal * (r * 0.6) - tangent * 1.6 << at + normal * (r + 2.8) + tangent * 0.6
            << at + normal * (r * 0.6) + tangent * 1.6;
        p.setBrush(outline);
        p.drawPolygon(tri);
        QPolygonF inner;
        inner << at + normal * (r * 0.7) - tangent * 0.9 << at + normal * (r + 1.6) + tangent * 0.4
              << at + normal * (r * 0.7) + tangent * 0.9;
        p.setBrush(spike);
        p.drawPolygon(inner);
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i <= samples; ++i) {
            const double t = double(i) / samples;
            const double r = radius(t) + (pass == 0 ? 1.0 : 0.0);
            p.setBrush(pass == 0 ? outline : ink);
            p.drawEllipse(body.pointAtPercent(t), r, r);
        }
    }
    // Belly scales.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(scale, 0.8));
    for (int i = 3; i < samples - 8; i += 4) {
        const double t = double(i) / samples;
        const QPointF at = body.pointAtPercent(t);
        const double r = radius(t) * 0.55;
        p.drawArc(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r), 200 * 16, 140 * 16);
    }
    // Tail tip.
    QPolygonF tail;
    tail << QPointF(20, 65) << QPointF(27, 63) << QPointF(25, 67) << QPointF(28, 71) << QPointF(20, 69);
    p.setPen(QPen(outline, 1.0));
    p.setBrush(spike);
    p.drawPolygon(tail);
    // Legs with claws.
    p.setPen(QPen(outline, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 42), QPointF(4, 46));
    p.drawLine(QPointF(24, 54), QPointF(29, 57));
    p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 42), QPointF(4.5, 45.5));
    p.drawLine(QPointF(24, 54), QPointF(28.5, 56.5));
    // Head with horns, an open jaw and a bright eye.
    p.setPen(QPen(outline, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 26), QPointF(13, 19));
    p.drawLine(QPointF(21, 25), QPointF(19, 17));
    QPolygonF head;
    head << QPointF(15.5, 31) << QPointF(17, 25.5) << QPointF(23, 23.5) << QPointF(29.5, 25) << QPointF(30.5, 27.5)
         << QPointF(25.5, 28.3) << QPointF(30, 30.5) << QPointF(23.5, 32.5);
    p.setPen(QPen(outline, 1.2));
    p.setBrush(ink);
    p.drawPolygon(head);
    p.setPen(QPen(spike, 0.9));
    QPainterPath whisker;
    whisker.moveTo(29, 25);
    whisker.quadTo(32, 23, 31, 19);
    p.drawPath(whisker);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 196, 48));
    p.drawEllipse(QPointF(23.2, 26.2), 1.2, 1.0);
    p.setBrush(spike);
    p.drawEllipse(QPointF(23.4, 26.2), 0.5, 0.5);
    p.end();
    return layer;
}

// ---------------------------------------------------------------------------------------------
// Head: back and sides of the head on the left, the face on the right

enum class HairStyle { None, Short, Curly, Long };

struct HeadStyle
{
    Ramp skin = kSkinWarm;
    Ramp hair{{36, 20, 12}, {104, 62, 32}, {184, 130, 74}};
    HairStyle hairStyle = HairStyle::Short;
    QColor iris{70, 120, 170};
    QColor lips{196, 104, 98};
    bool freckles = false;
    bool guidesOnly = false; // the template: features hinted in skin tones only
    quint32 seed = 21;
};

// A smooth profile through key points (x ascending): S-shaped steps between neighbours.
double profile(const std::vector<QPointF> &keys, double x)
{
    if (x <= keys.front().x())
        return keys.front().y();
    for (std::size_t i = 1; i < keys.size(); ++i) {
        if (x <= keys[i].x())
            return keys[i - 1].y() + (keys[i].y() - keys[i - 1].y()) * smoothstep(keys[i - 1].x(), keys[i].x(), x);
    }
    return keys.back().y();
}

// Rounded locks hanging below a hairline: 0 between locks, up to `depth` at a lock's tip, each
// lock a little longer or shorter than its neighbours.
double locks(double x, double period, double depth, quint32 seed)
{
    const double cell = std::floor(x / period);
    const double frac = x / period - cell;
    const double length = 0.6 + 0.4 * random01(int(cell), 0, seed);
    return depth * length * std::pow(std::sin(kPi * frac), 1.6);
}

// Lowest row of hair in each column of the head picture, or -1 where there is none.
double hairBottom(const HeadStyle &s, double x)
{
    switch (s.hairStyle) {
    case HairStyle::None:
        return -1.0;
    case HairStyle::Short: {
        static const std::vector<QPointF> keys{{0, 80},  {28, 82}, {36, 34},  {46, 33},  {49, 47},
                                               {54, 47}, {59, 20}, {118, 20}, {123, 44}, {128, 44}};
        const double fringe = smoothstep(56, 62, x) * (1.0 - smoothstep(116, 121, x));
        const double back = 1.0 - smoothstep(26, 32, x);
        return profile(keys, x) + fringe * locks(x - 58.0, 7.5, 7.0, s.seed) +
               back * locks(x + 3.0, 6.0, 6.0, s.seed + 1);
    }
    case HairStyle::Curly: {
        static const std::vector<QPointF> keys{{0, 86},  {28, 88}, {36, 35},  {46, 34},  {49, 44},
                                               {54, 44}, {59, 18}, {118, 18}, {123, 42}, {128, 42}};
        const double fringe = smoothstep(56, 62, x) * (1.0 - smoothstep(116, 121, x));
        return profile(keys, x) + fringe * locks(x - 57.0, 5.0, 4.0, s.seed) +
               locks(x, 4.0, 2.0, s.seed + 1) * (1.0 - fringe);
    }
    case HairStyle::Long: {
        // A side parting: the fringe sweeps down towards the right and the hair frames the face.
        static const std::vector<QPointF> keys{{0, 112}, {28, 114}, {36, 36},  {46, 34},  {50, 90},
                                               {56, 84}, {60, 16},  {116, 26}, {121, 84}, {128, 92}};
        const double fringe = smoothstep(58, 64, x) * (1.0 - smoothstep(114, 119, x));
        return profile(keys, x) + fringe * locks(x - 60.0, 9.0, 4.0, s.seed) +
               (x < 30 ? locks(x, 7.0, 5.0, s.seed + 1) : 0.0);
    }
    }
    return -1.0;
}

QColor hairColour(const HeadStyle &s, double x, double y)
{
    const double bottom = hairBottom(s, x);
    double t;
    if (s.hairStyle == HairStyle::Curly) {
        // Tight curls: a ball of light around the nearest point of a jittered grid.
        const double cell = 4.5;
        const int ci = int(std::floor(x / cell));
        const int cj = int(std::floor(y / cell));
        double nearest = 1e9;
        double tone = 0.0;
        for (int j = cj - 1; j <= cj + 1; ++j) {
            for (int i = ci - 1; i <= ci + 1; ++i) {
                const double px = (i + 0.2 + 0.6 * random01(i, j, s.seed)) * cell;
                const double py = (j + 0.2 + 0.6 * random01(i, j, s.seed + 1)) * cell;
                const double d = std::hypot(x - px, y - py);
                if (d < nearest) {
                    nearest = d;
                    tone = random01(i, j, s.seed + 2);
                }
            }
        }
        const double ball = 1.0 - smoothstep(0.0, cell * 0.75, nearest);
        t = 0.12 + 0.5 * ball + 0.15 * (tone - 0.5) + 0.1 * (valueNoise(x * 0.2, y * 0.2, s.seed + 3) - 0.5);
        t += 0.12 * gauss(x, y, 80, 8, 40, 5);
    } else {
        const double strands =
            valueNoise(x * 0.9, y * 0.07, s.seed) * 0.6 + valueNoise(x * 2.1, y * 0.15, s.seed + 1) * 0.4;
        t = 0.2 + 0.5 * strands;
        t += 0.25 * gauss(x, y, 80, 9, 40, 4); // sheen across the crown
    }
    t -= 0.25 * smoothstep(bottom - 6.0, bottom, y); // ends tuck into shadow
    return s.hair.at(t);
}

double faceLight(const HeadStyle &s, double x, double y)
{
    // Everything that is not the face itself (side and back of the head, neck) shares one
    // gentle gradient, so no seam shows where the regions meet.
    const double around = 0.34 + 0.24 * cylinder((x + 20.0) / 150.0, 0.45) - 0.06 * smoothstep(96.0, 127.0, y);

    const double ex = (x - 84.0) / 46.0;
    const double ey = (y - 50.0) / 55.0;
    double face = 0.8 - 0.4 * ex * ex - 0.18 * ey * ey;
    face -= 0.09 * gauss(x, y, kEyeLeftX, kEyeY - 2, 7, 4); // eye sockets
    face -= 0.09 * gauss(x, y, kEyeRightX, kEyeY - 2, 7, 4);
    face += 0.06 * gauss(x, y, kFaceCentreX - 1, 50, 2.5, 9); // bridge of the nose
    face -= 0.08 * gauss(x, y, kFaceCentreX + 4, 54, 2, 7);   // its shaded side
    face += 0.05 * gauss(x, y, 64, 58, 7, 6);                 // cheekbones
    face += 0.04 * gauss(x, y, 110, 58, 7, 6);
    face -= 0.06 * gauss(x, y, kFaceCentreX, 84, 6, 2);     // under the lower lip
    face += 0.06 * gauss(x, y, kFaceCentreX - 2, 94, 8, 4); // chin

    // An egg shape: the jaw narrows towards the chin.
    const double halfWidth = 41.0 - 7.0 * smoothstep(62.0, 102.0, y);
    const double inFace = std::sqrt(std::pow((x - kFaceCentreX) / halfWidth, 2) + std::pow((y - 54.0) / 48.0, 2));
    // Above the cheeks the face runs into the temples; below them the jaw line is crisp.
    const double edge = y < 60.0 ? 0.12 : 0.025;
    const double faceWeight = 1.0 - smoothstep(1.0 - edge, 1.0 + edge, inFace);
    double t = around + (face - around) * faceWeight;
    // The jaw throws a shadow onto the neck.
    if (inFace > 1.0)
        t -= 0.2 * std::exp(-(inFace - 1.0) * 45.0 / 5.0) * smoothstep(58.0, 74.0, y);
    // Hair throws a soft shadow along its edge.
    const double bottom = hairBottom(s, x);
    if (bottom > 0.0 && y > bottom)
        t -= 0.18 * std::exp(-(y - bottom) / 3.0);
    t += 0.03 * (fbm(x * 0.4, y * 0.4, s.seed + 5) - 0.5);
    return t;
}

void drawEye(QPainter &p, const HeadStyle &s, double cx, double lookX)
{
    const double cy = kEyeY;
    QPainterPath almond;
    almond.moveTo(cx - 6.5, cy + 0.5);
    almond.cubicTo(cx - 3.5, cy - 3.8, cx + 3.0, cy - 3.8, cx + 6.5, cy - 0.2);
    almond.cubicTo(cx + 3.0, cy + 3.2, cx - 3.5, cy + 3.4, cx - 6.5, cy + 0.5);
    if (s.guidesOnly) {
        p.setPen(QPen(s.skin.at(0.18), 1.0));
        p.setBrush(s.skin.at(0.7));
        p.drawPath(almond);
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(244, 240, 234));
    p.drawPath(almond);
    p.save();
    p.setClipPath(almond);
    const QPointF irisCentre(cx + lookX, cy - 0.2);
    QRadialGradient iris(irisCentre + QPointF(0, 1.0), 3.4);
    iris.setColorAt(0.0, s.iris.lighter(150));
    iris.setColorAt(0.75, s.iris);
    iris.setColorAt(1.0, s.iris.darker(190));
    p.setBrush(iris);
    p.drawEllipse(irisCentre, 3.3, 3.3);
    p.setBrush(QColor(10, 8, 8));
    p.drawEllipse(irisCentre, 1.4, 1.4);
    // The upper lid shades the top of the eyeball.
    QLinearGradient lidShade(0, cy - 4, 0, cy);
    lidShade.setColorAt(0.0, QColor(60, 30, 20, 120));
    lidShade.setColorAt(1.0, QColor(60, 30, 20, 0));
    p.setBrush(lidShade);
    p.drawRect(QRectF(cx - 7, cy - 4, 14, 4));
    p.restore();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(irisCentre + QPointF(-1.1, -1.1), 0.8, 0.8);
    // Lids and lashes.
    QPainterPath upperLid;
    upperLid.moveTo(cx - 6.8, cy + 0.6);
    upperLid.cubicTo(cx - 3.5, cy - 3.9, cx + 3.0, cy - 3.9, cx + 6.8, cy - 0.3);
    p.setPen(QPen(QColor(52, 28, 22), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(upperLid);
    const double outer = cx < kFaceCentreX ? -1.0 : 1.0;
    const double cornerX = outer < 0 ? cx - 6.8 : cx + 6.8;
    const double cornerY = outer < 0 ? cy + 0.6 : cy - 0.3;
    p.drawLine(QPointF(cornerX, cornerY), QPointF(cornerX + outer * 1.6, cornerY - 1.4));
    QPainterPath crease;
    crease.moveTo(cx - 5.5, cy - 3.2);
    crease.quadTo(cx, cy - 6.8, cx + 5.5, cy - 3.6);
    p.setPen(QPen(withAlpha(s.skin.at(0.1), 110), 0.8));
    p.drawPath(crease);
    QPainterPath lowerLid;
    lowerLid.moveTo(cx - 5.0, cy + 2.4);
    lowerLid.quadTo(cx, cy + 4.2, cx + 5.0, cy + 2.0);
    p.setPen(QPen(withAlpha(s.skin.at(0.15), 90), 0.7));
    p.drawPath(lowerLid);
}

void drawFaceFeatures(QPainter &p, const HeadStyle &s)
{
    const double cx = kFaceCentreX;
    // Eyebrows.
    const QColor browColour = s.guidesOnly ? s.skin.at(0.3) : s.hair.at(0.15);
    p.setBrush(Qt::NoBrush);
    for (const double side : {-1.0, 1.0}) {
        const double ex = side < 0 ? kEyeLeftX : kEyeRightX;
        QPainterPath brow;
        brow.moveTo(ex - side * 7.5, kEyeY - 6.0);
        brow.quadTo(ex - side * 1.0, kEyeY - 11.0, ex + side * 8.0, kEyeY - 8.0);
        p.setPen(QPen(browColour, s.guidesOnly ? 1.2 : 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(brow);
    }
    drawEye(p, s, kEyeLeftX, 0.8);
    drawEye(p, s, kEyeRightX, 0.4);

    // Nose: a shaded side, a bright tip and two nostrils.
    QPainterPath noseSide;
    noseSide.moveTo(cx + 2.0, kEyeY + 2.0);
    noseSide.cubicTo(cx + 4.0, 52, cx + 6.0, 58, cx + 5.5, 61);
    p.setPen(QPen(withAlpha(s.skin.at(0.1), 90), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(noseSide);
    QRadialGradient tip(QPointF(cx - 0.5, 59.5), 4.0);
    tip.setColorAt(0.0, withAlpha(s.skin.light, 170));
    tip.setColorAt(1.0, withAlpha(s.skin.light, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(tip);
    p.drawEllipse(QPointF(cx - 0.5, 59.5), 4.0, 4.0);
    QPainterPath noseBottom;
    noseBottom.moveTo(cx - 6.0, 61.5);
    noseBottom.cubicTo(cx - 5.0, 64.5, cx - 2.0, 63.0, cx, 64.0);
    noseBottom.cubicTo(cx + 2.0, 63.0, cx + 5.0, 64.5, cx + 6.0, 61.5);
    p.setPen(QPen(withAlpha(s.skin.at(0.05), 140), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(noseBottom);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(s.skin.at(0.0), 200));
    p.drawEllipse(QPointF(cx - 3.2, 62.6), 1.5, 0.9);
    p.drawEllipse(QPointF(cx + 3.2, 62.6), 1.5, 0.9);

    // Blush on the cheeks.
    if (!s.guidesOnly) {
        for (const double bx : {64.0, 112.0}) {
            QRadialGradient blush(QPointF(bx, 64), 9.0);
            blush.setColorAt(0.0, QColor(232, 110, 100, s.skin.mid.lightness() < 120 ? 40 : 70));
            blush.setColorAt(1.0, QColor(232, 110, 100, 0));
            p.setBrush(blush);
            p.drawEllipse(QPointF(bx, 64), 9.0, 7.0);
        }
    }
    if (s.freckles) {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(mixColour(s.skin.at(0.1), QColor(170, 86, 40), 0.45), 190));
        for (int i = 0; i < 40; ++i) {
            const double fx = cx + (random01(i, 1, s.seed + 9) - 0.5) * 44.0;
            const double fy = 54.0 + random01(i, 2, s.seed + 9) * 12.0 - 4.0 * std::abs(fx - cx) / 22.0;
            p.drawEllipse(QPointF(fx, fy), 0.75, 0.75);
        }
    }

    // A friendly closed smile with upturned corners.
    const double my = kMouthY;
    const QColor lip = s.guidesOnly ? mixColour(s.skin.at(0.45), QColor(200, 120, 110), 0.25) : s.lips;
    QPainterPath upperLip;
    upperLip.moveTo(cx - 9.5, my - 1.5);
    upperLip.cubicTo(cx - 6.0, my - 2.0, cx - 3.5, my - 4.2, cx - 1.2, my - 3.2);
    upperLip.quadTo(cx, my - 2.6, cx + 1.2, my - 3.2);
    upperLip.cubicTo(cx + 3.5, my - 4.2, cx + 6.0, my - 2.0, cx + 9.5, my - 1.5);
    upperLip.quadTo(cx, my + 1.5, cx - 9.5, my - 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(lip.darker(112));
    p.drawPath(upperLip);
    QPainterPath lowerLip;
    lowerLip.moveTo(cx - 8.5, my - 1.2);
    lowerLip.quadTo(cx, my + 1.6, cx + 8.5, my - 1.2);
    lowerLip.cubicTo(cx + 6.0, my + 4.2, cx - 6.0, my + 4.2, cx - 8.5, my - 1.2);
    QLinearGradient lowerShade(0, my - 1, 0, my + 4);
    lowerShade.setColorAt(0.0, lip);
    lowerShade.setColorAt(0.5, lip.lighter(112));
    lowerShade.setColorAt(1.0, lip.darker(115));
    p.setBrush(lowerShade);
    p.drawPath(lowerLip);
    if (!s.guidesOnly) {
        p.setBrush(withAlpha(QColor(255, 240, 236), 110));
        p.drawEllipse(QPointF(cx - 1.5, my + 1.8), 2.4, 0.7);
    }
    QPainterPath line;
    line.moveTo(cx - 10.0, my - 2.4);
    line.quadTo(cx, my + 1.3, cx + 10.0, my - 2.4);
    p.setPen(QPen(s.guidesOnly ? s.skin.at(0.15) : lip.darker(190), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    // Dimples at the corners.
    p.setPen(QPen(withAlpha(s.skin.at(0.1), 60), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(cx - 13.5, my - 5.5, 4.0, 5.0), 150 * 16, 90 * 16);
    p.drawArc(QRectF(cx + 9.5, my - 5.5, 4.0, 5.0), 300 * 16, 90 * 16);
}

void drawEar(QPainter &p, const HeadStyle &s)
{
    const QPointF centre(41.5, 49.0);
    QPainterPath ear;
    ear.addEllipse(centre, 6.0, 11.0);
    fillWith(p, ear, field({128, 128}, [&](double x, double y) {
                 return s.skin.at(0.4 + 0.35 * cylinder((x - 35.5) / 12.0) - 0.1 * smoothstep(52, 60, y));
             }));
    p.setPen(QPen(withAlpha(s.skin.at(0.05), 150), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ear);
    p.setPen(QPen(withAlpha(s.skin.at(0.05), 170), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath helix;
    helix.moveTo(43.5, 56.5);
    helix.cubicTo(38.0, 55.0, 37.5, 44.0, 40.5, 41.5);
    helix.cubicTo(43.0, 39.5, 45.0, 43.0, 43.5, 46.0);
    p.drawPath(helix);
    p.setPen(QPen(withAlpha(s.skin.at(0.0), 150), 0.8));
    p.drawArc(QRectF(39.0, 46.0, 4.0, 5.0), 60 * 16, 200 * 16);
}

QImage drawHead(const HeadStyle &s)
{
    const QSize size(128, 128);
    QImage layer = newLayer(128, 128);
    QPainter p(&layer);
    beginPainter(p);

    fillWith(p, QRectF(0, 0, 128, 128), field(size, [&](double x, double y) { return s.skin.at(faceLight(s, x, y)); }));
    if (s.guidesOnly) {
        // The template hints at the hairline with a slightly darker scalp.
        modulate(layer, QRect(0, 0, 128, 40),
                 [&](double x, double y) { return 1.0 - 0.06 * smoothstep(30.0, 6.0, y) * smoothstep(20.0, 60.0, x); });
    }
    drawFaceFeatures(p, s);

    if (s.hairStyle != HairStyle::None) {
        QPainterPath hair;
        hair.moveTo(0, 0);
        for (double x = 0.0; x <= 128.0; x += 0.5)
            hair.lineTo(x, hairBottom(s, std::min(x, 127.9)));
        hair.lineTo(128, 0);
        hair.closeSubpath();
        fillWith(p, hair, field(size, [&](double x, double y) { return hairColour(s, x, y); }));
    }
    drawEar(p, s);
    if (s.hairStyle == HairStyle::Long) {
        // Long hair falls over the top of the ear.
        QPainterPath lock;
        lock.moveTo(33, 30);
        lock.cubicTo(40, 36, 46, 36, 49, 34);
        lock.lineTo(49, 30);
        lock.lineTo(33, 30);
        fillWith(p, lock, field(size, [&](double x, double y) { return hairColour(s, x, y); }));
    }
    p.end();
    return layer;
}

// Glasses for the eye place: thin round frames, clear lenses with a glint (the eyes show through).
QImage drawRoundGlasses()
{
    QImage layer = newLayer(64, 22);
    QPainter p(&layer);
    beginPainter(p);
    const QPointF left(kEyeLeftX - kGlassesPlace.x() + kHeadArea.x(), kEyeY - kGlassesPlace.y());
    const QPointF right(kEyeRightX - kGlassesPlace.x() + kHeadArea.x(), kEyeY - kGlassesPlace.y());
    const Ramp tortoise{{54, 28, 14}, {120, 66, 30}, {196, 140, 70}};
    auto frameField = field({64, 22}, [&](double x, double y) {
        const double n = fbm(x * 0.5, y * 0.5, 77);
        return tortoise.at(0.2 + 0.7 * n - 0.15 * (y / 22.0));
    });
    QPainterPath frames;
    for (const QPointF &c : {left, right}) {
        frames.addEllipse(c, 9.8, 9.3);
        frames.addEllipse(c, 7.9, 7.4);
    }
    frames.setFillRule(Qt::OddEvenFill);
    fillWith(p, frames, frameField);
    // Bridge and the arms towards the ears.
    QPainterPathStroker stroker;
    stroker.setWidth(1.8);
    stroker.setCapStyle(Qt::FlatCap);
    QPainterPath bridge;
    bridge.moveTo(left.x() + 9.3, left.y() - 1.5);
    bridge.quadTo((left.x() + right.x()) / 2.0, left.y() - 5.0, right.x() - 9.3, right.y() - 1.5);
    QPainterPath arms;
    arms.moveTo(left.x() - 9.6, left.y() - 2.0);
    arms.lineTo(0.0, left.y() - 3.0);
    arms.moveTo(right.x() + 9.6, right.y() - 2.0);
    arms.lineTo(64.0, right.y() - 3.0);
    fillWith(p, stroker.createStroke(bridge), frameField);
    fillWith(p, stroker.createStroke(arms), frameField);
    // Glints on the lenses.
    p.setPen(QPen(QColor(236, 246, 255), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF &c : {left, right}) {
        p.drawLine(c + QPointF(-5.0, -1.0), c + QPointF(-1.2, -4.8));
        p.drawLine(c + QPointF(-4.6, 2.2), c + QPointF(-3.4, 1.0));
    }
    p.end();
    return layer;
}

// Dark aviator sunglasses.
QImage drawSunglasses()
{
    QImage layer = newLayer(64, 24);
    QPainter p(&layer);
    beginPainter(p);
    const double leftX = kEyeLeftX - kGlassesPlace.x() + kHeadArea.x();
    const double rightX = kEyeRightX - kGlassesPlace.x() + kHeadArea.x();
    const double cy = kEyeY - kGlassesPlace.y();
    for (const double c : {leftX, rightX}) {
        const double outward = c < 32.0 ? -1.0 : 1.0;
        QPainterPath lens;
        lens.moveTo(c - 10.0, cy - 5.0);
        lens.cubicTo(c - 4.0, cy - 7.5, c + 4.0, cy - 7.5, c + 10.0, cy - 5.0);
        lens.cubicTo(c + 10.5 + outward * 0.5, cy + 4.0, c + 4.0 + outward * 2.0, cy + 9.5, c + outward * 1.5,
                     cy + 9.0);
        lens.cubicTo(c - 4.0 + outward * 2.0, cy + 9.5, c - 10.5 + outward * 0.5, cy + 4.0, c - 10.0, cy - 5.0);
        lens.closeSubpath();
        QLinearGradient tint(0, cy - 6, 0, cy + 9);
        tint.setColorAt(0.0, QColor(18, 22, 30));
        tint.setColorAt(0.6, QColor(40, 52, 66));
        tint.setColorAt(1.0, QColor(86, 104, 120));
        p.setPen(QPen(kGold.at(0.55), 1.3));
        p.setBrush(tint);
        p.drawPath(lens);
        p.setPen(QPen(QColor(200, 220, 236, 200), 1.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c - 6.0, cy - 2.0), QPointF(c - 2.0, cy - 5.0));
    }
    p.setPen(QPen(kGold.at(0.55), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(leftX + 10.0, cy - 4.5), QPointF(rightX - 10.0, cy - 4.5));
    p.drawLine(QPointF(leftX + 9.0, cy - 6.8), QPointF(rightX - 9.0, cy - 6.8));
    p.drawLine(QPointF(0, cy - 5.5), QPointF(leftX - 10.0, cy - 5.0));
    p.drawLine(QPointF(rightX + 10.0, cy - 5.0), QPointF(64, cy - 5.5));
    p.end();
    return layer;
}

// Beards for the mouth place: the mouth itself stays open so the lips show.
QImage drawBeard(const Ramp &hair, bool full, quint32 seed)
{
    const QSize size(56, 40);
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const double cx = kFaceCentreX - (kBeardPlace.x() - kHeadArea.x()); // 28
    const double my = kMouthY - kBeardPlace.y();                        // 7
    QPainterPath shape;
    if (full) {
        shape.moveTo(0, 0);
        shape.cubicTo(6, 3, 12, 4, cx - 11.0, my - 4.0);
        shape.cubicTo(cx - 5.0, my - 7.5, cx + 5.0, my - 7.5, cx + 11.0, my - 4.0);
        shape.cubicTo(44, 4, 50, 3, 56, 0);
        shape.lineTo(56, 12);
        shape.cubicTo(54, 30, 40, 39.5, cx, 39.5);
        shape.cubicTo(16, 39.5, 2, 30, 0, 12);
        shape.closeSubpath();
    } else {
        // Moustache and a pointed goatee.
        shape.moveTo(cx - 12.0, my + 1.0);
        shape.cubicTo(cx - 8.0, my - 6.0, cx + 8.0, my - 6.0, cx + 12.0, my + 1.0);
        shape.cubicTo(cx + 8.0, my - 2.0, cx - 8.0, my - 2.0, cx - 12.0, my + 1.0);
        shape.moveTo(cx - 7.0, my + 5.0);
        shape.cubicTo(cx - 3.0, my + 7.0, cx + 3.0, my + 7.0, cx + 7.0, my + 5.0);
        shape.cubicTo(cx + 8.0, my + 16.0, cx + 3.0, my + 26.0, cx, my + 30.0);
        shape.cubicTo(cx - 3.0, my + 26.0, cx - 8.0, my + 16.0, cx - 7.0, my + 5.0);
        shape.closeSubpath();
    }
    QPainterPath mouth;
    mouth.addEllipse(QPointF(cx, my + 0.5), 10.5, 3.6);
    const QPainterPath beard = full ? shape.subtracted(mouth) : shape;
    fillWith(p, beard, field(size, [&](double x, double y) {
                 const double strands =
                     valueNoise(x * 1.3, y * 0.35, seed) * 0.6 + random01(int(x), int(y), seed + 1) * 0.4;
                 const double light =
                     0.25 + 0.45 * strands + 0.18 * cylinder(x / 56.0, 0.45) - 0.12 * smoothstep(20, 40, y);
                 return hair.at(light);
             }));
    // Short hairs breaking up the outline so it does not look cut out.
    p.setPen(QPen(hair.at(0.35), 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 70; ++i) {
        const double t = i / 70.0;
        const QPointF at = shape.pointAtPercent(t);
        if (!full && at.y() < my + 2.0)
            continue;
        const double dx = (random01(i, 3, seed) - 0.5) * 2.0;
        p.drawLine(at, at + QPointF(dx, 1.6));
    }
    p.end();
    return layer;
}

// ---------------------------------------------------------------------------------------------
// Trousers: waistband at the top, two legs side by side, hems at the bottom

enum class TrouserCut { Jeans, Cargo, Joggers, Shorts };

struct TrouserStyle
{
    TrouserCut cut = TrouserCut::Jeans;
    Fabric fabric;
    QColor stitch;
    Ramp skin = kSkinNeutral; // legs below shorts
    quint32 seed = 31;
};

QImage drawTrousers(QSize size, const TrouserStyle &s)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const double w = size.width();
    const double h = size.height();
    const double mid = w / 2.0;
    const double legW = mid;
    const double waist = s.cut == TrouserCut::Joggers ? 9.0 : 10.0;
    const double shortsEnd = 46.0;

    auto legLight = [&](double x, double y) {
        const double u = x < mid ? x / legW : (x - mid) / legW;
        double light = 0.12 + 0.76 * cylinder(u, 0.42);
        light += 0.06 * gauss(x, y, x < mid ? legW * 0.42 : mid + legW * 0.42, 40, 6, 20); // thighs
        return light;
    };

    if (s.cut == TrouserCut::Shorts) {
        // The template: bare legs below plain boxer shorts.
        fillWith(p, QRectF(0, shortsEnd, w, h - shortsEnd), field(size, [&](double x, double y) {
                     double t = legLight(x, y) + 0.03;
                     t -= 0.05 * gauss(x, y, x < mid ? legW * 0.5 : mid + legW * 0.5, 96, 8, 5); // knees
                     t -= 0.25 * std::exp(-(y - shortsEnd) / 2.5);
                     return s.skin.at(t);
                 }));
        p.setPen(QPen(withAlpha(s.skin.at(0.05), 120), 1.0));
        p.drawLine(QPointF(mid, shortsEnd), QPointF(mid, h));
    }

    // Fabric, with creases at the hip and knees and the fades of worn denim.
    const double fabricEnd = s.cut == TrouserCut::Shorts ? shortsEnd : h;
    fillWith(p, QRectF(0, 0, w, fabricEnd), fabricField(size, s.fabric, [&](double x, double y) {
                 double light = legLight(x, y);
                 const double knee = x < mid ? legW * 0.45 : mid + legW * 0.45;
                 if (s.cut == TrouserCut::Jeans) {
                     light += 0.14 * gauss(x, y, knee, 92, 7, 12);
                     light += 0.08 * gauss(x, y, knee, 38, 8, 14);
                 }
                 light += 0.07 * std::sin(y * 0.35 + x * 0.1) * gauss(x, y, knee, 112, legW, 8); // bunching
                 light -= 0.08 * smoothstep(h - 30, h, y);
                 light -= 0.12 * gauss(x, y, mid, 40, 3, 8); // crotch
                 return light;
             }));

    // Leg split and seams.
    p.setPen(QPen(withAlpha(QColor(14, 12, 16), 150), 1.0));
    p.drawLine(QPointF(mid, 38), QPointF(mid, fabricEnd));
    p.setPen(stitchPen(withAlpha(s.stitch, 190)));
    if (s.cut != TrouserCut::Shorts) {
        for (const double x : {2.5, w - 2.5})
            p.drawLine(QPointF(x, waist + 2), QPointF(x, h - 10));
        for (const double x : {mid - 2.5, mid + 2.5})
            p.drawLine(QPointF(x, 40), QPointF(x, h - 10));
    }

    // Waistband.
    fillWith(p, QRectF(0, 0, w, waist), fabricField(size, s.fabric, [&](double x, double y) {
                 const double rib = s.cut == TrouserCut::Joggers || s.cut == TrouserCut::Shorts
                                        ? ((int(x) % 2 == 0) ? -0.08 : 0.04)
                                        : 0.0;
                 return 0.2 + 0.5 * cylinder(x / w, 0.42) + rib - 0.1 * (y / waist);
             }));
    p.setPen(QPen(withAlpha(QColor(14, 12, 16), 160), 1.0));
    p.drawLine(QPointF(0, waist + 0.5), QPointF(w, waist + 0.5));
    if (s.cut == TrouserCut::Jeans || s.cut == TrouserCut::Cargo) {
        p.setPen(stitchPen(withAlpha(s.stitch, 220)));
        p.drawLine(QPointF(0, 1.5), QPointF(w, 1.5));
        p.drawLine(QPointF(0, waist - 1.5), QPointF(w, waist - 1.5));
    }

    if (s.cut == TrouserCut::Jeans || s.cut == TrouserCut::Cargo) {
        // Fly with its J-stitch, and curved front pockets.
        p.setPen(QPen(withAlpha(QColor(14, 12, 16), 140), 1.0));
        p.drawLine(QPointF(mid, waist), QPointF(mid, 38));
        QPainterPath fly;
        fly.moveTo(mid + 6.5, waist + 1);
        fly.lineTo(mid + 6.5, 28);
        fly.quadTo(mid + 6.5, 35, mid, 37);
        p.setPen(stitchPen(withAlpha(s.stitch, 230)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(fly);
        for (const double side : {-1.0, 1.0}) {
            const double edge = side < 0 ? 0.0 : w;
            QPainterPath pocket;
            pocket.moveTo(edge - side * 22.0, waist);
            pocket.cubicTo(edge - side * 19.0, waist + 12.0, edge - side * 10.0, waist + 16.0, edge, waist + 17.0);
            p.setPen(QPen(withAlpha(QColor(10, 10, 14), 170), 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawPath(pocket);
            p.setPen(stitchPen(withAlpha(s.stitch, 220)));
            p.drawPath(pocket.translated(side * 1.8, 1.8));
            // Rivet at the pocket corner.
            QRadialGradient rivet(QPointF(edge - side * 21.0, waist + 1.5), 1.8);
            rivet.setColorAt(0.0, QColor(250, 214, 150));
            rivet.setColorAt(1.0, QColor(130, 80, 30));
            p.setPen(Qt::NoPen);
            p.setBrush(rivet);
            p.drawEllipse(QPointF(edge - side * 21.0, waist + 1.5), 1.4, 1.4);
        }
        // Belt loops.
        for (const double x : {7.0, 29.0, w - 29.0, w - 7.0}) {
            const QRectF loop(x - 2.0, -0.5, 4.0, waist + 2.0);
            fillWith(p, loop, fabricField(size, s.fabric, [&](double lx, double) {
                         return 0.5 + 0.3 * cylinder((lx - loop.left()) / 4.0);
                     }));
            p.setPen(QPen(withAlpha(QColor(14, 12, 16), 130), 0.8));
            p.setBrush(Qt::NoBrush);
            p.drawRect(loop);
        }
        // Shank button.
        QRadialGradient button(QPointF(mid - 0.8, 4.0), 3.6);
        button.setColorAt(0.0, QColor(255, 226, 170));
        button.setColorAt(0.6, QColor(190, 130, 60));
        button.setColorAt(1.0, QColor(100, 60, 24));
        p.setPen(QPen(QColor(70, 40, 16), 0.7));
        p.setBrush(button);
        p.drawEllipse(QPointF(mid, waist / 2.0), 3.2, 3.2);
    }

    if (s.cut == TrouserCut::Jeans) {
        // Whiskers by the fly.
        p.setPen(QPen(withAlpha(QColor(190, 210, 236), 70), 1.2, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i) {
            const double y = 26.0 + i * 3.5;
            p.drawLine(QPointF(mid - 4.0, y), QPointF(mid - 15.0 + i, y - 4.0));
            p.drawLine(QPointF(mid + 8.0, y), QPointF(mid + 18.0 - i, y - 4.0));
        }
        // Little coin pocket.
        p.setPen(stitchPen(withAlpha(s.stitch, 220)));
        p.drawLine(QPointF(w - 19.0, waist + 6.0), QPointF(w - 12.0, waist + 7.0));
    }

    if (s.cut == TrouserCut::Cargo) {
        // Patch pockets with flaps on both thighs.
        for (const double side : {-1.0, 1.0}) {
            const double x = side < 0 ? 5.0 : w - 5.0 - 22.0;
            const QRectF pocket(x, 60, 22, 28);
            QPainterPath pocketPath;
            pocketPath.addRoundedRect(pocket, 2, 2);
            fillWith(p, pocketPath, fabricField(size, s.fabric, [&](double px, double py) {
                         return 0.25 + 0.55 * cylinder((px - pocket.left()) / pocket.width()) - 0.1 * ((py - 60) / 28);
                     }));
            p.setPen(QPen(withAlpha(QColor(20, 16, 10), 130), 1.0));
            p.setBrush(Qt::NoBrush);
            p.drawPath(pocketPath);
            p.setPen(stitchPen(withAlpha(s.stitch, 220)));
            p.drawRoundedRect(pocket.adjusted(1.5, 1.5, -1.5, -1.5), 1.5, 1.5);
            p.drawLine(QPointF(pocket.center().x(), 70), QPointF(pocket.center().x(), 86));
            const QRectF flap(x - 1, 57, 24, 9);
            QPainterPath flapPath;
            flapPath.addRoundedRect(flap, 2, 2);
            fillWith(p, flapPath, fabricField(size, s.fabric, [&](double px, double) {
                         return 0.45 + 0.45 * cylinder((px - flap.left()) / flap.width());
                     }));
            p.setPen(QPen(withAlpha(QColor(20, 16, 10), 160), 1.0));
            p.setBrush(Qt::NoBrush);
            p.drawPath(flapPath);
            p.setPen(QPen(QColor(60, 50, 34), 0.7));
            p.setBrush(QColor(92, 80, 56));
            p.drawEllipse(QPointF(flap.center().x(), flap.bottom() - 2.5), 1.6, 1.6);
        }
    }

    if (s.cut == TrouserCut::Joggers) {
        // Side stripes, a drawstring and elastic cuffs.
        for (const double x : {1.0, w - 4.0}) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(236, 236, 232));
            p.drawRect(QRectF(x, waist + 1, 3, h - waist - 11));
        }
        p.setPen(QPen(QColor(232, 232, 226), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(mid - 3, 4), QPointF(mid - 5, 20));
        p.drawLine(QPointF(mid + 3, 4), QPointF(mid + 6, 19));
        p.setBrush(QColor(190, 190, 186));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(mid - 5, 20), 1.2, 1.6);
        p.drawEllipse(QPointF(mid + 6, 19), 1.2, 1.6);
        fillWith(p, QRectF(0, h - 9, w, 9), fabricField(size, s.fabric, [&](double x, double) {
                     return 0.15 + 0.5 * cylinder(x < mid ? x / legW : (x - mid) / legW) +
                            ((int(x) % 2 == 0) ? -0.08 : 0.04);
                 }));
        p.setPen(QPen(withAlpha(QColor(10, 10, 12), 140), 1.0));
        p.drawLine(QPointF(0, h - 9.5), QPointF(w, h - 9.5));
        p.drawLine(QPointF(mid, h - 9), QPointF(mid, h));
    }

    if (s.cut == TrouserCut::Jeans || s.cut == TrouserCut::Cargo) {
        // Turned-up hems.
        const double hem = h - 9.0;
        fillWith(p, QRectF(0, hem, w, 9), fabricField(size, s.fabric, [&](double x, double y) {
                     return 0.35 + 0.5 * cylinder(x < mid ? x / legW : (x - mid) / legW) - 0.15 * ((y - hem) / 9.0);
                 }));
        p.setPen(QPen(withAlpha(QColor(10, 10, 14), 160), 1.0));
        p.drawLine(QPointF(0, hem - 0.5), QPointF(w, hem - 0.5));
        p.setPen(stitchPen(withAlpha(s.stitch, 220)));
        p.drawLine(QPointF(0, hem + 2.5), QPointF(w, hem + 2.5));
        p.setPen(QPen(withAlpha(QColor(14, 12, 16), 150), 1.0));
        p.drawLine(QPointF(mid, hem), QPointF(mid, h));
    }

    if (s.cut == TrouserCut::Shorts) {
        // Leg openings with a folded hem.
        p.setPen(QPen(withAlpha(QColor(40, 40, 44), 140), 1.0));
        p.drawLine(QPointF(0, shortsEnd - 0.5), QPointF(w, shortsEnd - 0.5));
        p.setPen(stitchPen(withAlpha(QColor(250, 250, 250), 150)));
        p.drawLine(QPointF(0, shortsEnd - 3.5), QPointF(w, shortsEnd - 3.5));
        p.drawLine(QPointF(mid + 5.5, waist + 2), QPointF(mid + 5.5, 24));
    }
    p.end();
    return layer;
}

// ---------------------------------------------------------------------------------------------
// Shirts: the front of the torso, neckline at the top middle

enum class ShirtCut { Tee, Polo, Flannel, Bare };

struct ShirtStyle
{
    ShirtCut cut = ShirtCut::Tee;
    Fabric fabric;
    Ramp trim; // collar, placket
    QColor stitch;
    Ramp skin = kSkinWarm;
    quint32 seed = 41;
};

double torsoLight(double x, double y, double w, double h)
{
    double light = 0.16 + 0.72 * cylinder(x / w, 0.42);
    // Long soft folds running down from the shoulders.
    light += 0.07 * std::sin(x * 0.16 + y * 0.05) * smoothstep(20, 60, y);
    light += 0.05 * std::sin(x * 0.33 - y * 0.09 + 1.0);
    light -= 0.08 * smoothstep(h - 30, h, y);
    return light;
}

// The neckline of a round-necked shirt; above it the neck and chest show.
QPainterPath neckHole(double w)
{
    QPainterPath hole;
    hole.addEllipse(QPointF(w / 2.0, -3.0), 19.0, 16.0);
    return hole;
}

void drawTeePrint(QPainter &p, QSize size, double cx, double cy, quint32 seed)
{
    // A round badge with a sun over two mountains, printed slightly worn.
    const QColor cream(246, 232, 196);
    const QColor sun(244, 150, 52);
    const QColor peak(30, 70, 84);
    QImage print = newLayer(size.width(), size.height());
    {
        QPainter q(&print);
        beginPainter(q);
        q.setPen(Qt::NoPen);
        q.setBrush(cream);
        q.drawEllipse(QPointF(cx, cy), 19.0, 19.0);
        QRadialGradient sky(QPointF(cx, cy + 4), 17.0);
        sky.setColorAt(0.0, QColor(255, 210, 130));
        sky.setColorAt(1.0, QColor(236, 120, 70));
        q.setBrush(sky);
        q.drawEllipse(QPointF(cx, cy), 16.0, 16.0);
        q.setBrush(cream);
        q.drawEllipse(QPointF(cx, cy - 1.0), 6.5, 6.5);
        q.setBrush(sun);
        q.drawEllipse(QPointF(cx, cy - 1.0), 5.2, 5.2);
        QPainterPath clip;
        clip.addEllipse(QPointF(cx, cy), 16.0, 16.0);
        q.setClipPath(clip);
        QPolygonF far;
        far << QPointF(cx - 18, cy + 17) << QPointF(cx - 7, cy + 1) << QPointF(cx - 2, cy + 7)
            << QPointF(cx + 6, cy - 2) << QPointF(cx + 18, cy + 17);
        q.setBrush(mixColour(peak, cream, 0.35));
        q.drawPolygon(far);
        QPolygonF near;
        near << QPointF(cx - 18, cy + 17) << QPointF(cx - 10, cy + 8) << QPointF(cx - 2, cy + 14)
             << QPointF(cx + 9, cy + 5) << QPointF(cx + 18, cy + 17);
        q.setBrush(peak);
        q.drawPolygon(near);
        // Snow caps.
        QPolygonF snow;
        snow << QPointF(cx + 6, cy - 2) << QPointF(cx + 9.5, cy + 2.5) << QPointF(cx + 6.5, cy + 1.5)
             << QPointF(cx + 4, cy + 3) << QPointF(cx + 2.8, cy + 2.3);
        q.setBrush(cream);
        q.drawPolygon(snow);
        q.setClipping(false);
        q.setPen(QPen(peak, 1.2));
        q.setBrush(Qt::NoBrush);
        q.drawEllipse(QPointF(cx, cy), 19.0, 19.0);
        q.drawEllipse(QPointF(cx, cy), 16.0, 16.0);
        // Star dots on the rim.
        q.setPen(Qt::NoPen);
        q.setBrush(peak);
        for (int i = 0; i < 10; ++i) {
            const double a = kPi * (0.15 + 0.07 * i) + kPi;
            q.drawEllipse(QPointF(cx + 17.5 * std::cos(a), cy - 17.5 * std::sin(a)), 0.6, 0.6);
        }
    }
    // Worn print: the shirt shows through here and there.
    for (int y = 0; y < print.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(print.scanLine(y));
        for (int x = 0; x < print.width(); ++x) {
            if (qAlpha(line[x]) == 0)
                continue;
            const double wear = fbm(x * 0.35, y * 0.35, seed) + 0.25 * random01(x, y, seed + 1);
            const double keep = wear > 0.78 ? 0.45 : 0.92;
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), int(qAlpha(line[x]) * keep));
        }
    }
    p.drawImage(0, 0, print);
}

void drawButton(QPainter &p, QPointF at, QColor colour)
{
    QRadialGradient g(at - QPointF(0.6, 0.6), 2.4);
    g.setColorAt(0.0, colour.lighter(130));
    g.setColorAt(1.0, colour.darker(140));
    p.setPen(QPen(colour.darker(200), 0.6));
    p.setBrush(g);
    p.drawEllipse(at, 1.9, 1.9);
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(220));
    p.drawEllipse(at + QPointF(-0.5, 0), 0.35, 0.35);
    p.drawEllipse(at + QPointF(0.5, 0), 0.35, 0.35);
}

QImage drawShirt(QSize size, const ShirtStyle &s)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const double w = size.width();
    const double h = size.height();
    const double cx = w / 2.0;

    if (s.cut == ShirtCut::Bare) {
        // The template's bare torso.
        fillWith(p, QRectF(0, 0, w, h), field(size, [&](double x, double y) {
                     double t = 0.12 + 0.76 * cylinder(x / w, 0.42);
                     t -= 0.07 * gauss(x, y, cx - 18, 36, 14, 3); // under the chest
                     t -= 0.07 * gauss(x, y, cx + 18, 36, 14, 3);
                     t += 0.05 * gauss(x, y, cx - 18, 24, 14, 8);
                     t += 0.04 * gauss(x, y, cx + 18, 24, 14, 8);
                     t -= 0.05 * gauss(x, y, cx, 60, 1.5, 30); // midline
                     t -= 0.1 * smoothstep(h - 20, h, y);
                     t += 0.03 * (fbm(x * 0.3, y * 0.3, s.seed) - 0.5);
                     return s.skin.at(t);
                 }));
        p.setPen(QPen(withAlpha(s.skin.at(0.15), 90), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(cx - 22, -14, 44, 24), 200 * 16, 140 * 16); // collarbones
        p.end();
        return layer;
    }

    // Skin in the neckline first; the shirt then covers all but the opening.
    fillWith(p, QRectF(0, 0, w, 20), field(size, [&](double x, double y) {
                 return s.skin.at(0.2 + 0.55 * cylinder((x - cx + 20) / 40.0) - 0.3 * smoothstep(4, 14, y));
             }));
    QPainterPath body;
    body.addRect(0, 0, w, h);
    const QPainterPath opening = s.cut == ShirtCut::Tee ? neckHole(w) : [&] {
        QPainterPath v; // a V-shaped opening under a shirt collar
        v.moveTo(cx - 13, 0);
        v.lineTo(cx + 13, 0);
        v.lineTo(cx, s.cut == ShirtCut::Polo ? 22 : 16);
        v.closeSubpath();
        return v;
    }();
    fillWith(p, body.subtracted(opening),
             fabricField(size, s.fabric, [&](double x, double y) { return torsoLight(x, y, w, h); }));

    // Armhole seams towards the shoulders.
    p.setBrush(Qt::NoBrush);
    for (const double side : {-1.0, 1.0}) {
        const double edge = side < 0 ? 0.0 : w;
        QPainterPath seam;
        seam.moveTo(edge, 42);
        seam.quadTo(edge - side * 14, 28, edge - side * 18, 0);
        p.setPen(QPen(withAlpha(QColor(14, 12, 14), 90), 1.0));
        p.drawPath(seam);
        p.setPen(stitchPen(withAlpha(s.stitch, 140)));
        p.drawPath(seam.translated(-side * 2.0, 0));
    }
    // Side seams.
    p.setPen(QPen(withAlpha(QColor(14, 12, 14), 70), 1.0));
    p.drawLine(QPointF(1.5, 42), QPointF(1.5, h));
    p.drawLine(QPointF(w - 1.5, 42), QPointF(w - 1.5, h));

    if (s.cut == ShirtCut::Tee) {
        // Ribbed collar band.
        QPainterPath band = neckHole(w);
        QPainterPath outerBand;
        outerBand.addEllipse(QPointF(cx, -3.0), 23.0, 20.0);
        fillWith(p, outerBand.subtracted(band), field(size, [&](double x, double y) {
                     const double angle = std::atan2(y + 3.0, x - cx);
                     const double rib = (int(std::floor(angle * 40.0)) % 2 == 0) ? 0.06 : -0.06;
                     return s.trim.at(0.3 + 0.5 * cylinder(x / w, 0.42) + rib);
                 }));
        p.setPen(QPen(withAlpha(QColor(14, 12, 14), 120), 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(cx, -3.0), 23.0, 20.0);
        p.setPen(stitchPen(withAlpha(s.stitch, 170)));
        p.drawEllipse(QPointF(cx, -3.0), 24.8, 21.8);
        drawTeePrint(p, size, cx, 62.0, s.seed + 3);
    } else {
        // Shirt collar flaps and a buttoned placket.
        const double placketEnd = s.cut == ShirtCut::Polo ? 42.0 : h;
        const QRectF placket(cx - 4.0, s.cut == ShirtCut::Polo ? 18.0 : 12.0, 8.0,
                             placketEnd - (s.cut == ShirtCut::Polo ? 18.0 : 12.0));
        fillWith(p, placket,
                 fabricField(size, s.fabric, [&](double x, double y) { return torsoLight(x, y, w, h) + 0.06; }));
        p.setPen(QPen(withAlpha(QColor(14, 12, 14), 120), 0.9));
        p.setBrush(Qt::NoBrush);
        p.drawRect(placket);
        p.setPen(stitchPen(withAlpha(s.stitch, 160)));
        p.drawLine(QPointF(placket.left() + 1.5, placket.top()), QPointF(placket.left() + 1.5, placket.bottom()));
        p.drawLine(QPointF(placket.right() - 1.5, placket.top()), QPointF(placket.right() - 1.5, placket.bottom()));
        const QColor buttonColour = s.cut == ShirtCut::Polo ? QColor(244, 240, 230) : QColor(214, 196, 160);
        for (double y = placket.top() + 7.0; y < placket.bottom() - 3.0; y += s.cut == ShirtCut::Polo ? 10.0 : 17.0)
            drawButton(p, QPointF(cx, y), buttonColour);
        for (const double side : {-1.0, 1.0}) {
            QPainterPath flap;
            flap.moveTo(cx - side * 1.0, 0);
            flap.lineTo(cx - side * 21.0, 0);
            flap.quadTo(cx - side * 22.0, 10, cx - side * 19.0, 19);
            flap.lineTo(cx - side * 1.5, s.cut == ShirtCut::Polo ? 19 : 15);
            flap.closeSubpath();
            fillWith(p, flap, field(size, [&](double x, double y) {
                         return s.trim.at(0.35 + 0.45 * cylinder((x - cx + 22) / 44.0) - 0.15 * (y / 20.0));
                     }));
            p.setPen(QPen(withAlpha(QColor(14, 12, 14), 140), 0.9));
            p.setBrush(Qt::NoBrush);
            p.drawPath(flap);
            p.setPen(stitchPen(withAlpha(s.stitch, 150)));
            QPainterPath edgeStitch;
            edgeStitch.moveTo(cx - side * 19.5, 3);
            edgeStitch.quadTo(cx - side * 20.0, 10, cx - side * 17.5, 16.5);
            edgeStitch.lineTo(cx - side * 3.0, s.cut == ShirtCut::Polo ? 16.8 : 13.2);
            p.drawPath(edgeStitch);
        }
        if (s.cut == ShirtCut::Flannel) {
            // Two chest pockets with pointed flaps.
            for (const double side : {-1.0, 1.0}) {
                const double px = cx + side * 30.0;
                auto pocketShape = [&](double inset) {
                    const QRectF r = QRectF(px - 11.0, 30.0, 22.0, 24.0).adjusted(inset, 0, -inset, -inset);
                    QPainterPath shape;
                    shape.moveTo(r.left(), 30.0);
                    shape.lineTo(r.right(), 30.0);
                    shape.lineTo(r.right(), r.bottom() - 3);
                    shape.lineTo(px, r.bottom());
                    shape.lineTo(r.left(), r.bottom() - 3);
                    shape.closeSubpath();
                    return shape;
                };
                const QPainterPath pocketPath = pocketShape(0.0);
                fillWith(p, pocketPath, fabricField(size, s.fabric, [&](double x, double y) {
                             return torsoLight(x, y, w, h) + 0.04;
                         }));
                p.setPen(QPen(withAlpha(QColor(14, 12, 14), 120), 0.9));
                p.setBrush(Qt::NoBrush);
                p.drawPath(pocketPath);
                p.setPen(stitchPen(withAlpha(s.stitch, 150)));
                p.drawPath(pocketShape(1.8));
                QPainterPath flap;
                flap.moveTo(px - 12, 28);
                flap.lineTo(px + 12, 28);
                flap.lineTo(px + 12, 34);
                flap.lineTo(px, 38);
                flap.lineTo(px - 12, 34);
                flap.closeSubpath();
                fillWith(p, flap, fabricField(size, s.fabric, [&](double x, double y) {
                             return torsoLight(x, y, w, h) + 0.12;
                         }));
                p.setPen(QPen(withAlpha(QColor(14, 12, 14), 150), 0.9));
                p.setBrush(Qt::NoBrush);
                p.drawPath(flap);
                drawButton(p, QPointF(px, 34.5), QColor(214, 196, 160));
            }
        }
    }

    // Double-stitched hem.
    p.setPen(QPen(withAlpha(QColor(14, 12, 14), 100), 1.0));
    p.drawLine(QPointF(0, h - 8.5), QPointF(w, h - 8.5));
    p.setPen(stitchPen(withAlpha(s.stitch, 170)));
    p.drawLine(QPointF(0, h - 6.5), QPointF(w, h - 6.5));
    p.drawLine(QPointF(0, h - 3.5), QPointF(w, h - 3.5));
    p.end();
    return layer;
}

// The bare right side of the torso that shirts leave free.
QImage drawChest(QSize size, const Ramp &skin, quint32 seed)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const double w = size.width();
    const double h = size.height();
    const double cx = w / 2.0;
    fillWith(p, QRectF(0, 0, w, h), field(size, [&](double x, double y) {
                 double t = 0.18 + 0.7 * cylinder(x / w, 0.42);
                 t += 0.1 * gauss(x, y, cx - 9, 28, 7, 9); // chest
                 t += 0.08 * gauss(x, y, cx + 9, 28, 7, 9);
                 t -= 0.12 * gauss(x, y, cx - 9, 41, 8, 2.5); // lower edge of the chest
                 t -= 0.12 * gauss(x, y, cx + 9, 41, 8, 2.5);
                 t -= 0.08 * gauss(x, y, cx, 70, 1.4, 40); // midline
                 for (int row = 0; row < 3; ++row)         // a hint of abdominals
                     t -= 0.04 * gauss(x, y, cx, 58.0 + row * 13.0, 12, 1.5);
                 t -= 0.1 * smoothstep(h - 20, h, y);
                 t += 0.03 * (fbm(x * 0.3, y * 0.3, seed) - 0.5);
                 return skin.at(t);
             }));
    p.setPen(QPen(withAlpha(skin.at(0.15), 110), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(cx - 22, -4, 20, 14), 200 * 16, 120 * 16); // collarbones
    p.drawArc(QRectF(cx + 2, -4, 20, 14), 220 * 16, 120 * 16);
    for (const double nx : {cx - 10.0, cx + 10.0}) {
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(mixColour(skin.at(0.3), QColor(180, 90, 80), 0.3), 200));
        p.drawEllipse(QPointF(nx, 34), 1.5, 1.5);
    }
    p.setPen(QPen(withAlpha(skin.at(0.0), 170), 1.0));
    p.setBrush(withAlpha(skin.at(0.15), 220));
    p.drawEllipse(QPointF(cx, 104), 1.5, 2.2);
    p.end();
    return layer;
}

// ---------------------------------------------------------------------------------------------
// Jewellery for the chest place

QImage drawChain(const Ramp &metal, bool tag)
{
    const QSize size(40, 44);
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    const double cx = 20.0;
    const double sag = 24.0;
    auto at = [&](double s) { return QPointF(1.0 + 38.0 * s, sag * (1.0 - std::pow(2.0 * s - 1.0, 2.0))); };
    // Links evenly spaced along the curve, alternately seen flat and edge-on.
    std::vector<QPointF> points;
    for (int i = 0; i <= 400; ++i)
        points.push_back(at(i / 400.0));
    double travelled = 0.0;
    int link = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const QPointF d = points[i] - points[i - 1];
        travelled += std::hypot(d.x(), d.y());
        if (travelled < 2.4)
            continue;
        travelled = 0.0;
        if (std::abs(points[i].x() - cx) < 2.0 && points[i].y() > sag - 2.0)
            continue; // the bail sits here
        const double angle = std::atan2(d.y(), d.x()) * 180.0 / kPi;
        p.save();
        p.translate(points[i]);
        p.rotate(angle);
        if (link % 2 == 0) {
            p.setPen(QPen(metal.at(0.1), 0.7));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QPointF(0, 0), 2.1, 1.5);
            p.setPen(QPen(metal.at(0.75), 0.9));
            p.drawArc(QRectF(-1.6, -1.1, 3.2, 2.2), 20 * 16, 160 * 16);
        } else {
            p.setPen(QPen(metal.at(0.15), 0.6));
            p.setBrush(metal.at(0.65));
            p.drawEllipse(QPointF(0, 0), 2.0, 0.8);
        }
        p.restore();
        ++link;
    }
    // Bail and pendant.
    p.setPen(QPen(metal.at(0.1), 0.7));
    p.setBrush(metal.at(0.6));
    p.drawEllipse(QPointF(cx, sag + 1.0), 1.6, 2.2);
    if (tag) {
        const QRectF plate(cx - 5.5, sag + 3.0, 11.0, 15.0);
        QLinearGradient g(plate.topLeft(), plate.bottomRight());
        g.setColorAt(0.0, metal.light);
        g.setColorAt(0.5, metal.mid);
        g.setColorAt(1.0, metal.dark);
        p.setPen(QPen(metal.at(0.05), 0.8));
        p.setBrush(g);
        p.drawRoundedRect(plate, 3.0, 3.0);
        p.setPen(Qt::NoPen);
        p.setBrush(metal.at(0.05));
        p.drawEllipse(QPointF(cx, plate.top() + 2.0), 0.9, 0.9);
        p.setPen(QPen(metal.at(0.25), 0.8));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(cx - 3.0, plate.top() + 6.0 + i * 2.5),
                       QPointF(cx + 3.0 - (i == 2 ? 2.0 : 0.0), plate.top() + 6.0 + i * 2.5));
    } else {
        const QPointF centre(cx, sag + 9.0);
        QRadialGradient g(centre - QPointF(1.8, 1.8), 7.5);
        g.setColorAt(0.0, metal.light);
        g.setColorAt(0.6, metal.mid);
        g.setColorAt(1.0, metal.dark);
        p.setPen(QPen(metal.at(0.05), 0.8));
        p.setBrush(g);
        p.drawEllipse(centre, 6.2, 6.2);
        p.setPen(QPen(metal.at(0.3), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(centre, 4.4, 4.4);
        QRadialGradient gem(centre - QPointF(0.8, 0.8), 2.6);
        gem.setColorAt(0.0, QColor(255, 150, 150));
        gem.setColorAt(0.5, QColor(200, 20, 40));
        gem.setColorAt(1.0, QColor(90, 6, 18));
        p.setPen(Qt::NoPen);
        p.setBrush(gem);
        p.drawEllipse(centre, 2.4, 2.4);
        p.setBrush(QColor(255, 240, 240));
        p.drawEllipse(centre - QPointF(0.9, 0.9), 0.5, 0.5);
    }
    p.end();
    return layer;
}

// ---------------------------------------------------------------------------------------------
// Free user pictures

QImage drawScar(const Ramp &skin)
{
    QImage layer = newLayer(22, 9);
    QPainter p(&layer);
    beginPainter(p);
    QPainterPath cut;
    cut.moveTo(2, 6);
    cut.cubicTo(7, 3, 14, 5, 20, 2.5);
    QPainterPathStroker stroker;
    stroker.setWidth(2.6);
    stroker.setCapStyle(Qt::RoundCap);
    fillWith(p, stroker.createStroke(cut), field({22, 9}, [&](double x, double y) {
                 return mixColour(skin.at(0.85), QColor(214, 120, 120), 0.45 + 0.15 * std::sin(x + y));
             }));
    p.setPen(QPen(QColor(150, 60, 64), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cut);
    // Healed stitch marks across the cut.
    p.setPen(QPen(withAlpha(QColor(176, 96, 96), 230), 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int i = 1; i < 6; ++i) {
        const double t = i / 6.0;
        const QPointF at = cut.pointAtPercent(t);
        p.drawLine(at + QPointF(-1.0, -2.4), at + QPointF(1.0, 2.4));
    }
    p.end();
    return layer;
}

QImage drawBadge()
{
    QImage layer = newLayer(18, 18);
    QPainter p(&layer);
    beginPainter(p);
    const QPointF c(9, 9);
    QRadialGradient disc(c - QPointF(2, 2), 10.0);
    disc.setColorAt(0.0, QColor(90, 150, 230));
    disc.setColorAt(1.0, QColor(20, 50, 130));
    p.setPen(QPen(kGold.at(0.4), 1.4));
    p.setBrush(disc);
    p.drawEllipse(c, 8.0, 8.0);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? 6.0 : 2.5;
        const double a = -kPi / 2.0 + i * kPi / 5.0;
        star << c + QPointF(r * std::cos(a), r * std::sin(a) + 0.4);
    }
    QLinearGradient gold(0, 3, 0, 15);
    gold.setColorAt(0.0, kGold.light);
    gold.setColorAt(1.0, kGold.mid);
    p.setPen(QPen(kGold.dark, 0.6));
    p.setBrush(gold);
    p.drawPolygon(star);
    p.end();
    return layer;
}

// ---------------------------------------------------------------------------------------------
// The pictures

struct Styles
{
    Fabric teeFabric = plainFabric({{14, 62, 70}, {34, 136, 146}, {128, 214, 214}}, 101);
    Ramp teeTrim{{12, 50, 56}, {28, 112, 120}, {110, 190, 192}};
    Fabric jeansFabric = denimFabric({{16, 28, 58}, {46, 78, 134}, {132, 164, 208}}, 102);
    Fabric poloFabric = stripedFabric({{96, 14, 20}, {188, 36, 44}, {250, 120, 110}},
                                      {{150, 146, 140}, {236, 232, 224}, {255, 255, 252}}, 14.0, 4.0, 103);
    Ramp poloTrim{{150, 146, 140}, {236, 232, 224}, {255, 255, 252}};
    Fabric flannelFabric =
        plaidFabric({{18, 56, 30}, {40, 110, 60}, {110, 180, 120}}, {{14, 30, 22}, {24, 60, 40}, {70, 110, 80}},
                    {{120, 100, 30}, {220, 190, 80}, {255, 240, 160}}, 104);
    Ramp flannelTrim{{14, 42, 24}, {34, 96, 52}, {100, 166, 110}};
};

ShoeStyle sneakerStyle()
{
    // White trainers with teal stripes and a gum sole.
    return {{{132, 136, 140}, {226, 228, 230}, {255, 255, 255}},
            {{120, 70, 30}, {196, 136, 72}, {240, 196, 130}},
            {{14, 70, 78}, {34, 140, 150}, {120, 210, 210}},
            QColor(246, 246, 242),
            QColor(120, 124, 130),
            QColor(70, 62, 60),
            true,
            false,
            201};
}

ShoeStyle redSneakerStyle()
{
    return {{{92, 12, 16}, {200, 34, 40}, {255, 130, 120}},
            {{150, 150, 146}, {236, 236, 230}, {255, 255, 255}},
            {{150, 150, 146}, {240, 240, 234}, {255, 255, 255}},
            QColor(250, 250, 246),
            QColor(255, 200, 190),
            QColor(60, 20, 22),
            true,
            false,
            202};
}

ShoeStyle bootStyle()
{
    return {{{50, 26, 12}, {122, 70, 36}, {200, 140, 86}},
            {{22, 16, 12}, {58, 44, 34}, {110, 90, 70}},
            {{40, 20, 10}, {104, 58, 28}, {184, 124, 72}},
            QColor(200, 160, 100),
            QColor(230, 200, 140),
            QColor(64, 44, 30),
            false,
            true,
            203};
}

ShoeStyle runnerStyle()
{
    // The preview picture: a blue running shoe with orange trim.
    return {{{18, 34, 90}, {44, 90, 190}, {140, 180, 250}},
            {{150, 150, 150}, {232, 232, 228}, {255, 255, 255}},
            {{150, 60, 10}, {240, 130, 40}, {255, 210, 140}},
            QColor(250, 250, 250),
            QColor(170, 200, 255),
            QColor(30, 36, 60),
            true,
            false,
            204};
}

ArmStyle teeArm(const Styles &st, bool left)
{
    ArmStyle a;
    a.sleeve = st.teeFabric;
    a.sleeveEnd = 22;
    a.stitch = QColor(200, 240, 240);
    a.mirrored = left;
    a.seed = left ? 12 : 11;
    return a;
}

struct Asset
{
    QString name; // relative to the assets folder
    QImage image; // Format_RGB32
};

struct PlacedPart
{
    QString name;
    QImage image;
    QPoint place;
    QString kind;
};

QImage composeDefaultSkin(const Styles &st)
{
    QImage skin = newLayer(256, 256);
    QPainter p(&skin);
    p.drawImage(kFootArea.topLeft(), drawShoe(kShoeSize, sneakerStyle()));
    p.drawImage(QPoint(0, kShoeSize.height()), drawSocks(QSize(56, kFootArea.height() - kShoeSize.height()),
                                                         {{150, 150, 150}, {232, 232, 228}, {255, 255, 255}},
                                                         Ramp{{14, 70, 78}, {34, 140, 150}, {120, 210, 210}}, 301));
    p.drawImage(kRightArmArea.topLeft(), drawArm(kRightArmArea.size(), teeArm(st, false)));
    p.drawImage(kLeftArmArea.topLeft(), drawArm(kLeftArmArea.size(), teeArm(st, true)));
    HeadStyle head;
    p.drawImage(kHeadArea.topLeft(), drawHead(head));
    TrouserStyle jeans;
    jeans.fabric = st.jeansFabric;
    jeans.stitch = QColor(226, 164, 70);
    p.drawImage(kPantsArea.topLeft(), drawTrousers(kPantsArea.size(), jeans));
    ShirtStyle tee;
    tee.fabric = st.teeFabric;
    tee.trim = st.teeTrim;
    tee.stitch = QColor(200, 240, 240);
    p.drawImage(kShirtArea.topLeft(), drawShirt(kShirtArea.size(), tee));
    p.drawImage(kChestArea.topLeft(), drawChest(kChestArea.size(), kSkinWarm, 302));
    p.end();
    return flattenOnBlack(skin);
}

QImage composeTemplateSkin()
{
    const Ramp skinTone = kSkinNeutral;
    QImage skin = newLayer(256, 256);
    QPainter p(&skin);
    p.drawImage(kFootArea.topLeft(), drawBareFoot(kFootArea.size(), skinTone));
    ArmStyle arm;
    arm.skin = skinTone;
    p.drawImage(kRightArmArea.topLeft(), drawArm(kRightArmArea.size(), arm));
    arm.mirrored = true;
    p.drawImage(kLeftArmArea.topLeft(), drawArm(kLeftArmArea.size(), arm));
    HeadStyle head;
    head.skin = skinTone;
    head.hairStyle = HairStyle::None;
    head.guidesOnly = true;
    p.drawImage(kHeadArea.topLeft(), drawHead(head));
    TrouserStyle shorts;
    shorts.cut = TrouserCut::Shorts;
    shorts.fabric = plainFabric({{96, 98, 104}, {176, 178, 184}, {232, 234, 238}}, 311, 0.08);
    shorts.stitch = QColor(240, 240, 240);
    shorts.skin = skinTone;
    p.drawImage(kPantsArea.topLeft(), drawTrousers(kPantsArea.size(), shorts));
    ShirtStyle bare;
    bare.cut = ShirtCut::Bare;
    bare.skin = skinTone;
    p.drawImage(kShirtArea.topLeft(), drawShirt(kShirtArea.size(), bare));
    p.drawImage(kChestArea.topLeft(), drawChest(kChestArea.size(), skinTone, 312));
    p.end();
    return flattenOnBlack(skin);
}

std::vector<PlacedPart> sampleParts(const Styles &st)
{
    std::vector<PlacedPart> parts;
    auto add = [&](const QString &name, const QImage &layer, QPoint place, const QString &kind) {
        parts.push_back({name, flattenPart(layer), place, kind});
    };
    add("foot_01.bmp", drawShoe(kShoeSize, redSneakerStyle()), {0, 0}, "foot");
    add("foot_02.bmp", drawShoe(kShoeSize, bootStyle()), {0, 0}, "foot");

    ArmStyle polo;
    polo.sleeve = st.poloFabric;
    polo.sleeveEnd = 24;
    polo.stitch = QColor(255, 230, 230);
    polo.wrist = Wrist::Watch;
    add("RightArm01.bmp", drawArm(kRightArmArea.size(), polo), kRightArmArea.topLeft(), "right arm");
    polo.wrist = Wrist::Bracelet;
    polo.mirrored = true;
    add("LeftArm_01.bmp", drawArm(kLeftArmArea.size(), polo), kLeftArmArea.topLeft(), "left arm");
    ArmStyle flannel;
    flannel.sleeve = st.flannelFabric;
    flannel.sleeveEnd = 62;
    flannel.cuff = true;
    flannel.stitch = QColor(230, 220, 160);
    add("RightArm02.bmp", drawArm(kRightArmArea.size(), flannel), kRightArmArea.topLeft(), "right arm");
    flannel.mirrored = true;
    add("LeftArm_02.bmp", drawArm(kLeftArmArea.size(), flannel), kLeftArmArea.topLeft(), "left arm");
    add("tatu_dragon.bmp", drawDragonTattoo(kLeftArmArea.size()), kLeftArmArea.topLeft(), "tattoo");

    add("chain_gold.bmp", drawChain(kGold, false), kChainPlace, "chain");
    add("chain_silver.bmp", drawChain(kSilver, true), kChainPlace, "chain");

    HeadStyle curly;
    curly.skin = kSkinDeep;
    curly.hair = {{16, 10, 8}, {46, 30, 22}, {110, 80, 60}};
    curly.hairStyle = HairStyle::Curly;
    curly.iris = QColor(92, 56, 28);
    curly.lips = QColor(150, 80, 74);
    curly.seed = 22;
    add("Face01.bmp", drawHead(curly), kHeadArea.topLeft(), "face");
    HeadStyle ginger;
    ginger.skin = kSkinPale;
    ginger.hair = {{110, 36, 10}, {196, 86, 30}, {250, 170, 90}};
    ginger.hairStyle = HairStyle::Long;
    ginger.iris = QColor(70, 140, 80);
    ginger.lips = QColor(214, 110, 110);
    ginger.freckles = true;
    ginger.seed = 23;
    add("Face02.bmp", drawHead(ginger), kHeadArea.topLeft(), "face");

    TrouserStyle cargo;
    cargo.cut = TrouserCut::Cargo;
    cargo.fabric = plainFabric({{84, 70, 44}, {168, 146, 100}, {226, 210, 164}}, 401, 0.06);
    cargo.stitch = QColor(96, 80, 52);
    add("Pants01.bmp", drawTrousers(kPantsArea.size(), cargo), kPantsArea.topLeft(), "pants");
    TrouserStyle joggers;
    joggers.cut = TrouserCut::Joggers;
    joggers.fabric = plainFabric({{30, 32, 38}, {70, 74, 86}, {134, 140, 156}}, 402, 0.12);
    joggers.stitch = QColor(160, 164, 170);
    add("Pants02.bmp", drawTrousers(kPantsArea.size(), joggers), kPantsArea.topLeft(), "pants");

    ShirtStyle poloShirt;
    poloShirt.cut = ShirtCut::Polo;
    poloShirt.fabric = st.poloFabric;
    poloShirt.trim = st.poloTrim;
    poloShirt.stitch = QColor(255, 236, 236);
    add("shirt01.bmp", drawShirt(kShirtArea.size(), poloShirt), kShirtArea.topLeft(), "shirt");
    ShirtStyle flannelShirt;
    flannelShirt.cut = ShirtCut::Flannel;
    flannelShirt.fabric = st.flannelFabric;
    flannelShirt.trim = st.flannelTrim;
    flannelShirt.stitch = QColor(230, 220, 160);
    add("shirt02.bmp", drawShirt(kShirtArea.size(), flannelShirt), kShirtArea.topLeft(), "shirt");

    add("glass_round.bmp", drawRoundGlasses(), kGlassesPlace, "glasses");
    add("glass_sun.bmp", drawSunglasses(), kGlassesPlace, "glasses");
    add("beard01.bmp", drawBeard({{40, 22, 12}, {104, 62, 32}, {170, 118, 70}}, true, 501), kBeardPlace, "beard");
    add("beard02.bmp", drawBeard({{18, 12, 10}, {56, 40, 32}, {120, 96, 80}}, false, 502), kBeardPlace, "beard");

    // Free pictures: the places here only serve the preview; the user types their own.
    add("userScar.bmp", drawScar(kSkinWarm), {62, 36}, "user");
    add("userBadge.bmp", drawBadge(), {100, 150}, "user");
    return parts;
}

bool writeAsset(const QString &folder, const QString &name, const QImage &image)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = encodeBitmap24(image);
    if (file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "short write on %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Pastes a part the way the parts window does: the preview's inner area at most, black left out.
void pastePart(QImage &skin, const QImage &part, QPoint place)
{
    const int w = std::min(part.width(), 148);
    const int h = std::min(part.height(), 191);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QPoint at = place + QPoint(x, y);
            const QRgb px = part.pixel(x, y);
            if ((px & 0xFFFFFFu) == 0 || !skin.rect().contains(at))
                continue;
            skin.setPixel(at, px);
        }
    }
}

int run(int argc, char **argv)
{
    if (argc != 2 && !(argc >= 4 && argc <= 5 && QString::fromLocal8Bit(argv[2]) == "--preview")) {
        std::fprintf(stderr, "usage: generate_assets <assets-dir> [--preview <out.png> [variant]]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(QDir(folder).filePath("Image"))) {
        std::fprintf(stderr, "cannot create %s/Image\n", qPrintable(folder));
        return 1;
    }

    const Styles styles;
    const QImage defaultSkin = composeDefaultSkin(styles);
    std::vector<Asset> assets{
        {"DefaultSkin.bmp", defaultSkin},
        {"SkinNEW.bmp", composeTemplateSkin()},
        {"PreviewShoe.bmp", flattenPart(drawShoe(kShoeSize, runnerStyle()))},
    };
    const std::vector<PlacedPart> parts = sampleParts(styles);
    for (const PlacedPart &part : parts)
        assets.push_back({"Image/" + part.name, part.image});

    bool ok = true;
    for (const Asset &asset : assets)
        ok = writeAsset(folder, asset.name, asset.image) && ok;
    if (!ok)
        return 1;

    if (argc >= 4) {
        // Variant 0 shows the default skin alone.
        const int variant = argc == 5 ? std::max(0, QString::fromLocal8Bit(argv[4]).toInt()) : 1;
        std::map<QString, std::vector<const PlacedPart *>> byKind;
        for (const PlacedPart &part : parts)
            byKind[part.kind].push_back(&part);
        QImage composed = defaultSkin.copy();
        // Left arm before the tattoo, so the ink lands on the sleeve's skin as it would for a user.
        for (const char *kind :
             {"foot", "right arm", "left arm", "tattoo", "face", "pants", "shirt", "chain", "glasses", "beard"}) {
            const auto &list = byKind[kind];
            if (list.empty() || variant == 0)
                continue;
            const PlacedPart *chosen = list[std::min<std::size_t>(variant, list.size()) - 1];
            pastePart(composed, chosen->image, chosen->place);
        }
        if (variant != 0) {
            for (const PlacedPart *user : byKind["user"])
                pastePart(composed, user->image, user->place);
        }
        const QString out = QString::fromLocal8Bit(argv[3]);
        if (!composed.scaled(composed.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(out, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}

} // namespace
} // namespace pellwerk

int main(int argc, char **argv)
{
    return pellwerk::run(argc, argv);
}
