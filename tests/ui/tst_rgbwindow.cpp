// The colour-correction window as a user meets it: knob turns tint the part preview, the caption
// and, in "User" mode, the transparent colour follow; hiding, closing and reopening decide which
// part the knobs work on.

#include "TestProgram.h"

#include "core/Picture.h"
#include "parts/TransparentBlit.h"
#include "ui/App.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/RGB_Frm.h"
#include "ui/SetupDlg.h"
#include "ui/TeileFrm.h"
#include "ui_RGB_Frm.h"
#include "ui_SetupDlg.h"
#include "ui_TeileFrm.h"

#include <QApplication>
#include <QDial>
#include <QLabel>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

namespace {
const QString NoPictureInfo = QStringLiteral("Bildinformationen konnten nicht gelesen werden");

// A small part with no black pixel and channels spread over the whole range, 200 and 0 among them.
QImage partA()
{
    QImage img(4, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            img.setPixel(x, y, qRgb(x * 60 + y * 20 + 20, 255 - x * 50 - y * 5, y * 100));
    return img;
}

int cap(int v)
{
    return v > 255 ? 255 : v;
}

QImage tinted(const QImage &src, int r, int g, int b)
{
    QImage out = src.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = src.pixel(x, y);
            out.setPixel(x, y, qRgb(cap(qRed(p) + r), cap(qGreen(p) + g), cap(qBlue(p) + b)));
        }
    return out;
}

QImage shownPart(App &app)
{
    return app.teileFrm().TeilPic().model().picture().image;
}

void showPart(App &app, const QImage &image)
{
    app.teileFrm().TeilPic().model().setPicture(Picture::make(image));
}

// The parts window's "RGB" button.
RGB_Frm &openWindow(App &app)
{
    QTest::mouseClick(app.teileFrm().ui().Command1, Qt::LeftButton);
    return app.rgbFrm();
}

RGB_Frm &openOn(App &app, const QImage &part)
{
    showPart(app, part);
    return openWindow(app);
}

// What a user's turn does: the knob reports its new value.
void turn(QDial *knob, int value)
{
    QVERIFY(!knob->signalsBlocked());
    knob->setValue(value);
}

QColor background(QWidget *w)
{
    return w->palette().color(QPalette::Window);
}
} // namespace

class RgbWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void designShapeAndPlace();
    void knobsTakeKeysInTabOrder();
    void knobTurnsTintPreviewAndPasteTinted_data();
    void knobTurnsTintPreviewAndPasteTinted();
    void userModeFollowsKnobs_data();
    void userModeFollowsKnobs();
    void okKeepsFirstPart();
    void closeBoxMakesTintedPartTheSource();
    void failedReadWarnsOnceAndKnobsStillWork_data();
    void failedReadWarnsOnceAndKnobsStillWork();
};

