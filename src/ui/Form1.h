#pragma once

#include "Form.h"
#include "compose/Composition.h"
#include "core/CommonDialog.h"

#include <QMainWindow>
#include <QPoint>

class QTimer;

PELLWERK_DECLARE_DESIGN(Form1, QMainWindow)

namespace pellwerk {

class PictureBox;
// The main window: the skin canvas, the menus, the status label and the timer.
class Form1 : public DesignedForm<Ui::Form1, QMainWindow>
{
    Q_OBJECT
public:
    explicit Form1(App &app);

    PictureBox &SkinPicture();
    CommonDialog CommonDialog1;
    // The recipe files' own dialog, so that a recipe's name is never offered for a skin.
    CommonDialog RecipeDialog;

    // What the status label shows.
    QString status();

    // Runs once the main window is on screen.
    void afterShown();
    // "speichern": the save dialog, then the skin written there. False when the dialog was
    // cancelled or the skin could not be written (the user has been told).
    bool saveWithDialog();

    bool hostCloseRequested() override;

    // Handlers, named after their controls.
    void Form_MouseMove();
    void SkinPicture_MouseMove(QPoint pixel);
    void SkinPicture_MouseDown(QPoint pixel);
    void SkinPicture_Click();
    void Timer1_Timer();
    void Command1_Click();
    void TeileMnu_Click();
    void LupeMnu_Click();
    void MEigeneTeile_Click();
    void PrgSetup_Click();
    void Mueber_Click();
    void MFolder_Click();
    void dneu_Click();
    void dopen_Click();
    void speichern_Click();
    void MEnde_Click();
    void MUndo_Click();
    void MRedo_Click();
    void RezeptSpeichern_Click();
    void RezeptOeffnen_Click();

protected:
    void setUpWindow(QMainWindow *host) override;
    void windowDestroyed() override;
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void applyLanguageText(const KeyRow &row, const QString &text) override;

private:
    // The edit menu's entries: enabled when there is a step to take back or do again, named after it.
    void showHistory();
    // Widens the window when its menu bar needs more room than the designed width.
    void fitMenuBar();
    void showStatus(const QString &text);
    // Opens a skin file onto the canvas, telling the user when it cannot be read.
    void openSkin(const QString &path, const CompositionBase &base);

    QTimer *m_timer = nullptr;
    QString m_undoWord = QStringLiteral("rückgängig");
    QString m_redoWord = QStringLiteral("wiederholen");
};

} // namespace pellwerk
