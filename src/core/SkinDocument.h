#pragma once

#include "PictureBoxModel.h"

#include <QString>
#include <optional>

namespace pellwerk {

// The skin on the canvas as a document: loading a file makes it the canvas's picture (everything
// pasted before is gone), saving writes the 256 x 256 pixels the canvas shows. Both return a
// German message for the user when they fail, and then leave the canvas and every file as they were.
namespace SkinDocument {

inline constexpr int Size = 256;

std::optional<QString> open(PictureBoxModel &canvas, const QString &path);
std::optional<QString> save(const PictureBoxModel &canvas, const QString &path);

// The default skin that the canvas shows at start-up.
Picture defaultSkin();
// The built-in shoe picture the part preview shows until the first part is loaded.
Picture builtInPreview();

} // namespace SkinDocument

} // namespace pellwerk
