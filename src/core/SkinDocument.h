#pragma once

#include "PictureBoxModel.h"
#include "Result.h"

#include <QString>

namespace pellwerk {

// The skin on the canvas as a document: loading a file makes it the canvas's picture (everything
// pasted before is gone), saving writes the 256 x 256 pixels the canvas shows. A failure leaves
// the canvas and every file as they were; its error is readBitmapFile's or writeBitmapFile's.
namespace SkinDocument {

inline constexpr int Size = 256;

Result<void> open(PictureBoxModel &canvas, const QString &path);
Result<void> save(const PictureBoxModel &canvas, const QString &path);

// The default skin that the canvas shows at start-up.
Picture defaultSkin();
// The built-in shoe picture the part preview shows until the first part is loaded.
Picture builtInPreview();

} // namespace SkinDocument

} // namespace pellwerk
