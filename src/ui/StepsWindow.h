#pragma once

#include "Form.h"
#include "editor/CommonDialog.h"
#include "editor/StepNames.h"

#include <QWidget>

#include <memory>

PELLWERK_DECLARE_DESIGN(StepsWindow)

namespace pellwerk {

class RampDialog;

// The steps window: the document's steps as a list, the step painted last on top and the base at
// the bottom, and the controls that edit the selected step (its tint, its place for a user part,
// whether it shows, whether it is mirrored, its order, its part). Every change goes to the
// document at once and is one undo step; the canvas, the zoom window and this list show it.
//
// The list and the selection are the document's (SkinCanvas): the window keeps nothing of its
// own but the words a language gives its rows.
class StepsWindow : public DesignedForm<Ui::StepsWindow>
{
    Q_OBJECT
public:
    explicit StepsWindow(App &app);
    ~StepsWindow() override;

    // The step the controls edit, or -1 (the base row, or nothing selected).
    int selectedStep();

    // Handlers of the controls.
    void tintChanged();
    // A change of the X or the Y box: the place's other coordinate stays as it is.
    void placeChanged(Qt::Orientation coordinate, int value);
    void visibleToggled(bool visible);
    void mirroredToggled(bool mirrored);
    void moveUpClicked();
    void moveDownClicked();
    void removeClicked();
    void swapPartClicked();
    void rampClicked();
    // The "Farbrampe" dialog, made when first asked for.
    RampDialog &rampDialog();

protected:
    void setUpWindow(QWidget *host) override;
    void windowLoaded() override;
    void applyLanguageText(const KeyRow &row, const QString &text) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showDocument();
    void showSelection();

    StepRowWords m_words;
    // The swap dialog's name for the files it shows: "Teile |shirt*.bmp|".
    QString m_partsWord = QStringLiteral("Teile");
    CommonDialog m_partDialog;
    std::unique_ptr<RampDialog> m_rampDialog;
};

} // namespace pellwerk
