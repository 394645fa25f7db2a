#pragma once

#include <QListWidget>
#include <QString>

namespace pellwerk {

// A file list: the names in one folder that match one pattern (without regard to letter case),
// sorted by name. It re-reads the folder whenever its folder or pattern is set; a missing or
// empty folder gives an empty list.
//
// `Click` is sent whenever the user picks a name: by moving to it with the mouse or the arrow
// keys, and also by clicking the name that is already selected or pressing Enter or Space on it
// (a pick of the same part pastes it again). Getting the focus picks nothing.
// Its tool-tip, also one set later by a language, is what assistive technology reads as its
// description.
class FileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString &folder);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString &pattern);

    // The selected name, empty when nothing is selected.
    QString fileName() const;
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
    void reread();

    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace pellwerk
