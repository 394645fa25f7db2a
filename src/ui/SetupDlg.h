#pragma once

#include "Form.h"
#include "core/Colour.h"

#include <QString>

PELLWERK_DECLARE_DESIGN(SetupDlg)

namespace pellwerk {
// The settings dialog: the transparent colour, the skins folder and the language. Modeless; "OK"
// only hides it (it keeps its texts and choices), the close box discards the loaded form, so the
// next use shows the design's texts again.
class SetupDlg : public DesignedForm<Ui::SetupDlg>
{
    Q_OBJECT
public:
    explicit SetupDlg(App &app);

    // Puts the texts of the active language file on the main window, the parts window and this
    // dialog, row by row of the key table.
    void ApplyLanguage();

    void Combo1_Click();
    void Command1_Click();
    void File1_Click();
    void OKButton_Click();

protected:
    void setUpWindow(QWidget *host) override;
    void Form_Load() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The swatch shows the transparent colour; only while the dialog is loaded.
    void showTransparentColour(Colour colour);
    // The folder label shows the skins folder; only while the dialog is loaded.
    void showSkinFolder(const QString &folder);
};

} // namespace pellwerk
