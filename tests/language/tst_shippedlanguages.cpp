#include "language/KeyTable.h"
#include "language/LanguageLookup.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <QTest>

#include <array>

using namespace pellwerk;

namespace {

// What each shipped language is meant to show, row by row (rows 1 to 28 of the key table).
struct Translation
{
    QString nameLine;
    std::array<QString, 29> byRow; // index = row number; index 0 unused
};

Translation translation(const char *nameLine, std::initializer_list<std::pair<int, const char *>> rows)
{
    Translation t;
    t.nameLine = QString::fromUtf8(nameLine);
    for (const auto &[row, text] : rows)
        t.byRow.at(row) = QString::fromUtf8(text);
    return t;
}

const QMap<QString, Translation> &intendedTranslations()
{
    static const QMap<QString, Translation> map{
        {QStringLiteral("deutsch.zlf"),
         translation("LANGUAGE=deutsch",
                     {{1, "Datei"},         {2, "neu"},           {3, "speichern"},      {4, "öffnen"},
                      {5, "beenden"},       {6, "Einstellungen"}, {7, "Einstellungen"},  {8, "Velmora Verzeichniss"},
                      {9, "über"},          {10, "Teile"},        {11, "Einstellungen"}, {12, "Sprache"},
                      {13, "Verzeichniss"}, {14, "schwarz"},      {15, " weiss"},        {16, " blau"},
                      {17, "Teile"},        {18, "preview"},      {19, "Foot file"},     {20, "Datei"},
                      {21, "Datei"},        {22, "Datei"},        {23, "Datei"},         {24, "Datei"},
                      {25, "Datei"},        {26, "Datei"},        {27, "Datei"},         {28, "Datei"}})},
        {QStringLiteral("english.zlf"),
         translation("LANGUAGE=english",
                     {{1, "File"},       {2, "New"},      {3, "Save"},       {4, "Open"},
                      {5, "Exit"},       {6, "Settings"}, {7, "Settings"},   {8, "Velmora Directory"},
                      {9, "About"},      {10, "Parts"},   {11, "Settings"},  {12, "Language"},
                      {13, "Directory"}, {14, "black"},   {15, "white"},     {16, "blue"},
                      {17, "Parts"},     {18, "Preview"}, {19, "Foot file"}, {20, "File"},
                      {21, "File"},      {22, "File"},    {23, "File"},      {24, "File"},
                      {25, "File"},      {26, "File"},    {27, "File"},      {28, "File"}})},
        {QStringLiteral("francais.zlf"),
         translation("LANGUAGE=français",
                     {{1, "Fichier"},     {2, "Nouveau"},    {3, "Enregistrer"},     {4, "Ouvrir"},   {5, "Quitter"},
                      {6, "Paramètres"},  {7, "Paramètres"}, {8, "Dossier Velmora"}, {9, "À propos"}, {10, "Pièces"},
                      {11, "Paramètres"}, {12, "Langue"},    {13, "Dossier"},        {14, "noir"},    {15, "blanc"},
                      {16, "bleu"},       {17, "Pièces"},    {18, "Aperçu"},         {19, "Pieds"},   {20, "Fichier"},
                      {21, "Fichier"},    {22, "Fichier"},   {23, "Fichier"},        {24, "Fichier"}, {25, "Fichier"},
                      {26, "Fichier"},    {27, "Fichier"},   {28, "Fichier"}})},
    };
    return map;
}

const QString langFolder = QStringLiteral(PELLWERK_ASSETS "/lang");

AppState stateFor(const QString &fileName)
{
    AppState s;
    s.ProgramFolder = langFolder;
    s.LanguageFile = fileName;
    return s;
}

} // namespace

class tst_ShippedLanguages : public QObject
{
    Q_OBJECT

private slots:
    // A language file added to the assets without stating its texts here would go unchecked.
    void everyShippedFileIsChecked()
    {
        const QStringList shipped = QDir(langFolder).entryList({QStringLiteral("*.zlf")}, QDir::Files, QDir::Name);
        QStringList expected = intendedTranslations().keys();
        expected.sort();
        QCOMPARE(shipped, expected);
    }

