#pragma once

#include "Form.h"
#include "core/AppState.h"
#include "core/Colour.h"

#include <QString>
#include <memory>
#include <optional>

namespace Ui {
class SetupDlg;
}

namespace pellwerk {

struct KeyRow;

// The settings dialog: the transparent colour, the skins folder and the language. Modeless; "OK"
// only hides it (it keeps its texts and choices), the close box discards the loaded form, so the
// next use shows the design's texts again.
class SetupDlg : public Form
{
    Q_OBJECT
public:
    explicit SetupDlg(App &app);
    ~SetupDlg() override;

    Ui::SetupDlg &ui();

    // The value a name of the colour list stands for; nothing for a name the list does not hold.
    static std::optional<Colour> transparentColourFor(const QString &name, const UserRgb &userColour);

    // The folder label; loads the dialog (hidden) when it is not loaded.
    void setFolderLabel(const QString &folder);
    // The colour swatch; loads the dialog (hidden) when it is not loaded. The colour window uses
    // it to follow the user colour while "User" is the transparent colour.
    void setLabel5BackColour(Colour colour);

    // Puts the texts of the active language file on the main window, the parts window and this
    // dialog, row by row of the key table.
    void ApplyLanguage();

    void Combo1_Click();
    void Command1_Click();
    void File1_Click();
    void OKButton_Click();

protected:
    QWidget *createWindow() override;
    void windowDestroyed() override;
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyRow(const KeyRow &row, const QString &text);

    std::unique_ptr<Ui::SetupDlg> m_ui;
};

} // namespace pellwerk
