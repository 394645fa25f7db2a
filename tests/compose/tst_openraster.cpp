// OpenRaster files: what the writer puts where layered paint programs look for it, that the
// layers rebuild the skin, that a project restores its document without its parts on the disk,
// and that the reader refuses hostile archives with a clear error.

#include "TestFiles.h"

#include "compose/Document.h"
#include "compose/OpenRasterReader.h"
#include "compose/OpenRasterWriter.h"
#include "core/BitmapWriter.h"
#include "core/PngWriter.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

using namespace pellwerk;
using namespace testsupport;

namespace {

// The layers of stack.xml, top first, as "name|src|x,y|visibility"; none when anything breaks
// the baseline (one stack in a 256 x 256 image, layers opaque and painted over what is below).
QStringList layerTags(const QByteArray &xml)
{
    QStringList tags;
    QXmlStreamReader reader(xml);
    int stacks = 0, bad = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        stacks += reader.name() == u"stack";
        bad += reader.name() == u"image" && (a.value("w") != u"256" || a.value("h") != u"256");
        if (reader.name() == u"layer") {
            bad += a.value("opacity") != u"1.0" || a.value("composite-op") != u"svg:src-over";
            tags << QStringList{a.value("name").toString(), a.value("src").toString(),
                                a.value("x").toString() + QLatin1Char(',') + a.value("y").toString(),
                                a.value("visibility").toString()}
                        .join('|');
        }
    }
    return reader.hasError() || stacks != 1 || bad ? QStringList() : tags;
}

QByteArray entry(const ZipEntries &entries, const QByteArray &name)
{
    for (const auto &[n, bytes] : entries)
        if (n == name)
            return bytes;
    return {};
}

QByteArray lyingSize(QByteArray archive, const QByteArray &name, quint32 size)
{
    for (qsizetype at = archive.indexOf(name); at >= 0; at = archive.indexOf(name, at + 1)) {
        const bool local = archive.mid(at - 30, 4) == "PK\3\4", central = archive.mid(at - 46, 4) == "PK\1\2";
        if (local || central)
            qToLittleEndian(size, archive.data() + at - (local ? 8 : 22));
    }
    return archive;
}

} // namespace

class OpenRasterTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.path() + QLatin1Char('/') + name; }
    // A document of every sort of step: the place of a kind, a big part cut to 148 x 191 and tinted,
    // a user place partly off the skin with its own transparent colour, two parts of one name,
    // the built-in preview picture, a part used twice; on a base file larger than the skin.
    Recipe document() const
    {
        const auto step = [](PartKindId kind, const char *part, QPoint place, Colour key, UserRgb tint) {
            PasteStep s;
            s.kind = kind, s.part = part, s.place = place, s.transparent = key, s.tint = tint;
            return s;
        };
        Recipe recipe{Colours::Black,
                      {{CompositionBase::Kind::File, "base.bmp"},
                       {step(PartKindId::Face, "a/Face01.bmp", {128, 0}, Colours::Black, {}),
                        step(PartKindId::Shirt, "big.bmp", {87, 128}, Colours::Black, {255, 0, 40}),
                        step(PartKindId::User, "white.bmp", {-30, 220}, Colours::White, {}),
                        step(PartKindId::User, "b/Face01.bmp", {240, -10}, Colours::Black, {0, 90, 0}),
                        step(PartKindId::Beard, "", {188, 71}, Colours::Blue, {}),
                        step(PartKindId::User, "white.bmp", {200, 200}, Colours::White, {40, 0, 0})}}};
        recipe.composition.steps[4].ramp = {"warm.gpl", "cold.gpl"};
        return recipe;
    }
    Composer composer() const { return Composer({m_dir.path(), {}, {}}, m_dir.path()); }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(path("a")) && QDir().mkpath(path("b")));
        QVERIFY(writeBmp(path("base.bmp"), randomImage(300, 200, 1)));
        QVERIFY(writeBmp(path("a/Face01.bmp"), randomImage(40, 50, 2)));
        QVERIFY(writeBmp(path("b/Face01.bmp"), randomImage(30, 30, 3)));
        QVERIFY(writeBmp(path("big.bmp"), randomImage(200, 230, 4)));
        QImage white = filled(60, 70, qRgb(255, 255, 255));
        QPainter(&white).drawImage(5, 10, randomImage(35, 40, 5));
        QVERIFY(writeBmp(path("white.bmp"), white));
        QVERIFY(writeFile(path("warm.gpl"), "GIMP Palette\n250 40 0 red\n")
                && writeFile(path("cold.gpl"), "GIMP Palette\n0 40 250 blue\n"));
    }

    void archiveStructure()
    {
        Recipe recipe = document();
        recipe.composition.steps[1].visible = false;
        const Result<QByteArray> ora = writeOpenRaster(recipe, composer());
        QVERIFY2(ora, qPrintable(errorText(ora)));
        // Readers look for the type at a fixed place: the first local header, stored (method 0),
        // no extra field, the name and then the bytes.
        QCOMPARE(ora->left(4), QByteArray("PK\3\4"));
        QCOMPARE(qFromLittleEndian<quint16>(ora->constData() + 8), 0);
        QCOMPARE(qFromLittleEndian<quint16>(ora->constData() + 28), 0);
        QCOMPARE(ora->mid(30, 24), QByteArray("mimetypeimage/openraster"));

        const ZipEntries entries = unzip(ora.value());
        QByteArrayList names;
        for (const auto &e : entries)
            names << e.first;
        QCOMPARE(names,
                 QByteArrayList({"mimetype", "stack.xml", "data/step-6.png", "data/step-5.png", "data/step-4.png",
                                 "data/step-3.png", "data/step-2.png", "data/step-1.png", "data/base.png",
                                 "Thumbnails/thumbnail.png", "mergedimage.png", "pellwerk/recipe.json",
                                 "pellwerk/base/base.bmp", "pellwerk/parts/Face01.bmp", "pellwerk/parts/big.bmp",
                                 "pellwerk/parts/white.bmp", "pellwerk/parts/Face01-2.bmp",
                                 "pellwerk/palettes/warm.gpl", "pellwerk/palettes/cold.gpl"}));
        QCOMPARE(layerTags(entry(entries, "stack.xml")),
                 QStringList({"Benutzer-Teil white.bmp|data/step-6.png|200,200|visible",
                              "Bart Vorschaubild|data/step-5.png|188,71|visible",
                              "Benutzer-Teil Face01.bmp|data/step-4.png|240,0|visible",
                              "Benutzer-Teil white.bmp|data/step-3.png|0,220|visible",
                              "Hemd big.bmp|data/step-2.png|87,128|hidden",
                              "Gesicht Face01.bmp|data/step-1.png|128,0|visible",
                              "Grundlage: base.bmp|data/base.png|0,0|visible"}));
        QVERIFY(QImage::fromData(entry(entries, "Thumbnails/thumbnail.png")).width() <= 256);
    }

    void layersRebuildTheSkin()
    {
        const Recipe recipe = document();
        const Composer c = composer();
        const ZipEntries entries = unzip(writeOpenRaster(recipe, c).value());
        const QStringList tags = layerTags(entry(entries, "stack.xml"));
        const QImage skin = c.compose(recipe.composition).value();
        QCOMPARE(QImage::fromData(entry(entries, "mergedimage.png")).convertToFormat(QImage::Format_RGB32), skin);
        // Painted bottom up (each pixel taken or left), the layers rebuild the skin; each step's
        // layer is its preview where it lands, the transparent colour clear.
        QImage painted(256, 256, QImage::Format_RGB32);
        for (qsizetype i = tags.size() - 1; i >= 0; --i) {
            const QStringList tag = tags[i].split('|');
            const QImage layer =
                QImage::fromData(entry(entries, tag[1].toUtf8())).convertToFormat(QImage::Format_ARGB32);
            const PasteStep *step =
                i + 1 < tags.size() ? &recipe.composition.steps[size_t(tags.size() - 2 - i)] : nullptr;
            const QImage preview = step ? c.preview(*step).value() : QImage();
            const QRect lands =
                step ? QRect(step->place, preview.size()) & QRect(0, 0, 256, 256) : QRect(0, 0, 256, 256);
            QCOMPARE(
                tag[2] + ' ' + QString::number(layer.width()) + 'x' + QString::number(layer.height()),
                QStringLiteral("%1,%2 %3x%4").arg(lands.x()).arg(lands.y()).arg(lands.width()).arg(lands.height()));
            for (int y = 0; y < layer.height(); ++y)
                for (int x = 0; x < layer.width(); ++x) {
                    const QRgb p = layer.pixel(x, y), want = step ? preview.pixel(lands.x() - step->place.x() + x,
                                                                                  lands.y() - step->place.y() + y)
                                                                  : p;
                    if (qAlpha(p) == 255)
                        painted.setPixel(lands.x() + x, lands.y() + y, p);
                    if (step && (want == step->transparent.toQRgb() ? qAlpha(p) != 0 : p != want))
                        QFAIL(qPrintable(QStringLiteral("layer %1, pixel %2,%3").arg(tags[i]).arg(x).arg(y)));
                }
        }
        QCOMPARE(painted, skin);
    }

    void hostileArchives_data()
    {
        QTest::addColumn<QByteArray>("archive");
        QTest::addColumn<int>("kind"); // an ErrorKind; -1 reads, -2 reads as a project
        const QByteArray stack = R"(<image w="256" h="256"><stack><layer src="data/a.png"/></stack></image>)";
        const ZipEntries good{{"mimetype", "image/openraster"},
                              {"stack.xml", stack},
                              {"data/a.png", encodePng(filled(4, 4, qRgb(1, 2, 3)))},
                              {"mergedimage.png", encodePng(filled(256, 256, qRgb(9, 8, 7)))}};
        // The good entries with one replaced, added or (without bytes) left out.
        const auto with = [&](const QByteArray &name, const QByteArray &bytes = {}) {
            ZipEntries e = good;
            e.removeIf([&](const auto &p) { return p.first == name; });
            return zipOf(bytes.isNull() ? e : e << std::pair{name, bytes});
        };
        const auto row = [](const char *name, const QByteArray &archive, int kind) {
            QTest::newRow(name) << archive << kind;
        };
        using K = ErrorKind;
        row("another program's picture", zipOf(good), -1);
        row("a project", with("pellwerk/recipe.json", "{}"), -2);
        row("not a zip archive", "PK\3\4 and then nothing", int(K::ArchiveDamaged));
        row("no mimetype", with("mimetype"), int(K::ArchiveNotOpenRaster));
        row("mimetype of PNG", with("mimetype", "image/png"), int(K::ArchiveNotOpenRaster));
        row("mimetype and a line break", with("mimetype", "image/openraster\n"), int(K::ArchiveNotOpenRaster));
        for (const char *name : {"/tmp/evil.png", "data/../../evil.png", "..", "..\\evil.png", "C:/evil.png"})
            row(name, with(name, "x"), int(K::ArchiveBadEntryName));
        row("stack.xml twice", with("stack.xmX", stack).replace("stack.xmX", "stack.xml"),
            int(K::ArchiveDuplicateEntry));
        row("no stack.xml", with("stack.xml"), int(K::ArchiveEntryMissing));
        ZipEntries many = good;
        for (int i = 0; i < 1021; ++i)
            many.append({"f" + QByteArray::number(i), {}});
        row("1025 entries", zipOf(many), int(K::ArchiveTooManyEntries));
        const QByteArray bomb = stack + QByteArray(9 << 20, ' ');
        row("stack.xml unpacks to 9 MiB", with("stack.xml", bomb), int(K::ArchiveEntryTooLarge));
        row("a bomb that says it is small", lyingSize(with("stack.xml", bomb), "stack.xml", 100),
            int(K::ArchiveEntryTooLarge));
        ZipEntries parts = good + ZipEntries{{"pellwerk/recipe.json", "{}"}};
        for (int i = 0; i < 5; ++i)
            parts.append({"pellwerk/parts/" + QByteArray::number(i), QByteArray(7 << 20, '\0')});
        row("parts of 35 MiB", zipOf(parts), int(K::ArchiveTooLarge));
        row("external entity",
            with("stack.xml", "<?xml version='1.0'?><!DOCTYPE image [<!ENTITY e SYSTEM "
                              "'file:///etc/passwd'>]><image w='256' h='256'>&e;</image>"),
            int(K::StackDoctype));
        row("entity never declared", with("stack.xml", R"(<image w="256" h="256">&e;</image>)"), int(K::StackSyntax));
        row("no image at the top", with("stack.xml", "<stack/>"), int(K::StackInvalid));
        row("layer without src", with("stack.xml", R"(<image w="256" h="256"><layer/></image>)"), int(K::StackInvalid));
        for (const char *size : {R"(w="100000" h="256")", R"(w="256" h="0")", R"(w="2e3" h="9")", R"(h="1")"})
            row(size, with("stack.xml", QByteArray("<image ") + size + "/>"), int(K::StackImageSize));
        row("layer is a bitmap", with("data/a.png", encodeBitmap24(filled(2, 2, 0))), int(K::LayerNotPng));
        row("layer missing", with("data/a.png"), int(K::ArchiveEntryMissing));
        row("no merged image", with("mergedimage.png"), int(K::ArchiveEntryMissing));
        row("merged image 300 x 200", with("mergedimage.png", encodePng(filled(300, 200, 0))), int(K::MergedImageSize));
        row("merged image is a bitmap", with("mergedimage.png", encodeBitmap24(filled(2, 2, 0))), int(K::LayerNotPng));
    }

    void hostileArchives()
    {
        QFETCH(QByteArray, archive);
        QFETCH(int, kind);
        QVERIFY(writeFile(path("hostile.ora"), archive));
        const Result<OpenRasterContent> read = readOpenRasterFile(path("hostile.ora"));
        QCOMPARE(fileBytes(path("hostile.ora")), archive);
        if (kind < 0) {
            QVERIFY2(read, qPrintable(errorText(read)));
            QCOMPARE(read->isProject, kind == -2);
            QCOMPARE(read->merged.isNull(), kind == -2);
            return;
        }
        QVERIFY(!read);
        QCOMPARE(int(read.error().kind), kind);
        QCOMPARE(read.error().file, path("hostile.ora"));
        QVERIFY(!errorText(read).isEmpty() && errorText(read) != read.error().detail);
    }

    // The editor writes its document from the pictures it holds: the same layers and picture
    // as the composer's file of that recipe, and a project that makes the same skin.
    void documentWritesAsTheComposer()
    {
        Recipe recipe = document();
        recipe.composition.steps[1].visible = false;
        recipe.composition.steps[3].mirrored = true;
        const Composer c = composer();
        const Document made = c.document(recipe.composition).value();
        const Result<QByteArray> written = writeOpenRaster(made, recipe.transparent);
        QVERIFY2(written, qPrintable(errorText(written)));
        const ZipEntries ours = unzip(written.value());
        const ZipEntries theirs = unzip(writeOpenRaster(recipe, c).value());
        QCOMPARE(ours.size(), theirs.size());
        for (qsizetype i = 0; i < ours.size() && !ours[i].first.startsWith("pellwerk/"); ++i)
            QVERIFY2(ours[i] == theirs[i], ours[i].first.constData());
        QVERIFY(writeFile(path("editor.ora"), written.value()));
        const Result<Project> project = readProjectFile(path("editor.ora"));
        QVERIFY2(project, qPrintable(errorText(project)));
        QCOMPARE(Composer({}, {}, project->carried).compose(project->recipe.composition).value(), made.render());
    }

    void projectRestoresWithoutItsParts()
    {
        // The last test: it deletes the parts.
        const Recipe recipe = document();
        const QImage skin = composer().compose(recipe.composition).value();
        const QByteArray ora = writeOpenRaster(recipe, composer()).value();
        const QByteArray secondFace = fileBytes(path("b/Face01.bmp"));
        QVERIFY(writeFile(path("project.ora"), ora));
        for (const char *name :
             {"base.bmp", "a/Face01.bmp", "b/Face01.bmp", "big.bmp", "white.bmp", "warm.gpl", "cold.gpl"})
            QVERIFY(QFile::remove(path(name)));

        const Result<Project> project = readProjectFile(path("project.ora"));
        QVERIFY2(project, qPrintable(errorText(project)));
        Recipe expected = recipe;
        expected.composition.base.file = "base/base.bmp";
        const char *parts[] = {"Face01.bmp", "big.bmp", "white.bmp", "Face01-2.bmp", "", "white.bmp"};
        for (size_t i = 0; i < 6; ++i)
            expected.composition.steps[i].part = *parts[i] ? QStringLiteral("parts/") + parts[i] : QString();
        expected.composition.steps[4].ramp = {"palettes/warm.gpl", "palettes/cold.gpl"};
        QCOMPARE(project->recipe, expected);
        QCOMPARE(project->carried.files.size(), size_t(7));
        QCOMPARE(project->carried.files.at("parts/Face01-2.bmp"), secondFace);
        const Composer restored({m_dir.path(), {}, {}}, {}, project->carried);
        QCOMPARE(restored.compose(project->recipe.composition).value(), skin);
        // Written again from the project alone, it carries the same recipe.
        const ZipEntries again = unzip(writeOpenRaster(project->recipe, restored).value());
        QCOMPARE(entry(again, "pellwerk/recipe.json"), entry(unzip(ora), "pellwerk/recipe.json"));
    }
};

QTEST_GUILESS_MAIN(OpenRasterTest)
#include "tst_openraster.moc"
