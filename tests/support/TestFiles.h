#pragma once

// Helpers every test folder shares: files and small pictures made on the spot, and what a failed
// call of the core would tell the user.

#include "compose/CommandLineError.h"
#include "core/ErrorText.h"
#include "core/Result.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <utility>

namespace testsupport {

// The whole file, or nothing when it cannot be read.
QByteArray fileBytes(const QString &path);
// Writes the bytes; false when any of them could not be written.
bool writeFile(const QString &path, const QByteArray &bytes);
// Makes the folder (and its parents) with an empty file for each space-separated name; false
// when any of them could not be made.
bool makeFiles(const QString &folder, const QString &names);

// An image with every pixel of one colour (Qt RGB32).
QImage filled(int width, int height, QRgb rgb);
// An image (Qt RGB32) of opaque random colours, the same for the same seed.
QImage randomImage(int width, int height, quint32 seed);
// Same size, format and bytes, the alpha byte of RGB32 pixels included (QImage's == skips it).
bool sameBits(const QImage &a, const QImage &b);
// Writes `image` as a 24-bit bitmap file; false (with a warning) on error.
bool writeBmp(const QString &path, const QImage &image);

// A zip archive of the entries in order (name, bytes), each deflated, as another program would
// write it; and an archive's entries as the zip library reads them (empty when it cannot).
using ZipEntries = QList<std::pair<QByteArray, QByteArray>>;
QByteArray zipOf(const ZipEntries &entries);
ZipEntries unzip(const QByteArray &archive);

// The words a user would read for a failed result; empty on success.
template <class T> QString errorText(const pellwerk::Result<T> &result)
{
    return result ? QString() : pellwerk::ErrorText::describe(result.error());
}
template <class T> QString errorText(const pellwerk::CommandLineResult<T> &result)
{
    return result ? QString() : pellwerk::CommandLineText::describe(result.error());
}
// The decoded image, or a null image on failure.
inline QImage imageOf(const pellwerk::Result<QImage> &result)
{
    return result ? result.value() : QImage();
}

} // namespace testsupport
