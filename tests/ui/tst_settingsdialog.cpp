// The settings dialog and the about box as a user meets them: the colour choice and what it does to
// the parts window and the next transfer, the folder choice, picking language files and the texts
// that then stand on all three windows, and the lifecycles of "OK" and the close box.

#include "TestSupport.h"

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
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

namespace {

// Copies the shipped language files into the program folder, as the installation puts them there.
void installLanguages(TestProgram &p, bool withDeutsch = true)
{
    const QDir lang(QStringLiteral(PELLWERK_ASSETS "/lang"));
    for (const QString &name : lang.entryList({QStringLiteral("*.zlf")}, QDir::Files)) {
        if (!withDeutsch && name == QLatin1String("deutsch.zlf"))
            continue;
        QVERIFY(QFile::copy(lang.filePath(name), p.folder() + "/" + name));
    }
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

SetupDlg &shownDialog(TestProgram &p)
{
    p.app().form1().ui().PrgSetup->trigger();
    return p.app().setupDlg();
}

// Clicks the list entry where the user sees it.
void clickListEntry(FileListBox *list, const QString &name)
{
    const auto found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name + " is not listed"));
    list->scrollToItem(found.first());
    const QRect rect = list->visualItemRect(found.first());
    QVERIFY(rect.isValid());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(list->currentItem(), found.first());
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

QColor background(QWidget *w)
{
    return w->palette().color(QPalette::Window);
}

// Texts of rows 1 to 28, read straight off the windows.
QStringList shownTexts(App &app)
{
    Ui::Form1 &m = app.form1().ui();
    Ui::TeileFrm &t = app.teileFrm().ui();
    Ui::SetupDlg &d = app.setupDlg().ui();
    return {m.Datei->title(), m.dneu->text(), m.speichern->text(), m.dopen->text(), m.MEnde->text(),
            m.MSetup->title(), m.PrgSetup->text(), m.MFolder->text(), m.Mueber->text(), m.Command1->text(),
            app.setupDlg().window()->windowTitle(), d.Label1->text(), d.Command1->text(), d.Label6->text(),
            app.teileFrm().window()->windowTitle(), t.TeilPic->toolTip(), t.FootFile->toolTip(),
            t.FaceFile->toolTip(), t.RightArmFile->toolTip(), t.PantsFile->toolTip(), t.LeftArmFile->toolTip(),
            t.ShirtFile->toolTip(), t.TatuFile->toolTip(), t.GlassesFile->toolTip(), t.SchmuckFile->toolTip(),
            t.BartFile->toolTip()};
}

QStringList rowTexts(QStringList head, const QString &partLists)
{
    for (int i = 0; i < 9; ++i)
        head << partLists;
    return head;
}

// What the window designs show before any language is applied.
const QStringList BuiltIn{"Datei", "neu", "speichern", "öffnen", "beenden", "Einstellungen", "Programm Einstellungen",
                          "Velmora Verzeichniss", "über", "Teile", "Einstellungen", "Sprache", "Verzeichniss",
                          "schwarz", "Teile", "preview", "Foot file", "face file", "right arm file", "pants",
                          "left arm file", "shirt", "Tatu", "Brille", "Kette, Schmuck", "Bart"};

const QStringList English = rowTexts({"File", "New", "Save", "Open", "Exit", "Settings", "Settings",
                                      "Velmora Directory", "About", "Parts", "Settings", "Language", "Directory",
                                      "black", "Parts", "Preview", "Foot file"},
                                     "File");

} // namespace

class SettingsDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void dialogAsDesigned();
    void languagePick_data();
    void languagePick();
    void textsNoKeyReaches();
    void colourChoice_data();
    void colourChoice();
    void typingAColourNameChoosesNothing();
    void colourRowsFollowTheValue_data();
    void colourRowsFollowTheValue();
    void okHidesAndKeepsEverything();
    void closeBoxDiscardsTheDialog();
    void folderChoice();
    void aboutBox_data();
    void aboutBox();
};

