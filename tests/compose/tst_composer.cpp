#include "TestFiles.h"

#include "compose/Composer.h"
#include "compose/SkinBatch.h"
#include "compose/VariationPlan.h"
#include "core/BitmapWriter.h"
#include "core/SkinDocument.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <thread>

#include <sys/resource.h>

using namespace pellwerk;

namespace {

// Random colours, many of them one tint step away from white, so that a red tint of 100 pushes
// them onto a white key.
QImage randomPart(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int pick = random.bounded(4);
            const QRgb rgb = pick == 0   ? qRgb(0, 0, 0)
                             : pick == 1 ? qRgb(155 + random.bounded(101), 255, 255)
                                         : qRgb(random.bounded(256), random.bounded(256), random.bounded(256));
            image.setPixel(x, y, rgb);
        }
    return image;
}

// The editor's rule written out pixel by pixel: the base on black, then for each visible step the
// 148 x 191 preview (part, flipped over its own width when mirrored, tinted and capped, or the
// key where the part ends) pasted where it is not the key.
QImage modelSkin(const QImage &base, const std::vector<std::pair<PasteStep, QImage>> &steps)
{
    QImage skin(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            skin.setPixel(x, y, x < base.width() && y < base.height() ? base.pixel(x, y) : qRgb(0, 0, 0));
    for (const auto &[step, part] : steps) {
        const QRgb key = step.transparent.toQRgb();
        const auto add = [](int c, int t) { return std::min(c + t, 255); };
        for (qint64 j = 0; j < 191; ++j)
            for (qint64 i = 0; i < 148; ++i) {
                QRgb s = key;
                if (i < part.width() && j < part.height() && step.visible) {
                    const QRgb p = part.pixel(int(step.mirrored ? part.width() - 1 - i : i), int(j));
                    s = qRgb(add(qRed(p), step.tint.red), add(qGreen(p), step.tint.green),
                             add(qBlue(p), step.tint.blue));
                }
                const qint64 x = step.place.x() + i, y = step.place.y() + j;
                if (s != key && x >= 0 && y >= 0 && x < 256 && y < 256)
                    skin.setPixel(int(x), int(y), s);
            }
    }
    return skin;
}

Recipe recipeOf(std::vector<PasteStep> steps)
{
    return Recipe{Colours::Black, {{CompositionBase::Kind::Default, {}}, std::move(steps)}};
}

} // namespace

class ComposerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(path("Image")) && QDir().mkpath(path("out")));
        QVERIFY(testsupport::writeBmp(path("base.bmp"), randomPart(300, 200, 1)));
        QVERIFY(testsupport::writeBmp(path("big.bmp"), randomPart(200, 230, 2)));
        QVERIFY(testsupport::writeBmp(path("Image/small.bmp"), randomPart(30, 20, 3)));
        for (const char *name : {"Face01.bmp", "face02.bmp", "Face03.bmp", "shirtA.bmp", "shirtB.bmp"})
            QVERIFY(testsupport::writeBmp(path(name), randomPart(40, 40, qHash(QByteArray(name)))));
        QVERIFY(testsupport::writeFile(path("Face04.bmp"), "BM not a bitmap"));
        // Two names that differ only in the extension's case give one output name.
        QVERIFY(QDir().mkpath(path("dup")) && testsupport::writeFile(path("dup/a.bmp"), "")
                && testsupport::writeFile(path("dup/a.BMP"), ""));
        QVERIFY(testsupport::writeFile(path("SkinNEW.bmp"), ""));
    }

    void replayEqualsThePlainRule()
    {
        const Composer composer({m_dir.path(), {path("Image")}, m_dir.path()});
        const QImage preview = SkinDocument::builtInPreview().image;
        std::vector<std::pair<PasteStep, QImage>> steps{
            {{PartKindId::Face, "big.bmp", {128, 0}, Colours::Black, {0, 0, 0}}, randomPart(200, 230, 2)},
            {{PartKindId::User, "small.bmp", {-10, 240}, Colours::White, {100, 0, 0}}, randomPart(30, 20, 3)},
            // The first step's part and colour again: only the red tint tells their previews apart.
            {{PartKindId::User, "big.bmp", {200, -100}, Colours::Black, {100, 0, 0}}, randomPart(200, 230, 2)},
            // The second step's part and tint again: only the transparent colour tells them apart.
            {{PartKindId::User, "small.bmp", {60, 50}, Colours::Black, {100, 0, 0}}, randomPart(30, 20, 3)},
            {{PartKindId::Shirt, {}, {87, 128}, Colours::Blue, {0, 255, 0}}, preview},
            // Mirrored, the right-hand 148 of its 200 columns show; a hidden step paints nothing.
            {{PartKindId::User, "big.bmp", {30, 20}, Colours::Black, {}, true, true}, randomPart(200, 230, 2)},
            {{PartKindId::User, "small.bmp", {0, 0}, Colours::Black, {}, false}, randomPart(30, 20, 3)}};
        Composition composition{{CompositionBase::Kind::File, "base.bmp"}, {}};
        for (const auto &s : steps)
            composition.steps.push_back(s.first);

        std::vector<qsizetype> reported; // how far the composer says it is
        const Result<QImage> skin =
            composer.compose(composition, [&](qsizetype done, qsizetype) { reported.push_back(done); });
        QVERIFY2(skin, qPrintable(testsupport::errorText(skin)));
        const QImage expected = modelSkin(randomPart(300, 200, 1), steps);
        QCOMPARE(skin.value(), expected);
        // Opened as an editable document: its parts named by the files found, the same skin.
        const Result<Document> document = composer.document(composition);
        QCOMPARE(document->steps()[1].part, path("Image/small.bmp"));
        QCOMPARE(document->render(), expected);
        QCOMPARE(reported, std::vector<qsizetype>({0, qsizetype(steps.size())}));
    }

    void failingStepIsNamed()
    {
        const Composer composer({m_dir.path(), {path("Image")}, path("nowhere")});
        Composition c{{CompositionBase::Kind::Default, {}},
                      {{PartKindId::Face, "Face01.bmp", {128, 0}, {}, {}}, {PartKindId::Face, "gone.bmp", {}, {}, {}}}};
        Result<QImage> skin = composer.compose(c);
        QVERIFY(!skin);
        QCOMPARE(skin.error().kind, ErrorKind::FileMissing);
        QCOMPARE(skin.error().step, 2);
        QCOMPARE(skin.error().file + ": " + skin.error().detail,
                 "gone.bmp: " + path("gone.bmp\n") + path("Image/gone.bmp"));
        // Hidden, the step paints nothing, but the recipe is broken all the same.
        c.steps[1].visible = false;
        skin = composer.compose(c);
        QVERIFY(!skin);
        QCOMPARE(skin.error().step, 2);
        c.base.kind = CompositionBase::Kind::New;
        skin = composer.compose(c);
        QCOMPARE(skin.error().field, QStringLiteral("base"));
        QCOMPARE(skin.error().file, path("nowhere/SkinNEW.bmp"));
    }

    void variationMatrix()
    {
        const RecipeFolders folders{m_dir.path(), {path("Image")}, {}};
        const Recipe recipe = recipeOf({{PartKindId::Face, "x.bmp", {128, 0}, {}, {}},
                                        {PartKindId::Shirt, "x.bmp", {87, 128}, {}, {}},
                                        {PartKindId::User, "Image/small.bmp", {5, 5}, {}, {}}});
        const CommandLineResult<VariationPlan> plan = VariationPlan::make(
            recipe, path("r.json"), {{PartKindId::Face, "FACE*"}, {PartKindId::Shirt, "shirt?.bmp"}},
            path("out/{face}+{shirt}.bmp"), folders);
        QVERIFY2(plan, qPrintable(testsupport::errorText(plan)));
        QCOMPARE(plan->size(), 8);
        QCOMPARE(plan->output(0), path("out/Face01+shirtA.bmp"));
        QCOMPARE(plan->output(3), path("out/face02+shirtB.bmp"));
        QCOMPARE(plan->output(7), path("out/Face04+shirtB.bmp"));
        QCOMPARE(plan->composition(3).steps[0].part, path("face02.bmp"));
        QCOMPARE(plan->composition(3).steps[2].part, QStringLiteral("Image/small.bmp"));
    }

    // Made once for concurrent callers; the pictures asked for longest ago go when the budget is full.
    void cacheSharesAndLetsGo()
    {
        const QImage picture = randomPart(100, 100, 7);
        PictureCache cache(3 * picture.sizeInBytes() + 1000);
        std::atomic<int> made{0};
        const auto make = [&] {
            ++made;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            return Result<QImage>(picture.copy());
        };
        std::vector<QImage> got(6);
        {
            std::vector<std::jthread> askers;
            for (QImage &image : got)
                askers.emplace_back([&] { image = cache.get("a", make).value(); });
        }
        QVERIFY(
            std::all_of(got.begin(), got.end(), [&](const QImage &i) { return i.constBits() == got[0].constBits(); }));
        for (const char *key : {"b", "c", "a", "d", "a", "c", "b"}) // "d" lets "b" go, asked longest ago
            QVERIFY(cache.get(key, make));
        QCOMPARE(made.load(), 5);
        QVERIFY(cache.heldBytes() <= 3 * picture.sizeInBytes() + 1000);
    }

    // Eight skins after a shared step, two workers: the first target is a folder, the last two
    // have an unreadable part; the handlers are called from this thread only. Then with one worker
    // and fail-fast (the folder gone), with every write cut short, and cancelled before it starts.
    void batchReplacesDurablyAndLeavesNoTemporaryFile()
    {
        const auto out = [&](const QString &name) { return path("batch/" + name); };
        QVERIFY(QDir().mkpath(out("b-Face01-shirtA.bmp")) && testsupport::writeFile(path("new.txt"), ""));
        QVERIFY(testsupport::writeFile(out("b-face02-shirtA.bmp"), "old"));
        const auto kept = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup;
        QFile::setPermissions(out("b-face02-shirtA.bmp"), kept);
        const RecipeFolders folders{m_dir.path(), {}, {}};
        const Recipe recipe = recipeOf({{PartKindId::User, "big.bmp", {9, 9}, {}, {}},
                                        {PartKindId::Face, "x", {128, 0}, {}, {}},
                                        {PartKindId::Shirt, "x", {87, 128}, {}, {}}});
        const CommandLineResult<VariationPlan> plan = VariationPlan::make(
            recipe, path("r.json"), {{PartKindId::Face, "Face0*"}, {PartKindId::Shirt, "shirt?.bmp"}},
            out("b-{face}-{shirt}.bmp"), folders);
        const Composer composer(folders, {});
        std::atomic<bool> elsewhere{false}, cancel{false};
        const auto here = [&, caller = std::this_thread::get_id()] {
            elsewhere = elsewhere || std::this_thread::get_id() != caller;
        };
        const auto runBatch = [&](int jobs, bool failFast) {
            return SkinBatch(plan.value(), composer)
                .run(
                    jobs, failFast, [&](const QString &, const Error &) { here(); },
                    [&](qsizetype, qsizetype) { here(); }, &cancel);
        };
        const auto files = [&] {
            return QDir(path("batch")).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(' ');
        };
        const SkinBatch::Outcome outcome = runBatch(2, false);
        QVERIFY(!elsewhere && outcome.written == 5 && outcome.failed == 3 && !outcome.stopped);
        QCOMPARE(files(), "b-Face01-shirtB.bmp b-Face03-shirtA.bmp b-Face03-shirtB.bmp b-face02-shirtA.bmp "
                          "b-face02-shirtB.bmp");
        // Each skin as the composer makes it alone, whatever canvas its worker started from.
        for (qsizetype i = 0; i < plan->size(); ++i)
            if (QFileInfo(plan->output(i)).isFile())
                QCOMPARE(testsupport::fileBytes(plan->output(i)),
                         encodeBitmap24(composer.compose(plan->composition(i)).value()));
        QCOMPARE(QFile::permissions(out("b-face02-shirtA.bmp")), kept);
        QCOMPARE(QFile::permissions(out("b-Face03-shirtB.bmp")), QFile::permissions(path("new.txt")));

        for (const QString &name : files().split(' '))
            QVERIFY(QFile::remove(out(name)));
        QVERIFY(QDir().rmdir(out("b-Face01-shirtA.bmp")));
        const SkinBatch::Outcome stopped = runBatch(1, true);
        QVERIFY(stopped.stopped && stopped.written == 6 && stopped.failed == 1);
        const QString made = files();
        QCOMPARE(made.count(".bmp"), 6);

        struct rlimit saved;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = saved;
        small.rlim_cur = 100000;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const SkinBatch::Outcome cut = runBatch(2, false);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
        QCOMPARE(cut.failed, 8);
        cancel = true;
        QCOMPARE(runBatch(2, false).written, 0);
        QCOMPARE(files(), made);
    }

    void plansRefused_data()
    {
        QTest::addColumn<QString>("vary"); // KIND=PATTERN pairs, space separated
        QTest::addColumn<QString>("output");
        QTest::addColumn<CommandLineErrorKind>("kind");
        const auto row = [](const char *name, const char *vary, const char *output, CommandLineErrorKind kind) {
            QTest::newRow(name) << vary << output << kind;
        };
        row("no such step", "beard=F*", "out/{beard}.bmp", CommandLineErrorKind::VaryNoStep);
        row("no match", "face=nothing*", "out/{face}.bmp", CommandLineErrorKind::VaryNoMatch);
        row("placeholder missing", "face=F* shirt=s*", "out/{face}.bmp",
            CommandLineErrorKind::OutputPlaceholderMissing);
        row("placeholder not varied", "face=F*", "out/{face}{shirt}.bmp",
            CommandLineErrorKind::OutputPlaceholderNotVaried);
        row("names collide", "face=dup/*", "out/{face}.bmp", CommandLineErrorKind::OutputCollision);
        row("folder missing", "face=F*", "nope/{face}.bmp", CommandLineErrorKind::OutputFolderMissing);
        row("overwrites a part", "face=F*", "{face}.bmp", CommandLineErrorKind::OutputIsInput);
        row("overwrites base \"new\"'s SkinNEW.bmp", "", "out/../SkinNEW.bmp", CommandLineErrorKind::OutputIsInput);
    }

    void plansRefused()
    {
        QFETCH(QString, vary);
        QFETCH(QString, output);
        QFETCH(CommandLineErrorKind, kind);
        std::vector<Variation> variations;
        for (const QString &pair : vary.split(' ', Qt::SkipEmptyParts)) {
            const QStringList kv = pair.split('=');
            variations.push_back({findPartKindByKey(kv[0])->kind, kv[1]});
        }
        Recipe recipe =
            recipeOf({{PartKindId::Face, "x", {128, 0}, {}, {}}, {PartKindId::Shirt, "x", {87, 128}, {}, {}}});
        recipe.composition.base.kind = CompositionBase::Kind::New;
        const CommandLineResult<VariationPlan> plan =
            VariationPlan::make(recipe, path("r.json"), variations, path(output), {m_dir.path(), {}, m_dir.path()});
        QVERIFY(!plan);
        QCOMPARE(plan.error().kind, kind);
    }
};

QTEST_GUILESS_MAIN(ComposerTest)
#include "tst_composer.moc"
