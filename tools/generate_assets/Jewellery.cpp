#include "Jewellery.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>
#include <vector>

namespace pellwerk::assets {

namespace {

// Polished metal: the highlight at the gradient's start, the body at `midAt`, the shadow at its end.
QBrush metalBrush(QGradient gradient, const Ramp &metal, double midAt)
{
    gradient.setColorAt(0.0, metal.light);
    gradient.setColorAt(midAt, metal.mid);
    gradient.setColorAt(1.0, metal.dark);
    return QBrush(gradient);
}

} // namespace

QImage drawChain(const Ramp &metal, bool tag)
{
    const QSize size(40, 44);
    return paintLayer(size, [&](QPainter &p) {
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
            p.setPen(QPen(metal.at(0.05), 0.8));
            p.setBrush(metalBrush(QLinearGradient(plate.topLeft(), plate.bottomRight()), metal, 0.5));
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
            p.setPen(QPen(metal.at(0.05), 0.8));
            p.setBrush(metalBrush(QRadialGradient(centre - QPointF(1.8, 1.8), 7.5), metal, 0.6));
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
    });
}

QImage drawScar(const Ramp &skin)
{
    return paintLayer(QSize(22, 9), [&](QPainter &p) {
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
    });
}

QImage drawBadge()
{
    return paintLayer(QSize(18, 18), [&](QPainter &p) {
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
    });
}

} // namespace pellwerk::assets