void SettingsDialogTest::dialogAsDesigned()
{
    TestProgram p;
    installLanguages(p);
    App &app = p.app();
    QVERIFY(!app.hasSetupDlg());
    Ui::SetupDlg &d = app.setupDlg().ui();
    QWidget *w = app.setupDlg().window();
    QVERIFY(!w->isVisible());

    QCOMPARE(w->windowTitle(), QStringLiteral("Einstellungen"));
    QCOMPARE(w->size(), QSize(358, 206));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(w->windowType(), Qt::Tool);

    const struct
    {
        QWidget *control;
        QRect geometry;
        QString text;
        QString toolTip;
    } design[] = {
        {d.OKButton, {160, 168, 189, 20}, "OK", ""},
        {d.File1, {6, 32, 121, 45}, "", "Language List"},
        {d.Label1, {6, 16, 120, 13}, "Sprache", ""},
        {d.Label2, {160, 16, 180, 13}, "Velmora Skins", ""},
        {d.Command1, {160, 32, 137, 20}, "Verzeichniss", ""},
        {d.Label3, {160, 56, 184, 61}, app.state.SkinFolder, ""},
        {d.Label4, {8, 144, 76, 13}, "transparent", "Transparenz beim Transport"},
        {d.Combo1, {8, 160, 121, 21}, "color", "Transparent-Farbe"},
        {d.Label5, {96, 144, 32, 13}, "", "schwarz ist transparent beim Transport"},
        {d.Label6, {8, 184, 116, 13}, "schwarz", ""},
        {d.Label7, {6, 88, 136, 37}, "deutsch", ""},
    };
    for (const auto &c : design) {
        const QByteArray name = c.control->objectName().toLatin1();
        QVERIFY2(c.control->geometry() == c.geometry, name);
        QVERIFY2(c.control->toolTip() == c.toolTip, name);
        QString text;
        if (auto *label = qobject_cast<QLabel *>(c.control))
            text = label->text();
        else if (auto *button = qobject_cast<QPushButton *>(c.control))
            text = button->text();
        else if (auto *combo = qobject_cast<QComboBox *>(c.control))
            text = combo->currentText();
        QVERIFY2(text == c.text, name + ": " + text.toUtf8());
    }

    QStringList items;
    for (int i = 0; i < d.Combo1->count(); ++i)
        items << d.Combo1->itemText(i);
    QCOMPARE(items, (QStringList{"blau", "schwarz", "User", "weiss"}));
    QVERIFY(d.Combo1->isEditable());
    QCOMPARE(background(d.Label5), QColor(0, 0, 0));
    QVERIFY(d.Label5->autoFillBackground());
    QVERIFY(!d.File1->accessibleName().isEmpty());
    QVERIFY(!d.Combo1->accessibleName().isEmpty());
    QVERIFY(!d.Label5->accessibleName().isEmpty());

    QStringList listed;
    for (int i = 0; i < d.File1->count(); ++i)
        listed << d.File1->item(i)->text();
    QCOMPARE(listed, (QStringList{"deutsch.zlf", "english.zlf", "francais.zlf"}));
    QCOMPARE(d.File1->currentRow(), -1);

    QStringList focusOrder;
    const QList<QWidget *> focusable{d.OKButton, d.File1, d.Command1, d.Combo1};
    for (QWidget *f = d.OKButton; focusOrder.size() < 4; f = f->nextInFocusChain()) {
        if (focusable.contains(f))
            focusOrder << f->objectName();
    }
    QCOMPARE(focusOrder, (QStringList{"OKButton", "File1", "Command1", "Combo1"}));
}

