// The parts window and the editing road through it: picking parts in the lists pastes them at
// their places (or waits for "copy" in manual mode), user files go where the coordinate boxes
// say, bad numbers never reach the skin; the window's size follows its rule and its close box
// brings the design back.

#include "TestProgram.h"

#include "editor/PartsLayout.h"

using namespace pellwerk;
using namespace testsupport;

namespace {
QStringList names(const FileListBox *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->name(i);
    return out;
}
} // namespace

class PartsWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void automaticPasteAtKindPlace_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QPoint>("place");
        const auto row = [](const char *name, const char *list, const char *file, QPoint place) {
            QTest::newRow(name) << QString(list) << QString(file) << place;
        };
        row("face", "faceList", "Face01.bmp", {128, 0});
        row("foot", "footList", "foot_01.bmp", {0, 0});
        row("right arm", "rightArmList", "RightArm01.bmp", {56, 0});
        row("left arm", "leftArmList", "LeftArm_01.bmp", {95, 0});
        row("tattoo", "tattooList", "tatu1.bmp", {95, 0});
        row("chain", "chainList", "chain1.bmp", {216, 139});
        row("pants", "pantsList", "Pants1.bmp", {0, 85});
        row("shirt", "shirtList", "shirt1.bmp", {87, 128});
        row("glasses", "glassesList", "glass1.bmp", {184, 32});
        row("beard", "beardList", "beard1.bmp", {188, 71});
    }

    void automaticPasteAtKindPlace()
    {
        QFETCH(QString, list);
        QFETCH(QString, file);
        QFETCH(QPoint, place);
        const QImage part = crossedPart(60, 50, 7);
        TestProgram p;
        p.listParts({{file, part}});
        const QImage before = p.canvas();
        clickName(p.parts().window()->findChild<FileListBox *>(list), file);
        QCOMPARE(p.shownPreview(), p.previewOf(part));
        QCOMPARE(p.canvas(), pasted(before, part, place.x(), place.y()));
        QVERIFY(p.messages.messages.isEmpty());
        // "copy" pastes it again at the same place, as a step of the same kind.
        const auto copied = p.pressCopy();
        QVERIFY(copied && copied->place == place && copied->kind == p.app().skin().document().steps()[0].kind);
    }

    void manualModeWaitsForCopy()
    {
        const QImage shirt = crossedPart(100, 90, 3);
        TestProgram p;
        p.listParts({{"shirt1.bmp", shirt}});
        Ui::PartsWindow &u = p.partsUi();
        const QImage before = p.canvas();
        // Automatic mode: "copy" is off and a click on the preview does nothing.
        QVERIFY(u.autoPaste->isChecked() && !u.pasteNow->isEnabled());
        QTest::mouseClick(u.partPreview, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(p.canvas(), before);

        QTest::mouseClick(u.autoPaste, Qt::LeftButton);
        QVERIFY(!u.autoPaste->isChecked() && u.pasteNow->isEnabled());
        clickName(u.shirtList, "shirt1.bmp");
        QCOMPARE(p.shownPreview(), p.previewOf(shirt));
        QCOMPARE(p.canvas(), before);
        QTest::mouseClick(u.pasteNow, Qt::LeftButton);
        QCOMPARE(p.canvas(), pasted(before, shirt, 87, 128));
        // Pasting again at the same place, by a click on the preview, is a step of its own.
        QTest::mouseClick(u.partPreview, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(p.canvas(), pasted(before, shirt, 87, 128));
        QCOMPARE(p.app().skin().document().stepCount(), 2);
        QCOMPARE(p.app().skin().document().steps()[1].place, QPoint(87, 128));

        // Back to automatic: nothing is pasted by the switch itself.
        const QImage now = p.canvas();
        QTest::mouseClick(u.autoPaste, Qt::LeftButton);
        QVERIFY(!u.pasteNow->isEnabled());
        QCOMPARE(p.canvas(), now);
    }

    // Reaching a list with the keyboard picks nothing; each arrow key picks and pastes, and each
    // later part covers the earlier ones only where it is not black. The part stays selected: a click
    // on it, Enter or Space pick it again and paste it again, after "neu" dropped it.
    void keysAndRepeatedPicks()
    {
        const QImage a = crossedPart(20, 20, 1), b = crossedPart(30, 10, 90), c = crossedPart(10, 30, 160);
        TestProgram p;
        p.listParts({{"Face1.bmp", a}, {"Face2.bmp", b}, {"Face3.bmp", c}});
        FileListBox *list = p.partsUi().faceList;
        const QImage before = p.canvas();
        p.parts().window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.parts().window()));
        p.partsUi().rightArmList->setFocus();
        QTest::keyClick(p.parts().window(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(p.canvas(), before);
        QVERIFY(list->fileName().isEmpty());
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->fileName(), QStringLiteral("Face3.bmp"));
        QCOMPARE(p.canvas(), pasted(pasted(pasted(before, a, 128, 0), b, 128, 0), c, 128, 0));

        const QImage fresh = filled(256, 256, qRgb(10, 20, 30));
        for (const int key : {0, int(Qt::Key_Return), int(Qt::Key_Space)}) {
            p.main().newAction->trigger();
            QCOMPARE(p.canvas(), fresh);
            if (key)
                QTest::keyClick(list, Qt::Key(key));
            else
                clickName(list, "Face3.bmp");
            QCOMPARE(p.canvas(), pasted(fresh, c, 128, 0));
        }
    }

    // The user's own part folder joins the lists (as tst_filelisting proves in full, with each list's
    // pattern): where a name is in both folders, whatever its letter case, the user's file is listed
    // and pasted. The user list starts on every bitmap although the prefix box says "user"; typing
    // filters it.
    void userFolderAndPrefix()
    {
        QTemporaryDir dataHome;
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        const QImage own = crossedPart(30, 20, 5);
        QVERIFY(QDir().mkpath(dataHome.path() + "/pellwerk/Image"));
        QVERIFY(writeBmp(dataHome.path() + "/pellwerk/Image/face1.BMP", own));
        TestProgram p;
        p.listParts(
            {{"Face1.bmp", crossedPart(30, 20, 70)}, {"Face3.bmp", own}, {"hair1.bmp", own}, {"HAIR2.bmp", own}});
        qunsetenv("XDG_DATA_HOME");
        Ui::PartsWindow &u = p.partsUi();
        QCOMPARE(names(u.faceList), (QStringList{"face1.BMP", "Face3.bmp"}));
        const QImage before = p.canvas();
        clickName(u.faceList, "face1.BMP");
        QCOMPARE(p.canvas(), pasted(before, own, 128, 0));

        QCOMPARE(u.userList->count(), 4);
        u.userPrefix->selectAll();
        QTest::keyClicks(u.userPrefix, "hair");
        QCOMPARE(names(u.userList), (QStringList{"hair1.bmp", "HAIR2.bmp"}));
        u.userPrefix->selectAll();
        QTest::keyClick(u.userPrefix, Qt::Key_Delete);
        QCOMPARE(u.userList->count(), 4);
    }

    void userFileGoesToTypedPlace_data()
    {
        // How the boxes' texts are read is proved in tst_coordinates.
        QTest::addColumn<QStringList>("typed"); // x and y
        QTest::addColumn<QPoint>("place");      // where "copy" pastes: the face's (128, 0) when nothing is pasted
        QTest::addColumn<QString>("refusal");   // in the status line when nothing is pasted
        QTest::newRow("inside") << QStringList{"40", "60"} << QPoint(40, 60) << "";
        QTest::newRow("left of the skin") << QStringList{"-20", "10"} << QPoint(-20, 10) << "";
        QTest::newRow("clamped to 255") << QStringList{"900", "255"} << QPoint(255, 255) << "";
        QTest::newRow("no numbers") << QStringList{"zehn", ""} << QPoint(128, 0) << "X - und Y - Koordinate";
        QTest::newRow("x no number") << QStringList{"zehn", "3"} << QPoint(128, 0) << "X - Koordinate ist keine Zahl";
    }

    void userFileGoesToTypedPlace()
    {
        QFETCH(QStringList, typed);
        QFETCH(QPoint, place);
        QFETCH(QString, refusal);
        const bool pastes = refusal.isEmpty();
        const QImage part = crossedPart(40, 30, 44);
        TestProgram p;
        p.listParts({{"userScar.bmp", part}, {"Face1.bmp", crossedPart(20, 20, 1)}});
        clickName(p.partsUi().faceList, "Face1.bmp");
        const QImage before = p.canvas();
        p.parts().userPlaceX()->setText(typed[0]);
        p.parts().userPlaceY()->setText(typed[1]);
        clickName(p.partsUi().userList, "userScar.bmp");
        QCOMPARE(p.shownPreview(), p.previewOf(part));
        QCOMPARE(p.canvas(), pastes ? pasted(before, part, place.x(), place.y()) : before);
        QCOMPARE(p.parts().userPlaceX()->text(), typed[0] == "900" ? "255" : typed[0]); // the box shows its clamp
        const QString status = p.app().mainWindow().status();
        QVERIFY2(status.contains(pastes ? StatusText::userFile("userScar.bmp") : refusal), qPrintable(status));
        QVERIFY(p.messages.messages.isEmpty());

        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(p.partsUi().userList->viewport(), &move);
        QCOMPARE(p.app().mainWindow().status(), StatusText::userFileList());
        const auto copied = p.pressCopy();
        QVERIFY(copied && copied->place == place);
    }

    // The window opens at its designed size (larger when the rule's minimum asks for more with this
    // frame), snaps back to that minimum, and each resize puts the lists where the rule says.
    void sizeFollowsTheRule()
    {
        TestProgram p;
        QWidget *w = p.parts().window();
        p.parts().show();
        QCoreApplication::processEvents();
        const QSize frame = w->frameGeometry().size() - w->size();
        QCOMPARE(w->size(), QSize(392, 351).expandedTo(PartsLayout::minimumOuterPixels() - frame));
        const QSize opened = w->size();
        for (const QSize &size :
             {opened, opened + QSize(1, 0), opened + QSize(1, 1), opened + QSize(22, 8), QSize(200, 150)}) {
            w->resize(size);
            QCoreApplication::processEvents();
            QTRY_VERIFY(w->frameGeometry().size()
                        == size.expandedTo(PartsLayout::minimumOuterPixels() - frame) + frame);
            const QSize outer = w->frameGeometry().size();
            const PartsLayout rule = PartsLayout::forOuterSize(outer.width() * 15, outer.height() * 15);
            Ui::PartsWindow &u = p.partsUi();
            QCOMPARE(u.shirtList->geometry(),
                     QRect(rule.rightColumnLeft, rule.rowTops[2], rule.listWidth, rule.rowHeight));
            QCOMPARE(u.chainList->geometry(), QRect(168, rule.rowTops[4], rule.listWidth, rule.rowHeight));
            QCOMPARE(u.userList->geometry(), QRect(8, 300, 153, rule.userListHeight));
        }
    }

    void closeBoxReloadsFromDesign()
    {
        TestProgram p;
        p.listParts({{"shirt1.bmp", crossedPart(10, 10, 3)}});
        Ui::PartsWindow *u = &p.partsUi();
        u->autoPaste->click();
        clickName(u->shirtList, "shirt1.bmp");
        u->userPrefix->setText("hair");
        u->userPlaceX->setText("12");
        p.app().setTransparentColour(Colours::White);
        QCOMPARE(p.shownPreview().pixel(100, 150), qRgb(255, 255, 255)); // beside the part
        p.parts().window()->close();
        QVERIFY(!p.parts().isLoaded());
        flushDeletes();

        QTest::mouseClick(p.main().partsButton, Qt::LeftButton);
        QVERIFY(p.parts().isVisible());
        u = &p.partsUi();
        QVERIFY(u->autoPaste->isChecked() && !u->pasteNow->isEnabled());
        QCOMPARE(u->userPrefix->text(), QStringLiteral("user"));
        QCOMPARE(u->userPlaceX->text(), QStringLiteral("0"));
        QCOMPARE(p.shownPreview().pixel(100, 150), qRgb(0, 0, 0));
        for (FileListBox *list : p.parts().fileLists())
            QCOMPARE(list->path(), p.app().state.ImageFolder);
        // "copy" pastes the preview as a user file at (0, 0).
        const auto copied = p.pressCopy();
        QVERIFY(copied && copied->place == QPoint(0, 0) && copied->kind == PartKindId::User);
    }
};

QTEST_MAIN(PartsWindowTest)
#include "tst_partswindow.moc"
