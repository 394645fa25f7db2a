// The pictures the installation ships: skins, the preview picture and the sample parts that the
// parts window offers from its image folder.

#include "core/BitmapDecoder.h"
#include "core/FileListing.h"
#include "parts/PlacementTable.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QtEndian>

using namespace pellwerk;

namespace {

const QString assetsFolder = QStringLiteral(PELLWERK_ASSETS);
const QString imageFolder = QStringLiteral(PELLWERK_ASSETS "/Image");

// The inner area of the part preview: nothing beyond it is ever pasted.
constexpr int kPreviewWidth = 148;
constexpr int kPreviewHeight = 191;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint32 le32(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 le16(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

QStringList sampleNames()
{
    return QDir(imageFolder).entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
}

} // namespace

class SampleAssetsTest : public QObject
{
    Q_OBJECT

private slots:
    void fileLayout_data();
    void fileLayout();
    void everyListOffersASample_data();
    void everyListOffersASample();
    void samplesFitTheirPlace_data();
    void samplesFitTheirPlace();
    void transparentAreas_data();
    void transparentAreas();
};

void SampleAssetsTest::fileLayout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("width");  // 0: any
    QTest::addColumn<int>("height");
    QTest::newRow("DefaultSkin") << assetsFolder + "/DefaultSkin.bmp" << 256 << 256;
    QTest::newRow("SkinNEW") << assetsFolder + "/SkinNEW.bmp" << 256 << 256;
    QTest::newRow("PreviewShoe") << assetsFolder + "/PreviewShoe.bmp" << 56 << 72;
    for (const QString &name : sampleNames())
        QTest::newRow(qPrintable(name)) << imageFolder + "/" + name << 0 << 0;
}

void SampleAssetsTest::fileLayout()
{
    QFETCH(QString, path);
    QFETCH(int, width);
    QFETCH(int, height);
    const QByteArray bytes = readAll(path);
    QVERIFY2(bytes.size() > 54, qPrintable(path));

    // The skin file format: 54-byte header, 24 bits, uncompressed, bottom-up rows padded to 4 bytes.
    QCOMPARE(bytes.left(2), QByteArray("BM"));
    QCOMPARE(le32(bytes, 10), 54u);
    QCOMPARE(le32(bytes, 14), 40u);
    QCOMPARE(le16(bytes, 26), quint16(1));
    QCOMPARE(le16(bytes, 28), quint16(24));
    QCOMPARE(le32(bytes, 30), 0u);
    const qint32 w = qint32(le32(bytes, 18));
    const qint32 h = qint32(le32(bytes, 22));
    QVERIFY(w > 0 && h > 0);
    const qint64 stride = (qint64(w) * 3 + 3) / 4 * 4;
    QCOMPARE(qint64(bytes.size()), 54 + stride * h);
    QCOMPARE(qint64(le32(bytes, 2)), qint64(bytes.size()));
    if (width != 0) {
        QCOMPARE(w, width);
        QCOMPARE(h, height);
    }
    if (width == 256)
        QCOMPARE(bytes.size(), 196662);

    const BitmapResult decoded = decodeBitmap(bytes);
    QVERIFY2(decoded.ok(), qPrintable(decoded.error));
}

void SampleAssetsTest::everyListOffersASample_data()
{
    QTest::addColumn<QString>("pattern");
    for (const PartKind &row : partKinds()) {
        // The user list follows the prefix box, which starts with "user".
        const QString pattern = row.place ? row.pattern : userListPattern(QStringLiteral("user"));
        QTest::newRow(qPrintable(row.listName)) << pattern;
    }
}

void SampleAssetsTest::everyListOffersASample()
{
    QFETCH(QString, pattern);
    QVERIFY2(!listMatchingFiles(imageFolder, pattern).isEmpty(), qPrintable(pattern));
}

void SampleAssetsTest::samplesFitTheirPlace_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("place");
    for (const PartKind &row : partKinds()) {
        if (!row.place)
            continue;
        for (const QString &name : listMatchingFiles(imageFolder, row.pattern))
            QTest::newRow(qPrintable(row.listName + ": " + name)) << name << *row.place;
    }
}

void SampleAssetsTest::samplesFitTheirPlace()
{
    QFETCH(QString, name);
    QFETCH(QPoint, place);
    const BitmapResult part = readBitmapFile(imageFolder + "/" + name);
    QVERIFY2(part.ok(), qPrintable(part.error));
    QVERIFY(part.image.width() <= kPreviewWidth);
    QVERIFY(part.image.height() <= kPreviewHeight);
    QVERIFY(place.x() + part.image.width() <= 256);
    QVERIFY(place.y() + part.image.height() <= 256);
}

void SampleAssetsTest::transparentAreas_data()
{
    // Whole-area parts replace everything at their place; the others are pasted over the skin
    // and must leave it visible around them (black is left out when pasting).
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("leavesSkinVisible");
    for (const char *name : {"Face01.bmp", "Face02.bmp", "Pants01.bmp", "Pants02.bmp", "shirt01.bmp", "shirt02.bmp",
                             "RightArm01.bmp", "RightArm02.bmp", "LeftArm_01.bmp", "LeftArm_02.bmp"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
    for (const char *name : {"foot_01.bmp", "foot_02.bmp", "tatu_dragon.bmp", "chain_gold.bmp", "chain_silver.bmp",
                             "glass_round.bmp", "glass_sun.bmp", "beard01.bmp", "beard02.bmp", "userScar.bmp",
                             "userBadge.bmp"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
}

void SampleAssetsTest::transparentAreas()
{
    QFETCH(QString, name);
    QFETCH(bool, leavesSkinVisible);
    const BitmapResult part = readBitmapFile(imageFolder + "/" + name);
    QVERIFY2(part.ok(), qPrintable(part.error));
    int black = 0;
    for (int y = 0; y < part.image.height(); ++y) {
        for (int x = 0; x < part.image.width(); ++x)
            black += (part.image.pixel(x, y) & 0xFFFFFFu) == 0 ? 1 : 0;
    }
    const int all = part.image.width() * part.image.height();
    QVERIFY2(black < all, "nothing would be pasted");
    QCOMPARE(black > 0, leavesSkinVisible);
}

QTEST_GUILESS_MAIN(SampleAssetsTest)
#include "tst_sampleassets.moc"
