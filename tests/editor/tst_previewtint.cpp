// The knobs' work on the part preview where no window can take it: a picture that cannot be read
// is said once, by the load, and then no turn writes into the box, not even the part read before.

#include "TestFiles.h"
#include "editor/PreviewTint.h"

#include <QTest>

using namespace pellwerk;
using namespace testsupport;

class PreviewTintTest : public QObject
{
    Q_OBJECT
private slots:
    void unreadablePicture_data()
    {
        QTest::addColumn<bool>("readBefore");
        QTest::newRow("first load") << false;
        QTest::newRow("load after a good one") << true;
    }

    void unreadablePicture()
    {
        QFETCH(bool, readBefore);
        PictureBoxModel box(QSize(148, 191), Colours::Black, false);
        PreviewTint tint;
        if (readBefore) {
            const QImage part = randomImage(5, 4, 7);
            box.setPicture(Picture::make(part));
            QVERIFY(tint.load(box) && tint.holdsPicture());
            QVERIFY(tint.apply(box, {9, 0, 0}));
            QCOMPARE(box.picture().image, tinted(part, 9, 0, 0));
        }
        box.clearPicture();
        QCOMPARE(errorText(tint.load(box)), QStringLiteral("Bildinformationen konnten nicht gelesen werden"));
        QVERIFY(!tint.holdsPicture());
        QVERIFY(tint.apply(box, {3, 0, 40}));
        QVERIFY(box.picture().isNull());
    }
};

QTEST_GUILESS_MAIN(PreviewTintTest)
#include "tst_previewtint.moc"
