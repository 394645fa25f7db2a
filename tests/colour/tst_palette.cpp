// GIMP palettes as users bring them (by hand, from GIMP, Krita or a palette site) and the
// colour-ramp swap between two of them.

#include "TestFiles.h"

#include "colour/Palette.h"
#include "colour/RampMap.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace pellwerk;
using namespace testsupport;

namespace {

Palette paletteOf(const QList<QRgb> &rgbs)
{
    Palette palette;
    for (const QRgb rgb : rgbs)
        palette.colours.push_back(Colour::fromQRgb(rgb));
    return palette;
}

} // namespace

class PaletteTest : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<QRgb>>("colours");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("columns");
        const QList<QRgb> two{qRgb(1, 2, 3), qRgb(255, 0, 128)};
        QTest::newRow("header only") << QByteArray("GIMP Palette\n") << QList<QRgb>{} << "" << 0;
        QTest::newRow("no end of line") << QByteArray("GIMP Palette \t\n1 2 3\n255 0 128") << two << "" << 0;
        QTest::newRow("CRLF, tabs, names, aligned numbers")
            << QByteArray("GIMP Palette\r\nName: Rot und Blau\r\nColumns: 16\r\n#\r\n  1\t  2   3\tdark red\r\n"
                          "255 0 128 Pink # not a comment\r\n")
            << two << "Rot und Blau" << 16;
        QTest::newRow("comments and blank lines anywhere, leading zeros, repeats kept")
            << QByteArray("GIMP Palette\n\n  # a comment\nColumns: 256\nName:Ramp\n\t\n001 002 003\n \n#x\n"
                          "255 000 128\n1 2 3\n")
            << (two + QList<QRgb>{qRgb(1, 2, 3)}) << "Ramp" << 256;
    }

    void accepted()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<QRgb>, colours);
        QFETCH(QString, name);
        QFETCH(int, columns);
        const Result<Palette> read = parsePalette(text, "p.gpl");
        QVERIFY2(read, qPrintable(errorText(read)));
        QCOMPARE(read.value(), Palette({name, columns, paletteOf(colours).colours}));
    }

    // The hostile table: every rule broken once, each refused at its line with what was found.
    void refused_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("detail");
        using K = ErrorKind;
        const auto row = [](const char *name, const QByteArray &text, K kind, int line, const char *detail = "") {
            QTest::newRow(name) << text << kind << line << QString::fromUtf8(detail);
        };
        row("empty", "", K::PaletteHeader, 1);
        row("other format", "JASC-PAL\n0100\n", K::PaletteHeader, 1);
        row("header indented", " GIMP Palette\n", K::PaletteHeader, 1);
        row("header with more", "GIMP Palettes\n", K::PaletteHeader, 1);
        row("byte order mark", "\xEF\xBB\xBFGIMP Palette\n", K::PaletteHeader, 1);
        row("lone CR endings", "GIMP Palette\r1 2 3\r", K::PaletteHeader, 1);
        row("two values", "GIMP Palette\n1 2 3\n\n4 5\n", K::PaletteMissingValue, 4);
        row("none but a name", "GIMP Palette\n#\n\tRed\n", K::PaletteBadValue, 3, "Red");
        row("256", "GIMP Palette\n1 256 3\n", K::PaletteBadValue, 2, "256");
        row("huge", "GIMP Palette\n1 2 99999999999999999999\n", K::PaletteBadValue, 2, "99999999999999999999");
        row("negative", "GIMP Palette\n-1 2 3\n", K::PaletteBadValue, 2, "-1");
        row("fraction", "GIMP Palette\n1 2.5 3\n", K::PaletteBadValue, 2, "2.5");
        row("name glued on", "GIMP Palette\n1 2 3black\n", K::PaletteBadValue, 2, "3black");
        row("CR inside a line", "GIMP Palette\n1\r2 3\n", K::PaletteBadValue, 2, "1\r2");
        row("name after the colours", "GIMP Palette\n1 2 3\nName: x\n", K::PaletteBadValue, 3, "Name:");
        row("columns 257", "GIMP Palette\nColumns: 257\n", K::PaletteBadColumns, 2, "257");
        row("columns missing", "GIMP Palette\nName: x\r\nColumns:\r\n", K::PaletteBadColumns, 3, "");
        const QByteArray many = "GIMP Palette\n" + QByteArray("0 0 0\n").repeated(PaletteLimits::MaxColours + 1);
        row("one colour too many", many, K::PaletteTooManyColours, PaletteLimits::MaxColours + 2);
    }

    void refused()
    {
        QFETCH(QByteArray, text);
        QFETCH(ErrorKind, kind);
        QFETCH(int, line);
        QFETCH(QString, detail);
        const Result<Palette> read = parsePalette(text, "Paletten/rot.gpl");
        QVERIFY(!read);
        QCOMPARE(read.error().kind, kind);
        QCOMPARE(read.error().line, line);
        QCOMPARE(read.error().detail, detail);
        // The words name the file and the line first.
        QVERIFY2(errorText(read).startsWith(QStringLiteral("Paletten/rot.gpl, Zeile %1: ").arg(line)),
                 qPrintable(errorText(read)));
    }

    void files()
    {
        QTemporaryDir dir;
        const QString big = dir.filePath("big.gpl"), ok = dir.filePath("ok.gpl");
        QVERIFY(writeFile(big, "GIMP Palette\n" + QByteArray(PaletteLimits::MaxFileBytes, '#')));
        QCOMPARE(readPaletteFile(big).error().kind, ErrorKind::FileTooLarge);
        QVERIFY(writeFile(ok, "GIMP Palette\n7 8 9\n1 2\n"));
        QCOMPARE(errorText(readPaletteFile(ok)),
                 ok + ", Zeile 3: Der Farbe fehlen Werte; erwartet werden drei Zahlen für Rot, Grün und Blau.");
    }

    // Every palette Debian's GIMP ships reads, each colour line (told apart here by a pattern of
    // its own) giving one colour.
    void gimpPalettes()
    {
        const QDir folder(QStringLiteral("/usr/share/gimp/2.0/palettes"));
        const QStringList names = folder.entryList({"*.gpl"}, QDir::Files);
        if (names.isEmpty())
            QSKIP("no GIMP palettes in /usr/share/gimp/2.0/palettes (Debian package gimp-data)");
        const QRegularExpression colourLine(QStringLiteral("^[ \\t]*\\d+[ \\t]+\\d+[ \\t]+\\d+([ \\t\\r]|$)"),
                                            QRegularExpression::MultilineOption);
        for (const QString &name : names) {
            const Result<Palette> read = readPaletteFile(folder.filePath(name));
            QVERIFY2(read, qPrintable(errorText(read)));
            const QString text = QString::fromUtf8(fileBytes(folder.filePath(name)));
            QCOMPARE(qsizetype(read->colours.size()), text.count(colourLine));
        }
    }

    // The swap against the rule itself: for each pixel, the first place of its colour in `from`.
    void swapMatchesModel()
    {
        QRandomGenerator random(2026);
        const auto anyColour = [&] { return 0xFF000000u | random.bounded(1u << 24); };
        for (int round = 0; round < 300; ++round) {
            // Few colours, so that parts and palettes share many of them, repeats happen and colours
            // that are swapped away also come in; every tenth round a palette far larger than a ramp.
            QList<QRgb> pool, from, to;
            for (int n = 1 + random.bounded(round % 10 == 0 ? 3000 : 12); n > 0; --n)
                pool << anyColour();
            const auto pick = [&] { return pool[random.bounded(int(pool.size()))]; };
            for (int n = random.bounded(round % 10 == 0 ? 2000 : 9); n > 0; --n) {
                from << pick();
                to << (random.bounded(2) ? pick() : anyColour());
            }
            QImage part(1 + random.bounded(40), 1 + random.bounded(40), QImage::Format_RGB32);
            for (int i = 0; i < part.width() * part.height(); ++i)
                part.setPixel(i % part.width(), i / part.width(), pick());
            const QImage before = part.copy();
            const QImage swapped = RampMap::make(paletteOf(from), paletteOf(to))->apply(part);
            QCOMPARE(part, before);
            QCOMPARE(swapped.size(), part.size());
            for (int i = 0; i < part.width() * part.height(); ++i) {
                const QRgb pixel = part.pixel(i % part.width(), i / part.width());
                const qsizetype at = from.indexOf(pixel);
                QCOMPARE(swapped.pixel(i % part.width(), i / part.width()), at < 0 ? pixel : to[at]);
            }
        }
        const Result<RampMap> unequal = RampMap::make(paletteOf({1, 2, 3}), paletteOf({1, 2}));
        QCOMPARE(errorText(unequal), QStringLiteral("Die beiden Paletten haben nicht gleich viele Farben (3 und 2)."));
    }
};

QTEST_GUILESS_MAIN(PaletteTest)
#include "tst_palette.moc"
