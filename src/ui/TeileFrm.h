#pragma once

#include "Form.h"
#include "core/Colour.h"

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
    // The transparent colour shown on the colour label "transparent".
    void setLabel1BackColour(Colour colour);
    // The preview's back colour, then its fill colour.
    void setTeilPicBackAndFill(Colour colour);
    // Writes a coordinate box as a user's typing would (the change handling runs).
    void setCoordinateText(QLineEdit *box, const QString &text);

    void hostResized() override;
    // Applies the resize rule for an outer size in twips.
    void applyLayout(int outerWidthTwips, int outerHeightTwips);

    void Command1_Click();
    void Label1_DblClick();
    // A file picked in one of the ten kind lists (by the list's name, e.g. "FaceFile").
    void KindFile_Click(FileListBox *list);
    void UserFile_Click();
    void UserFile_MouseMove();
    void UserPrefix_Change();
    void EigBer_Change();
    void TranspCheck_Click();
    void TranspBtn_Click();
    void TeilPic_Click();

protected:
    QWidget *createWindow() override;
    void windowDestroyed() override;
    void Form_Load() override;
    void beforeShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Loads the picked part into the preview; false (after telling the user) when it cannot be read.
    bool loadPart(const QString &name);

    // The width and height the window manager's frame adds, as far as known.
    QSize frameSize();

    std::unique_ptr<Ui::TeileFrm> m_ui;
};

} // namespace pellwerk
