#include "Shoes.h"

#include <QRadialGradient>

#include <cmath>

namespace pellwerk::assets {

namespace {

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

} // namespace

QImage drawShoe(QSize size, const ShoeStyle &s)
{
    return paintLayer(size, [&](QPainter &p) {
        const double w = size.width();
        const double h = size.height();
        const double cx = w / 2.0;

        // Rubber sole rim.
        const QRectF soleRect(0.5, 0.5, w - 1.0, h - 1.0);
        fillWith(p, shoeOutline(soleRect), field(size, [&](double x, double y) {
                     const double t =
                         0.45 + 0.35 * cylinder(x / w, 0.35) + 0.06 * (random01(int(x), int(y), s.seed) - 0.5);
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
    });
}

QImage drawSocks(QSize size, Ramp ramp, std::optional<Ramp> band, quint32 seed)
{
    return paintLayer(size, [&](QPainter &p) {
        fillWith(p, QRectF(0, 0, size.width(), size.height()), field(size, [&](double x, double y) {
                     const double rib = (int(x) % 3 == 0) ? -0.1 : 0.04;
                     const double light = 0.2 + 0.65 * cylinder(x / size.width(), 0.4) + rib
                                          + 0.05 * (random01(int(x), int(y), seed) - 0.5);
                     const bool onBand = band && y >= 3.0 && y < 6.0;
                     return (onBand ? *band : ramp).at(light);
                 }));
    });
}

QImage drawBareFoot(QSize size, const Ramp &skin)
{
    return paintLayer(size, [&](QPainter &p) {
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
            p.drawRoundedRect(QRectF(toe.left() + toe.width() * 0.22, toe.bottom() - toe.width() * 0.62,
                                     toe.width() * 0.56, toe.width() * 0.5),
                              2, 2);
            x += widths[i] + 1.0;
        }
    });
}

} // namespace pellwerk::assets
