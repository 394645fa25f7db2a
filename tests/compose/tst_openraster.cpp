// OpenRaster files: what the writer puts where layered paint programs look for it, that the
// layers rebuild the skin, that a project restores its document without its parts on the disk,
// and that the reader refuses hostile archives with a clear error.

#include "TestFiles.h"

#include "compose/OpenRasterReader.h"
#include "compose/OpenRasterWriter.h"
#include "core/PngWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

using namespace pellwerk;
using namespace testsupport;

namespace {

struct LayerTag
{
    QString name, src;
    QPoint at;
    QString visibility;
    friend bool operator==(const LayerTag &, const LayerTag &) = default;
};

// The layers of stack.xml, top first; fails the test on anything the baseline does not allow.
QList<LayerTag> layerTags(const QByteArray &xml)
{
    QList<LayerTag> tags;
    QXmlStreamReader reader(xml);
    int stacks = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = reader.attributes();
        stacks += reader.name() == u"stack";
        if (reader.name() == u"image" && (a.value("w") != u"256" || a.value("h") != u"256"))
            return {};
        if (reader.name() == u"layer" && (a.value("opacity") != u"1.0" || a.value("composite-op") != u"svg:src-over"))
            return {};
        if (reader.name() == u"layer")
            tags.append({a.value("name").toString(),
                         a.value("src").toString(),
                         {a.value("x").toInt(), a.value("y").toInt()},
                         a.value("visibility").toString()});
    }
    return reader.hasError() || stacks != 1 ? QList<LayerTag>() : tags;
}

QByteArray entry(const ZipEntries &entries, const QByteArray &name)
{
    for (const auto &[n, bytes] : entries)
        if (n == name)
            return bytes;
    return {};
}

// The layers painted bottom up, each pixel either taken (alpha 255) or left (alpha 0).
QImage painted(const QList<LayerTag> &tags, const ZipEntries &entries)
{
    QImage skin(256, 256, QImage::Format_RGB32);
    for (auto tag = tags.rbegin(); tag != tags.rend(); ++tag) {
        const QImage layer = QImage::fromData(entry(entries, tag->src.toUtf8())).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; tag->visibility == u"visible" && y < layer.height(); ++y)
            for (int x = 0; x < layer.width(); ++x)
                if (qAlpha(layer.pixel(x, y)) == 255)
                    skin.setPixel(tag->at.x() + x, tag->at.y() + y, layer.pixel(x, y));
    }
    return skin;
}

