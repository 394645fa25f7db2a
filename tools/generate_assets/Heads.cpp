#include "Heads.h"

#include "SkinLayout.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <vector>

namespace pellwerk::assets {

namespace {

// Features of the front of the head, in head coordinates; glasses and beards are drawn to meet them.
constexpr double kFaceCentreX = 88.0;
constexpr double kEyeY = 42.0;
constexpr double kEyeLeftX = 72.0;
constexpr double kEyeRightX = 104.0;
constexpr double kMouthY = 78.0;

// A point of the head picture in the coordinates of a part pasted at `kind`'s place.
QPointF onPart(PartKindId kind, QPointF headPoint)
{
    return headPoint - QPointF(placeOf(kind) - placeOf(PartKindId::Face));
}

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
        return profile(keys, x) + fringe * locks(x - 58.0, 7.5, 7.0, s.seed)
               + back * locks(x + 3.0, 6.0, 6.0, s.seed + 1);
    }
    case HairStyle::Curly: {
        static const std::vector<QPointF> keys{{0, 86},  {28, 88}, {36, 35},  {46, 34},  {49, 44},
                                               {54, 44}, {59, 18}, {118, 18}, {123, 42}, {128, 42}};
        const double fringe = smoothstep(56, 62, x) * (1.0 - smoothstep(116, 121, x));
        return profile(keys, x) + fringe * locks(x - 57.0, 5.0, 4.0, s.seed)
               + locks(x, 4.0, 2.0, s.seed + 1) * (1.0 - fringe);
    }
    case HairStyle::Long: {
        // A side parting: the fringe sweeps down towards the right and the hair frames the face.
        static const std::vector<QPointF> keys{{0, 112}, {28, 114}, {36, 36},  {46, 34},  {50, 90},
                                               {56, 84}, {60, 16},  {116, 26}, {121, 84}, {128, 92}};
        const double fringe = smoothstep(58, 64, x) * (1.0 - smoothstep(114, 119, x));
        return profile(keys, x) + fringe * locks(x - 60.0, 9.0, 4.0, s.seed)
               + (x < 30 ? locks(x, 7.0, 5.0, s.seed + 1) : 0.0);
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

} // namespace

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

QImage drawRoundGlasses()
{
    return paintLayer(QSize(64, 22), [&](QPainter &p) {
        const QPointF left = onPart(PartKindId::Glasses, {kEyeLeftX, kEyeY});
        const QPointF right = onPart(PartKindId::Glasses, {kEyeRightX, kEyeY});
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
    });
}

QImage drawSunglasses()
{
    return paintLayer(QSize(64, 24), [&](QPainter &p) {
        const QPointF left = onPart(PartKindId::Glasses, {kEyeLeftX, kEyeY});
        const double leftX = left.x();
        const double rightX = onPart(PartKindId::Glasses, {kEyeRightX, kEyeY}).x();
        const double cy = left.y();
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
    });
}

QImage drawBeard(const Ramp &hair, bool full, quint32 seed)
{
    const QSize size(56, 40);
    return paintLayer(size, [&](QPainter &p) {
        const QPointF mouthCentre = onPart(PartKindId::Beard, {kFaceCentreX, kMouthY});
        const double cx = mouthCentre.x();
        const double my = mouthCentre.y();
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
    });
}

} // namespace pellwerk::assets
