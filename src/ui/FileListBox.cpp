#include "FileListBox.h"

#include "FileListModel.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace pellwerk {

FileListBox::FileListBox(QWidget *parent) : QListView(parent), m_model(new FileListModel(this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row is one line of text: the view lays out thousands of names without measuring each.
    setUniformItemSizes(true);
    setMouseTracking(true);
    // Like the platform's file lists: long names are cut, the list never scrolls sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &current) {
        if (current.isValid() && !m_quiet)
            emit Click();
    });
}

QString FileListBox::path() const
{
    return m_model->folderIndex() ? m_model->folderIndex()->folder() : QString();
}

void FileListBox::setPath(const QString &folder)
{
    showIndex(std::make_shared<const FolderIndex>(FolderIndex::read(folder)));
}

void FileListBox::setIndex(std::shared_ptr<const FolderIndex> index)
{
    showIndex(std::move(index));
}

void FileListBox::setPattern(const QString &pattern)
{
    m_pattern = pattern;
    std::shared_ptr<const FolderIndex> index = m_model->folderIndex();
    if (index && !index->isCurrent())
        index = std::make_shared<const FolderIndex>(index->reread());
    showIndex(std::move(index));
}

void FileListBox::showIndex(std::shared_ptr<const FolderIndex> index)
{
    // Showing other names is no pick by the user; the list starts without a current name.
    m_quiet = true;
    m_model->show(std::move(index), FileNamePattern(m_pattern));
    selectionModel()->clear();
    m_quiet = false;
}

int FileListBox::count() const
{
    return m_model->rowCount();
}

QString FileListBox::name(int row) const
{
    return m_model->name(row);
}

int FileListBox::rowOf(const QString &name) const
{
    return m_model->rowOf(name);
}

int FileListBox::currentRow() const
{
    return currentIndex().row();
}

void FileListBox::setCurrentRow(int row)
{
    if (row < 0 || row >= count()) {
        selectionModel()->clear();
        return;
    }
    setCurrentIndex(m_model->index(row));
}

QString FileListBox::fileName() const
{
    return name(currentRow());
}

QString FileListBox::pathOf(const QString &name) const
{
    return m_model->folderIndex() ? m_model->folderIndex()->pathOf(name) : name;
}

bool FileListBox::selectName(const QString &name)
{
    const int row = rowOf(name);
    if (row < 0)
        return false;
    setCurrentRow(row);
    return true;
}

bool FileListBox::event(QEvent *event)
{
    // Qt's list views, unlike other widgets, do not offer their tool-tip as the description.
    if (event->type() == QEvent::ToolTipChange)
        setAccessibleDescription(toolTip());
    return QListView::event(event);
}

void FileListBox::mouseMoveEvent(QMouseEvent *event)
{
    QListView::mouseMoveEvent(event);
    emit MouseMove();
}

void FileListBox::mousePressEvent(QMouseEvent *event)
{
    // A press on a new name is reported by the change of the current row; only a press on the
    // name that stays current needs reporting here.
    const int before = currentRow();
    QListView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && before >= 0 && currentRow() == before
        && indexAt(event->position().toPoint()).row() == before)
        emit Click();
}

void FileListBox::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        // Without a current name there is nothing to pick; Qt would make the first one current.
        event->accept();
        if (currentRow() >= 0)
            emit Click();
        return;
    }
    QListView::keyPressEvent(event);
}

void FileListBox::focusInEvent(QFocusEvent *event)
{
    // Qt makes the first name current when the list gets the focus; here that would paste a part
    // the user never picked. The list stays without a current name until the user chooses one.
    const bool hadCurrent = currentIndex().isValid();
    m_quiet = true;
    QListView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid())
        selectionModel()->clearCurrentIndex();
    m_quiet = false;
}

} // namespace pellwerk
