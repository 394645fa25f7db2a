#pragma once

#include "Form.h"
#include "core/Colour.h"
#include "core/PictureBoxModel.h"
#include "parts/PlacementTable.h"

#include <QPoint>
#include <QWidget>

class QLineEdit;

PELLWERK_DECLARE_DESIGN(TeileFrm)

namespace pellwerk {

class FileListBox;
class PictureBox;
// The parts window: the part preview, the eleven part lists, the transfer and user-file controls.
class TeileFrm : public DesignedForm<Ui::TeileFrm>
{
    Q_OBJECT
public:
    explicit TeileFrm(App &app);

    PictureBox &TeilPic();
    // What the preview shows: the source of every transfer.
    PictureBoxModel &preview();
    // Gives the keyboard focus to the preview.
    void focusPreview();
    QLineEdit *EigBerX();
    QLineEdit *EigBerY();
    // The ten kind lists and the user list, in the order the start-up points them at the folder.
    QList<FileListBox *> fileLists();

    // The place of the last selected part; (0, 0) each time the window loads.
    qint32 LastTargetX = 0;
    qint32 LastTargetY = 0;
    // The list of the last selected part; none (User) each time the window loads.
    PartKindId LastKind = PartKindId::User;

    void Form_Initialize();
    void placeBesideMainWindow();
    void pointListsAtImageFolder();
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
    void setUpWindow(QWidget *host) override;
    void Form_Load() override;
    void beforeShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Loads a part picked in `list` into the preview, from the folder the list says it lies in;
    // false (after telling the user) when it cannot be read.
    bool loadPart(const FileListBox &list, const QString &name);

    // The width and height the window manager's frame adds, as far as known.
    QSize frameSize();
    // The colour label and the preview's back and fill colour show the transparent colour.
    void showTransparentColour(Colour colour);
    // The coordinate boxes get the place as a user's typing would (their change handling runs).
    void showUserPlace(QPoint pixel);
};

} // namespace pellwerk