void SettingsDialogTest::languagePick_data()
{
    QTest::addColumn<QStringList>("picks");
    QTest::addColumn<bool>("withDeutsch");
    QTest::addColumn<QString>("label7");
    QTest::addColumn<QString>("languageFile");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("english") << QStringList{"english.zlf"} << true << "LANGUAGE=english" << "english.zlf" << English;
    QTest::newRow("francais") << QStringList{"francais.zlf"} << true << "LANGUAGE=français" << "francais.zlf"
                              << rowTexts({"Fichier", "Nouveau", "Enregistrer", "Ouvrir", "Quitter", "Paramètres",
                                           "Paramètres", "Dossier Velmora", "À propos", "Pièces", "Paramètres",
                                           "Langue", "Dossier", "noir", "Pièces", "Aperçu", "Pieds"},
                                          "Fichier");
    // One key serves the menu and all nine part lists, so the German file differs from the design there.
    const QStringList deutsch = rowTexts({"Datei", "neu", "speichern", "öffnen", "beenden", "Einstellungen",
                                          "Einstellungen", "Velmora Verzeichniss", "über", "Teile", "Einstellungen",
                                          "Sprache", "Verzeichniss", "schwarz", "Teile", "preview", "Foot file"},
                                         "Datei");
    QTest::newRow("english, then deutsch") << QStringList{"english.zlf", "deutsch.zlf"} << true << "LANGUAGE=deutsch"
                                           << "deutsch.zlf" << deutsch;
    QTest::newRow("the active file again") << QStringList{"english.zlf", "english.zlf"} << true
                                           << "LANGUAGE=english" << "english.zlf" << English;
    QStringList noAbout = English;
    noAbout[8] = QString();
    QTest::newRow("a file without one key") << QStringList{"partial.zlf"} << true << "LANGUAGE=partial"
                                            << "partial.zlf" << noAbout;
    QTest::newRow("no name line: english stays") << QStringList{"english.zlf", "nolang.zlf"} << true
                                                 << "LANGUAGE=english" << "english.zlf" << English;
    QTest::newRow("removed file: english stays") << QStringList{"english.zlf", "gone.zlf"} << true
                                                 << "LANGUAGE=english" << "english.zlf" << English;
    QTest::newRow("no name line, deutsch.zlf absent")
        << QStringList{"nolang.zlf"} << false << "deutsch" << "deutsch.zlf" << QStringList(26, QString());
}

void SettingsDialogTest::languagePick()
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
    const QByteArray englishBytes = english.readAll();
    writeFile(p.folder() + "/partial.zlf",
              QByteArray(englishBytes).replace("about#About\r\n", "").replace("LANGUAGE=english", "LANGUAGE=partial"));
    writeFile(p.folder() + "/nolang.zlf", "file#Akte\r\nnew#Neu\r\n");
    writeFile(p.folder() + "/gone.zlf", "LANGUAGE=gone\r\nfile#Weg\r\n");
    QCOMPARE(shownTexts(p.app()), BuiltIn);

    SetupDlg &dlg = shownDialog(p);
    // Listed when the dialog was built, unreadable by the time it is picked.
    QVERIFY(QFile::remove(p.folder() + "/gone.zlf"));
    for (const QString &pick : picks)
        clickListEntry(dlg.ui().File1, pick);

    QCOMPARE(dlg.ui().Label7->text(), label7);
    QCOMPARE(p.app().state.LanguageFile, languageFile);
    QCOMPARE(shownTexts(p.app()), texts);
    QVERIFY(dlg.isVisible());
}

