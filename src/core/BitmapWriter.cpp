#include "BitmapWriter.h"

#include "BitmapFormat.h"

#include <QFileInfo>
#include <QSaveFile>

namespace pellwerk {

namespace {

void put16(char *p, quint16 v)
{
    p[0] = char(v & 0xFF);
    p[1] = char(v >> 8);
}

void put32(char *p, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

QByteArray encodeBitmap24(const QImage &source)
{
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const qint64 stride = (qint64(w) * 3 + 3) / 4 * 4;
    const qint64 total = BitmapFormat::PixelOffset + stride * h;

    QByteArray out(total, '\0');
    char *d = out.data();
    d[0] = 'B';
    d[1] = 'M';
    put32(d + 2, quint32(total));
    put32(d + 10, quint32(BitmapFormat::PixelOffset));
    put32(d + BitmapFormat::FileHeaderSize, quint32(BitmapFormat::InfoHeaderSize));
    put32(d + 18, quint32(w));
    put32(d + 22, quint32(h));
    put16(d + 26, 1);
    put16(d + 28, 24);

    for (int row = 0; row < h; ++row) {
        // Rows are stored bottom-up.
        const QRgb *src = reinterpret_cast<const QRgb *>(image.constScanLine(h - 1 - row));
        char *dst = d + BitmapFormat::PixelOffset + stride * row;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = char(qBlue(src[x]));
            dst[3 * x + 1] = char(qGreen(src[x]));
            dst[3 * x + 2] = char(qRed(src[x]));
        }
    }
    return out;
}

Result<void> writeBitmapFile(const QImage &image, const QString &path)
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

    const QByteArray bytes = encodeBitmap24(image);
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
