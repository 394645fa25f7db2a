#pragma once

#include "parts/PlacementTable.h"

#include <QImage>
#include <QPoint>
#include <QString>

#include <vector>

// The pictures the program and its installation ship, each ready to be written as it is.
namespace pellwerk::assets {

// A sample part of the image folder: a part file (RGB32, black where nothing is drawn) and
// where it lands on the skin.
struct PlacedPart
{
    QString name; // the file name in the image folder
    QImage image;
    QPoint place; // the kind's place; for user pictures one a user might type
    PartKindId kind;
};

// 256 x 256 RGB32 skins: the default skin in a tee and jeans, and the bare template of "neu".
QImage drawDefaultSkin();
QImage drawTemplateSkin();
// The built-in preview picture: a running shoe as a part file.
QImage drawPreviewShoe();
// The sample parts; within a kind, in the order the preview picks them by number.
std::vector<PlacedPart> drawSampleParts();

} // namespace pellwerk::assets
