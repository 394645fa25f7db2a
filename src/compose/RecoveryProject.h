#pragma once

#include "Document.h"
#include "RecoveryStore.h"
#include "core/Result.h"

#include <QByteArrayView>
#include <QString>

namespace pellwerk {

// A recovery copy's bytes: the document as a self-contained OpenRaster project (writeOpenRaster)
// whose carried files are the document's own pictures, not the files on the disk (which may have
// changed or gone since they were read): every part picture, and the base canvas unless the base
// is the built-in default skin, as 24-bit bitmaps. Beside the project's recipe it keeps
// "pellwerk/recovery.json", the same recipe naming the files the steps really named, so the
// restored steps name them again (a recipe saved later finds them where they were).
//
// The serializer holds a copy of `document` (which shares its pictures) and may run on any thread;
// its errors are writeOpenRaster's (a ramp's palette is read from the disk).
RecoveryStore::Serializer recoverySerializer(const Document &document);

// The document a recovery copy holds, equal to the one it was written from (base, steps and
// pictures, so the same canvas bit for bit). Reads no part folder; `programFolder` only names where
// base "new" is for the composer. Errors: readOpenRaster's, ArchiveNotProject, readRecipe's,
// the composer's, ArchiveEntryMissing when "pellwerk/recovery.json" is missing and
// ArchiveEntryDamaged (detail its name) when it does not describe the project's steps.
Result<Document> readRecoveryProject(QByteArrayView bytes, const QString &programFolder);

} // namespace pellwerk
