#pragma once

#include "Form.h"
#include "compose/Composition.h"
#include "editor/CommonDialog.h"
#include "editor/StepNames.h"

#include <QMainWindow>
#include <QPoint>

class QTimer;

PELLWERK_DECLARE_DESIGN(MainWindow, QMainWindow)

namespace pellwerk {

class PictureBox;
// The main window: the skin canvas, the menus, the status line and the timer that shows the
// product line.
class MainWindow : public DesignedForm<Ui::MainWindow, QMainWindow>
{
    Q_OBJECT
public:
    explicit MainWindow(App &app);

    // The skin canvas as the user sees and presses it.
    PictureBox &canvas();
    CommonDialog skinDialog;
    // The recipe files' own dialog, so that a recipe's name is never offered for a skin.
    CommonDialog recipeDialog;
    // The exports' dialog, so that an export's name is never offered for a skin or a recipe.
    CommonDialog exportDialog;

    // What the status line shows.
    QString status();

    // Runs once the main window is on screen.
    void afterShown();
    // "speichern": the save dialog, then the skin written there. False when the dialog was
    // cancelled or the skin could not be written (the user has been told).
    bool saveWithDialog();

    bool hostCloseRequested() override;

    // What the controls do. The status line shows the program folder while the pointer is over
    // the bare window, the pointer's pixel over the canvas, and the product line at each tick of
    // the timer; a press on the canvas chooses the user place.
    void showProgramFolder();
    void showCanvasPosition(QPoint pixel);
    void chooseUserPlace(QPoint pixel);
    void advanceProductLine();
    // The "Teile" button and the menu entry.
    void showPartsWindow();
    void showZoomWindow();
    void showStepsWindow();
    void showOwnParts();
    void showSettings();
    void showAbout();
    void chooseSkinFolder();
    void newSkin();
    void openSkin();
    void saveSkin();
    void quit();
    void undo();
    void redo();
    void saveRecipe();
    void openRecipe();
    void exportOpenRaster();
    void exportPng();
    bool chooseExportFile(const QString &title, const QString &filter, const QString &suffix);

protected:
    void setUpWindow(QMainWindow *host) override;
    void windowDestroyed() override;
    void windowLoaded() override;
    void windowUnloading() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void applyLanguageText(const KeyRow &row, const QString &text) override;

private:
    // The edit menu's entries: enabled when there is a step to take back or do again, named after it.
    void showHistory();
    // Widens the window when its menu bar needs more room than the designed width.
    void fitMenuBar();
    void showStatus(const QString &text);
    // Opens a skin file onto the canvas, telling the user when it cannot be read.
    void loadSkin(const QString &path, const CompositionBase &base);

    QTimer *m_timer = nullptr;
    QString m_undoWord = QStringLiteral("rückgängig");
    QString m_redoWord = QStringLiteral("wiederholen");
    ActionWords m_actionWords;
};

} // namespace pellwerk
