// The parts window as designed: places and texts, the resize rule, and reloading from the
// design after its close box.

#include "TestProgram.h"

#include "parts/PartsLayout.h"
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
    void opensAtDesignedSizeAndFollowsTheRule();
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
    QTRY_COMPARE(parts.window()->frameGeometry().size(), PartsLayout::minimumOuterPixels());
    QCOMPARE(parts.ui().BartFile->geometry(), QRect(280, 200, 105, 45));
}

void PartsWindowLayoutTest::opensAtDesignedSizeAndFollowsTheRule()
{
    TestProgram p;
    TeileFrm &parts = p.app().teileFrm();
    QWidget *w = parts.window();
    parts.show();
    QCoreApplication::processEvents();
    // The designed inner size, unless the rule's minimum outer size asks for more with this frame.
    const QSize frame = w->frameGeometry().size() - w->size();
    QCOMPARE(w->size(), QSize(392, 351).expandedTo(PartsLayout::minimumOuterPixels() - frame));
    // Each resize, a one-pixel one included, puts the lists where the rule says for the new size.
    for (const QSize &delta : {QSize(0, 0), QSize(1, 0), QSize(0, 1), QSize(21, 7)}) {
        w->resize(w->size() + delta);
        QCoreApplication::processEvents();
        const QSize outer = w->frameGeometry().size();
        const PartsLayout rule = PartsLayout::forOuterSize(outer.width() * 15, outer.height() * 15);
        Ui::TeileFrm &u = parts.ui();
        QCOMPARE(u.ShirtFile->geometry(), QRect(rule.rightColumnLeft, rule.rowTops[2], rule.listWidth, rule.rowHeight));
        QCOMPARE(u.SchmuckFile->geometry(), QRect(168, rule.rowTops[4], rule.listWidth, rule.rowHeight));
        QCOMPARE(u.UserFile->geometry(), QRect(8, 300, 153, rule.userListHeight));
        QCOMPARE(u.TeilPic->geometry(), QRect(8, 8, 152, 195));
    }
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
