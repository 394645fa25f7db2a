#pragma once

#include "Result.h"

#include <QByteArray>
#include <QString>

namespace pellwerk {

// The bytes of the file at `path`, read whole. Only a regular file is opened: a folder, a pipe or
// a device is refused before opening (opening a pipe would wait for a writer, and a device such
// as /dev/zero never ends), and so is a file larger than `maxBytes`. Never reads more than the
// size it examined, even if the file grows meanwhile. Errors: FileMissing, IsFolder,
// NotRegularFile, FileTooLarge, CannotRead (with the system's reason); each carries `path`.
Result<QByteArray> readFileBytes(const QString &path, qint64 maxBytes);

// Writes `bytes` to `path`, atomically: the old file stays byte for byte as it was unless the
// whole new file was written and committed. A symbolic link stays a link: the file it leads to
// gets the new bytes. Refused before anything is written: a folder (TargetIsFolder), a pipe or a
// device (TargetNotRegular) under the name, a read-only file (TargetReadOnly), a missing or
// read-only folder (FolderMissing, FolderReadOnly). Failures while writing: CannotCreate,
// WriteIncomplete, CommitFailed, with the system's reason where it gave one.
Result<void> writeFileBytes(const QString &path, const QByteArray &bytes);

// The checks writeFileBytes makes before it writes, for writers that replace files their own way:
// the file the new bytes go to (a symbolic link followed to it, even if it does not exist yet),
// or the same refusals.
Result<QString> replaceableFile(const QString &path);

} // namespace pellwerk
