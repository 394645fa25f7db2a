// The parts window as designed: places and texts, the resize rule, and reloading from the
// design after its close box.

#include "TestProgram.h"

#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/TeileFrm.h"
#include "ui_TeileFrm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

class PartsWindowLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void designedControls();
    void minimumSizeSnapsBack();
    void layoutRule_data();
    void layoutRule();
    void closeBoxReloadsFromDesign();
};

void PartsWindowLayoutTest::designedControls()
{
    TestProgram p;
    TeileFrm &parts = p.app().teileFrm();
    Ui::TeileFrm &u = parts.ui();
    QCOMPARE(parts.window()->windowTitle(), QStringLiteral("Teile"));
    QCOMPARE(u.TeilPic->geometry(), QRect(8, 8, 152, 195));
    QCOMPARE(u.TeilPic->model().innerSize(), QSize(148, 191));
    QCOMPARE(u.TeilPic->model().picture().image.size(), QSize(56, 72));
    QVERIFY(u.TranspCheck->isChecked() && !u.TranspBtn->isEnabled());
    QCOMPARE(u.UserPrefix->text(), QStringLiteral("user"));
    QCOMPARE(u.UserFile->pattern(), QStringLiteral("*.bmp"));
    QCOMPARE(u.FootFile->pattern(), QStringLiteral("foot_*.bmp"));
    QCOMPARE(u.LeftArmFile->toolTip(), QStringLiteral("left arm file"));
    QCOMPARE(u.TranspBtn->toolTip(), QStringLiteral("Teil kopieren wenn AUTOmathik aus"));
    // Everything without visible text has a name a screen reader can say.
    for (QWidget *w : std::initializer_list<QWidget *>{u.TeilPic, u.EigBerX, u.EigBerY, u.UserPrefix, u.UserFile,
                                                       u.FootFile, u.BartFile})
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    // The designed focus order, not the columns.
    QWidget *w = u.TeilPic;
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isEnabled())
            w = w->nextInFocusChain();
    }
    QCOMPARE(order, (QStringList{"TeilPic", "FootFile", "LeftArmFile", "RightArmFile", "FaceFile"}));
}

void PartsWindowLayoutTest::minimumSizeSnapsBack()
{
    TestProgram p;
    TeileFrm &parts = p.app().teileFrm();
    parts.show();
    parts.window()->resize(200, 150);
    QCoreApplication::processEvents();
    QTRY_COMPARE(parts.window()->frameGeometry().size(), QSize(395, 376));
    // The lists then lie as the layout rule's "minimum size" row says.
    QCOMPARE(parts.ui().BartFile->geometry(), QRect(280, 200, 105, 45));
}

void PartsWindowLayoutTest::layoutRule_data()
{
    QTest::addColumn<int>("W");
    QTest::addColumn<int>("H");
    QTest::addColumn<int>("listWidth");
    QTest::addColumn<int>("rightLeft");
    QTest::addColumn<QList<int>>("rowTops");
    QTest::addColumn<int>("rowHeight");
    QTest::addColumn<int>("userHeight");
    const QList<int> builtTops{8, 56, 104, 152, 200};
    QTest::newRow("minimum size") << 5925 << 5635 << 105 << 280 << builtTops << 45 << 45;
    QTest::newRow("320 twips wider") << 6245 << 5635 << 115 << 290 << builtTops << 45 << 45;
    QTest::newRow("one height step") << 5925 << 5705 << 105 << 280 << QList<int>{8, 58, 108, 158, 208} << 47 << 51;
    QTest::newRow("half a step rounds to even") << 5925 << 5652 << 105 << 280 << builtTops << 45 << 45;
    QTest::newRow("first step") << 5925 << 5653 << 105 << 280 << QList<int>{8, 58, 108, 158, 208} << 47 << 51;
    QTest::newRow("large") << 9125 << 6650 << 205 << 380 << QList<int>{8, 76, 144, 212, 280} << 65 << 105;
}

void PartsWindowLayoutTest::layoutRule()
{
    QFETCH(int, W);
    QFETCH(int, H);
    QFETCH(int, listWidth);
    QFETCH(int, rightLeft);
    QFETCH(QList<int>, rowTops);
    QFETCH(int, rowHeight);
    QFETCH(int, userHeight);
    TestProgram p;
    TeileFrm &parts = p.app().teileFrm();
    parts.applyLayout(W, H);
    Ui::TeileFrm &u = parts.ui();
    const QList<FileListBox *> left{u.FootFile, u.RightArmFile, u.LeftArmFile, u.TatuFile, u.SchmuckFile};
    const QList<FileListBox *> right{u.FaceFile, u.PantsFile, u.ShirtFile, u.GlassesFile, u.BartFile};
    for (int k = 0; k < 5; ++k) {
        QCOMPARE(left[k]->geometry(), QRect(168, rowTops[k], listWidth, rowHeight));
        QCOMPARE(right[k]->geometry(), QRect(rightLeft, rowTops[k], listWidth, rowHeight));
    }
    QCOMPARE(u.UserFile->geometry(), QRect(8, 300, 153, userHeight));
    QCOMPARE(u.TeilPic->geometry(), QRect(8, 8, 152, 195));
    QCOMPARE(p.app().state.PartRect, (Rect32{0, 0, 148, 191}));
}

void PartsWindowLayoutTest::closeBoxReloadsFromDesign()
{
    TestProgram p;
    TeileFrm &parts = p.app().teileFrm();
    parts.show();
    Ui::TeileFrm *u = &parts.ui();
    u->TranspCheck->click();
    u->UserPrefix->setText("hair");
    u->EigBerX->setText("12");
    parts.TeilPic().model().setBackColour(Colours::White);
    parts.LastTargetX = 87;
    parts.window()->close();
    QVERIFY(!parts.isLoaded());
    flushDeletes();

    p.app().form1().Command1_Click();
    QVERIFY(parts.isVisible());
    u = &parts.ui();
    QVERIFY(u->TranspCheck->isChecked() && !u->TranspBtn->isEnabled());
    QCOMPARE(u->UserPrefix->text(), QStringLiteral("user"));
    QCOMPARE(u->UserFile->pattern(), QStringLiteral("*.bmp"));
    QCOMPARE(u->EigBerX->text(), QStringLiteral("0"));
    QCOMPARE(parts.TeilPic().model().backColour(), Colours::Black);
    QCOMPARE(parts.LastTargetX, 0);
    for (FileListBox *list : parts.fileLists())
        QCOMPARE(list->path(), p.app().state.ImageFolder);
}

QTEST_MAIN(PartsWindowLayoutTest)
#include "tst_partswindow_layout.moc"