void SettingsDialogTest::textsNoKeyReaches()
{
    TestProgram p;
    installLanguages(p);
    SetupDlg &dlg = shownDialog(p);
    clickListEntry(dlg.ui().File1, "english.zlf");
    QCOMPARE(shownTexts(p.app()), English);

    Ui::Form1 &m = p.app().form1().ui();
    QCOMPARE(m.AnsichtMnu->title(), QStringLiteral("Ansicht"));
    QCOMPARE(m.TeileMnu->text(), QStringLiteral("Teile -Fenster"));
    QCOMPARE(m.MInfo->title(), QStringLiteral("?"));
    QCOMPARE(p.app().form1().window()->windowTitle(), QStringLiteral("Pellwerk V1.2"));
    QCOMPARE(m.Command1->toolTip(), QStringLiteral("Teile-Fenster öffnen"));
    QCOMPARE(m.dneu->shortcut(), QKeySequence(Qt::Key_F1));
    QCOMPARE(m.speichern->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(m.dopen->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(m.MEnde->shortcut(), QKeySequence("Ctrl+X"));
    QCOMPARE(m.PrgSetup->shortcut(), QKeySequence(Qt::Key_F4));
    QCOMPARE(m.MFolder->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(m.TeileMnu->shortcut(), QKeySequence("Ctrl+T"));
    // The menus still reach their entries under the new titles.
    QCOMPARE(m.Datei->actions().size(), 4);
    QCOMPARE(m.Datei->menuAction()->text(), QStringLiteral("File"));

    Ui::TeileFrm &t = p.app().teileFrm().ui();
    QCOMPARE(t.UserFile->toolTip(), QStringLiteral("Benutzer Dateien"));
    QCOMPARE(t.Label1->text(), QStringLiteral("transparent"));

    Ui::SetupDlg &d = dlg.ui();
    QCOMPARE(d.Label2->text(), QStringLiteral("Velmora Skins"));
    QCOMPARE(d.Label4->text(), QStringLiteral("transparent"));
    QCOMPARE(d.OKButton->text(), QStringLiteral("OK"));
    QCOMPARE(d.File1->toolTip(), QStringLiteral("Language List"));
    QCOMPARE(d.Combo1->itemText(1), QStringLiteral("schwarz"));
}

void SettingsDialogTest::colourChoice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QColor>("shown");
    QTest::addColumn<QString>("label6");
    QTest::addColumn<QString>("swatchTip");

    QTest::newRow("weiss") << "weiss" << 9 << 9 << 9 << 0xFFFFFFu << QColor(255, 255, 255) << " weiss"
                           << "weiss ist transparent beim Transport";
    QTest::newRow("blau") << "blau" << 9 << 9 << 9 << 0xFF0000u << QColor(0, 0, 255) << " blau"
                          << "blau ist transparent beim Transport";
    QTest::newRow("schwarz") << "schwarz" << 9 << 9 << 9 << 0u << QColor(0, 0, 0) << " schwarz"
                             << "schwarz ist transparent beim Transport";
    QTest::newRow("User, knobs never turned") << "User" << 0 << 0 << 0 << 0u << QColor(0, 0, 0) << "User RGB(0, 0, 0)"
                                              << "User RGB(0, 0, 0) ist transparent beim Transport";
    QTest::newRow("User 10, 200, 30") << "User" << 10 << 200 << 30 << 0x1EC80Au << QColor(10, 200, 30)
                                      << "User RGB(10, 200, 30)"
                                      << "User RGB(10, 200, 30) ist transparent beim Transport";
}

void SettingsDialogTest::colourChoice()
{
    QFETCH(QString, name);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(quint32, value);
    QFETCH(QColor, shown);
    QFETCH(QString, label6);
    QFETCH(QString, swatchTip);

    TestProgram p;
    App &app = p.app();
    app.state.UserColour = UserRgb{red, green, blue};
    SetupDlg &dlg = shownDialog(p);
    // From "weiss" the arrow keys walk up, from the start down: both ways end on the name.
    pickColour(dlg, "weiss");
    pickColour(dlg, name);

    QCOMPARE(app.state.TransparentColourName, name);
    QCOMPARE(app.state.TransparentColour.value(), value);
    Ui::SetupDlg &d = dlg.ui();
    QCOMPARE(background(d.Label5), shown);
    QCOMPARE(d.Label5->text(), QString());
    QCOMPARE(d.Label5->toolTip(), swatchTip);
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
    QCOMPARE(after.pixel(30, 40), before.pixel(30, 40));
    QCOMPARE(after.pixel(39, 49), before.pixel(39, 49));
    QCOMPARE(after.pixel(40, 40), other);
    QCOMPARE(after.pixel(49, 49), other);
    QCOMPARE(after.pixel(30 + 100, 40 + 150), before.pixel(30 + 100, 40 + 150));
}

void SettingsDialogTest::typingAColourNameChoosesNothing()
{
    TestProgram p;
    SetupDlg &dlg = shownDialog(p);
    QComboBox *combo = dlg.ui().Combo1;
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo, "weiss");
    QTest::keyClick(combo, Qt::Key_Return);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Enter);
    QCOMPARE(combo->currentText(), QStringLiteral("weiss"));
    QCOMPARE(p.app().state.TransparentColourName, QString());
    QCOMPARE(p.app().state.TransparentColour, Colours::Black);
    QCOMPARE(dlg.ui().Label6->text(), QStringLiteral("schwarz"));
    QCOMPARE(background(p.app().teileFrm().ui().Label1), QColor(0, 0, 0));
    QCOMPARE(combo->count(), 4);
}

void SettingsDialogTest::colourRowsFollowTheValue_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<QString>("label6");

    QTest::newRow("weiss") << "weiss" << 0 << 0 << 0 << "white";
    QTest::newRow("blau") << "blau" << 0 << 0 << 0 << "blue";
    QTest::newRow("User equal to white") << "User" << 255 << 255 << 255 << "white";
    QTest::newRow("User equal to blue") << "User" << 0 << 0 << 255 << "blue";
    QTest::newRow("User equal to black") << "User" << 0 << 0 << 0 << "black";
    QTest::newRow("User next to white") << "User" << 255 << 255 << 254 << "User RGB(255, 255, 254)";
    QTest::newRow("User 12, 34, 56") << "User" << 12 << 34 << 56 << "User RGB(12, 34, 56)";
}