const QImage WhiteBacked = [] {
    QImage part = filled(60, 70, qRgb(255, 255, 255));
    for (int y = 10; y < 50; ++y)
        for (int x = 5; x < 40; ++x)
            part.setPixel(x, y, qRgb(x * 4, 250, y * 3));
    return part;
}();

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
        return {Colours::Black,
                {{CompositionBase::Kind::File, "base.bmp"},
                 {step(PartKindId::Face, "a/Face01.bmp", {128, 0}, Colours::Black, {}),
                  step(PartKindId::Shirt, "big.bmp", {87, 128}, Colours::Black, {255, 0, 40}),
                  step(PartKindId::User, "white.bmp", {-30, 220}, Colours::White, {}),
                  step(PartKindId::User, "b/Face01.bmp", {240, -10}, Colours::Black, {0, 90, 0}),
                  step(PartKindId::Beard, "", {188, 71}, Colours::Blue, {}),
                  step(PartKindId::User, "white.bmp", {200, 200}, Colours::White, {40, 0, 0})}}};
    }
    Composer composer() const { return Composer({m_dir.path(), {}}, m_dir.path()); }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir().mkpath(path("a")) && QDir().mkpath(path("b")));
        QVERIFY(writeBmp(path("base.bmp"), randomImage(300, 200, 1)));
        QVERIFY(writeBmp(path("a/Face01.bmp"), randomImage(40, 50, 2)));
        QVERIFY(writeBmp(path("b/Face01.bmp"), randomImage(30, 30, 3)));
        QVERIFY(writeBmp(path("big.bmp"), randomImage(200, 230, 4)));
        QVERIFY(writeBmp(path("white.bmp"), WhiteBacked));
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
                                 "pellwerk/parts/white.bmp", "pellwerk/parts/Face01-2.bmp"}));
        const QList<LayerTag> expected{{"Benutzer-Teil white.bmp", "data/step-6.png", {200, 200}, "visible"},
                                       {"Bart Vorschaubild", "data/step-5.png", {188, 71}, "visible"},
                                       {"Benutzer-Teil Face01.bmp", "data/step-4.png", {240, 0}, "visible"},
                                       {"Benutzer-Teil white.bmp", "data/step-3.png", {0, 220}, "visible"},
                                       {"Hemd big.bmp", "data/step-2.png", {87, 128}, "hidden"},
                                       {"Gesicht Face01.bmp", "data/step-1.png", {128, 0}, "visible"},
                                       {"Grundlage: base.bmp", "data/base.png", {0, 0}, "visible"}};
        QCOMPARE(layerTags(entry(entries, "stack.xml")), expected);
        QVERIFY(QImage::fromData(entry(entries, "Thumbnails/thumbnail.png")).width() <= 256);
    }

    void layersRebuildTheSkin()
    {
        const Recipe recipe = document();
        const Composer c = composer();
        const ZipEntries entries = unzip(writeOpenRaster(recipe, c).value());
        const QList<LayerTag> tags = layerTags(entry(entries, "stack.xml"));
        const QImage skin = c.compose(recipe.composition).value();
        QCOMPARE(QImage::fromData(entry(entries, "mergedimage.png")).convertToFormat(QImage::Format_RGB32), skin);
        QCOMPARE(painted(tags, entries), skin);
        // The layer of each step: its preview where it lands on the skin, the transparent colour clear.
        for (int i = 0; i < int(recipe.composition.steps.size()); ++i) {
            const PasteStep &step = recipe.composition.steps[size_t(i)];
            const QImage preview = c.preview(step).value();
            const QRect lands = QRect(step.place, preview.size()) & QRect(0, 0, 256, 256);
            const LayerTag &tag = tags[tags.size() - 2 - i];
            const QImage layer =
                QImage::fromData(entry(entries, tag.src.toUtf8())).convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(QRect(tag.at, layer.size()), lands);
            for (int y = 0; y < layer.height(); ++y)
                for (int x = 0; x < layer.width(); ++x) {
                    const QRgb p = preview.pixel(lands.x() - step.place.x() + x, lands.y() - step.place.y() + y);
                    const QRgb want = p == step.transparent.toQRgb() ? 0u : p;
                    if (layer.pixel(x, y) != want && qAlpha(want) + qAlpha(layer.pixel(x, y)) != 0)
                        QFAIL(qPrintable(QStringLiteral("step %1, pixel %2,%3").arg(i + 1).arg(x).arg(y)));
                }
        }
    }

    void projectRestoresWithoutItsParts()
    {
        QTemporaryDir moved;
        for (const char *name : {"base.bmp", "a/Face01.bmp", "b/Face01.bmp", "big.bmp", "white.bmp"}) {
            QVERIFY(QDir().mkpath(QFileInfo(moved.filePath(name)).path()));
            QVERIFY(QFile::copy(path(name), moved.filePath(name)));
        }
        const Recipe recipe = document();
        const Composer original({moved.path(), {}}, {});
        const QImage skin = original.compose(recipe.composition).value();
        const QByteArray ora = writeOpenRaster(recipe, original).value();
        QVERIFY(writeFile(path("project.ora"), ora));
        QVERIFY(QDir(moved.path()).removeRecursively());

        const Result<Project> project = readProjectFile(path("project.ora"));
        QVERIFY2(project, qPrintable(errorText(project)));
        Recipe expected = recipe;
        expected.composition.base.file = "base/base.bmp";
        for (const auto &[step, part] : {std::pair{0, "parts/Face01.bmp"},
                                         {1, "parts/big.bmp"},
                                         {2, "parts/white.bmp"},
                                         {3, "parts/Face01-2.bmp"},
                                         {5, "parts/white.bmp"}})
            expected.composition.steps[size_t(step)].part = part;
        QCOMPARE(project->recipe, expected);
        QCOMPARE(project->carried.files.size(), size_t(5));
        QCOMPARE(project->carried.files.at("parts/Face01-2.bmp"), fileBytes(path("b/Face01.bmp")));
        const Composer restored({path("nowhere"), {}}, {}, project->carried);
        QCOMPARE(restored.compose(project->recipe.composition).value(), skin);
        // Written again from the project alone, it carries the same recipe.
        const ZipEntries again = unzip(writeOpenRaster(project->recipe, restored).value());
        QCOMPARE(entry(again, "pellwerk/recipe.json"), entry(unzip(ora), "pellwerk/recipe.json"));
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
        const auto with = [&](const QByteArray &name, const QByteArray &bytes) {
            ZipEntries e = good;
            for (auto &[n, b] : e)
                if (n == name)
                    return b = bytes, e;
            return e << std::pair{name, bytes}, e;
        };
        const auto without = [&](const QByteArray &name) {
            ZipEntries e = good;
            e.removeIf([&](const auto &p) { return p.first == name; });
            return e;
        };
        const auto row = [](const char *name, const QByteArray &archive, int kind) {
            QTest::newRow(name) << archive << kind;
        };
        using K = ErrorKind;
        row("another program's picture", zipOf(good), -1);
        row("a project", zipOf(with("pellwerk/recipe.json", "{}")), -2);
        row("not a zip archive", "PK\3\4 and then nothing", int(K::ArchiveDamaged));
        row("no mimetype", zipOf(without("mimetype")), int(K::ArchiveNotOpenRaster));
        row("mimetype of PNG", zipOf(with("mimetype", "image/png")), int(K::ArchiveNotOpenRaster));
        row("mimetype and a line break", zipOf(with("mimetype", "image/openraster\n")), int(K::ArchiveNotOpenRaster));
        for (const char *name : {"/tmp/evil.png", "data/../../evil.png", "..", "..\\evil.png", "C:/evil.png"})
            row(name, zipOf(with(name, "x")), int(K::ArchiveBadEntryName));
        row("stack.xml twice", zipOf(with("stack.xmX", stack)).replace("stack.xmX", "stack.xml"),
            int(K::ArchiveDuplicateEntry));
        row("no stack.xml", zipOf(without("stack.xml")), int(K::ArchiveEntryMissing));
        ZipEntries many = good;
        for (int i = 0; i < 1021; ++i)
            many.append({"f" + QByteArray::number(i), {}});
        row("1025 entries", zipOf(many), int(K::ArchiveTooManyEntries));
        const QByteArray bomb = stack + QByteArray(9 << 20, ' ');
        row("stack.xml unpacks to 9 MiB", zipOf(with("stack.xml", bomb)), int(K::ArchiveEntryTooLarge));
        row("a bomb that says it is small", lyingSize(zipOf(with("stack.xml", bomb)), "stack.xml", 100),
            int(K::ArchiveEntryTooLarge));
        ZipEntries parts = with("pellwerk/recipe.json", "{}");
        for (int i = 0; i < 5; ++i)
            parts.append({"pellwerk/parts/" + QByteArray::number(i), QByteArray(7 << 20, '\0')});
        row("parts of 35 MiB", zipOf(parts), int(K::ArchiveTooLarge));
        row("external entity",
            zipOf(with("stack.xml", "<?xml version='1.0'?><!DOCTYPE image [<!ENTITY e SYSTEM "
                                    "'file:///etc/passwd'>]><image w='256' h='256'>&e;</image>")),
            int(K::StackDoctype));
        row("entity never declared", zipOf(with("stack.xml", R"(<image w="256" h="256">&e;</image>)")),
            int(K::StackSyntax));
        row("not XML", zipOf(with("stack.xml", "<image w='256' h='256'><stack>")), int(K::StackSyntax));
        row("no image at the top", zipOf(with("stack.xml", "<stack/>")), int(K::StackInvalid));
        row("layer without src", zipOf(with("stack.xml", R"(<image w="256" h="256"><layer/></image>)")),
            int(K::StackInvalid));
        for (const char *size : {R"(w="100000" h="256")", R"(w="256" h="0")", R"(w="2e3" h="9")", R"(h="1")"})
            row(size, zipOf(with("stack.xml", QByteArray("<image ") + size + "/>")), int(K::StackImageSize));
        row("layer is a bitmap", zipOf(with("data/a.png", fileBytes(path("base.bmp")))), int(K::LayerNotPng));
        row("layer missing", zipOf(without("data/a.png")), int(K::ArchiveEntryMissing));
        row("no merged image", zipOf(without("mergedimage.png")), int(K::ArchiveEntryMissing));
        row("merged image 300 x 200", zipOf(with("mergedimage.png", encodePng(filled(300, 200, 0)))),
            int(K::MergedImageSize));
        row("merged image is a bitmap", zipOf(with("mergedimage.png", fileBytes(path("base.bmp")))),
            int(K::LayerNotPng));
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
};

QTEST_GUILESS_MAIN(OpenRasterTest)
#include "tst_openraster.moc"
