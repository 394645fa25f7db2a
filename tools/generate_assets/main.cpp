// Draws every picture that the program and its installation ship: the default skin, the
// template for "neu", the built-in preview picture, the sample parts of the image folder and
// the application icon at its installed sizes (from assets/icons/pellwerk.svg, compiled in).
//
//   generate_assets <assets-dir>                          writes the pictures
//   generate_assets <assets-dir> --preview <png> [n]      also writes a three-times enlarged view
//                                                          of the default skin with the n-th sample
//                                                          of every part kind pasted on it (n = 0:
//                                                          the default skin alone; default 1)
//
// Exits 0 when everything was written, 1 when a file could not be, 2 on a wrong command line.

#include "Icons.h"
#include "Skins.h"

#include "core/BitmapWriter.h"
#include "parts/TransparentBlit.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace pellwerk::assets {
namespace {

// The inner area of the parts window's preview: a paste takes no more of a part than this.
constexpr Rect32 kPreviewArea{0, 0, 148, 191};

// An unchanged picture keeps its file and time stamp, so the build does not rebuild what
// embeds it and a run after an unrelated change leaves the working tree clean.
bool writeIfChanged(const QString &path, const QByteArray &bytes)
{
    QFile current(path);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes)
        return true;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

// The parts are pasted the way the parts window pastes them, in the order it lists the kinds:
// the left arm before the tattoo, so the ink lands on the sleeve's skin as it would for a user.
QImage composePreview(const QImage &defaultSkin, const std::vector<PlacedPart> &parts, int variant)
{
    QImage composed = defaultSkin.copy();
    if (variant == 0)
        return composed;
    auto paste = [&](const PlacedPart &part) {
        TransparentBlit(composed, composed, part.image, kPreviewArea, part.place.x(), part.place.y(), Colours::Black);
    };
    for (const PartKind &kind : partKinds()) {
        std::vector<const PlacedPart *> samples;
        for (const PlacedPart &part : parts) {
            if (part.kind == kind.kind)
                samples.push_back(&part);
        }
        if (kind.kind == PartKindId::User) {
            for (const PlacedPart *user : samples)
                paste(*user);
        } else if (!samples.empty()) {
            paste(*samples[std::min<std::size_t>(variant, samples.size()) - 1]);
        }
    }
    return composed;
}

int run(int argc, char **argv)
{
    if (argc != 2 && !(argc >= 4 && argc <= 5 && QString::fromLocal8Bit(argv[2]) == "--preview")) {
        std::fprintf(stderr, "usage: generate_assets <assets-dir> [--preview <out.png> [variant]]\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const char *sub : {"Image", "icons"}) {
        if (!folder.mkpath(sub)) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.filePath(sub)));
            return 1;
        }
    }

    const QImage defaultSkin = drawDefaultSkin();
    const std::vector<PlacedPart> parts = drawSampleParts();
    std::vector<std::pair<QString, QByteArray>> files{
        {"DefaultSkin.bmp", encodeBitmap24(defaultSkin)},
        {"SkinNEW.bmp", encodeBitmap24(drawTemplateSkin())},
        {"PreviewShoe.bmp", encodeBitmap24(drawPreviewShoe())},
    };
    for (const PlacedPart &part : parts)
        files.emplace_back("Image/" + part.name, encodeBitmap24(part.image));
    QFile svg(":/icons/pellwerk.svg");
    const QByteArray svgBytes = svg.open(QIODevice::ReadOnly) ? svg.readAll() : QByteArray();
    for (const int size : kIconSizes) {
        const QByteArray png = renderIconPng(svgBytes, size);
        if (png.isEmpty()) {
            std::fprintf(stderr, "cannot draw the icon at %d px\n", size);
            return 1;
        }
        files.emplace_back(QString("icons/pellwerk-%1.png").arg(size), png);
    }

    bool ok = true;
    for (const auto &[name, bytes] : files)
        ok = writeIfChanged(folder.filePath(name), bytes) && ok;
    if (!ok)
        return 1;

    if (argc >= 4) {
        const int variant = argc == 5 ? std::max(0, QString::fromLocal8Bit(argv[4]).toInt()) : 1;
        const QImage composed = composePreview(defaultSkin, parts, variant);
        const QString out = QString::fromLocal8Bit(argv[3]);
        if (!composed.scaled(composed.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(out, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
            return 1;
        }
    }
    return 0;
}

} // namespace
} // namespace pellwerk::assets

int main(int argc, char **argv)
{
    return pellwerk::assets::run(argc, argv);
}
