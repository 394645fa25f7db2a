#include "TestFiles.h"
#include "language/KeyTable.h"
#include "language/LanguageLookup.h"

#include <QDir>
#include <QTest>

using namespace pellwerk;

namespace {

const QString langFolder = QStringLiteral(PELLWERK_ASSETS "/lang");

// The texts a language is meant to show, row by row of the key table: rows 20 to 28 are the
// nine part lists, which share the "file" key with row 1.
QStringList intended(const QString &rows1to19, const QString &rowsFrom29)
{
    QStringList texts = rows1to19.split(u'|');
    for (int row = 20; row <= 28; ++row)
        texts << texts.first();
    return texts + rowsFrom29.split(u'|');
}

} // namespace

class tst_ShippedLanguages : public QObject
{
    Q_OBJECT

private slots:
    void languages_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("nameLine");
        QTest::addColumn<QStringList>("texts");
        // A language file added to the assets without stating its texts here would go unchecked.
        QCOMPARE(QDir(langFolder).entryList({"*.zlf"}, QDir::Files, QDir::Name),
                 (QStringList{"deutsch.zlf", "english.zlf", "francais.zlf"}));
        QTest::newRow("deutsch")
            << "deutsch.zlf"
            << "LANGUAGE=deutsch"
            << intended("Datei|neu|speichern|öffnen|beenden|Einstellungen|Einstellungen|Velmora "
                        "Verzeichniss|über|Teile|Einstellungen|Sprache|Verzeichniss|schwarz| "
                        "weiss| blau|Teile|preview|Foot file",
                        "Bearbeiten|rückgängig|wiederholen|Rezept speichern…|Rezept öffnen…|Eigene Teile|Schritte|"
                        "Schritte|Rot|Grün|Blau|sichtbar|gespiegelt|nach oben|nach unten|entfernen|Teil tauschen…|"
                        "Grundlage: |Standard-Skin|ausgeblendet|gespiegelt|getönt|nahe an der Transparenzfarbe|"
                        "Farbrampe…|Farbrampe|von|nach|keine|Abbrechen|"
                        "Als OpenRaster exportieren…|Als PNG exportieren…");
        QTest::newRow("english") << "english.zlf"
                                 << "LANGUAGE=english"
                                 << intended("File|New|Save|Open|Exit|Settings|Settings|Velmora Directory|About|Parts|"
                                             "Settings|Language|Directory|black|white|blue|Parts|Preview|Foot file",
                                             "Edit|Undo|Redo|Save Recipe…|Open Recipe…|Own Parts|Steps|Steps|Red|"
                                             "Green|Blue|visible|mirrored|Move up|Move down|Remove|Swap part…|Base: |"
                                             "Default skin|hidden|mirrored|tinted|near the transparent colour|"
                                             "Colour ramp…|Colour ramp|from|to|none|Cancel|"
                                             "Export as OpenRaster…|Export as PNG…");
        QTest::newRow("francais") << "francais.zlf"
                                  << "LANGUAGE=français"
                                  << intended("Fichier|Nouveau|Enregistrer|Ouvrir|Quitter|Paramètres|Paramètres|"
                                              "Dossier Velmora|À propos|Pièces|Paramètres|Langue|Dossier|noir|blanc|"
                                              "bleu|Pièces|Aperçu|Pieds",
                                              "Édition|Annuler|Rétablir|Enregistrer la recette…|Ouvrir une recette…|"
                                              "Mes pièces|Étapes|Étapes|Rouge|Vert|Bleu|visible|en miroir|Monter|"
                                              "Descendre|Supprimer|Changer de pièce…|Base : |Skin par défaut|masqué|"
                                              "en miroir|teinté|proche de la couleur transparente|"
                                              "Rampe de couleurs…|Rampe de couleurs|de|vers|aucune|Annuler|"
                                              "Exporter en OpenRaster…|Exporter en PNG…");
    }

    void languages()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, nameLine);
        QFETCH(QStringList, texts);
        AppState state;
        state.ProgramFolder = langFolder;
        state.LanguageFile = fileName;
        for (const KeyRow &r : languageKeyTable()) {
            // From the edit words on, the German file gives the built-in texts, the others a
            // translation of each; every key finds its own line, not a later one that holds it.
            const QString text = LanguageText(state, r.key);
            const bool meant = r.row <= texts.size()       ? text == texts.at(r.row - 1)
                               : fileName == "deutsch.zlf" ? text == r.builtInText
                                                           : !text.isEmpty() && text != r.builtInText;
            QVERIFY2(meant && state.LanguageLine.startsWith(r.key + '#', Qt::CaseInsensitive), qPrintable(r.key));
        }

        state.LanguageFile = QStringLiteral("anderes.zlf");
        QVERIFY(FindLanguageLine(state, languageNameRow().key, fileName));
        QCOMPARE(state.LanguageLine, nameLine);

        // The files must keep Windows line ends in the repository; with bare LF each would be one line.
        const QByteArray bytes = testsupport::fileBytes(langFolder + QLatin1Char('/') + fileName);
        QVERIFY(bytes.endsWith("\r\n") && bytes.contains("##"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
    }
};

QTEST_GUILESS_MAIN(tst_ShippedLanguages)
#include "tst_shippedlanguages.moc"
