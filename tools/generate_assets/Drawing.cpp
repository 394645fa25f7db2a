#include "Drawing.h"

#include <algorithm>
#include <cmath>

namespace pellwerk::assets {

namespace {

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

} // namespace

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

double cylinder(double u, double highlight)
{
    u = clamp01(u);
    const double d = u < highlight ? (highlight - u) / highlight : (u - highlight) / (1.0 - highlight);
    return std::pow(std::max(0.0, 1.0 - d * d), 0.6);
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
    return 0.55 * valueNoise(x, y, seed) + 0.3 * valueNoise(2.0 * x, 2.0 * y, seed + 1)
           + 0.15 * valueNoise(4.0 * x, 4.0 * y, seed + 2);
}

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

QColor Ramp::at(double t) const
{
    t = clamp01(t);
    return t < 0.5 ? mixColour(dark, mid, t * 2.0) : mixColour(mid, light, t * 2.0 - 1.0);
}

QColor fabricColour(const Fabric &f, double x, double y, double light)
{
    const int ix = int(x);
    const int iy = int(y);
    switch (f.weave) {
    case Weave::Plain:
        return f.base.at(light + f.grain * (random01(ix, iy, f.seed) - 0.5));
    case Weave::Stripes: {
        const double n = random01(ix, iy, f.seed) - 0.5;
        const bool onStripe = std::fmod(y, f.period) < f.width;
        return (onStripe ? f.second : f.base).at(light + 0.04 * n);
    }
    case Weave::Check: {
        const Ramp &band = f.second;
        const Ramp &line = f.third;
        const double n = random01(ix, iy, f.seed) - 0.5;
        const double px = std::fmod(x + 2.0, 24.0);
        const double py = std::fmod(y + 5.0, 24.0);
        const bool bandX = px < 9.0;
        const bool bandY = py < 9.0;
        const bool lineX = px >= 15.0 && px < 16.0;
        const bool lineY = py >= 15.0 && py < 16.0;
        const bool twill = (ix + iy) % 2 == 0;
        if (lineX || lineY)
            return line.at(light + 0.03 * n);
        if (bandX && bandY)
            return band.at(light - 0.16 + 0.05 * n);
        if (bandX || bandY)
            return twill ? band.at(light + 0.04 * n) : f.base.at(light - 0.08 + 0.04 * n);
        return f.base.at(light + 0.05 * n);
    }
    case Weave::Denim: {
        const double twill = ((ix + iy) % 4 < 2) ? 0.05 : -0.04;
        const double slub = 0.12 * (valueNoise(x * 0.9, y * 0.08, f.seed) - 0.5);
        const double n = 0.06 * (random01(ix, iy, f.seed + 7) - 0.5);
        return f.base.at(light + twill + slub + n);
    }
    }
    return f.base.at(light);
}

QImage newLayer(int width, int height)
{
    QImage layer(width, height, QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    return layer;
}

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
    return field(size, [&](double x, double y) { return fabricColour(fabric, x, y, light(x, y)); });
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

QPen stitchPen(const QColor &colour, double dash, double gap)
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

QImage paintLayer(QSize size, const std::function<void(QPainter &p)> &paint)
{
    QImage layer = newLayer(size.width(), size.height());
    QPainter p(&layer);
    beginPainter(p);
    paint(p);
    p.end();
    return layer;
}

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

QImage flattenOnBlack(const QImage &layer)
{
    QImage out(layer.size(), QImage::Format_RGB32);
    out.fill(qRgb(0, 0, 0));
    QPainter p(&out);
    p.drawImage(0, 0, layer);
    p.end();
    return out;
}

} // namespace pellwerk::assets
