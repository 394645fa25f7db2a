#pragma once

#include "core/FolderIndex.h"

#include <QAbstractListModel>

#include <memory>
#include <vector>

namespace pellwerk {

// The rows of a file list: the names of a folder index that match one pattern. It holds only
// their positions in the index, which it shares with the other lists read from the same folder.
class FileListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Shows the names of `index` (none when null) that match `pattern`, as a reset of the model.
    void show(std::shared_ptr<const FolderIndex> index, const FileNamePattern &pattern);
    const std::shared_ptr<const FolderIndex> &folderIndex() const { return m_index; }

    // The name of a row; empty outside the rows.
    QString name(int row) const;
    // The row that shows `name` exactly; -1 when none does.
    int rowOf(const QString &name) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    std::shared_ptr<const FolderIndex> m_index;
    std::vector<int> m_positions;
};

} // namespace pellwerk
