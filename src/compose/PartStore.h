#pragma once

#include <QImage>
#include <QMap>
#include <QString>

#include <vector>

namespace pellwerk {

struct PasteStep;

// The decoded part pictures of a document, one per part path as the steps name it (the file as
// it was read: an absolute path in the editor; the empty path for the preview picture built into
// the program). Pictures are immutable once stored and shared: copying a store, as every undo step
// does, copies no pixels, and a copy keeps its pictures when the file changes on disk or the
// original store takes a newer picture of the same path.
//
// Whoever reads the files fills it: the parts window's paste, a recipe's composer, later an
// OpenRaster project or a recovery copy read from an archive. Rendering reads only the store.
class PartStore
{
public:
    // The picture stored for `path`; a null image when there is none.
    QImage picture(const QString &path) const { return m_pictures.value(path); }
    bool contains(const QString &path) const { return m_pictures.contains(path); }
    // Stores `picture` for `path`, in place of any picture stored for it before.
    void insert(const QString &path, const QImage &picture) { m_pictures.insert(path, picture); }
    // Forgets every picture that none of `steps` names.
    void keepOnly(const std::vector<PasteStep> &steps);

    qsizetype size() const { return m_pictures.size(); }
    const QMap<QString, QImage> &pictures() const { return m_pictures; }

    friend bool operator==(const PartStore &, const PartStore &) = default;

private:
    QMap<QString, QImage> m_pictures;
};

} // namespace pellwerk
