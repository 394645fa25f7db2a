// The pictures the installation ships: skins, the preview picture and the sample parts that the
// parts window offers from its image folder.

#include "TestFiles.h"
#include "compose/KeyColourLint.h"
#include "core/BitmapDecoder.h"
#include "core/BitmapWriter.h"
#include "core/FileListing.h"
#include "parts/PlacementTable.h"

#include <QDir>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

const QString imageFolder = QStringLiteral(PELLWERK_ASSETS "/Image");

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
            QStringLiteral("Face01 Face02 Pants01 Pants02 shirt01 shirt02 RightArm01 RightArm02 "
                           "LeftArm_01 LeftArm_02")
                .split(u' ');
        for (const PartKind &kind : partKinds()) {
            // The user list follows the prefix box, which starts with "user".
            const QString pattern = kind.place ? kind.pattern : userListPattern(QStringLiteral("user"));
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
};

QTEST_GUILESS_MAIN(SampleAssetsTest)
#include "tst_sampleassets.moc"
