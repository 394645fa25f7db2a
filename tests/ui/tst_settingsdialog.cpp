// The settings dialog and the about box as a user meets them: the colour choice and what it does to
// the parts window and the next transfer, the folder choice, picking language files and the texts
// that then stand on all three windows, and the lifecycles of "OK" and the close box.

#include "TestProgram.h"

#include "parts/TransparentBlit.h"
#include "ui/AboutDlg.h"
#include "ui/App.h"
#include "ui/FileListBox.h"
#include "ui/Form1.h"
#include "ui/PictureBox.h"
#include "ui/SetupDlg.h"
#include "ui/TeileFrm.h"
#include "ui_AboutDlg.h"
#include "ui_Form1.h"
#include "ui_SetupDlg.h"
#include "ui_TeileFrm.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

namespace {

// Copies the shipped language files into the program folder, as the installation puts them there.
void installLanguages(TestProgram &p, bool withDeutsch = true)
{
    const QDir lang(QStringLiteral(PELLWERK_ASSETS "/lang"));
    for (const QString &name : lang.entryList({QStringLiteral("*.zlf")}, QDir::Files)) {
        if (withDeutsch || name != QLatin1String("deutsch.zlf"))
            QVERIFY(QFile::copy(lang.filePath(name), p.folder() + "/" + name));
    }
}

SetupDlg &shownDialog(TestProgram &p)
{
    p.app().form1().ui().PrgSetup->trigger();
    return p.app().setupDlg();
}

// Clicks the list entry where the user sees it.
void clickListEntry(FileListBox *list, const QString &name)
{
    clickName(list, name);
    QCOMPARE(list->fileName(), name);
}

// Walks the colour list with the arrow keys, as a user does, until `name` is picked.
void pickColour(SetupDlg &dlg, const QString &name)
{
    QComboBox *combo = dlg.ui().Combo1;
    const int target = combo->findText(name);
    QVERIFY(target >= 0);
    for (int guard = 0; guard < 8 && combo->currentIndex() != target; ++guard)
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    QCOMPARE(combo->currentIndex(), target);
}

const auto background = [](QWidget *w) { return w->palette().color(QPalette::Window); };

// Texts of rows 1 to 28, read straight off the windows.
QStringList shownTexts(App &app)
{
    Ui::Form1 &m = app.form1().ui();
    Ui::TeileFrm &t = app.teileFrm().ui();
    Ui::SetupDlg &d = app.setupDlg().ui();
    QStringList texts;
    texts << m.Datei->title() << m.dneu->text() << m.speichern->text() << m.dopen->text() << m.MEnde->text()
          << m.MSetup->title() << m.PrgSetup->text() << m.MFolder->text() << m.Mueber->text() << m.Command1->text()
          << app.setupDlg().window()->windowTitle() << d.Label1->text() << d.Command1->text() << d.Label6->text()
          << app.teileFrm().window()->windowTitle() << t.TeilPic->toolTip();
    for (QWidget *list : {t.FootFile, t.FaceFile, t.RightArmFile, t.PantsFile, t.LeftArmFile, t.ShirtFile, t.TatuFile,
                          t.GlassesFile, t.SchmuckFile, t.BartFile})
        texts << list->toolTip();
    return texts;
}

// Rows 1 to 17, then the text the nine part lists share.
QStringList rowTexts(const QString &rows, const QString &partLists)
{
    QStringList texts = rows.split(u'|');
    for (int i = 0; i < 9; ++i)
        texts << partLists;
    return texts;
}

const QStringList English = rowTexts("File|New|Save|Open|Exit|Settings|Settings|Velmora Directory|About|Parts|"
                                     "Settings|Language|Directory|black|Parts|Preview|Foot file",
                                     "File");
// One key serves the menu and all nine part lists, so the German file differs from the design there.
const QStringList Deutsch = rowTexts("Datei|neu|speichern|öffnen|beenden|Einstellungen|Einstellungen|Velmora "
                                     "Verzeichniss|über|Teile|Einstellungen|Sprache|Verzeichniss|schwarz|Teile|"
                                     "preview|Foot file",
                                     "Datei");

} // namespace

class SettingsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void languagePick_data()
    {
        QTest::addColumn<QStringList>("picks");
        QTest::addColumn<bool>("withDeutsch");
        QTest::addColumn<QString>("label7");
        QTest::addColumn<QString>("languageFile");
        QTest::addColumn<QStringList>("texts");
        const auto row = [](const char *name, const QString &picks, bool withDeutsch, const QString &label7,
                            const QString &languageFile, const QStringList &texts) {
            QTest::newRow(name) << picks.split(u' ') << withDeutsch << label7 << languageFile << texts;
        };
        row("english", "english.zlf", true, "LANGUAGE=english", "english.zlf", English);
        row("english, then deutsch", "english.zlf deutsch.zlf", true, "LANGUAGE=deutsch", "deutsch.zlf", Deutsch);
        QStringList noAbout = English;
        noAbout[8] = QString();
        row("a file without one key", "partial.zlf", true, "LANGUAGE=partial", "partial.zlf", noAbout);
        row("no name line: english stays", "english.zlf nolang.zlf", true, "LANGUAGE=english", "english.zlf", English);
        row("removed file: english stays", "english.zlf gone.zlf", true, "LANGUAGE=english", "english.zlf", English);
        row("no name line, deutsch.zlf absent", "nolang.zlf", false, "deutsch", "deutsch.zlf", QStringList(26));
    }

    void languagePick()
    {
        QFETCH(QStringList, picks);
        QFETCH(bool, withDeutsch);
        QFETCH(QString, label7);
        QFETCH(QString, languageFile);
        QFETCH(QStringList, texts);

        TestProgram p;
        installLanguages(p, withDeutsch);
        QFile english(QStringLiteral(PELLWERK_ASSETS "/lang/english.zlf"));
        QVERIFY(english.open(QIODevice::ReadOnly));
        QVERIFY(writeFile(
            p.folder() + "/partial.zlf",
            english.readAll().replace("about#About\r\n", "").replace("LANGUAGE=english", "LANGUAGE=partial")));
        QVERIFY(writeFile(p.folder() + "/nolang.zlf", "file#Akte\r\nnew#Neu\r\n"));
        QVERIFY(writeFile(p.folder() + "/gone.zlf", "LANGUAGE=gone\r\nfile#Weg\r\n"));

        SetupDlg &dlg = shownDialog(p);
        QCOMPARE(dlg.ui().File1->count(), withDeutsch ? 6 : 5);
        QCOMPARE(dlg.ui().File1->currentRow(), -1);
        // Listed when the dialog was built, unreadable by the time it is picked.
        QVERIFY(QFile::remove(p.folder() + "/gone.zlf"));
        for (const QString &pick : picks)
            clickListEntry(dlg.ui().File1, pick);

        QCOMPARE(dlg.ui().Label7->text(), label7);
        QCOMPARE(p.app().state.LanguageFile, languageFile);
        QCOMPARE(shownTexts(p.app()), texts);
        QVERIFY(dlg.isVisible());
    }

    void colourChoice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<UserRgb>("userColour");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("label6");
        QTest::addColumn<QString>("english"); // Label6 once the English file is applied
        const auto row = [](const char *tag, const char *name, UserRgb user, quint32 value, const char *label6,
                            const char *english) {
            QTest::newRow(tag) << QString(name) << user << value << QString(label6) << QString(english);
        };
        row("weiss", "weiss", {9, 9, 9}, 0xFFFFFF, " weiss", "white");
        row("blau", "blau", {9, 9, 9}, 0xFF0000, " blau", "blue");
        row("schwarz", "schwarz", {9, 9, 9}, 0, " schwarz", "black");
        row("User, knobs never turned", "User", {0, 0, 0}, 0, "User RGB(0, 0, 0)", "black");
        row("User 10, 200, 30", "User", {10, 200, 30}, 0x1EC80A, "User RGB(10, 200, 30)", "User RGB(10, 200, 30)");
        row("User equal to white", "User", {255, 255, 255}, 0xFFFFFF, "User RGB(255, 255, 255)", "white");
        row("User next to white", "User", {255, 255, 254}, 0xFEFFFF, "User RGB(255, 255, 254)",
            "User RGB(255, 255, 254)");
    }

    void colourChoice()
    {
        QFETCH(QString, name);
        QFETCH(UserRgb, userColour);
        QFETCH(quint32, value);
        QFETCH(QString, label6);
        QFETCH(QString, english);

        TestProgram p;
        installLanguages(p);
        App &app = p.app();
        app.state.UserColour = userColour;
        SetupDlg &dlg = shownDialog(p);
        // From "weiss" the arrow keys walk up, from the start down: both ways end on the name.
        pickColour(dlg, "weiss");
        pickColour(dlg, name);

        QCOMPARE(app.state.TransparentColourName, name);
        QCOMPARE(app.state.TransparentColour.value(), value);
        const QColor shown(value & 0xFF, (value >> 8) & 0xFF, value >> 16);
        Ui::SetupDlg &d = dlg.ui();
        QCOMPARE(background(d.Label5), shown);
        QCOMPARE(d.Label5->toolTip(), label6.trimmed() + " ist transparent beim Transport");
        QCOMPARE(d.Label6->text(), label6);
        QCOMPARE(background(app.teileFrm().ui().Label1), shown);
        PictureBoxModel &preview = app.teileFrm().TeilPic().model();
        QCOMPARE(preview.backColour().value(), value);
        QCOMPARE(preview.fillColour().value(), value);

        // The next transfer leaves the chosen colour out, in the picture and in the preview's
        // background around it.
        const QRgb other = qRgb(7, 99, 201);
        QImage part = filled(20, 10, shown.rgb());
        for (int y = 0; y < 10; ++y)
            for (int x = 10; x < 20; ++x)
                part.setPixel(x, y, other);
        preview.setPicture(Picture::make(part));
        const QImage before = p.canvas();
        TransferPart(app.form1().SkinPicture().model(), preview, app.state.PartRect, 30, 40,
                     app.state.TransparentColour);
        const QImage after = p.canvas();
        for (const QPoint &left : {QPoint(30, 40), QPoint(39, 49), QPoint(130, 190)})
            QCOMPARE(after.pixel(left), before.pixel(left));
        QCOMPARE(after.pixel(40, 40), other);
        QCOMPARE(after.pixel(49, 49), other);

        // The colour-name rows follow the value: a user colour equal to white is named white.
        clickListEntry(d.File1, "english.zlf");
        QStringList texts = English;
        texts[13] = english;
        QCOMPARE(shownTexts(app), texts);
    }

    void okAndCloseBox_data()
    {
        QTest::addColumn<bool>("byOk");
        QTest::newRow("OK hides and keeps everything") << true;
        QTest::newRow("close box discards the dialog") << false;
    }

    void okAndCloseBox()
    {
        QFETCH(bool, byOk);
        TestProgram p;
        installLanguages(p);
        App &app = p.app();
        QVERIFY(!app.hasSetupDlg());
        SetupDlg &dlg = shownDialog(p);
        pickColour(dlg, "weiss");
        clickListEntry(dlg.ui().File1, "english.zlf");
        QPointer<QWidget> window = dlg.window();
        if (byOk)
            QTest::mouseClick(dlg.ui().OKButton, Qt::LeftButton);
        else
            QVERIFY(window->close());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.isLoaded(), byOk);
        flushDeletes();
        QCOMPARE(window.isNull(), !byOk);

        // The choices live on in the program state and on the other windows.
        QCOMPARE(app.state.TransparentColour, Colours::White);
        QCOMPARE(background(app.teileFrm().ui().Label1), QColor(255, 255, 255));
        QCOMPARE(app.form1().ui().Datei->title(), QStringLiteral("File"));
        QCOMPARE(app.teileFrm().window()->windowTitle(), QStringLiteral("Parts"));
        // Texts no key reaches stay as designed.
        QCOMPARE(app.teileFrm().ui().UserFile->toolTip(), QStringLiteral("Benutzer Dateien"));

        // Shown again: after "OK" the same dialog as it was left, after the close box the design's.
        app.form1().ui().PrgSetup->trigger();
        QVERIFY(dlg.isVisible());
        Ui::SetupDlg &d = dlg.ui();
        QCOMPARE(dlg.window()->windowTitle(), byOk ? "Settings" : "Einstellungen");
        QCOMPARE(d.Combo1->currentText(), byOk ? "weiss" : "color");
        QCOMPARE(background(d.Label5), byOk ? QColor(255, 255, 255) : QColor(0, 0, 0));
        QCOMPARE(d.Label5->toolTip(), QString(byOk ? "weiss" : "schwarz") + " ist transparent beim Transport");
        QCOMPARE(d.Label6->text(), byOk ? "white" : "schwarz");
        QCOMPARE(d.Label7->text(), byOk ? "LANGUAGE=english" : "deutsch");
        QCOMPARE(d.File1->currentRow(), byOk ? 1 : -1);
    }

    void activeLanguagePickedAgain()
    {
        // Picking the selected file again applies it again, edits made on disk meanwhile included.
        TestProgram p;
        installLanguages(p);
        SetupDlg &dlg = shownDialog(p);
        clickListEntry(dlg.ui().File1, "english.zlf");
        const QString path = p.folder() + "/english.zlf";
        QVERIFY(writeFile(path, fileBytes(path).replace("about#About", "about#Info")));
        for (const int key : {0, int(Qt::Key_Return)}) {
            p.app().form1().ui().Mueber->setText("?");
            if (key)
                QTest::keyClick(dlg.ui().File1, Qt::Key(key));
            else
                clickListEntry(dlg.ui().File1, "english.zlf");
            QCOMPARE(p.app().form1().ui().Mueber->text(), QStringLiteral("Info"));
        }
    }

    void folderChoice()
    {
        TestProgram p;
        App &app = p.app();
        QDir(p.folder()).mkpath("skins");
        SetupDlg &dlg = shownDialog(p);
        const QString start = app.state.SkinFolder;
        p.dialogs->answer(std::nullopt);
        QTest::mouseClick(dlg.ui().Command1, Qt::LeftButton);
        QCOMPARE(app.state.SkinFolder, start);
        QCOMPARE(dlg.ui().Label3->text(), start);

        p.dialogs->answer(p.folder() + "/skins/held.bmp");
        QTest::mouseClick(dlg.ui().Command1, Qt::LeftButton);
        QCOMPARE(app.state.SkinFolder, p.folder() + "/skins/");
        QCOMPARE(dlg.ui().Label3->text(), p.folder() + "/skins/");
        QCOMPARE(p.dialogs->requests.size(), size_t(2));
        QCOMPARE(p.dialogs->requests[0].filter, QStringLiteral("Bilder |*.bmp|"));
        QCOMPARE(p.dialogs->requests[1].initDir, start);
        QVERIFY(dlg.isVisible());
    }

    void aboutBox()
    {
        TestProgram p;
        App &app = p.app();
        for (const bool byOk : {true, false}) {
            app.form1().ui().Mueber->trigger();
            AboutDlg &about = app.aboutDlg();
            QVERIFY(about.isVisible());
            QPointer<QWidget> window = about.window();
            QCOMPARE(window->windowTitle(), QStringLiteral("Über"));
            QCOMPARE(about.ui().Label2->text(), QStringLiteral("Pellwerk V1.2"));
            if (byOk)
                QTest::mouseClick(about.ui().OKButton, Qt::LeftButton);
            else
                QVERIFY(window->close());
            QVERIFY(!about.isLoaded());
            flushDeletes();
            QVERIFY(window.isNull());
            // Nothing else went with it.
            QVERIFY(app.form1().window()->isVisible());
        }
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "tst_settingsdialog.moc"
