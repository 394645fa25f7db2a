#pragma once

#include "core/FolderIndex.h"

#include <QListView>
#include <QString>

#include <memory>

namespace pellwerk {

class FileListModel;

// A file list: the names in one folder that match one pattern (without regard to letter case),
// sorted by name. It reads its folder whenever its folder is set; a missing or empty folder
// gives an empty list. Setting the pattern reads the folder again only when its modification
// time says that its names may have changed since (FolderIndex::isCurrent), and otherwise
// filters the names of the last read, so that typing a pattern costs no directory read.
// Lists pointed at one folder index share it: one read serves them all.
//
// `Click` is sent whenever the user picks a name: by moving to it with the mouse or the arrow
// keys, and also by clicking the name that is already selected or pressing Enter or Space on it
// (a pick of the same part pastes it again). Getting the focus picks nothing.
// Its tool-tip, also one set later by a language, is what assistive technology reads as its
// description.
class FileListBox : public QListView
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    // The folder of the names shown (of several merged, the last of the search order: the
    // program's); empty before one is set.
    QString path() const;
    // Reads `folder` alone.
    void setPath(const QString &folder);
    // Shows the names of an index read already, of several folders merged (FileResolver::listing).
    void setIndex(std::shared_ptr<const FolderIndex> index);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);

    int count() const;
    // The name shown in a row; empty outside the rows.
    QString name(int row) const;
    // The row that shows `name` exactly; -1 when none does.
    int rowOf(const QString &name) const;
    // The row of the current name; -1 when there is none.
    int currentRow() const;
    // Makes a row current and selected (-1: none); a new current row sends Click like a pick.
    void setCurrentRow(int row);
    // The selected name, empty when nothing is selected.
    QString fileName() const;
    // Where the file of a listed name lies (FolderIndex::pathOf).
    QString pathOf(const QString &name) const;
    // Selects the name as a user would, sending Click. False when the name is not listed.
    bool selectName(const QString &name);

signals:
    void Click();
    void MouseMove();

protected:
    bool event(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void showIndex(std::shared_ptr<const FolderIndex> index);

    FileListModel *m_model;
    QString m_pattern = QStringLiteral("*.*");
    // A current row set while this is true is none the user picked.
    bool m_quiet = false;
};

} // namespace pellwerk