void RgbWindowTest::designShapeAndPlace()
{
    TestProgram p;
    App &app = p.app();
    app.teileFrm().window()->move(300, 30);
    RGB_Frm &rgb = openWindow(app);
    QWidget *w = rgb.window();
    QVERIFY(w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("     RGB (0, 0, 0)"));
    QVERIFY(w->windowFlags().testFlag(Qt::Tool));
    QVERIFY(!w->windowFlags().testFlag(Qt::WindowMinMaxButtonsHint));
    QCOMPARE(w->minimumSize(), QSize(150, 99));
    QCOMPARE(w->maximumSize(), QSize(150, 99));
    // 4300 twips below and 70 twips left of the parts window at (4500, 450) twips.
    QCOMPARE(w->pos(), QPoint(295, 317));

    // The design's colours are blue-green-red values: "B " is blue, not red.
    QCOMPARE(rgb.ui().Label3->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(rgb.KnobB()->maximum(), 255);

    // The eight-cornered outline, its corners measured from the frame's top-left.
    const QPoint frame = w->geometry().topLeft() - w->frameGeometry().topLeft();
    const QRegion mask = w->mask().translated(frame);
    for (QPoint inside : {QPoint(70, 50), QPoint(4, 16), QPoint(140, 40), QPoint(70, 98), QPoint(20, 90)})
        QVERIFY2(mask.contains(inside), qPrintable(QString("%1,%2").arg(inside.x()).arg(inside.y())));
    for (QPoint outside : {QPoint(0, 0), QPoint(5, 5), QPoint(140, 5), QPoint(5, 90), QPoint(140, 90), QPoint(146, 50)})
        QVERIFY2(!mask.contains(outside), qPrintable(QString("%1,%2").arg(outside.x()).arg(outside.y())));
}

void RgbWindowTest::knobsTakeKeysInTabOrder()
{
    TestProgram p;
    App &app = p.app();
    RGB_Frm &rgb = openOn(app, partA());
    QVERIFY(QTest::qWaitForWindowActive(rgb.window()));
    rgb.KnobR()->setFocus();
    QCOMPARE(QApplication::focusWidget(), rgb.KnobR());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), rgb.KnobG());
    QTest::keyClick(rgb.KnobG(), Qt::Key_PageUp);
    QTest::keyClick(rgb.KnobG(), Qt::Key_Up);
    QCOMPARE(app.state.UserColour.green, 11);
    QCOMPARE(shownPart(app), tinted(partA(), 0, 11, 0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), rgb.KnobB());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), rgb.ui().Command1);
}

void RgbWindowTest::knobTurnsTintPreviewAndPasteTinted_data()
{
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QString>("caption");
    QTest::newRow("turned back to 0 copies") << 0 << 0 << 0 << "     RGB (0, 0, 0)";
    QTest::newRow("red 100 caps 200") << 100 << 0 << 0 << "     RGB (100, 0, 0)";
    QTest::newRow("mixed") << 10 << 0 << 255 << "     RGB (10, 0, 255)";
    QTest::newRow("all full") << 255 << 255 << 255 << "     RGB (255, 255, 255)";
}

void RgbWindowTest::knobTurnsTintPreviewAndPasteTinted()
{
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QString, caption);
    TestProgram p;
    App &app = p.app();
    RGB_Frm &rgb = openOn(app, partA());
    // Every knob is turned away and back to its value, so each row runs all three handlers.
    for (QDial *knob : {rgb.KnobR(), rgb.KnobG(), rgb.KnobB()})
        turn(knob, 7);
    turn(rgb.KnobR(), red);
    turn(rgb.KnobG(), green);
    turn(rgb.KnobB(), blue);
    QCOMPARE(rgb.window()->windowTitle(), caption);
    QCOMPARE(app.state.UserColour, (UserRgb{red, green, blue}));
    const QImage expected = tinted(partA(), red, green, blue);
    QCOMPARE(shownPart(app), expected);

    // The transfer takes the preview as it is now.
    TransferPart(app.form1().SkinPicture().model(), app.teileFrm().TeilPic().model(), app.state.PartRect, 128, 0,
                 app.state.TransparentColour);
    QCOMPARE(p.canvas().copy(128, 0, expected.width(), expected.height()), expected);
}

void RgbWindowTest::userModeFollowsKnobs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("follows");
    QTest::newRow("User") << "User" << true;
    QTest::newRow("other case") << "user" << false;
    QTest::newRow("blau") << "blau" << false;
}