void SettingsDialogTest::colourRowsFollowTheValue()
{
    QFETCH(QString, name);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(QString, label6);

    TestProgram p;
    installLanguages(p);
    p.app().state.UserColour = UserRgb{red, green, blue};
    SetupDlg &dlg = shownDialog(p);
    pickColour(dlg, name);
    clickListEntry(dlg.ui().File1, "english.zlf");
    QCOMPARE(dlg.ui().Label6->text(), label6);
    // The other rows are applied all the same.
    QCOMPARE(dlg.ui().Label1->text(), QStringLiteral("Language"));
    QCOMPARE(p.app().teileFrm().ui().BartFile->toolTip(), QStringLiteral("File"));
}

void SettingsDialogTest::okHidesAndKeepsEverything()
{
    TestProgram p;
    installLanguages(p);
    App &app = p.app();
    SetupDlg &dlg = shownDialog(p);
    pickColour(dlg, "weiss");
    clickListEntry(dlg.ui().File1, "english.zlf");
    QPointer<QWidget> window = dlg.window();
    const QStringList texts = shownTexts(app);

    QTest::mouseClick(dlg.ui().OKButton, Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QVERIFY(dlg.isLoaded());
    flushDeletes();

    app.form1().ui().PrgSetup->trigger();
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.window(), window.data());
    Ui::SetupDlg &d = dlg.ui();
    QCOMPARE(d.Combo1->currentText(), QStringLiteral("weiss"));
    QCOMPARE(background(d.Label5), QColor(255, 255, 255));
    QCOMPARE(d.Label5->toolTip(), QStringLiteral("weiss ist transparent beim Transport"));
    QCOMPARE(d.Label7->text(), QStringLiteral("LANGUAGE=english"));
    QCOMPARE(d.Label3->text(), app.state.SkinFolder);
    QCOMPARE(d.File1->fileName(), QStringLiteral("english.zlf"));
    QCOMPARE(shownTexts(app), texts);
}

void SettingsDialogTest::closeBoxDiscardsTheDialog()
{
    TestProgram p;
    installLanguages(p);
    App &app = p.app();
    SetupDlg &dlg = shownDialog(p);
    pickColour(dlg, "weiss");
    clickListEntry(dlg.ui().File1, "english.zlf");
    QPointer<QWidget> window = dlg.window();

    QVERIFY(window->close());
    QVERIFY(!dlg.isLoaded());
    flushDeletes();
    QVERIFY(window.isNull());

    // The choices live on in the program state and on the other windows.
    QCOMPARE(app.state.TransparentColour, Colours::White);
    QCOMPARE(app.state.LanguageFile, QStringLiteral("english.zlf"));
    QCOMPARE(app.form1().ui().Datei->title(), QStringLiteral("File"));
    QCOMPARE(app.teileFrm().window()->windowTitle(), QStringLiteral("Parts"));
    QCOMPARE(background(app.teileFrm().ui().Label1), QColor(255, 255, 255));

    app.form1().ui().PrgSetup->trigger();
    QVERIFY(dlg.isVisible());
    Ui::SetupDlg &d = dlg.ui();
    QCOMPARE(dlg.window()->windowTitle(), QStringLiteral("Einstellungen"));
    QCOMPARE(d.Label1->text(), QStringLiteral("Sprache"));
    QCOMPARE(d.Command1->text(), QStringLiteral("Verzeichniss"));
    QCOMPARE(d.Combo1->currentText(), QStringLiteral("color"));
    QCOMPARE(d.Combo1->currentIndex(), -1);
    QCOMPARE(background(d.Label5), QColor(0, 0, 0));
    QCOMPARE(d.Label5->toolTip(), QStringLiteral("schwarz ist transparent beim Transport"));
    QCOMPARE(d.Label6->text(), QStringLiteral("schwarz"));
    QCOMPARE(d.Label7->text(), QStringLiteral("deutsch"));
    QCOMPARE(d.Label3->text(), app.state.SkinFolder);
    QCOMPARE(d.File1->currentRow(), -1);
    QCOMPARE(d.File1->count(), 3);
}

