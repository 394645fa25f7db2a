#pragma once

#include "core/PartKinds.h"

#include <QPoint>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace pellwerk {

// Where the parts of one kind go: where on the 256 x 256 skin the top-left pixel of the preview
// lands when one of them is pasted.
struct PartKind
{
    PartKindId kind;
    QString key;                 // the kind's word, partKindKey(kind)
    std::optional<QPoint> place; // none for the user's own files: their place is typed in
};

// The ten fixed kinds in the order of AllPartKinds, followed by the user's own files.
const std::vector<PartKind> &partKinds();

// The row whose key is `key` (exact spelling, lower case), or nullptr.
const PartKind *findPartKindByKey(QStringView key);
const PartKind &partKind(PartKindId kind);

} // namespace pellwerk
