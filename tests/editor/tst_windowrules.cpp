// Rules the windows apply, checked without a window: the names of the transparent colours, the
// names the part lists offer, the knobs' work on a preview no user can make, the texts of the
// status line, the names of actions and the rows of the steps window.

#include "TestFiles.h"
#include "core/FileListing.h"
#include "editor/PartListPattern.h"
#include "editor/PreviewTint.h"
#include "editor/StatusText.h"
#include "editor/StepNames.h"
#include "editor/TransparentColourName.h"

#include <QTest>

using namespace pellwerk;
using namespace testsupport;

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

    // The lists follow the designs' names: feet and left arms need an underscore, right arms take
    // one or none; the user's list offers bitmaps only.
    void listPatterns()
    {
        QVERIFY(!fileNameMatches("foot01.bmp", partListPattern(PartKindId::Foot)));
        QVERIFY(!fileNameMatches("LeftArm01.bmp", partListPattern(PartKindId::LeftArm)));
        QVERIFY(fileNameMatches("RightArm_1.bmp", partListPattern(PartKindId::RightArm)));
        QVERIFY(!fileNameMatches("face.txt", partListPattern(PartKindId::User)));
    }

    // A preview that cannot be read (the window always shows a decoded or the built-in picture) is
    // said once, by the load; then no turn writes into the box, not even the part read before.
    void unreadablePreview()
    {
        for (const bool readBefore : {false, true}) {
            PictureBoxModel box(QSize(148, 191), Colours::Black, false);
            box.setPicture(Picture::make(filled(5, 4, qRgb(1, 2, 3))));
            PreviewTint tint;
            if (readBefore) {
                QVERIFY(tint.load(box) && tint.apply(box, {9, 0, 0}));
                QCOMPARE(box.picture().image, filled(5, 4, qRgb(10, 2, 3)));
            }
            box.clearPicture();
            QCOMPARE(errorText(tint.load(box)), QStringLiteral("Bildinformationen konnten nicht gelesen werden"));
            QVERIFY(!tint.holdsPicture() && tint.apply(box, {3, 0, 40}) && box.picture().isNull());
        }
    }

    void statusTexts()
    {
        QCOMPARE(StatusText::position({12, 40}), QStringLiteral(" x=12,  y=40 "));
        QCOMPARE(StatusText::pixel({12, 40}, Colour::fromRgb(200, 90, 10)),
                 QStringLiteral(" x=12,  y=40   200, 90, 10"));
        QCOMPARE(StatusText::keyColourCounts(812, 14, 9),
                 QStringLiteral("812 ausgelassen, 14 nahe an der Transparenzfarbe, davon 9 Rand"));
        QCOMPARE(StatusText::keyColourCounts(812, 14, 9, "%3 of %2 at the fringe, %1 left out"),
                 QStringLiteral("9 of 14 at the fringe, 812 left out"));
        // A language file's sentence that would lose a number is not taken.
        QCOMPARE(StatusText::keyColourCounts(812, 14, 9, "%1 left out, %2 near"),
                 QStringLiteral("812 ausgelassen, 14 nahe an der Transparenzfarbe, davon 9 Rand"));
        QCOMPARE(StatusText::userFile("face01.bmp"), QStringLiteral("User File  face01.bmp "));
        QCOMPARE(StatusText::userFileWithoutPlace("a.bmp", false, true),
                 QStringLiteral("User File  a.bmp : X - Koordinate ist keine Zahl"));
        QCOMPARE(StatusText::userFileWithoutPlace("a.bmp", false, false),
                 QStringLiteral("User File  a.bmp : X - und Y - Koordinate sind keine Zahlen"));
    }

    // The steps window's rows: the last painted step on top, marks for what is not plain, the base
    // at the bottom.
    void rowsAndNames()
    {
        Document document({CompositionBase::Kind::File, "/skins/mine.bmp"}, filled(3, 3, qRgb(9, 9, 9)));
        PasteStep shirt{PartKindId::Shirt, "/parts/shirt02.bmp", {87, 128}, Colours::Black, {}};
        document.append(shirt, filled(4, 4, qRgb(200, 0, 0)));
        PasteStep scar{PartKindId::User, "/parts/scar.bmp", {-5, 7}, Colours::Black, {0, 0, 3}, false, true};
        // (0, 0, 1), tinted to (0, 0, 4), is pasted but lies within 8 of the black key.
        QImage nearKey = filled(4, 4, qRgb(90, 90, 90));
        nearKey.setPixel(2, 2, qRgb(0, 0, 1));
        document.append(scar, nearKey);
        document.append(PasteStep{PartKindId::Face, {}, {128, 0}, Colours::White, {}, true, true},
                        filled(2, 2, qRgb(0, 0, 0)));
        const std::vector<StepRow> expected{
            {2, "Gesicht Vorschaubild [gespiegelt]"},
            {1, "Benutzer-Teil scar.bmp [ausgeblendet] [gespiegelt] [getönt] [nahe an der Transparenzfarbe]"},
            {0, "Hemd shirt02.bmp"},
            {-1, "Grundlage: mine.bmp"}};
        QCOMPARE(stepRows(document), expected);
        QCOMPARE(stepRows(Document()).back().text, QStringLiteral("Grundlage: Standard-Skin"));
        QCOMPARE(stepRows(Document({CompositionBase::Kind::New, {}}, {}), {"Base: ", "", "", "", "", ""}).back().text,
                 QStringLiteral("Base: SkinNEW.bmp"));

        // The window's test meets the other names; these are the ones it does not.
        QCOMPARE(actionName(HistoryStep::reordered(shirt, 0, 2)), QStringLiteral("nach oben Hemd shirt02.bmp"));
        QCOMPARE(actionName(HistoryStep::edited(HistoryStep::Type::Visibility, shirt, 0)),
                 QStringLiteral("einblenden Hemd shirt02.bmp"));
    }
};

QTEST_GUILESS_MAIN(WindowRulesTest)
#include "tst_windowrules.moc"
