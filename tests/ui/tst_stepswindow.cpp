// The steps window: its rows, each control and key, the undo step each change makes, its texts
// and the zoom window's in another language, and the zoom window's outline of the selected step.

#include "TestProgram.h"
#include "colour/Tint.h"
#include "core/PartFolders.h"
#include "editor/ZoomGeometry.h"
#include "ui/QtDialogs.h"
#include "ui/RampDialog.h"
#include "ui/StepsWindow.h"
#include "ui/ZoomView.h"
#include "ui_RampDialog.h"
#include "ui_StepsWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QUrl>

using namespace pellwerk;
using namespace testsupport;

namespace {
struct Editing : TestProgram
{
    const QImage face = crossedPart(60, 50, 1), shirt = crossedPart(100, 90, 2), scar = crossedPart(30, 20, 3);
    Editing()
    {
        listParts({{"Face01.bmp", face}, {"shirt02.bmp", shirt}, {"shirt03.bmp", scar}, {"userScar.bmp", scar}});
        start = canvas();
        clickName(partsUi().faceList, "Face01.bmp");
        clickName(partsUi().shirtList, "shirt02.bmp");
        main().stepsAction->trigger();
    }
    Ui::StepsWindow &steps() { return app().stepsWindow().ui(); }
    QStringList rows()
    {
        QStringList texts;
        for (int i = 0; i < steps().steps->count(); ++i)
            texts << steps().steps->item(i)->text();
        return texts;
    }
    QString undoText() { return main().undoAction->text(); }
    void type(QSpinBox *box, const QString &digits)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, digits);
    }
    // The skin with the face and the shirt as `shirtShown`.
    QImage skinWith(const QImage &shirtShown) { return pasted(pasted(start, face, 128, 0), shirtShown, 87, 128); }
    QImage start;
};
} // namespace

