#pragma once

#include <QPoint>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace pellwerk {

enum class PartKindId {
    Foot,
    RightArm,
    LeftArm,
    Tattoo,
    Chain,
    Face,
    Pants,
    Shirt,
    Glasses,
    Beard,
    User,
};

// One file list of the parts window: which names of the image folder it offers and where on the
// 256 x 256 skin the top-left pixel of the preview lands when one of them is pasted.
struct PartKind
{
    PartKindId kind;
    QString key;                 // the kind's name in recipes and on the command line, e.g. "face"
    QString listName;            // the list control's name, e.g. "faceList"
    QString pattern;             // file-name pattern, matched without regard to letter case
    QString toolTip;             // built-in tool-tip, before any language is applied
    std::optional<QPoint> place; // none for the user list: its place is typed in
};

// The ten fixed kinds in the order the parts window lists them, followed by the user list.
const std::vector<PartKind> &partKinds();

// The row of the list control named `listName` (exact spelling), or nullptr.
const PartKind *findPartKind(QStringView listName);
// The row whose key is `key` (exact spelling, lower case), or nullptr.
const PartKind *findPartKindByKey(QStringView key);
const PartKind &partKind(PartKindId kind);

} // namespace pellwerk
