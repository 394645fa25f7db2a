#include "FileListModel.h"

namespace pellwerk {

void FileListModel::show(std::shared_ptr<const FolderIndex> index, const FileNamePattern &pattern)
{
    beginResetModel();
    m_index = std::move(index);
    m_positions = m_index ? m_index->matching(pattern) : std::vector<int>();
    endResetModel();
}

QString FileListModel::name(int row) const
{
    if (row < 0 || size_t(row) >= m_positions.size())
        return QString();
    return m_index->name(m_positions[size_t(row)]).toString();
}

int FileListModel::rowOf(const QString &name) const
{
    for (size_t row = 0; row < m_positions.size(); ++row) {
        if (m_index->name(m_positions[row]) == name)
            return int(row);
    }
    return -1;
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_positions.size());
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    return name(index.row());
}

} // namespace pellwerk
