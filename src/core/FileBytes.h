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

} // namespace pellwerk
