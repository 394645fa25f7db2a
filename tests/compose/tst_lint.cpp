#include "compose/KeyColourLint.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cstdlib>

using namespace pellwerk;

namespace {

constexpr int AreaW = 148, AreaH = 191;

// Mostly the key, colours a few units away from it and colours far from it.
QImage partNear(Colour key, int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    const auto jitter = [&](int c) { return std::clamp(c + random.bounded(-12, 13), 0, 255); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int pick = random.bounded(3);
            image.setPixel(x, y,
                           pick == 0   ? key.toQRgb()
                           : pick == 1 ? qRgb(jitter(key.red()), jitter(key.green()), jitter(key.blue()))
                                       : random.generate() | 0xFF000000u);
        }
    return image;
}

// The definitions applied to the preview pixel by pixel: the part tinted inside the picture,
// the key where the preview's back colour shows, nothing outside the 148 x 191 area.
KeyColourLint model(const QImage &part, Colour key, UserRgb tint, int k)
{
    const int w = std::min(part.width(), AreaW), h = std::min(part.height(), AreaH);
    const auto shown = [&](int x, int y) {
        if (x >= part.width() || y >= part.height())
            return key.toQRgb();
        const QRgb p = part.pixel(x, y);
        return qRgb(std::min(qRed(p) + tint.red, 255), std::min(qGreen(p) + tint.green, 255),
                    std::min(qBlue(p) + tint.blue, 255));
    };
    const auto leftOut = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < AreaW && y < AreaH && shown(x, y) == key.toQRgb();
    };
    KeyColourLint m;
    m.width = w;
    m.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb s = shown(x, y);
            const int most = std::max(
                {std::abs(qRed(s) - key.red()), std::abs(qGreen(s) - key.green()), std::abs(qBlue(s) - key.blue())});
            KeyMark mark = most == 0 ? KeyMark::LeftOut : most <= k ? KeyMark::Near : KeyMark::Kept;
            if (mark == KeyMark::Near
                && (leftOut(x - 1, y) || leftOut(x + 1, y) || leftOut(x, y - 1) || leftOut(x, y + 1)))
                mark = KeyMark::Fringe;
            m.marks.push_back(quint8(mark));
            m.leftOut += mark == KeyMark::LeftOut;
            m.near += mark == KeyMark::Near || mark == KeyMark::Fringe;
            m.fringe += mark == KeyMark::Fringe;
            if (!m.firstNear && (mark == KeyMark::Near || mark == KeyMark::Fringe))
                m.firstNear = QPoint(x, y);
        }
    return m;
}

} // namespace

class LintTest : public QObject
{
    Q_OBJECT

private slots:
    void againstModel_data()
    {
        QTest::addColumn<Colour>("key");
        QTest::addColumn<UserRgb>("tint");
        QTest::addColumn<int>("k");
        const Colour user = Colour::fromRgb(200, 60, 250);
        QTest::newRow("schwarz") << Colours::Black << UserRgb{} << 8;
        QTest::newRow("schwarz, K 0") << Colours::Black << UserRgb{} << 0;
        QTest::newRow("weiss, tint onto the key") << Colours::White << UserRgb{6, 6, 6} << 8;
        QTest::newRow("weiss, full tint") << Colours::White << UserRgb{255, 255, 255} << 64;
        QTest::newRow("blau, tint") << Colours::Blue << UserRgb{0, 3, 200} << 8;
        QTest::newRow("user, tint") << user << UserRgb{4, 0, 9} << 12;
    }

    void againstModel()
    {
        QFETCH(Colour, key);
        QFETCH(UserRgb, tint);
        QFETCH(int, k);
        const QSize sizes[] = {{1, 1}, {30, 20}, {147, 190}, {148, 191}, {149, 192}, {300, 5}, {3, 400}};
        for (const QSize size : sizes) {
            const QImage part =
                partNear(key, size.width(), size.height(), quint32(size.width() * 1000 + size.height()));
            const KeyColourLint got = lintKeyColour(part, key, tint, k);
            const KeyColourLint want = model(part, key, tint, k);
            const KeyColourLint counted = lintKeyColour(part, key, tint, k, KeyMarks::CountOnly);
            QVERIFY2(got.marks == want.marks && got.leftOut == want.leftOut && got.near == want.near
                         && got.fringe == want.fringe && got.firstNear == want.firstNear && counted.marks.empty()
                         && std::tie(counted.leftOut, counted.near, counted.fringe, counted.firstNear)
                                == std::tie(got.leftOut, got.near, got.fringe, got.firstNear),
                     qPrintable(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height())));
        }
    }
};

QTEST_GUILESS_MAIN(LintTest)
#include "tst_lint.moc"
