#pragma once

#include <QtGlobal>

namespace pellwerk::OpenRaster {

// The names inside an OpenRaster file that Pellwerk writes and reads, and the bounds of what it
// reads. A skin project (up to a few hundred steps of parts, each a small bitmap) stays far
// below every bound; an archive beyond one is refused before it costs more memory.
inline constexpr char MimeType[] = "image/openraster";
inline constexpr char MimeEntry[] = "mimetype";
inline constexpr char StackEntry[] = "stack.xml";
inline constexpr char MergedEntry[] = "mergedimage.png";
inline constexpr char ThumbnailEntry[] = "Thumbnails/thumbnail.png";
// The project: the recipe, and the files it names (parts, a base skin) under the same folder,
// written as paths relative to it ("parts/Face01.bmp").
inline constexpr char ProjectFolder[] = "pellwerk/";
inline constexpr char RecipeEntry[] = "pellwerk/recipe.json";

inline constexpr qint64 MaxFileBytes = qint64(32) * 1024 * 1024;     // the archive as stored
inline constexpr qint64 MaxEntryBytes = qint64(8) * 1024 * 1024;     // one entry unpacked
inline constexpr qint64 MaxUnpackedBytes = qint64(32) * 1024 * 1024; // all entries read, unpacked
inline constexpr int MaxEntries = 1024;
inline constexpr int MaxImageSide = 16384; // stack.xml's w and h

} // namespace pellwerk::OpenRaster
