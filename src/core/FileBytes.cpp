#include "FileBytes.h"

#include <QFile>
#include <QFileInfo>

namespace pellwerk {

Result<QByteArray> readFileBytes(const QString &path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return makeError(ErrorKind::FileMissing, path);
    if (info.isDir())
        return makeError(ErrorKind::IsFolder, path);
    if (!info.isFile())
        return makeError(ErrorKind::NotRegularFile, path);
    const qint64 expected = info.size();
    if (expected > maxBytes)
        return makeError(ErrorKind::FileTooLarge, path);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return makeError(ErrorKind::CannotRead, path, file.errorString());
    QByteArray bytes = file.read(expected);
    if (file.error() != QFileDevice::NoError)
        return makeError(ErrorKind::CannotRead, path, file.errorString());
    return bytes;
}

} // namespace pellwerk
