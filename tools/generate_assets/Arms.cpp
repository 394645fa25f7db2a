#include "Arms.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace pellwerk::assets {

QImage drawArm(QSize size, const ArmStyle &s)
{
    return paintLayer(size, [&](QPainter &p) {
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
                         return s.skin.at(0.25 + 0.5 * cylinder((x - thumb.left()) / thumb.width())
                                          - 0.1 * smoothstep(handTop, h, y));
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
                         return fabricColour(*s.sleeve, x, y, light);
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
    });
}

QImage drawDragonTattoo(QSize size)
{
    return paintLayer(size, [&](QPainter &p) {
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
    });
}

} // namespace pellwerk::assets
