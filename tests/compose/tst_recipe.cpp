#include "TestFiles.h"

#include "compose/Recipe.h"
#include "compose/RecipePaths.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace pellwerk;

namespace {

// A recipe with the given steps (JSON text of the array's elements) and top-level fields.
QByteArray recipe(const QByteArray &steps, const QByteArray &top = R"("base": "default", "transparent": [0, 0, 0])")
{
    return R"({"pellwerk-recipe": 1, )" + top + R"(, "steps": [)" + steps + "]}";
}

} // namespace

class RecipeTest : public QObject
{
    Q_OBJECT

private slots:
    void refused_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("field");
        const auto row = [](const char *name, const QByteArray &json, ErrorKind kind, int step, const char *field) {
            QTest::newRow(name) << json << kind << step << QString::fromLatin1(field);
        };
        // Top-level fields, then steps of a recipe with base "default" and colour black.
        const auto top = [&](const char *name, const char *fields, ErrorKind kind, const char *field) {
            row(name, recipe("", fields), kind, 0, field);
        };
        const auto steps = [&](const char *name, const QByteArray &steps, ErrorKind kind, int step, const char *field) {
            row(name, recipe(steps), kind, step, field);
        };
        const QByteArray face = R"({"kind": "face", "part": "F.bmp"}, )";
        using K = ErrorKind;
        row("not json", "{\"pellwerk-recipe\": 1,", K::RecipeSyntax, 0, "");
        row("array", "[]", K::RecipeSyntax, 0, "");
        row("version 3", R"({"pellwerk-recipe": 3, "future": true})", K::RecipeVersion, 0, "pellwerk-recipe");
        row("version text", R"({"pellwerk-recipe": "1"})", K::RecipeBadValue, 0, "pellwerk-recipe");
        row("no version", R"({"base": "default"})", K::RecipeMissingField, 0, "pellwerk-recipe");
        row("empty key", R"({"pellwerk-recipe": 1, "": 1})", K::RecipeUnknownField, 0, "\"\"");
        row("no steps", R"({"pellwerk-recipe": 1, "base": "new", "transparent": "weiss"})", K::RecipeMissingField, 0,
            "steps");
        row("steps object", recipe("").replace("[]", "{}"), K::RecipeBadValue, 0, "steps");
        top("unknown top", R"("base": "new", "transparent": "blau", "name": "x")", K::RecipeUnknownField, "name");
        top("no base", R"("transparent": [0, 0, 0])", K::RecipeMissingField, "base");
        top("no colour", R"("base": "new")", K::RecipeMissingField, "transparent");
        top("empty base", R"("base": "", "transparent": [0, 0, 0])", K::RecipeBadValue, "base");
        top("colour 256", R"("base": "new", "transparent": [0, 256, 0])", K::RecipeBadValue, "transparent");
        top("colour -1", R"("base": "new", "transparent": [-1, 0, 0])", K::RecipeBadValue, "transparent");
        top("colour 1.5", R"("base": "new", "transparent": [1.5, 0, 0])", K::RecipeBadValue, "transparent");
        top("colour 1.0", R"("base": "new", "transparent": [1.0, 0, 0])", K::RecipeBadValue, "transparent");
        top("colour pair", R"("base": "new", "transparent": [0, 0])", K::RecipeBadValue, "transparent");
        top("colour name case", R"("base": "new", "transparent": "Schwarz")", K::RecipeBadValue, "transparent");
        steps("step number", face + "3", K::RecipeBadValue, 2, "");
        steps("unknown step field", face + R"({"kind": "face", "part": "F.bmp", "scale": 2})", K::RecipeUnknownField, 2,
              "scale");
        steps("no kind", R"({"part": "F.bmp"})", K::RecipeMissingField, 1, "kind");
        steps("kind not in table", R"({"kind": "hat", "part": "F.bmp"})", K::RecipeBadValue, 1, "kind");
        steps("kind upper case", R"({"kind": "Face", "part": "F.bmp"})", K::RecipeBadValue, 1, "kind");
        steps("x on fixed kind", R"({"kind": "face", "part": "F.bmp", "x": 1})", K::RecipeUnknownField, 1, "x");
        steps("no part", R"({"kind": "face"})", K::RecipeMissingField, 1, "part");
        steps("part number", R"({"kind": "face", "part": 7})", K::RecipeBadValue, 1, "part");
        steps("user without y", R"({"kind": "user", "part": "u.bmp", "x": 1})", K::RecipeMissingField, 1, "y");
        steps("x beyond 32 bits", R"({"kind": "user", "part": "u.bmp", "x": 2147483648, "y": 0})", K::RecipeBadValue, 1,
              "x");
        steps("y text", R"({"kind": "user", "part": "u.bmp", "x": 0, "y": "0"})", K::RecipeBadValue, 1, "y");
        steps("tint 300", face + R"({"kind": "face", "part": "F.bmp", "tint": [0, 300, 0]})", K::RecipeBadValue, 2,
              "tint");
        steps("tint by name", R"({"kind": "face", "part": "F.bmp", "tint": "blau"})", K::RecipeBadValue, 1, "tint");
        steps("step colour", R"({"kind": "face", "part": "F.bmp", "transparent": "rot"})", K::RecipeBadValue, 1,
              "transparent");
        steps("part with a tab", R"({"kind": "face", "part": "F\t.bmp"})", K::RecipeBadValue, 1, "part");
        // Version 2's fields: only in version 2, and only of their own shape.
        steps("hidden in version 1", face + R"({"kind": "face", "part": "F.bmp", "visible": true})",
              K::RecipeFieldTooNew, 2, "visible");
        const auto v2 = [&](const char *name, const QByteArray &step, const char *field) {
            row(name, recipe(step).replace("\"pellwerk-recipe\": 1", "\"pellwerk-recipe\": 2"), K::RecipeBadValue, 1,
                field);
        };
        v2("visible 0", R"({"kind": "face", "part": "F.bmp", "visible": 0})", "visible");
        v2("mirror text", R"({"kind": "face", "part": "F.bmp", "mirror": "true"})", "mirror");
        v2("one ramp", R"({"kind": "face", "part": "F.bmp", "ramp": ["a.gpl"]})", "ramp");
        v2("ramp to nothing", R"({"kind": "face", "part": "F.bmp", "ramp": ["a.gpl", ""]})", "ramp");
        v2("three ramps", R"({"kind": "face", "part": "F.bmp", "ramp": ["a.gpl", "b.gpl", "c.gpl"]})", "ramp");
    }

    void refused()
    {
        QFETCH(QByteArray, json);
        QFETCH(ErrorKind, kind);
        QFETCH(int, step);
        QFETCH(QString, field);
        const Result<Recipe> read = readRecipe(json);
        QVERIFY(!read);
        QCOMPARE(read.error().kind, kind);
        QCOMPARE(read.error().step, step);
        QCOMPARE(read.error().field, field);
    }

    void accepted_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<Recipe>("expected");
        QTest::addColumn<int>("version"); // as written back: 2 only where a step needs it
        const Colour white = Colours::White;
        QTest::newRow("steps of every form")
            << recipe(R"({"kind": "face", "part": "Face01.bmp"},
                        {"kind": "shirt", "part": "shirt02.bmp", "tint": [40, 0, -0]},
                        {"kind": "user", "part": "userScar.bmp", "x": -2147483648, "y": 60, "transparent": [255, 255, 255]},
                        {"kind": "tattoo", "part": "@preview", "transparent": "blau"})")
            << Recipe{Colours::Black,
                      {{CompositionBase::Kind::Default, {}},
                       {PasteStep{PartKindId::Face, "Face01.bmp", {128, 0}, Colours::Black, {}},
                        PasteStep{PartKindId::Shirt, "shirt02.bmp", {87, 128}, Colours::Black, {40, 0, 0}},
                        PasteStep{PartKindId::User, "userScar.bmp", {-2147483647 - 1, 60}, white, {}},
                        PasteStep{PartKindId::Tattoo, {}, {95, 0}, Colours::Blue, {}}}}}
            << 1;
        QTest::newRow("named colour, new base, no steps") << recipe("", R"("base": "new", "transparent": "weiss")")
                                                          << Recipe{white, {{CompositionBase::Kind::New, {}}, {}}} << 1;
        // Version 2's fields, also at their defaults, and the recipe's colour after the steps that take it.
        const auto v2 = [](const QByteArray &more) {
            return R"({"steps": [{"kind": "face", "part": "F.bmp", "visible": true, "mirror": false})" + more
                   + R"(], "pellwerk-recipe": 2, "base": "default", "transparent": "weiss"})";
        };
        const PasteStep face{PartKindId::Face, "F.bmp", {128, 0}, white, {}, true, false, {}};
        const PasteStep changed{PartKindId::Face, "F.bmp", {128, 0}, white, {}, false, true, {"a.gpl", "b.gpl"}};
        QTest::newRow("version 2") << v2(R"(, {"kind": "face", "part": "F.bmp", "visible": false, "mirror": true,
                                             "ramp": ["a.gpl", "b.gpl"]})")
                                   << Recipe{white, {{}, {face, changed}}} << 2;
        QTest::newRow("version 2, nothing of it used") << v2("") << Recipe{white, {{}, {face}}} << 1;
        QTest::newRow("a file spelled like a keyword")
            << recipe(R"({"kind": "beard", "part": "./@preview"})", R"("base": "./default", "transparent": [1, 2, 3])")
            << Recipe{Colour::fromRgb(1, 2, 3),
                      {{CompositionBase::Kind::File, "./default"},
                       {PasteStep{PartKindId::Beard, "./@preview", {188, 71}, Colour::fromRgb(1, 2, 3), {}}}}}
            << 1;
    }

    void accepted()
    {
        QFETCH(QByteArray, json);
        QFETCH(Recipe, expected);
        QFETCH(int, version);
        const Result<Recipe> read = readRecipe(json);
        QVERIFY2(read, qPrintable(testsupport::errorText(read)));
        QVERIFY(read.value() == expected);
        QVERIFY(writeRecipe(expected).startsWith("{\n  \"pellwerk-recipe\": " + QByteArray::number(version) + ",\n"));
        const Result<Recipe> again = readRecipe(writeRecipe(read.value()));
        QVERIFY2(again, writeRecipe(read.value()).constData());
        QVERIFY(again.value() == expected);
    }

    void roundTripOfOddNames()
    {
        Recipe r{Colour::fromRgb(9, 8, 7), {{CompositionBase::Kind::File, "new"}, {}}};
        for (const QString &name : {QStringLiteral("@preview"), QStringLiteral("a \"quoted\" \\ name.bmp"),
                                    QStringLiteral("Gesicht ä€😀.bmp"), QStringLiteral("/abs/Face 1.bmp")})
            r.composition.steps.push_back(PasteStep{PartKindId::User, name, {-5, 300}, Colours::Blue, {255, 0, 1}});
        const Result<Recipe> read = readRecipe(writeRecipe(r));
        QVERIFY2(read, qPrintable(testsupport::errorText(read)));
        QCOMPARE(read->composition.base.file, QStringLiteral("./new"));
        QCOMPARE(read->composition.steps[0].part, QStringLiteral("./@preview"));
        for (size_t i = 1; i < r.composition.steps.size(); ++i)
            QVERIFY(read->composition.steps[i] == r.composition.steps[i]);
    }

    void paths()
    {
        QTemporaryDir dir;
        const QString recipes = dir.path() + "/recipes", image = dir.path() + "/Image";
        QVERIFY(QDir().mkpath(recipes + "/sub") && QDir().mkpath(image + "/faces"));
        for (const QString &file : {recipes + "/both.bmp", image + "/both.bmp", image + "/only.bmp",
                                    image + "/faces/f.bmp", recipes + "/sub/s.bmp", dir.path() + "/out.bmp"})
            QVERIFY(testsupport::writeFile(file, "x"));
        const RecipeFolders folders{recipes, {image}, {}};
        QCOMPARE(resolveRecipePath("both.bmp", folders), recipes + "/both.bmp");
        QCOMPARE(resolveRecipePath("only.bmp", folders), image + "/only.bmp");
        QCOMPARE(resolveRecipePath("./faces/../only.bmp", folders), image + "/only.bmp");
        QCOMPARE(resolveRecipePath("missing.bmp", folders), recipes + "/missing.bmp");
        QCOMPARE(resolveRecipePath(dir.path() + "/out.bmp", folders), dir.path() + "/out.bmp");

        QCOMPARE(recipePathFor(image + "/only.bmp", folders), QStringLiteral("only.bmp"));
        QCOMPARE(recipePathFor(image + "/faces/f.bmp", folders), QStringLiteral("faces/f.bmp"));
        QCOMPARE(recipePathFor(recipes + "/sub/s.bmp", folders), QStringLiteral("sub/s.bmp"));
        // The recipe folder's own both.bmp would be read instead of the Image folder's.
        QCOMPARE(recipePathFor(image + "/both.bmp", folders), image + "/both.bmp");
        QCOMPARE(recipePathFor(dir.path() + "/out.bmp", folders), dir.path() + "/out.bmp");
    }
};

QTEST_GUILESS_MAIN(RecipeTest)
#include "tst_recipe.moc"
