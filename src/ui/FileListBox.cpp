#include "FileListBox.h"

#include "core/FileListing.h"

#include <QSignalBlocker>

namespace pellwerk {

FileListBox::FileListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            emit Click();
    });
}

void FileListBox::setPath(const QString &folder)
{
    m_path = folder;
    reread();
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    reread();
}

QString FileListBox::fileName() const
{
    const QListWidgetItem *item = currentItem();
    return item ? item->text() : QString();
}

bool FileListBox::selectName(const QString &name)
{
    const auto found = findItems(name, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    setCurrentItem(found.first());
    return true;
}

void FileListBox::mouseMoveEvent(QMouseEvent *event)
{
    QListWidget::mouseMoveEvent(event);
    emit MouseMove();
}

void FileListBox::reread()
{
    // Re-reading is no selection by the user.
    const QSignalBlocker block(this);
    clear();
    addItems(listMatchingFiles(m_path, m_pattern));
    setCurrentRow(-1);
}

} // namespace pellwerk
