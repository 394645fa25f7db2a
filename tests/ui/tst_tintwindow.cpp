// The colour-correction window as a user meets it: knob turns tint the part preview, the caption
// and, in "User" mode, the transparent colour follow; hiding, closing and reopening decide which
// part the knobs work on.

#include "TestProgram.h"

using namespace pellwerk;
using namespace testsupport;

namespace {
// A small part with no black pixel and channels spread over the whole range, 200 and 0 among them.
QImage partA()
{
    QImage img(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            img.setPixel(x, y, qRgb(x * 60 + y * 20 + 20, 255 - x * 50 - y * 5, y * 100));
    return img;
}

// What the knobs make of `src`: each channel raised by its knob, capped at 255.
QImage tinted(const QImage &src, int r, int g, int b)
{
    QImage out = src.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = src.pixel(x, y);
            out.setPixel(x, y, qRgb(qMin(qRed(p) + r, 255), qMin(qGreen(p) + g, 255), qMin(qBlue(p) + b, 255)));
        }
    return out;
}

QString caption(int r, int g, int b)
{
    return QStringLiteral("     RGB (%1, %2, %3)").arg(r).arg(g).arg(b);
}

// A program with partA picked in the parts window, so that the preview shows it.
struct TintProgram : TestProgram
{
    TintProgram()
    {
        listParts({{"Face1.bmp", partA()}, {"Face2.bmp", filled(6, 5, qRgb(1, 2, 3))}}, false);
        clickName(partsUi().faceList, "Face1.bmp");
    }
};
} // namespace

class TintWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void placeAndShape()
    {
        TintProgram p;
        p.parts().window()->move(300, 30);
        QWidget *w = p.openTint().window();
        QVERIFY(w->isVisible());
        // 4300 twips below and 70 twips left of the parts window at (4500, 450) twips.
        QCOMPARE(w->pos(), QPoint(295, 317));
        // The design's colours are blue-green-red values: "B " is blue, not red.
        QCOMPARE(p.app().tintWindow().ui().blueLabel->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        // The eight-cornered outline, its corners measured from the frame's top-left.
        const QRegion mask = w->mask().translated(w->geometry().topLeft() - w->frameGeometry().topLeft());
        for (QPoint inside : {QPoint(70, 50), QPoint(4, 16), QPoint(70, 98)})
            QVERIFY(mask.contains(inside));
        for (QPoint outside : {QPoint(5, 5), QPoint(140, 90), QPoint(146, 50)})
            QVERIFY(!mask.contains(outside));
    }

    void knobTurnsTintThePreview_data()
    {
        QTest::addColumn<UserRgb>("knobs");
        QTest::newRow("turned back to 0 copies") << UserRgb{0, 0, 0};
        QTest::newRow("red 100 caps 200") << UserRgb{100, 0, 0};
        QTest::newRow("mixed") << UserRgb{10, 0, 255};
        QTest::newRow("all full") << UserRgb{255, 255, 255};
    }

    void knobTurnsTintThePreview()
    {
        QFETCH(UserRgb, knobs);
        const auto [red, green, blue] = knobs;
        TintProgram p;
        TintWindow &tint = p.openTint();
        // Every knob is turned away and back to its value, so each row runs all three handlers.
        for (QDial *knob : {tint.redKnob(), tint.greenKnob(), tint.blueKnob()})
            knob->setValue(7);
        tint.redKnob()->setValue(red);
        tint.greenKnob()->setValue(green);
        tint.blueKnob()->setValue(blue);
        QCOMPARE(tint.window()->windowTitle(), caption(red, green, blue));
        QCOMPARE(p.app().state.UserColour, knobs);
        QCOMPARE(p.shownPreview(), p.previewOf(tinted(partA(), red, green, blue)));
    }

    void userModeFollowsKnobs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("follows");
        QTest::newRow("User") << "User" << true;
        QTest::newRow("blau") << "blau" << false;
    }

    void userModeFollowsKnobs()
    {
        QFETCH(QString, name);
        QFETCH(bool, follows);
        TintProgram p;
        App &app = p.app();
        app.state.TransparentColourName = name;
        Ui::SettingsDialog &settings = app.settingsDialog().ui();
        app.setTransparentColour(Colours::Blue);
        const QString swatchTip = settings.colourSwatch->toolTip(), colourName = settings.colourName->text();
        p.openTint().greenKnob()->setValue(128);

        const Colour expected = follows ? Colour(0x008000) : Colours::Blue;
        QCOMPARE(app.state.TransparentColour, expected);
        QCOMPARE(background(p.partsUi().transparentLabel), expected.toQColor());
        QCOMPARE(background(settings.colourSwatch), expected.toQColor());
        // Only the swatch's colour follows; the dialog's texts keep what the dialog put there.
        QCOMPARE(settings.colourSwatch->toolTip(), swatchTip);
        QCOMPARE(settings.colourName->text(), colourName);
        QCOMPARE(p.shownPreview(), p.previewOf(tinted(partA(), 0, 128, 0)));
    }

    // Shown again after "OK", the window still works on the part it read first, whatever the preview
    // shows now; after the close box its knobs come back as they were and work on the tinted part.
    void shownAgain_data()
    {
        QTest::addColumn<bool>("byOk");
        QTest::newRow("OK") << true;
        QTest::newRow("close box") << false;
    }

    void shownAgain()
    {
        QFETCH(bool, byOk);
        TintProgram p;
        TintWindow &tint = p.openTint();
        tint.redKnob()->setValue(50);
        if (byOk) {
            QTest::mouseClick(tint.ui().okButton, Qt::LeftButton);
            clickName(p.partsUi().faceList, "Face2.bmp");
            QCOMPARE(p.shownPreview(), p.previewOf(filled(6, 5, qRgb(1, 2, 3))));
        } else {
            tint.window()->close();
            flushDeletes();
        }
        QVERIFY(!tint.isVisible());
        QCOMPARE(tint.isLoaded(), byOk);

        QVERIFY(p.openTint().isVisible());
        QCOMPARE(tint.redKnob()->value(), 50);
        QCOMPARE(tint.window()->windowTitle(), caption(50, 0, 0));
        tint.greenKnob()->setValue(1);
        QCOMPARE(tint.window()->windowTitle(), caption(50, 1, 0));
        QCOMPARE(p.shownPreview(), p.previewOf(tinted(partA(), byOk ? 50 : 100, 1, 0)));
    }
};

QTEST_MAIN(TintWindowTest)
#include "tst_tintwindow.moc"
