#include "FileListBox.h"

#include "core/FileListing.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace pellwerk {

FileListBox::FileListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setMouseTracking(true);
    // Like the platform's file lists: long names are cut, the list never scrolls sideways.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
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

bool FileListBox::event(QEvent *event)
{
    // Qt's list views, unlike other widgets, do not offer their tool-tip as the description.
    if (event->type() == QEvent::ToolTipChange)
        setAccessibleDescription(toolTip());
    return QListWidget::event(event);
}

void FileListBox::mouseMoveEvent(QMouseEvent *event)
{
    QListWidget::mouseMoveEvent(event);
    emit MouseMove();
}

void FileListBox::mousePressEvent(QMouseEvent *event)
{
    // A press on a new name is reported by the change of the current row; only a press on the
    // name that stays current needs reporting here.
    const int before = currentRow();
    QListWidget::mousePressEvent(event);
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
    QListWidget::keyPressEvent(event);
}

void FileListBox::focusInEvent(QFocusEvent *event)
{
    // Qt makes the first name current when the list gets the focus; here that would paste a part
    // the user never picked. The list stays without a current name until the user chooses one.
    const bool hadCurrent = currentIndex().isValid();
    {
        const QSignalBlocker block(this);
        QListWidget::focusInEvent(event);
    }
    if (!hadCurrent && currentIndex().isValid()) {
        const QSignalBlocker block(this);
        selectionModel()->clearCurrentIndex();
    }
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
