#pragma once

#include "Form.h"

#include <QWidget>
#include <memory>

class QLineEdit;

namespace Ui {
class TeileFrm;
}

namespace pellwerk {

class FileListBox;
class PictureBox;

// The parts window: the part preview, the eleven part lists, the transfer and user-file controls.
class TeileFrm : public Form
{
    Q_OBJECT
public:
    explicit TeileFrm(App &app);
    ~TeileFrm() override;

    Ui::TeileFrm &ui();
    PictureBox &TeilPic();
    QLineEdit *EigBerX();
    QLineEdit *EigBerY();
    // The ten kind lists and the user list, in the order the start-up points them at the folder.
    QList<FileListBox *> fileLists();

    // The place of the last selected part; (0, 0) each time the window loads.
    qint32 LastTargetX = 0;
    qint32 LastTargetY = 0;

    void Form_Initialize();
    void placeBesideMainWindow();
    void pointListsAtImageFolder();
    // Writes a coordinate box as a user's typing would (the change handling runs).
    void setCoordinateText(QLineEdit *box, const QString &text);

    void hostResized() override;
    // The resize rule for an outer size in twips (exposed for the layout's tests).
    void applyLayout(int outerWidthTwips, int outerHeightTwips);

    void Command1_Click();
    void Label1_DblClick();

protected:
    QWidget *createWindow() override;
    void windowDestroyed() override;
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::TeileFrm> m_ui;
    bool m_inLayout = false;
};

} // namespace pellwerk