void RgbWindowTest::userModeFollowsKnobs()
{
    QFETCH(QString, name);
    QFETCH(bool, follows);
    TestProgram p;
    App &app = p.app();
    showPart(app, partA());
    app.state.TransparentColourName = name;
    TeileFrm &parts = app.teileFrm();
    Ui::SetupDlg &setup = app.setupDlg().ui();
    app.setTransparentColour(Colours::Blue);
    const QString swatchTip = setup.Label5->toolTip();
    const QString colourName = setup.Label6->text();

    RGB_Frm &rgb = openWindow(app);
    turn(rgb.KnobG(), 128);

    const Colour expected = follows ? Colour(0x008000) : Colours::Blue;
    QCOMPARE(app.state.TransparentColour, expected);
    QCOMPARE(background(parts.ui().Label1), expected.toQColor());
    QCOMPARE(background(setup.Label5), expected.toQColor());
    QCOMPARE(parts.TeilPic().model().backColour(), expected);
    QCOMPARE(parts.TeilPic().model().fillColour(), expected);
    // Only the swatch's colour follows; the dialog's texts keep what the dialog put there.
    QCOMPARE(setup.Label5->toolTip(), swatchTip);
    QCOMPARE(setup.Label6->text(), colourName);
    QVERIFY(!app.setupDlg().isVisible());
    QCOMPARE(shownPart(app), tinted(partA(), 0, 128, 0));
}

void RgbWindowTest::okKeepsFirstPart()
{
    TestProgram p;
    App &app = p.app();
    RGB_Frm &rgb = openOn(app, partA());
    QTest::mouseClick(rgb.ui().Command1, Qt::LeftButton);
    QVERIFY(!rgb.isVisible() && rgb.isLoaded());

    showPart(app, filled(6, 5, qRgb(1, 2, 3)));
    openWindow(app);
    QVERIFY(rgb.isVisible());
    turn(rgb.KnobR(), 30);
    QCOMPARE(shownPart(app), tinted(partA(), 30, 0, 0));
}

void RgbWindowTest::closeBoxMakesTintedPartTheSource()
{
    TestProgram p;
    App &app = p.app();
    RGB_Frm &rgb = openOn(app, partA());
    turn(rgb.KnobR(), 50);
    rgb.window()->close();
    flushDeletes();
    QVERIFY(!rgb.isLoaded());
    QCOMPARE(app.state.UserColour.red, 50);

    openWindow(app);
    QVERIFY(rgb.isVisible());
    QCOMPARE(rgb.KnobR()->value(), 50);
    QCOMPARE(rgb.window()->windowTitle(), QStringLiteral("     RGB (50, 0, 0)"));
    QCOMPARE(shownPart(app), tinted(partA(), 50, 0, 0));
    turn(rgb.KnobG(), 1);
    QCOMPARE(rgb.window()->windowTitle(), QStringLiteral("     RGB (50, 1, 0)"));
    QCOMPARE(shownPart(app), tinted(partA(), 100, 1, 0));
}

void RgbWindowTest::failedReadWarnsOnceAndKnobsStillWork_data()
{
    QTest::addColumn<bool>("firstOpening");
    QTest::newRow("first opening") << true;
    QTest::newRow("opening after the close box") << false;
}

void RgbWindowTest::failedReadWarnsOnceAndKnobsStillWork()
{
    QFETCH(bool, firstOpening);
    TestProgram p;
    App &app = p.app();
    app.state.TransparentColourName = QStringLiteral("User");
    showPart(app, partA());
    if (!firstOpening) {
        // A knob away from 0 makes the reload set it, which must not write the old part back.
        turn(openWindow(app).KnobR(), 9);
        app.rgbFrm().window()->close();
        flushDeletes();
    }
    app.teileFrm().TeilPic().model().clearPicture();
    RGB_Frm &rgb = openWindow(app);
    QVERIFY(rgb.isVisible());
    QCOMPARE(p.messages.messages, QStringList{NoPictureInfo});

    turn(rgb.KnobB(), 40);
    turn(rgb.KnobR(), 3);
    QCOMPARE(app.state.UserColour, (UserRgb{3, 0, 40}));
    QCOMPARE(rgb.window()->windowTitle(), QStringLiteral("     RGB (3, 0, 40)"));
    QCOMPARE(app.state.TransparentColour, Colour(0x280003));
    QVERIFY(app.teileFrm().TeilPic().model().picture().isNull());
    QCOMPARE(p.messages.messages.size(), 1); // the warning came once, not at every turn
}

QTEST_MAIN(RgbWindowTest)
#include "tst_rgbwindow.moc"
