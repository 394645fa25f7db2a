#include "TestFiles.h"

#include "compose/ComposeOptions.h"
#include "compose/Composer.h"
#include "compose/Recipe.h"
#include "core/BitmapWriter.h"
#include "core/PngWriter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pellwerk;

// The kinds as the recipe documentation lists them.
const QString Kinds = "der Arten foot, rightarm, leftarm, tattoo, chain, face, pants, shirt, glasses, beard, user.";

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

class ComposeCliTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }

    Run run(const QStringList &arguments, const QString &program = QStringLiteral(PELLWERK_COMPOSE),
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment()) const
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_dir.path());
        process.start(program, arguments);
        process.waitForFinished(60000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void initTestCase()
    {
        // 4 x 2: two black pixels, (1, 0) is (5, 0, 0) beside one of them, (3, 1) is (0, 0, 7) on
        // the part's edge beside the preview's black back colour.
        QImage halo = testsupport::filled(4, 2, qRgb(200, 100, 50));
        for (const auto &[x, y, rgb] :
             {std::tuple{0, 0, qRgb(0, 0, 0)}, {1, 0, qRgb(5, 0, 0)}, {2, 1, qRgb(0, 0, 0)}, {3, 1, qRgb(0, 0, 7)}})
            halo.setPixel(x, y, rgb);
        QVERIFY(testsupport::writeBmp(path("Face1.bmp"), halo));
        QVERIFY(testsupport::writeBmp(path("Face2.bmp"), testsupport::filled(9, 9, qRgb(1, 2, 3))));
        QVERIFY(testsupport::writeFile(path("Face10.bmp"), "BM broken"));
        QVERIFY(testsupport::writeFile(path("r.json"), R"({"pellwerk-recipe": 1, "base": "default",
            "transparent": "schwarz", "steps": [{"kind": "face", "part": "Face1.bmp"},
            {"kind": "user", "part": "Face2.bmp", "x": 250, "y": -3, "tint": [0, 40, 0]}]})"));
        // Face1's main colour swapped to a far one (ton1) or one near the black key (ton2).
        for (const auto &[name, colours] : {std::pair{"from.gpl", "200 100 50\n1 1 1"},
                                            {"ton1.gpl", "10 20 30\n1 1 1"},
                                            {"ton2.gpl", "0 0 3\n1 1 1"},
                                            {"short.gpl", "9 9 9"}})
            QVERIFY(testsupport::writeFile(path(name), QByteArray("GIMP Palette\n") + colours));
        QVERIFY(testsupport::writeFile(path("ramp.json"), R"({"pellwerk-recipe": 2, "base": "default",
            "transparent": "schwarz", "steps": [{"kind": "face", "part": "Face1.bmp", "ramp": ["from.gpl", "ton1.gpl"]}]})"));
        QVERIFY(testsupport::writeFile(path("bad.json"), R"({"pellwerk-recipe": 1, "base": "default",
            "transparent": "schwarz", "steps": [{"kind": "hat", "part": "Face1.bmp"}]})"));
    }

    void options_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("result");    // a Mode, or 100 + a CommandLineErrorKind
        QTest::addColumn<QString>("words"); // part of the message, where it is checked
        const auto row = [](const char *arguments, int result, const char *words = "") {
            QTest::newRow(arguments) << arguments << result << QString(words);
        };
        const auto err = [](CommandLineErrorKind k) { return 100 + int(k); };
        using M = ComposeOptions::Mode;
        row("r.json -o out.bmp -j2 --fail-fast", int(M::Compose));
        row("--output=o.bmp --jobs=3 --vary=face=F* r.json", int(M::Compose));
        row("--lint --near 0 --json r.json", int(M::Lint));
        row("-x --help", int(M::Help));
        row("--check -- --lint", int(M::Check));
        row("r.json -o o --frobnicate", err(CommandLineErrorKind::ArgumentUnknown),
            "Unbekannte Option „--frobnicate“.");
        row("r.json -o", err(CommandLineErrorKind::ArgumentMissingValue));
        row("r.json -o o -j 0", err(CommandLineErrorKind::ArgumentBadValue),
            "„-j“; erwartet wird eine ganze Zahl ab 1.");
        row("--lint r.json --near=256", err(CommandLineErrorKind::ArgumentBadValue),
            "wird eine ganze Zahl von 0 bis 255.");
        row("r.json -o o --vary hat=x", err(CommandLineErrorKind::ArgumentBadValue),
            qPrintable("wird ART=MUSTER oder ART.ramp=MUSTER mit einer " + Kinds));
        row("r.json -o o --vary face=a --vary face=b", err(CommandLineErrorKind::VaryRepeated));
        row("r.json -o o --vary face.ramp=b --vary face=a --vary face.ramp=c", err(CommandLineErrorKind::VaryRepeated),
            "Die Art „face.ramp“ wird mehr als einmal variiert.");
        row("a.json b.json -o o", err(CommandLineErrorKind::ArgumentSurplus));
        row("r.json", err(CommandLineErrorKind::ArgumentMissing));
        row("r.json -o o --json", err(CommandLineErrorKind::ArgumentConflict));
        row("--check --lint r.json", err(CommandLineErrorKind::ArgumentConflict));
    }

    void options()
    {
        QFETCH(QString, arguments);
        QFETCH(int, result);
        QFETCH(QString, words);
        const CommandLineResult<ComposeOptions> parsed = parseComposeOptions(arguments.split(' '));
        QCOMPARE(parsed ? int(parsed->mode) : 100 + int(parsed.error().kind), result);
        const QString text = testsupport::errorText(parsed);
        QVERIFY2(text.contains(words), qPrintable(text));
    }

    // Recipes nobody on the team wrote: each refused (exit 2) with its place named, and no skin
    // written. Columns are counted by hand, in characters: "ä€😀" is three of them in nine bytes.
    void hostileRecipes_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const QByteArray &json, const char *message) {
            QTest::newRow(name) << json << QString::fromUtf8(message);
        };
        // The version's value, or the part of the first step, begins at column 20 or 36 of line 2.
        const QByteArray version = "{\"base\": \"default\", \"transparent\": [0, 0, 0], \"steps\": [],\n"
                                   "\"pellwerk-recipe\": ";
        const auto part = [](const QByteArray &rest) {
            return "{\"pellwerk-recipe\": 1, \"base\": \"default\", \"transparent\": [0, 0, 0],\n"
                   "\"steps\": [{\"kind\": \"face\", \"part\": "
                   + rest + "}]}";
        };
        row("1.", version + "1.}", "Zeile 2, Spalte 22: Das Rezept ist kein gültiges JSON: ungültige Zahl");
        row(".5", version + ".5}", "Zeile 2, Spalte 20: Das Rezept ist kein gültiges JSON: unerwartetes Zeichen");
        row("leading zero", version + "01}", "Zeile 2, Spalte 20: Das Rezept ist kein gültiges JSON: ungültige Zahl");
        row("trailing comma", version + "1,}", "Zeile 2, Spalte 22: Das Rezept ist kein gültiges JSON: unerwartetes");
        row(".0e1", R"({"base": "default", "steps": [], "pellwerk-recipe": 1,
"transparent": [0, 0, .0e1]})",
            "Zeile 2, Spalte 23: Das Rezept ist kein gültiges JSON: unerwartetes Zeichen");
        row("unknown escape", part(R"("F\a.bmp")"),
            "Zeile 2, Spalte 39: Das Rezept ist kein gültiges JSON: unbekannte");
        // Wide characters before the fault, and the parser's own word for another fault in the text.
        row("after wide characters", part(R"("ä€😀unexpected\a")"),
            "Zeile 2, Spalte 51: Das Rezept ist kein gültiges JSON: unbek");
        row("lone surrogate", part(R"("\ud800")"), "Zeile 2, Spalte 43: Das Rezept ist kein gültiges JSON: unvollst");
        row("raw control character", part("\"F\x01.bmp\""),
            "Zeile 2, Spalte 38: Das Rezept ist kein gültiges JSON: Steuer");
        row("not UTF-8", part("\"F\xff.bmp\""),
            "Zeile 2, Spalte 38: Das Rezept ist kein gültiges JSON: kein gültiges UTF-8");
        row("cut short", version, "Zeile 2, Spalte 20: Das Rezept ist kein gültiges JSON: der Text endet");
        row("empty", "", "Zeile 1, Spalte 1: Das Rezept ist kein gültiges JSON: der Text endet");
        row("NUL in a part", part(R"("F\u0000.bmp")"),
            "Zeile 2, Spalte 28, Schritt 1, Feld „part“: Erwartet wird ein nicht leerer Text ohne Steuerzeichen.");
        row("NUL in the base", R"({"pellwerk-recipe": 1, "transparent": [0, 0, 0], "steps": [],
"base": "a\u0000b"})",
            "Zeile 2, Spalte 1, Feld „base“: Erwartet wird ein nicht leerer Text ohne Steuerzeichen.");
        row("NUL in a key", version + R"(1, "a\u0000b": 1})",
            "Zeile 2, Spalte 23, Feld „a\\u0000b“: Dieses Feld gibt es nicht.");
        row("top-level key twice",
            R"({"pellwerk-recipe": 1, "base": "default", "transparent": [0, 0, 0], "steps": [{"kind": "face", "part": "F.bmp"}],
"steps": []})",
            "Zeile 2, Spalte 1, Feld „steps“: Das Feld steht zweimal im selben Objekt.");
        row("step key twice", part(R"("F.bmp", "part": "G.bmp")"),
            "Zeile 2, Spalte 45, Schritt 1, Feld „part“: Das Feld steht zweimal");
        row("mirror in version 1", part(R"("F.bmp", "mirror": true)"),
            "Zeile 2, Spalte 45, Schritt 1, Feld „mirror“: Dieses Feld gibt es erst ab Rezept-Version 2");
        row("x on a fixed kind", part(R"("F.bmp", "x": 1)"),
            "Zeile 2, Spalte 45, Schritt 1, Feld „x“: Dieses Feld gibt es nur bei der Art „user“; „face“ hat");
        row("version 3", version + "3}",
            "Zeile 2, Spalte 1, Feld „pellwerk-recipe“: Rezept-Version 3 wird nicht unterstützt");
        row("version 1.0", version + "1.0}",
            "Zeile 2, Spalte 1, Feld „pellwerk-recipe“: Erwartet wird eine ganze Zahl");
        row("part a number", part("7"), "Zeile 2, Spalte 28, Schritt 1, Feld „part“: Erwartet wird");
        row("nested 10000 deep", part(R"("F.bmp", "tint": )" + QByteArray(10000, '[') + QByteArray(10000, ']')),
            "Zeile 2, Spalte 45, Schritt 1, Feld „tint“: Erwartet wird [r, g, b]");
        row("20 MiB", version + "1" + QByteArray(20 << 20, ' ') + "}", "Die Datei ist zu groß.");
    }

    void hostileRecipes()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        QVERIFY(testsupport::writeFile(path("hostile.json"), json));
        QFile::remove(path("hostile.bmp"));
        const Run r = run({"hostile.json", "-o", "hostile.bmp"});
        QCOMPARE(r.exitCode, 2);
        // One line, and the whole of it: no warning beside it, no NUL cutting it short.
        QVERIFY2(r.err.startsWith(QStringLiteral("pellwerk-compose: Rezept „hostile.json“: ") + message)
                     && r.err.count('\n') == 1,
                 qPrintable(r.err));
        QVERIFY(!QFile::exists(path("hostile.bmp")));
    }

    void lintText()
    {
        const Run r = run({"--lint", "r.json"});
        QCOMPARE(r.exitCode, 3);
        QCOMPARE(r.out,
                 QStringLiteral("step 1 face Face1.bmp: 2 left out, 2 near the transparent colour (2 fringe), "
                                "first at 1,0\n"
                                "step 2 user Face2.bmp: 0 left out, 0 near the transparent colour (0 fringe)\n"));
        QCOMPARE(run({"--lint", "--near", "0", "r.json"}).exitCode, 0);
    }

    void lintJsonWithVariations()
    {
        // Face10.bmp cannot be read: it is named, the other faces are checked. The folder is named
        // so that the program folder's sample faces stay out of the list.
        const Run ok = run({"--lint", "--json", "--near=5", "r.json", "--vary", "face=" + path("Face*")});
        QCOMPARE(ok.exitCode, 1);
        QVERIFY2(ok.err.contains(QStringLiteral("Schritt 1, Feld „part“ (%1)").arg(path("Face10.bmp"))),
                 qPrintable(ok.err));
        QCOMPARE(ok.err.count('\n'), 1);
        const QJsonArray steps = QJsonDocument::fromJson(ok.out.toUtf8()).array();
        QCOMPARE(steps.size(), 3);
        const QJsonObject first = steps[0].toObject();
        QCOMPARE(first.keys(), QStringList({"fringe", "kind", "left_out", "near", "near_first", "part", "step"}));
        QCOMPARE(first["part"].toString(), QStringLiteral("Face1.bmp"));
        QCOMPARE(first["near"].toInt(), 1); // (0, 0, 7) is 7 away
        QCOMPARE(first["near_first"].toArray(), QJsonArray({1, 0}));
        // Untinted, all of Face2 is within 3 of black; its right column and bottom row touch the
        // preview's back colour.
        const QJsonObject second = steps[1].toObject();
        QCOMPARE(second["part"].toString(), QStringLiteral("Face2.bmp"));
        QCOMPARE(second["near"].toInt(), 81);
        QCOMPARE(second["fringe"].toInt(), 17);
        QCOMPARE(steps[2].toObject()["step"].toInt(), 2);
        QVERIFY(steps[2].toObject()["near_first"].isNull());
    }

    // Refused before anything is reported: --lint like composing refuses an unreadable base or
    // shared part, and a recipe of more steps than the limit.
    void recipesRefused_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<int>("faces"); // steps before a last step of a shirt
        QTest::addColumn<QString>("shirt");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("base unreadable") << "gone.bmp" << 1 << "Face1.bmp" << 2 << "Feld „base“ (";
        QTest::newRow("shared part unreadable") << "default" << 1 << "Face10.bmp" << 2 << "Schritt 2, Feld „part“ (";
        QTest::newRow("at the step limit") << "default" << int(MaxRecipeSteps) - 1 << "Face1.bmp" << 3 << "";
        QTest::newRow("over it") << "default" << int(MaxRecipeSteps) << "Face1.bmp" << 2
                                 << "Rezept „t.json“: Feld „steps“: Das Rezept hat 100001 Schritte; mehr als 100000 "
                                    "werden nicht verarbeitet.\n";
    }

    void recipesRefused()
    {
        QFETCH(QString, base);
        QFETCH(int, faces);
        QFETCH(QString, shirt);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString face = QStringLiteral(R"({"kind": "face", "part": "Face2.bmp"}, )").repeated(faces);
        const QString text = QStringLiteral(R"({"pellwerk-recipe": 1, "transparent": "schwarz", "base": "%1",
            "steps": [%2{"kind": "shirt", "part": "%3"}]})");
        QVERIFY(testsupport::writeFile(path("t.json"), text.arg(base, face, shirt).toUtf8()));
        const Run r = run({"--lint", "t.json"});
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.out.isEmpty() == (exitCode == 2) && r.err.contains(message), qPrintable(r.err));
    }

    void composeAndExitCodes()
    {
        Run r = run({"r.json", "-o", "one.bmp"});
        QCOMPARE(r.exitCode, 0);
        const Composer composer({m_dir.path(), {}, {}});
        const Composition c = readRecipeFile(path("r.json")).value().composition;
        QCOMPARE(testsupport::fileBytes(path("one.bmp")), encodeBitmap24(composer.compose(c).value()));

        r = run({"r.json", "--vary", "face=face*.bmp", "-o", "v-{face}.bmp", "-j", "2"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(QStringLiteral("Skin „v-Face10.bmp“ nicht geschrieben: Schritt 1, Feld „part“")),
                 qPrintable(r.err));
        QVERIFY(QFile::exists(path("v-Face1.bmp")) && QFile::exists(path("v-Face2.bmp")));
        QVERIFY(!QFile::exists(path("v-Face10.bmp")));
        // A file-system sync that fails (as after another file's write error) costs a skin only
        // when syncing that skin on its own fails too.
        QProcessEnvironment failingSync = QProcessEnvironment::systemEnvironment();
        failingSync.insert("LD_PRELOAD", PELLWERK_FAILING_SYNCFS);
        r = run({"r.json", "--vary", "face=Face?.bmp", "-o", "s-{face}.bmp"}, PELLWERK_COMPOSE, failingSync);
        QVERIFY2(r.exitCode == 0 && QFile::exists(path("s-Face2.bmp")), qPrintable(r.err));
        // Face1.bmp and Face1.BMP: two parts, one skin name in the working folder.
        QVERIFY(QDir().mkpath(path("case")) && QFile::copy(path("Face2.bmp"), path("case/Face1.bmp"))
                && QFile::copy(path("Face2.bmp"), path("case/Face1.BMP")));
        r = run({"r.json", "--vary", "face=case/Face1.*", "-o", "c-{face}.bmp"});
        QVERIFY2(r.exitCode == 2 && r.err.contains("denselben Namen „c-Face1.bmp“")
                     && !QFile::exists(path("c-Face1.bmp")),
                 qPrintable(r.err));

        r = run({"bad.json", "-o", "bad.bmp"});
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(QStringLiteral("Rezept „bad.json“: Zeile 2, Spalte 50, Schritt 1, Feld „kind“")),
                 qPrintable(r.err));
        QVERIFY(!QFile::exists(path("bad.bmp")));
        QCOMPARE(run({"--check", "r.json"}).exitCode, 0);
        QCOMPARE(run({"--check", "r.json", "--vary", "face=Face*"}).exitCode, 1);
        QCOMPARE(run({"r.json", "-o", "x.bmp", "--bogus"}).exitCode, 2);
        QCOMPARE(run({"--version"}).out, QStringLiteral("pellwerk-compose 1.2\n"));
        QVERIFY(run({"--help"}).out.startsWith(QStringLiteral("Aufruf: pellwerk-compose")));
    }

    // Every face in every colour: the swap changes exactly the part's pixels of the "from"
    // colour, and the key-colour check sees the swapped colours.
    void rampVariations()
    {
        QVERIFY(QDir().mkpath(path("ramps")));
        const Run r = run({"ramp.json", "--vary", "face=Face?.bmp", "--vary", "face.ramp=ton?.gpl", "-o",
                           "ramps/{face}-{face.ramp}.bmp"});
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(QDir(path("ramps")).entryList(QDir::Files),
                 QStringList({"Face1-ton1.bmp", "Face1-ton2.bmp", "Face2-ton1.bmp", "Face2-ton2.bmp"}));
        QCOMPARE(run({"r.json", "-o", "plain.bmp"}).exitCode, 0);
        const QImage plain(path("plain.bmp")), swapped(path("ramps/Face1-ton2.bmp"));
        int changed = 0;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                if (plain.pixel(x, y) != swapped.pixel(x, y) && x < 250) // right of it: r.json's user part
                    changed +=
                        plain.pixel(x, y) == qRgb(200, 100, 50) && swapped.pixel(x, y) == qRgb(0, 0, 3) ? 1 : 100;
        QCOMPARE(changed, 4);
        const Run lint = run({"--lint", "ramp.json", "--vary", "face.ramp=ton?.gpl"});
        QVERIFY2(lint.out.startsWith("step 1 face Face1.bmp ramp ton1.gpl: 2 left out, 2 near")
                     && lint.out.contains("\nstep 1 face Face1.bmp ramp ton2.gpl: 2 left out, 6 near"),
                 qPrintable(lint.out));
        QVERIFY(
            run({"r.json", "--vary", "face.ramp=ton?.gpl", "-o", "x.bmp"}).err.contains("mit einem Farbrampen-Tausch"));
        QVERIFY(testsupport::writeFile(path("short.json"), R"({"pellwerk-recipe": 2, "base": "default",
            "transparent": "schwarz", "steps": [{"kind": "face", "part": "Face1.bmp"},
            {"kind": "shirt", "part": "Face2.bmp", "ramp": ["ton1.gpl", "short.gpl"]}]})"));
        const Run shorter = run({"short.json", "-o", "short.bmp"});
        QCOMPARE(shorter.err, QStringLiteral("pellwerk-compose: Rezept „short.json“: Schritt 2, Feld „ramp“ (%1): Die "
                                             "beiden Paletten haben nicht gleich viele Farben (2 und 1).\n")
                                  .arg(path("short.gpl")));
        QVERIFY(shorter.exitCode == 2 && !QFile::exists(path("short.bmp")));
    }

    // Base "new" reads the program folder's SkinNEW.bmp: no output may replace it, whatever its name.
    void programTemplateIsNoOutput()
    {
        const QString program = path("program/pellwerk-compose"), skinNew = path("program/SkinNEW.bmp");
        QVERIFY(QDir().mkpath(path("program")) && QFile::copy(PELLWERK_COMPOSE, program));
        QVERIFY(testsupport::writeFile(skinNew, "BM") && QFile::link(skinNew, path("mine.bmp")));
        QVERIFY(testsupport::writeFile(path("new.json"), R"({"pellwerk-recipe": 1, "base": "new",
            "transparent": "schwarz", "steps": []})"));
        const Run r = run({"new.json", "-o", "mine.bmp"}, program);
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.err, QStringLiteral("pellwerk-compose: Der Skin „mine.bmp“ würde „%1“ überschreiben, eine Datei, "
                                       "die das Rezept liest; es wurde nichts geschrieben.\n")
                            .arg(skinNew));
        QCOMPARE(testsupport::fileBytes(skinNew), QByteArray("BM"));
    }

    void formatsByExtension()
    {
        QCOMPARE(run({"r.json", "-o", "flat.bmp"}).exitCode + run({"r.json", "-o", "flat.PNG"}).exitCode, 0);
        const QImage skin = QImage(path("flat.bmp")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(QImage(path("flat.PNG"), "PNG").convertToFormat(QImage::Format_RGB32), skin);
        const Run projects = run({"r.json", "--vary", "face=Face?.bmp", "-o", "p-{face}.ora"});
        QVERIFY2(projects.exitCode == 0, qPrintable(projects.err));
        // The project alone, away from its parts, makes the same skin.
        QVERIFY(QDir().mkpath(path("away")) && QFile::rename(path("p-Face1.ora"), path("away/p.ora")));
        QCOMPARE(run({"away/p.ora", "-o", "away/again.bmp"}).exitCode, 0);
        QCOMPARE(testsupport::fileBytes(path("away/again.bmp")), testsupport::fileBytes(path("flat.bmp")));
        // A project is no picture to start from.
        QVERIFY(testsupport::writeFile(path("on-project.json"), R"({"pellwerk-recipe": 1, "base": "away/p.ora",
            "transparent": "schwarz", "steps": []})"));
        const Run onProject = run({"on-project.json", "-o", "on-project.bmp"});
        QVERIFY2(onProject.exitCode == 2 && onProject.err.contains("ist ein Pellwerk-Projekt"),
                 qPrintable(onProject.err));
        // Another program's file has no recipe.
        QVERIFY(testsupport::writeFile(path("other.ora"), testsupport::zipOf({{"mimetype", "image/openraster"},
                                                                              {"stack.xml", "<image w='1' h='1'/>"},
                                                                              {"mergedimage.png", encodePng(skin)}})));
        const Run other = run({"other.ora", "-o", "other.bmp"});
        QCOMPARE(other.exitCode, 2);
        QVERIFY2(other.err.contains(QStringLiteral("„other.ora“: Die OpenRaster-Datei stammt aus einem anderen")),
                 qPrintable(other.err));
        QVERIFY(!QFile::exists(path("other.bmp")));
    }
};

QTEST_GUILESS_MAIN(ComposeCliTest)
#include "tst_composecli.moc"
