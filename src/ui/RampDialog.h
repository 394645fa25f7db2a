#pragma once

#include "Form.h"
#include "colour/Palette.h"
#include "compose/PasteStep.h"

#include <QDialog>

#include <map>
#include <optional>

PELLWERK_DECLARE_DESIGN(RampDialog, QDialog)

namespace pellwerk {

// The "Farbrampe" dialog of the steps window: two lists of the palettes the program and the user
// keep in their Paletten folders, "von" (with "keine" first, which takes a swap away) and "nach",
// each entry showing its colours. The canvas shows the chosen swap at once; "OK" makes it one undo
// step, "Abbrechen", Esc and the close box leave the step as it was. A "nach" palette of another
// length than the "von" palette cannot be chosen.
//
// Any change of the document while the dialog is open (an undo, an edit elsewhere) cancels it:
// the step it was opened for may be another one by then.
class RampDialog : public DesignedForm<Ui::RampDialog, QDialog>
{
    Q_OBJECT
public:
    explicit RampDialog(App &app);

    // Shows the dialog for step `index` of the document, its lists at the step's swap.
    void open(int index);
    void accept();
    void cancel();

protected:
    void setUpWindow(QDialog *host) override;
    void windowLoaded() override;
    void applyLanguageText(const KeyRow &row, const QString &text) override;
    bool hostCloseRequested() override;

private:
    // The swap the lists choose, or nothing while "nach" waits for a palette.
    std::optional<RampSwap> chosen() const;
    void fillLists(const RampSwap &current);
    void fromChanged();
    void showChoice();
    const Palette &paletteOf(const QString &path) const;

    int m_step = -1;
    QString m_noneWord = QStringLiteral("keine");
    QString m_coloursWord = QStringLiteral("Farben");
    std::map<QString, Palette> m_palettes; // the readable palettes listed, by path
};

} // namespace pellwerk
