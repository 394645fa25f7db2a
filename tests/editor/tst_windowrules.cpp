// Rules the windows apply, checked without a window: the names of the transparent colours and
// the texts of the status line.

#include "editor/StatusText.h"
#include "core/TransparentColourName.h"

#include <QTest>

using namespace pellwerk;

class WindowRulesTest : public QObject
{
    Q_OBJECT
private slots:
    void colourNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("known");
        QTest::addColumn<quint32>("colour"); // with the user colour 10, 200, 30
        QTest::addColumn<bool>("followsKnobs");
        const auto row = [](const char *text, bool known, quint32 colour, bool followsKnobs) {
            QTest::newRow(text) << text << known << colour << followsKnobs;
        };
        row("schwarz", true, 0x000000u, false);
        row("weiss", true, 0xFFFFFFu, false);
        row("blau", true, 0xFF0000u, false);
        row("User", true, 0x1EC80Au, true);
        row("user", false, 0u, false);  // letter case counts
        row("", false, 0u, false);      // no pick yet
        row("color", false, 0u, false); // the combo's initial text
    }

    void colourNames()
    {
        QFETCH(QString, text);
        QFETCH(bool, known);
        QFETCH(quint32, colour);
        QFETCH(bool, followsKnobs);
        const std::optional<ColourName> name = colourNameFromText(text);
        QCOMPARE(name.has_value(), known);
        AppState state;
        state.TransparentColourName = text;
        QCOMPARE(followsUserColour(state), followsKnobs);
        if (!name)
            return;
        QCOMPARE(colourNameText(*name), text);
        QCOMPARE(colourFor(*name, UserRgb{10, 200, 30}).value(), colour);
    }

    void statusTexts()
    {
        QCOMPARE(StatusText::position({12, 40}), QStringLiteral(" x=12,  y=40 "));
        QCOMPARE(StatusText::pixel({12, 40}, Colour::fromRgb(200, 90, 10)),
                 QStringLiteral(" x=12,  y=40   200, 90, 10"));
        QCOMPARE(StatusText::keyColourCounts(812, 14, 9),
                 QStringLiteral("812 ausgelassen, 14 nahe an der Transparenzfarbe, davon 9 Rand"));
        QCOMPARE(StatusText::userFile("face01.bmp"), QStringLiteral("User File  face01.bmp "));
        QCOMPARE(StatusText::userFileWithoutPlace("a.bmp", false, true),
                 QStringLiteral("User File  a.bmp : X - Koordinate ist keine Zahl"));
        QCOMPARE(StatusText::userFileWithoutPlace("a.bmp", false, false),
                 QStringLiteral("User File  a.bmp : X - und Y - Koordinate sind keine Zahlen"));
    }
};

QTEST_GUILESS_MAIN(WindowRulesTest)
#include "tst_windowrules.moc"