class StepsWindowTest : public QObject
{
    Q_OBJECT
private slots:
    // The rows, the controls of the selected step and what each change makes of the canvas and
    // the edit menu; typing a number is one undo step.
    void editsTheSelectedStep()
    {
        Editing e;
        Ui::StepsWindow &u = e.steps();
        QCOMPARE(e.app().stepsWindow().window()->windowTitle(), QStringLiteral("Schritte"));
        QCOMPARE(u.steps->accessibleName(), QStringLiteral("Schritte"));
        QCOMPARE(e.rows(), (QStringList{"Hemd shirt02.bmp", "Gesicht Face01.bmp", "Grundlage: Standard-Skin"}));
        QCOMPARE(u.steps->currentRow(), 0);
        // A click below the rows leaves the row of the step the controls edit highlighted.
        QTest::mouseClick(u.steps->viewport(), Qt::LeftButton, {}, {5, u.steps->viewport()->height() - 5});
        QCOMPARE(u.steps->selectedItems(), QList{u.steps->item(0)});
        QVERIFY(u.red->isEnabled() && !u.x->isEnabled() && !u.moveUp->isEnabled() && u.moveDown->isEnabled());
        const QImage plain = e.canvas();
        QCOMPARE(plain, e.skinWith(e.shirt));

        e.type(u.red, "40");
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: Tönung Hemd shirt02.bmp"));
        QCOMPARE(e.rows().first(), QStringLiteral("Hemd shirt02.bmp [getönt]"));
        const QImage tintedShirt = e.canvas();
        QCOMPARE(tintedShirt, e.skinWith(tinted(e.shirt, {40, 0, 0})));
        QCOMPARE(e.app().skin().document().steps()[1].tint, (UserRgb{40, 0, 0}));
        // "4" and "40" were one change: one undo takes both back.
        e.main().undoAction->trigger();
        QCOMPARE(e.canvas(), plain);
        QCOMPARE(u.red->value(), 0);
        e.main().redoAction->trigger();
        QCOMPARE(e.canvas(), tintedShirt);

        QTest::mouseClick(u.mirrored, Qt::LeftButton);
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: spiegeln Hemd shirt02.bmp"));
        QCOMPARE(e.rows().first(), QStringLiteral("Hemd shirt02.bmp [gespiegelt] [getönt]"));
        QCOMPARE(e.canvas(), e.skinWith(tinted(e.shirt, {40, 0, 0}).mirrored(true, false)));

        // Keys on the list: Space hides, Ctrl+Down paints it first, Delete removes it.
        u.steps->setFocus();
        QTest::keyClick(u.steps, Qt::Key_Space);
        QCOMPARE(e.rows().first(), QStringLiteral("Hemd shirt02.bmp [ausgeblendet] [gespiegelt] [getönt]"));
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: ausblenden Hemd shirt02.bmp"));
        QVERIFY(!u.visible->isChecked());
        QCOMPARE(e.canvas(), pasted(e.start, e.face, 128, 0));
        QTest::keyClick(u.steps, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(e.rows().mid(0, 2),
                 (QStringList{"Gesicht Face01.bmp", "Hemd shirt02.bmp [ausgeblendet] [gespiegelt] [getönt]"}));
        QCOMPARE(u.steps->currentRow(), 1);
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: nach unten Hemd shirt02.bmp"));
        QTest::keyClick(u.steps, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(u.steps->currentRow(), 0);
        QTest::keyClick(u.steps, Qt::Key_Delete);
        QCOMPARE(e.rows(), (QStringList{"Gesicht Face01.bmp", "Grundlage: Standard-Skin"}));
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: entfernen Hemd shirt02.bmp"));
        e.main().undoAction->trigger();
        QCOMPARE(e.rows().size(), 3);

        // The base row offers nothing to change.
        u.steps->setCurrentRow(2);
        QCOMPARE(e.app().skin().selectedStep(), -1);
        QVERIFY(!u.red->isEnabled() && !u.visible->isEnabled() && !u.remove->isEnabled() && !u.swapPart->isEnabled());
    }

    // Each button, and each tint box with its arrow held (three repeats), on the step of list row
    // `row`: its undo name, the tint it gives the shirt, and one undo that takes it back.
    void eachControl_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("undo");
        QTest::addColumn<QList<int>>("tint");
        QTest::newRow("nach oben") << "moveUp" << 1 << "rückgängig: nach oben Gesicht Face01.bmp" << QList{0, 0, 0};
        QTest::newRow("nach unten") << "moveDown" << 0 << "rückgängig: nach unten Hemd shirt02.bmp" << QList{0, 0, 0};
        QTest::newRow("entfernen") << "remove" << 0 << "rückgängig: entfernen Hemd shirt02.bmp" << QList{0, 0, 0};
        QTest::newRow("Grün") << "green" << 0 << "rückgängig: Tönung Hemd shirt02.bmp" << QList{0, 3, 0};
        QTest::newRow("Blau") << "blue" << 0 << "rückgängig: Tönung Hemd shirt02.bmp" << QList{0, 0, 3};
    }
    void eachControl()
    {
        QFETCH(QString, control);
        QFETCH(int, row);
        QFETCH(QList<int>, tint);
        Editing e;
        const QImage before = e.canvas();
        const QStringList start = e.rows();
        e.steps().steps->setCurrentRow(row);
        QWidget *w = e.app().stepsWindow().window()->findChild<QWidget *>(control);
        if (auto *button = qobject_cast<QPushButton *>(w))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            for (int repeat = 0; repeat < 3; ++repeat)
                QTest::keyClick(w, Qt::Key_Up);
        QTEST(e.undoText(), "undo");
        if (tint != QList{0, 0, 0})
            QCOMPARE(e.canvas(), e.skinWith(tinted(e.shirt, {tint[0], tint[1], tint[2]})));
        e.main().undoAction->trigger();
        QCOMPARE(e.canvas(), before);
        QCOMPARE(e.rows(), start);
    }

    // A user part's place, a part swapped through the kind's file dialog, and the zoom window's
    // outline of the selected step.
    void placeSwapAndOutline()
    {
        Editing e;
        Ui::StepsWindow &u = e.steps();
        clickName(e.partsUi().userList, "userScar.bmp");
        QCOMPARE(e.rows().first(), QStringLiteral("Benutzer-Teil userScar.bmp"));
        QVERIFY(u.x->isEnabled() && u.y->isEnabled());
        const QImage before = e.canvas();
        // Leaving a box ends its burst, and focus moves only in the active window.
        e.app().stepsWindow().window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.app().stepsWindow().window()));
        e.type(u.x, "-7");
        e.type(u.y, "30");
        QCOMPARE(e.app().skin().document().steps().back().place, QPoint(-7, 30));
        // The place took two undo steps, one per box.
        e.main().undoAction->trigger();
        QCOMPARE(e.app().skin().document().steps().back().place, QPoint(-7, 0));
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: Ort Benutzer-Teil userScar.bmp"));
        e.main().undoAction->trigger();
        QCOMPARE(e.canvas(), before);

        e.main().zoomAction->trigger();
        QCOMPARE(e.app().zoomWindow().view()->overlay().selected, landingRect({0, 0}, e.scar.size()));
        // The boxes take every place a recipe may hold, and each changes only its coordinate.
        e.app().skin().setPlace(2, {INT_MIN, 0});
        QCOMPARE(u.x->value(), INT_MIN);
        e.type(u.y, "61");
        QCOMPARE(e.app().skin().document().steps().back().place, QPoint(INT_MIN, 61));

