#include "FileBytes.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

Result<QString> replaceableFile(const QString &path)
{
    const QFileInfo target(path);
    if (target.isDir())
        return makeError(ErrorKind::TargetIsFolder, path);
    // A pipe or a device under the name would be replaced by a plain file at the commit.
    if (target.exists() && !target.isFile())
        return makeError(ErrorKind::TargetNotRegular, path);
    // Told in plain words here; the save itself would fail on them with a system text.
    if (target.exists() && !target.isWritable())
        return makeError(ErrorKind::TargetReadOnly, path);
    // The new file is made beside the file a link leads to (followed as QSaveFile follows it,
    // to a file that may not exist yet), so that folder must take it.
    QFileInfo reached(path);
    for (int hops = 0; hops < 128 && reached.isSymLink(); ++hops)
        reached.setFile(reached.symLinkTarget());
    const QFileInfo folder(reached.absolutePath());
    if (!folder.isDir())
        return makeError(ErrorKind::FolderMissing, path);
    if (!folder.isWritable())
        return makeError(ErrorKind::FolderReadOnly, path);
    return reached.absoluteFilePath();
}

Result<void> writeFileBytes(const QString &path, const QByteArray &bytes)
{
    if (const Result<QString> checked = replaceableFile(path); !checked)
        return checked.error();

    QSaveFile file(path);
    // Never write in place: a failed save must leave the old file untouched.
    file.setDirectWriteFallback(false);
    // Unbuffered, so that every failed write is reported here. Through the buffer, a write that
    // fails only when the buffer is flushed at commit (a full disk or the file-size limit hit by
    // the last bytes) is not noticed by QSaveFile, and a cut-short file replaces the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return makeError(ErrorKind::CannotCreate, path, file.errorString());

    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString why = file.errorString();
            file.cancelWriting();
            return makeError(ErrorKind::WriteIncomplete, path, why);
        }
        done += n;
    }
    // The file system's own count decides, whatever the writes reported.
    if (file.size() != bytes.size()) {
        file.cancelWriting();
        return makeError(ErrorKind::WriteIncomplete, path);
    }
    if (!file.commit())
        return makeError(ErrorKind::CommitFailed, path, file.errorString());
    return {};
}

} // namespace pellwerk
