#include "Shirts.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

namespace pellwerk::assets {

namespace {

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
    QImage print = paintLayer(size, [&](QPainter &q) {
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
    });
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

} // namespace

QImage drawShirt(QSize size, const ShirtStyle &s)
{
    return paintLayer(size, [&](QPainter &p) {
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
            return;
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
    });
}

QImage drawChest(QSize size, const Ramp &skin, quint32 seed)
{
    return paintLayer(size, [&](QPainter &p) {
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
    });
}

} // namespace pellwerk::assets
