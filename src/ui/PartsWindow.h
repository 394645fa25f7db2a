#pragma once

#include "Form.h"
#include "core/Colour.h"
#include "core/PictureBoxModel.h"
#include "parts/PlacementTable.h"

#include <QPoint>
#include <QWidget>

class QLineEdit;

PELLWERK_DECLARE_DESIGN(PartsWindow)

namespace pellwerk {

class FileListBox;
class PictureBox;
// The parts window: the part preview, the eleven part lists, the transfer and user-file controls.
class PartsWindow : public DesignedForm<Ui::PartsWindow>
{
    Q_OBJECT
public:
    explicit PartsWindow(App &app);

    // The preview as the user sees and clicks it.
    PictureBox &partPreview();
    // What the preview shows: the source of every paste.
    PictureBoxModel &preview();
    // Gives the keyboard focus to the preview.
    void focusPreview();
    // The boxes where the user types the place of a user file.
    QLineEdit *userPlaceX();
    QLineEdit *userPlaceY();
    // The ten kind lists and the user list, in the order the start-up points them at the folder.
    QList<FileListBox *> fileLists();

    // The kind of the last part picked, as which "copy" and a click on the preview paste it
    // (User for a user file, and each time the window loads).
    PartKindId pasteKind() const { return m_pasteKind; }

    void initialize();
    void placeBesideMainWindow();
    void pointListsAtImageFolder();
    void hostResized() override;
    // Applies the resize rule for an outer size in twips.
    void applyLayout(int outerWidthTwips, int outerHeightTwips);

    // What the controls do.
    void showTintWindow();
    void showSettings();
    // A file picked in `list`, one of the ten kind lists: into the preview, and pasted at the
    // kind's place while automatic pasting is on.
    void pickKindPart(const PartKind &kind, FileListBox *list);
    // A file picked in the user list: the same, at the place the coordinate boxes hold.
    void pickUserPart();
    void showUserListHint();
    void filterUserList();
    // Clamps what the coordinate boxes hold and reports the place they now say.
    void clampUserPlace();
    // "auto": while it is on, "copy" is off.
    void switchAutoPaste();
    // "copy", and a click on the preview while automatic pasting is off.
    void pasteChosenPart();
    void pasteOnPreviewClick();

protected:
    void setUpWindow(QWidget *host) override;
    void windowLoaded() override;
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
    // Pastes what the preview shows at `place`, as a step of `kind`: the only way parts reach
    // the skin.
    void pastePreview(QPoint place, PartKindId kind);
    // A part just picked becomes what "copy" pastes.
    void rememberPastePlace(QPoint place, PartKindId kind);

    // Where "copy" and a click on the preview paste the preview: the place of the last part
    // picked, and its kind. (0, 0) and User each time the window loads.
    QPoint m_pastePlace;
    PartKindId m_pasteKind = PartKindId::User;
};

} // namespace pellwerk
