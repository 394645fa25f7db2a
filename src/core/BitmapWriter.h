#pragma once

#include "Result.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace pellwerk {

// The bytes of a 24-bit, bottom-up bitmap file with a 54-byte header (info header, no
// compression, no palette, image size and resolutions 0), pixels blue, green, red, rows
// padded to four bytes. The skin file format.
QByteArray encodeBitmap24(const QImage &image);

// Writes `image` as encodeBitmap24 to `path`, atomically: the old file stays byte for byte
// as it was unless the whole new file was written and committed. A symbolic link stays a link:
// the file it leads to gets the new bytes. Refused before anything is written: a folder
// (TargetIsFolder), a pipe or a device (TargetNotRegular) under the name, a read-only file
// (TargetReadOnly), a missing or read-only folder (FolderMissing, FolderReadOnly). Failures while
// writing: CannotCreate, WriteIncomplete, CommitFailed, with the system's reason where it gave one.
Result<void> writeBitmapFile(const QImage &image, const QString &path);

} // namespace pellwerk
