// The settings dialog and the about box as a user meets them: the colour choice and what it does to
// the parts window, picking language files and the texts that then stand on all three windows, and
// the lifecycles of "OK" and the close box.

#include "TestProgram.h"

#include "core/SkinDocument.h"
#include "language/KeyTable.h"
#include "language/LanguageLookup.h"

#include <QPointer>

using namespace pellwerk;
using namespace testsupport;

namespace {
// A program with the shipped language files in its folder, as the installation puts them there.
struct SettingsProgram : TestProgram
{
    explicit SettingsProgram(bool withDeutsch = true)
    {
        const QDir lang(QStringLiteral(PELLWERK_ASSETS "/lang"));
        for (const QString &name : lang.entryList({QStringLiteral("*.zlf")}, QDir::Files))
            if (withDeutsch || name != QLatin1String("deutsch.zlf"))
                QVERIFY(QFile::copy(lang.filePath(name), folder() + "/" + name));
    }
    SettingsDialog &openSettings()
    {
        main().settingsAction->trigger();
        return app().settingsDialog();
    }
    Ui::SettingsDialog &settingsUi() { return app().settingsDialog().ui(); }
    // Clicks the list entry where the user sees it.
    void pickLanguage(const QString &name)
    {
        clickName(settingsUi().languageList, name);
        QCOMPARE(settingsUi().languageList->fileName(), name);
    }
    // Walks the colour list with the arrow keys, as a user does, until `name` is picked.
    void pickColour(const QString &name)
    {
        QComboBox *combo = settingsUi().colourChoice;
        const int target = combo->findText(name);
        QVERIFY(target >= 0);
        for (int guard = 0; guard < 8 && combo->currentIndex() != target; ++guard)
            QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
        QCOMPARE(combo->currentIndex(), target);
    }
    // The texts of rows 1 to 14 and 17 to 28, read straight off the windows.
    QStringList shownTexts()
    {
        Ui::MainWindow &m = main();
        Ui::PartsWindow &t = partsUi();
        Ui::SettingsDialog &d = settingsUi();
        QStringList texts;
        texts << m.fileMenu->title() << m.newAction->text() << m.saveAction->text() << m.openAction->text()
              << m.quitAction->text() << m.settingsMenu->title() << m.settingsAction->text()
              << m.skinFolderAction->text() << m.aboutAction->text() << m.partsButton->text()
              << app().settingsDialog().window()->windowTitle() << d.languageCaption->text()
              << d.skinFolderButton->text() << d.colourName->text() << parts().window()->windowTitle()
              << t.partPreview->toolTip();
        for (QWidget *list : {t.footList, t.faceList, t.rightArmList, t.pantsList, t.leftArmList, t.shirtList,
                              t.tattooList, t.glassesList, t.chainList, t.beardList})
            texts << list->toolTip();
        return texts;
    }
    // What the key table gives those rows from the active language file.
    QStringList intendedTexts()
    {
        AppState state = app().state;
        QStringList texts;
        for (const KeyRow &row : languageKeyTable())
            if (row.row <= 28 && row.row != 15 && row.row != 16)
                texts << LanguageText(state, row.key);
        return texts;
    }
};
} // namespace

class SettingsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void languagePick_data()
    {
        QTest::addColumn<QString>("picks");
        QTest::addColumn<bool>("withDeutsch");
        QTest::addColumn<QString>("languageLine");
        QTest::addColumn<QString>("languageFile");
        const auto row = [](const char *name, const char *picks, const char *languageLine, const char *file,
                            bool withDeutsch) {
            QTest::newRow(name) << QString(picks) << withDeutsch << QString(languageLine) << QString(file);
        };
        row("english", "english.zlf", "LANGUAGE=english", "english.zlf", true);
        row("english, then deutsch", "english.zlf deutsch.zlf", "LANGUAGE=deutsch", "deutsch.zlf", true);
        row("a file without one key", "partial.zlf", "LANGUAGE=partial", "partial.zlf", true);
        row("no name line: english stays", "english.zlf nolang.zlf", "LANGUAGE=english", "english.zlf", true);
        row("removed file: english stays", "english.zlf gone.zlf", "LANGUAGE=english", "english.zlf", true);
        row("no name line, deutsch.zlf absent: no texts", "nolang.zlf", "deutsch", "deutsch.zlf", false);
    }

    void languagePick()
    {
        QFETCH(QString, picks);
        QFETCH(bool, withDeutsch);
        QFETCH(QString, languageLine);
        QFETCH(QString, languageFile);
        SettingsProgram p(withDeutsch);
        QVERIFY(writeFile(p.folder() + "/partial.zlf", fileBytes(PELLWERK_ASSETS "/lang/english.zlf")
                                                           .replace("about#About\r\n", "")
                                                           .replace("LANGUAGE=english", "LANGUAGE=partial")));
        QVERIFY(writeFile(p.folder() + "/nolang.zlf", "file#Akte\r\nnew#Neu\r\n"));
        QVERIFY(writeFile(p.folder() + "/gone.zlf", "LANGUAGE=gone\r\nfile#Weg\r\n"));
        SettingsDialog &dlg = p.openSettings();
        QCOMPARE(dlg.ui().languageList->count(), withDeutsch ? 6 : 5);
        QCOMPARE(dlg.ui().languageList->currentRow(), -1);
        // Listed when the dialog was built, unreadable by the time it is picked.
        QVERIFY(QFile::remove(p.folder() + "/gone.zlf"));
        for (const QString &pick : picks.split(' '))
            p.pickLanguage(pick);

        QCOMPARE(dlg.ui().languageLine->text(), languageLine);
        QCOMPARE(p.app().state.LanguageFile, languageFile);
        QCOMPARE(p.shownTexts(), p.intendedTexts());
        QCOMPARE(p.shownTexts().count(QString()), withDeutsch ? int(picks == "partial.zlf") : 26);
        QVERIFY(dlg.isVisible());
    }

    void colourChoice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<UserRgb>("userColour");
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("colourName");
        QTest::addColumn<QString>("english"); // the colour name once the English file is applied
        const auto row = [](const char *tag, const char *name, UserRgb user, quint32 value, const char *colourName,
                            const char *english) {
            QTest::newRow(tag) << QString(name) << user << value << QString(colourName) << QString(english);
        };
        row("weiss", "weiss", {9, 9, 9}, 0xFFFFFF, " weiss", "white");
        row("blau", "blau", {9, 9, 9}, 0xFF0000, " blau", "blue");
        row("schwarz", "schwarz", {9, 9, 9}, 0, " schwarz", "black");
        row("User, knobs never turned", "User", {0, 0, 0}, 0, "User RGB(0, 0, 0)", "black");
        row("User 10, 200, 30", "User", {10, 200, 30}, 0x1EC80A, "User RGB(10, 200, 30)", "User RGB(10, 200, 30)");
        // The colour-name rows follow the value: a user colour equal to white is named white.
        row("User equal to white", "User", {255, 255, 255}, 0xFFFFFF, "User RGB(255, 255, 255)", "white");
        row("User next to white", "User", {255, 255, 254}, 0xFEFFFF, "User RGB(255, 255, 254)",
            "User RGB(255, 255, 254)");
    }

    void colourChoice()
    {
        QFETCH(QString, name);
        QFETCH(UserRgb, userColour);
        QFETCH(quint32, value);
        QFETCH(QString, colourName);
        QFETCH(QString, english);
        SettingsProgram p;
        App &app = p.app();
        app.state.UserColour = userColour;
        Ui::SettingsDialog &d = p.openSettings().ui();
        // From "weiss" the arrow keys walk up, from the start down: both ways end on the name.
        p.pickColour("weiss");
        p.pickColour(name);

        QCOMPARE(app.state.TransparentColourName, name);
        QCOMPARE(app.state.TransparentColour.value(), value);
        const QColor shown = app.state.TransparentColour.toQColor();
        QCOMPARE(background(d.colourSwatch), shown);
        QCOMPARE(d.colourSwatch->toolTip(), colourName.trimmed() + " ist transparent beim Transport");
        QCOMPARE(d.colourName->text(), colourName);
        QCOMPARE(background(p.partsUi().transparentLabel), shown);
        QCOMPARE(p.shownPreview(), p.previewOf(SkinDocument::builtInPreview().image));
        p.pickLanguage("english.zlf");
        QCOMPARE(d.colourName->text(), english);
    }

    // "OK" hides the settings and keeps them, but unloads the about box; the close box discards both.
    // Either way the choices live on.
    void okAndCloseBox_data()
    {
        QTest::addColumn<bool>("byOk");
        QTest::newRow("OK") << true;
        QTest::newRow("close box") << false;
    }

    void okAndCloseBox()
    {
        QFETCH(bool, byOk);
        SettingsProgram p;
        SettingsDialog &dlg = p.openSettings();
        p.pickColour("weiss");
        p.pickLanguage("english.zlf");
        QPointer<QWidget> window = dlg.window();
        if (byOk)
            QTest::mouseClick(dlg.ui().okButton, Qt::LeftButton);
        else
            QVERIFY(window->close());
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.isLoaded(), byOk);
        flushDeletes();
        QCOMPARE(window.isNull(), !byOk);
        // The choices live on in the program state and on the other windows.
        QCOMPARE(p.app().state.TransparentColour, Colours::White);
        QCOMPARE(background(p.partsUi().transparentLabel), QColor(255, 255, 255));
        QCOMPARE(p.main().fileMenu->title(), QStringLiteral("File"));

        // Shown again: after "OK" the same dialog as it was left, after the close box the design's.
        p.main().settingsAction->trigger();
        QVERIFY(dlg.isVisible());
        Ui::SettingsDialog &d = dlg.ui();
        QCOMPARE(d.colourChoice->currentText(), byOk ? "weiss" : "color");
        QCOMPARE(background(d.colourSwatch), byOk ? QColor(255, 255, 255) : QColor(0, 0, 0));
        QCOMPARE(d.colourName->text(), byOk ? "white" : "schwarz");
        QCOMPARE(d.languageLine->text(), byOk ? "LANGUAGE=english" : "deutsch");
        QCOMPARE(d.languageList->currentRow(), byOk ? 1 : -1);
        // Picking english.zlf again (after "OK" still the selected file) reads it again, edits made on
        // disk meanwhile included.
        const QString english = p.folder() + "/english.zlf";
        QVERIFY(writeFile(english, fileBytes(english).replace("about#About", "about#Info")));
        p.pickLanguage("english.zlf");
        QCOMPARE(p.main().aboutAction->text(), QStringLiteral("Info"));

        p.main().aboutAction->trigger();
        AboutDialog &about = p.app().aboutDialog();
        QVERIFY(about.isVisible());
        window = about.window();
        if (byOk)
            QTest::mouseClick(about.ui().okButton, Qt::LeftButton);
        else
            QVERIFY(window->close());
        QVERIFY(!about.isLoaded());
        flushDeletes();
        QVERIFY(window.isNull());
        QVERIFY(p.app().mainWindow().window()->isVisible() && dlg.isVisible()); // nothing else went with it
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "tst_settingsdialog.moc"