void SettingsDialogTest::folderChoice()
{
    TestProgram p;
    App &app = p.app();
    QDir(p.folder()).mkpath("skins");
    SetupDlg &dlg = shownDialog(p);
    const QString start = app.state.SkinFolder;
    QCOMPARE(dlg.ui().Label3->text(), start);

    p.dialogs->answer(std::nullopt);
    QTest::mouseClick(dlg.ui().Command1, Qt::LeftButton);
    QCOMPARE(app.state.SkinFolder, start);
    QCOMPARE(dlg.ui().Label3->text(), start);

    p.dialogs->answer(p.folder() + "/skins/held.bmp");
    QTest::mouseClick(dlg.ui().Command1, Qt::LeftButton);
    QCOMPARE(app.state.SkinFolder, p.folder() + "/skins/");
    QCOMPARE(dlg.ui().Label3->text(), p.folder() + "/skins/");

    QCOMPARE(p.dialogs->requests.size(), size_t(2));
    QCOMPARE(p.dialogs->requests[0].initDir, start);
    QCOMPARE(p.dialogs->requests[0].title, QStringLiteral("Velmora-Skin-Folder"));
    QCOMPARE(p.dialogs->requests[0].filter, QStringLiteral("Bilder |*.bmp|"));
    QCOMPARE(p.dialogs->requests[1].initDir, start);
    QVERIFY(dlg.isVisible());

    // The main window's folder command writes the same label, shown or hidden.
    dlg.hide();
    p.dialogs->answer(p.folder() + "/held.bmp");
    app.form1().ui().MFolder->trigger();
    QCOMPARE(dlg.ui().Label3->text(), p.folder() + "/");
    QVERIFY(!dlg.isVisible());
}

void SettingsDialogTest::aboutBox_data()
{
    QTest::addColumn<bool>("byOk");
    QTest::newRow("OK button") << true;
    QTest::newRow("close box") << false;
}

void SettingsDialogTest::aboutBox()
{
    QFETCH(bool, byOk);
    TestProgram p;
    App &app = p.app();
    QVERIFY(!app.hasAboutDlg());
    app.form1().ui().Mueber->trigger();
    AboutDlg &about = app.aboutDlg();
    QVERIFY(about.isVisible());

    QWidget *w = about.window();
    Ui::AboutDlg &a = about.ui();
    QCOMPARE(w->windowTitle(), QStringLiteral("Über"));
    QCOMPARE(w->size(), QSize(255, 213));
    QCOMPARE(w->minimumSize(), w->maximumSize());
    QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(a.Label2->text(), QStringLiteral("Pellwerk V1.2"));
    QVERIFY(a.Label2->font().bold());
    QCOMPARE(a.Label2->font().pointSize(), 18);
    QCOMPARE(a.Label2->palette().color(QPalette::WindowText), QColor(0, 0, 0xC0));
    QVERIFY(a.Label2->alignment() & Qt::AlignHCenter);
    QCOMPARE(a.Label3->text(), QStringLiteral("BY"));
    QVERIFY(a.Label1->text().contains(QStringLiteral("Pellwerk")));
    QCOMPARE(a.Label1->font().pointSizeF(), 9.75);
    QVERIFY(!a.Label4->text().isEmpty());
    QVERIFY(!a.Label6->text().isEmpty());
    QCOMPARE(a.OKButton->text(), QStringLiteral("OK"));
    QCOMPARE(a.OKButton->geometry(), QRect(8, 184, 241, 25));

    QPointer<QWidget> first = w;
    if (byOk)
        QTest::mouseClick(a.OKButton, Qt::LeftButton);
    else
        QVERIFY(w->close());
    QVERIFY(!about.isLoaded());
    flushDeletes();
    QVERIFY(first.isNull());
    // Nothing else went with it.
    QVERIFY(app.form1().window()->isVisible());

    app.form1().ui().Mueber->trigger();
    QVERIFY(about.isVisible());
    QCOMPARE(about.ui().Label2->text(), QStringLiteral("Pellwerk V1.2"));
}

QTEST_MAIN(SettingsDialogTest)
#include "tst_settingsdialog.moc"