        u.steps->setCurrentRow(1); // the shirt
        QCOMPARE(e.app().zoomWindow().view()->overlay().selected, landingRect({87, 128}, e.shirt.size()));
        e.dialogs->answer(e.imagePath("shirt03.bmp"));
        QTest::mouseClick(u.swapPart, Qt::LeftButton);
        const FileDialogRequest asked = e.dialogs->requests.back();
        QCOMPARE(asked.filter, QStringLiteral("Teile |shirt*.bmp|"));
        // It offers every folder of the kind's list: the part's own, then the user's own parts.
        QVERIFY(QDir().mkpath(userPartFolder()));
        const QStringList folders{e.folder() + "/Image", QDir::cleanPath(userPartFolder())};
        QCOMPARE(asked.places, folders);
        QFileDialog shown;
        QtFileDialogBackend::configure(shown, asked);
        QCOMPARE(shown.sidebarUrls().mid(0, 2),
                 (QList{QUrl::fromLocalFile(folders[0]), QUrl::fromLocalFile(folders[1])}));
        QCOMPARE(e.rows().at(1), QStringLiteral("Hemd shirt03.bmp"));
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: Teil tauschen Hemd shirt03.bmp"));
        QCOMPARE(e.app().zoomWindow().view()->overlay().selected, landingRect({87, 128}, e.scar.size()));
    }

    // "Farbrampe…": the canvas shows the choice at once, OK is one undo step, "Abbrechen" and Esc
    // leave the step as it was, "keine" takes the swap away. "kurz" is a colour short of "von".
    void rampDialog()
    {
        Editing e;
        const QRgb a = e.shirt.pixel(0, 0), b = e.shirt.pixel(1, 0);
        const auto gpl = [](QList<QRgb> colours) {
            QByteArray text = "GIMP Palette\n";
            for (const QRgb c : colours)
                text += QByteArray::number(qRed(c)) + ' ' + QByteArray::number(qGreen(c)) + ' '
                        + QByteArray::number(qBlue(c)) + '\n';
            return text;
        };
        QVERIFY(QDir().mkpath(e.folder() + "/Paletten"));
        for (const auto &[name, colours] : {std::pair{"von", QList{a, b}},
                                            {"nach", QList{qRgb(9, 9, 9), qRgb(8, 8, 8)}},
                                            {"kurz", QList{qRgb(7, 7, 7)}}})
            QVERIFY(writeFile(e.folder() + "/Paletten/" + name + ".gpl", gpl(colours)));
        QImage recoloured = e.shirt;
        for (int y = 0; y < recoloured.height(); ++y)
            for (int x = 0; x < recoloured.width(); ++x)
                if (const QRgb c = recoloured.pixel(x, y); c == a || c == b)
                    recoloured.setPixel(x, y, c == a ? qRgb(9, 9, 9) : qRgb(8, 8, 8));
        const QImage plain = e.canvas(), swapped = e.skinWith(recoloured);
        Ui::RampDialog &r = e.app().stepsWindow().rampDialog().ui();
        const auto pick = [](QListWidget *list, const QString &text) {
            const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
            QVERIFY(found.size() == 1 && (found[0]->flags() & Qt::ItemIsEnabled));
            list->setCurrentItem(found[0]);
        };
        const auto open = [&] {
            QTest::mouseClick(e.steps().rampButton, Qt::LeftButton);
            QVERIFY(r.fromList->window()->isVisible() && r.fromList->window()->windowTitle() == "Farbrampe");
        };

        open();
        QCOMPARE(r.fromList->currentItem()->text(), QStringLiteral("keine"));
        QCOMPARE(r.fromList->accessibleName() + r.toList->accessibleName(), QStringLiteral("vonnach"));
        pick(r.fromList, "von");
        QVERIFY(!(r.toList->findItems("kurz", Qt::MatchExactly)[0]->flags() & Qt::ItemIsEnabled));
        QVERIFY(!r.okButton->isEnabled());
        pick(r.toList, "nach");
        QCOMPARE(e.canvas(), swapped);
        QTest::mouseClick(r.okButton, Qt::LeftButton);
        QVERIFY(!r.fromList->window()->isVisible());
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: Farbrampe Hemd shirt02.bmp"));
        e.main().undoAction->trigger();
        QCOMPARE(e.canvas(), plain);
        e.main().redoAction->trigger();
        QCOMPARE(e.canvas(), swapped);

        open();
        QCOMPARE(r.toList->currentItem()->text(), QStringLiteral("nach"));
        pick(r.fromList, "keine");
        QCOMPARE(e.canvas(), plain);
        QTest::mouseClick(r.cancelButton, Qt::LeftButton);
        QCOMPARE(e.canvas(), swapped);
        open();
        pick(r.fromList, "keine");
        QTest::keyClick(r.fromList, Qt::Key_Escape);
        QCOMPARE(e.canvas(), swapped);
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: Farbrampe Hemd shirt02.bmp"));

        open();
        pick(r.fromList, "keine");
        QTest::mouseClick(r.okButton, Qt::LeftButton);
        QCOMPARE(e.canvas(), plain);
        QCOMPARE(e.undoText(), QStringLiteral("rückgängig: Farbrampe entfernen Hemd shirt02.bmp"));
        QVERIFY(e.app().skin().document().steps()[1].ramp.isNone());
    }

    // Built after a language was picked, the window shows that language's words, and a screen
    // reader reads its spin boxes by them.
    void languageTexts()
    {
        TestProgram p;
        QVERIFY(QFile::copy(PELLWERK_ASSETS "/lang/english.zlf", p.folder() + "/english.zlf"));
        clickName(p.app().settingsDialog().ui().languageList, "english.zlf");
        QCOMPARE(p.main().stepsAction->text(), QStringLiteral("Steps"));
        p.main().stepsAction->trigger();
        Ui::StepsWindow &u = p.app().stepsWindow().ui();
        QCOMPARE(p.app().stepsWindow().window()->windowTitle(), QStringLiteral("Steps"));
        const QStringList texts{u.redLabel->text(), u.green->accessibleName(), u.blueLabel->text(), u.visible->text(),
                                u.mirrored->text(), u.moveUp->text(),          u.moveDown->text(),  u.remove->text(),
                                u.swapPart->text(), u.steps->item(0)->text(),  u.rampButton->text()};
        QCOMPARE(texts, (QStringList{"Red", "Green", "Blue", "visible", "mirrored", "Move up", "Move down", "Remove",
                                     "Swap part…", "Base: Default skin", "Colour ramp…"}));
        Ui::RampDialog &r = p.app().stepsWindow().rampDialog().ui();
        QCOMPARE(QStringList({r.fromList->window()->windowTitle(), r.toLabel->text(), r.fromList->accessibleName(),
                              r.cancelButton->text()}),
                 QStringList({"Colour ramp", "to", "from", "Cancel"}));

        // The edit menu names a step's edits in its words, the swap dialog speaks it, and the
        // lists are described by their tool-tips.
        p.listParts({{"shirt02.bmp", crossedPart(9, 9, 1)}});
        clickName(p.partsUi().shirtList, "shirt02.bmp");
        QTest::mouseClick(u.mirrored, Qt::LeftButton);
        p.dialogs->answer(std::nullopt);
        QTest::mouseClick(u.swapPart, Qt::LeftButton);
        QVERIFY(QDir().mkpath(p.folder() + "/Paletten"));
        QVERIFY(writeFile(p.folder() + "/Paletten/p.gpl", "GIMP Palette\n1 2 3\n"));
        QTest::mouseClick(u.rampButton, Qt::LeftButton);
        QCOMPARE(QStringList({p.main().undoAction->text(), p.dialogs->requests.back().title,
                              p.dialogs->requests.back().filter, u.green->toolTip(), r.okButton->toolTip(),
                              r.fromList->item(1)->toolTip().section(' ', -2),
                              u.steps->accessibleDescription().left(21), r.toList->accessibleDescription().left(16)}),
                 QStringList({"Undo: Mirror Hemd shirt02.bmp", "Swap part", "Parts |shirt*.bmp|",
                              "Tint: added to green, at most 255", "Take the swap (one step to undo)", "(1 colours)",
                              "The step painted last", "The colours that"}));

        // The zoom window and its menu entry speak it too, also when built again after a close, and
        // name the spin boxes to a screen reader in it; the view menu's title stays German.
        p.main().zoomAction->trigger();
        p.app().zoomWindow().window()->close();
        p.main().zoomAction->trigger();
        Ui::ZoomWindow &z = p.app().zoomWindow().ui();
        QCOMPARE(QStringList({p.main().viewMenu->title(), p.main().zoomAction->text(), z.View->window()->windowTitle(),
                              z.NearLabel->text(), z.FringeLabel->text(), z.NearBox->accessibleName(),
                              z.OverlayCheck->toolTip().left(9), z.CountsText->text().section(' ', 1)}),
                 QStringList({"Ansicht", "Magnifier", "Magnifier", "Near (K):", "fringe",
                              "Nearness to the transparent colour (K)", "Where the",
                              "left out, 0 near the transparent colour, 0 of them at the fringe"}));
    }
};

QTEST_MAIN(StepsWindowTest)
#include "tst_stepswindow.moc"
