#pragma once

#include "Form.h"
#include "core/Colour.h"

#include <QString>

PELLWERK_DECLARE_DESIGN(SettingsDialog)

namespace pellwerk {
// The settings dialog: the transparent colour, the skins folder and the language. Modeless; "OK"
// only hides it (it keeps its texts and choices), the close box discards the loaded form, so the
// next use shows the design's texts again.
class SettingsDialog : public DesignedForm<Ui::SettingsDialog>
{
    Q_OBJECT
public:
    explicit SettingsDialog(App &app);

    // Puts the texts of the active language file on the main window, the parts window and this
    // dialog, row by row of the key table.
    void applyLanguage();

    // What the controls do: a colour picked in the list becomes the transparent colour; the button
    // chooses the skins folder; a language file picked is applied when it names a language.
    void chooseTransparentColour();
    void chooseSkinFolder();
    void chooseLanguage();

protected:
    void setUpWindow(QWidget *host) override;
    void windowLoaded() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The swatch shows the transparent colour; only while the dialog is loaded.
    void showTransparentColour(Colour colour);
    // The folder label shows the skins folder; only while the dialog is loaded.
    void showSkinFolder(const QString &folder);
};

} // namespace pellwerk
