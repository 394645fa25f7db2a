// The pictures the installation ships: skins, the preview picture and the sample parts that the
// parts window offers from its image folder.

#include "TestFiles.h"
#include "colour/RampMap.h"
#include "compose/KeyColourLint.h"
#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"
#include "core/FileListing.h"
#include "editor/PartListPattern.h"
#include "parts/PlacementTable.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

const QString imageFolder = QStringLiteral(PELLWERK_ASSETS "/Image");
const QString paletteFolder = QStringLiteral(PELLWERK_ASSETS "/Paletten");

class SampleAssetsTest : public QObject
{
    Q_OBJECT

private slots:
    void fileLayout_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size"); // empty: any
        QTest::newRow("DefaultSkin") << PELLWERK_ASSETS "/DefaultSkin.bmp" << QSize(256, 256);
        QTest::newRow("SkinNEW") << PELLWERK_ASSETS "/SkinNEW.bmp" << QSize(256, 256);
        QTest::newRow("PreviewShoe") << PELLWERK_ASSETS "/PreviewShoe.bmp" << QSize(56, 72);
        for (const QString &name : QDir(imageFolder).entryList({"*.bmp"}, QDir::Files))
            QTest::newRow(qPrintable(name)) << imageFolder + "/" + name << QSize();
    }

    void fileLayout()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        const QByteArray bytes = fileBytes(path);
        const QImage decoded = imageOf(decodeBitmap(bytes));
        QVERIFY(!decoded.isNull());
        // Byte for byte a skin file: 54-byte header, 24 bits, uncompressed, bottom-up rows padded to 4 bytes.
        QVERIFY(bytes == encodeBitmap24(decoded));
        if (!size.isEmpty())
            QCOMPARE(decoded.size(), size);
    }

    void parts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<bool>("leavesSkinVisible");
        // Whole-area parts replace everything at their place; the others are pasted over the skin and
        // must leave it visible around them (black is left out when pasting).
        const QStringList wholeArea =
            QStringLiteral("Face01 Face02 Pants01 Pants02 shirt01 shirt02 shirt03 RightArm01 RightArm02 "
                           "LeftArm_01 LeftArm_02")
                .split(u' ');
        for (const PartKind &kind : partKinds()) {
            // The user list follows the prefix box, which starts with "user".
            const QString pattern = kind.place ? partListPattern(kind.kind) : userListPattern(QStringLiteral("user"));
            const QStringList names = listMatchingFiles(imageFolder, pattern);
            QVERIFY2(!names.isEmpty(), qPrintable(kind.key + " offers no sample"));
            for (const QString &name : names)
                QTest::newRow(qPrintable(kind.key + ": " + name))
                    << name << kind.place.value_or(QPoint(0, 0))
                    << !wholeArea.contains(QFileInfo(name).completeBaseName());
        }
    }

    void parts()
    {
        QFETCH(QString, name);
        QFETCH(QPoint, place);
        QFETCH(bool, leavesSkinVisible);
        const QImage part = imageOf(readBitmapFile(imageFolder + "/" + name));
        QVERIFY(!part.isNull());
        // Nothing beyond the preview's inner area is ever pasted, and nothing beyond the skin.
        QVERIFY(part.width() <= 148 && part.height() <= 191);
        QVERIFY(place.x() + part.width() <= 256 && place.y() + part.height() <= 256);
        const qint64 black = lintKeyColour(part, Colours::Black, {}).leftOut;
        QVERIFY2(black < part.width() * part.height(), "nothing would be pasted");
        QCOMPARE(black > 0, leavesSkinVisible);
    }

    // Every shipped palette is a ramp of a family drawn into a pixel-art part: the part holds
    // each colour of the family's drawn palette, and a swap to any other palette of the family
    // changes every one of those pixels and brings no pixel near the transparent colour.
    void palettes_data()
    {
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<QString>("part");
        QTest::addColumn<QString>("palette");
        const QStringList drawnIn{"trikot-rot.gpl shirt03.bmp", "besatz-weiss.gpl shirt03.bmp",
                                  "haut-mittel.gpl shirt03.bmp", "haar-braun.gpl beard03.bmp"};
        for (const QString &name : QDir(paletteFolder).entryList({"*.gpl"}, QDir::Files)) {
            const QStringList drawn = drawnIn.filter(QRegularExpression("^" + name.section(u'-', 0, 0) + "-"));
            QVERIFY2(drawn.size() == 1, qPrintable(name + " belongs to no family"));
            QTest::newRow(qPrintable(name)) << drawn[0].section(u' ', 0, 0) << drawn[0].section(u' ', 1) << name;
        }
    }

    void palettes()
    {
        QFETCH(QString, drawn);
        QFETCH(QString, part);
        QFETCH(QString, palette);
        const Result<Palette> from = readPaletteFile(paletteFolder + "/" + drawn);
        const Result<RampMap> swap =
            RampMap::make(from.value(), readPaletteFile(paletteFolder + "/" + palette).value());
        QVERIFY2(swap, qPrintable(errorText(swap)));
        const QImage image = imageOf(readBitmapFile(imageFolder + "/" + part)), swapped = swap->apply(image);
        QSet<QRgb> ramp, seen;
        for (const Colour c : from->colours)
            ramp << c.toQRgb();
        qint64 inRamp = 0, changed = 0;
        for (int i = 0; i < image.width() * image.height(); ++i) {
            const QPoint at(i % image.width(), i / image.width());
            seen << image.pixel(at);
            inRamp += ramp.contains(image.pixel(at));
            changed += swapped.pixel(at) != image.pixel(at);
        }
        QVERIFY2(seen.contains(ramp), "a colour of the palette is not drawn in the part");
        QCOMPARE(changed, palette == drawn ? 0 : inRamp);
        QCOMPARE(lintKeyColour(swapped, Colours::Black, {}).leftOut, lintKeyColour(image, Colours::Black, {}).leftOut);
        QCOMPARE(lintKeyColour(swapped, Colours::Black, {}).near, 0);
    }
};

QTEST_GUILESS_MAIN(SampleAssetsTest)
#include "tst_sampleassets.moc"
