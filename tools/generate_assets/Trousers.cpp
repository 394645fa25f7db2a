#include "Trousers.h"

#include <QRadialGradient>

#include <cmath>

namespace pellwerk::assets {

QImage drawTrousers(QSize size, const TrouserStyle &s)
{
    return paintLayer(size, [&](QPainter &p) {
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
                             return 0.25 + 0.55 * cylinder((px - pocket.left()) / pocket.width())
                                    - 0.1 * ((py - 60) / 28);
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
                         return 0.15 + 0.5 * cylinder(x < mid ? x / legW : (x - mid) / legW)
                                + ((int(x) % 2 == 0) ? -0.08 : 0.04);
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
    });
}

} // namespace pellwerk::assets