    void keyTable()
    {
        const auto &table = languageKeyTable();
        QCOMPARE(table.size(), size_t(28));
        QSet<QString> keys;
        for (size_t i = 0; i < table.size(); ++i) {
            QCOMPARE(table[i].row, int(i) + 1);
            keys.insert(table[i].key);
        }
        QCOMPARE(keys.size(), 16);
        QCOMPARE(languageNameRow().key, QStringLiteral("LANGUAGE="));

        // Only the colour-name rows depend on the transparent colour, each on its own value.
        const Colour grey = Colour::fromRgb(128, 128, 128);
        for (const KeyRow &r : table) {
            const int applies = int(r.appliesAt(Colours::Black)) + int(r.appliesAt(Colours::White)) +
                                int(r.appliesAt(Colours::Blue)) + int(r.appliesAt(grey));
            QCOMPARE(applies, (r.row >= 14 && r.row <= 16) ? 1 : 4);
        }
        QVERIFY(table[13].appliesAt(Colours::Black));
        QVERIFY(table[14].appliesAt(Colours::White));
        QVERIFY(table[15].appliesAt(Colours::Blue));
    }

    void texts_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("intended");
        const auto &map = intendedTranslations();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            for (const KeyRow &r : languageKeyTable()) {
                const QByteArray tag = it.key().toUtf8() + " row " + QByteArray::number(r.row) + " " + r.key.toUtf8();
                QTest::newRow(tag.constData()) << it.key() << r.key << it.value().byRow.at(r.row);
            }
        }
    }

    void texts()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, key);
        QFETCH(QString, intended);
        QVERIFY(!intended.isEmpty());
        AppState state = stateFor(fileName);
        QCOMPARE(LanguageText(state, key), intended);
    }

    void nameLine_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("nameLine");
        const auto &map = intendedTranslations();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            QTest::newRow(it.key().toUtf8().constData()) << it.key() << it.value().nameLine;
    }

    void nameLine()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, nameLine);
        AppState state = stateFor(QStringLiteral("anderes.zlf"));
        QVERIFY(FindLanguageLine(state, languageNameRow().key, fileName));
        QCOMPARE(state.LanguageLine, nameLine);
    }

    // The files must keep Windows line ends in the repository; with bare LF each would be one line.
    void lineEnds_data() { nameLine_data(); }

    void lineEnds()
    {
        QFETCH(QString, fileName);
        QFile f(langFolder + QLatin1Char('/') + fileName);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.endsWith("\r\n"));
        QVERIFY(bytes.contains("##"));
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n')
                QVERIFY2(i > 0 && bytes[i - 1] == '\r', qPrintable(QStringLiteral("bare LF at byte %1").arg(i)));
            if (bytes[i] == '\r')
                QVERIFY2(i + 1 < bytes.size() && bytes[i + 1] == '\n',
                         qPrintable(QStringLiteral("bare CR at byte %1").arg(i)));
        }
    }

    // Applying German brings back the design texts, except where one key serves controls whose
    // design texts differ: "setup" (the PrgSetup entry) and "file" (the nine part list tool-tips).
    void germanRestoresDesignTexts()
    {
        const QSet<int> sharedKeyRows{7, 20, 21, 22, 23, 24, 25, 26, 27, 28};
        AppState state = stateFor(QStringLiteral("deutsch.zlf"));
        for (const KeyRow &r : languageKeyTable()) {
            const QString text = LanguageText(state, r.key);
            if (sharedKeyRows.contains(r.row))
                QVERIFY2(text != r.builtInText, qPrintable(QString::number(r.row)));
            else
                QVERIFY2(text == r.builtInText,
                         qPrintable(QStringLiteral("row %1: '%2' vs '%3'").arg(r.row).arg(text, r.builtInText)));
        }
        QVERIFY(FindLanguageLine(state, languageNameRow().key, QStringLiteral("deutsch.zlf")));
        QCOMPARE(state.LanguageLine.mid(QStringLiteral("LANGUAGE=").size()), languageNameRow().builtInText);
    }
};

QTEST_GUILESS_MAIN(tst_ShippedLanguages)
#include "tst_shippedlanguages.moc"
