#pragma once

#include "compose/RecipePaths.h"
#include "compose/SkinCanvas.h"
#include "core/AppState.h"
#include "editor/CommonDialog.h"
#include "editor/MessageSink.h"
#include "core/PictureBoxModel.h"
#include "parts/PlacementTable.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <memory>
#include <optional>

namespace pellwerk {

class MainWindow;
class PartsWindow;
class SettingsDialog;
class AboutDialog;
class TintWindow;
class ZoomWindow;
class StepsWindow;
class RecoveryStore;
struct KeyRow;
struct RecoveryCopy;

// One run of the program: the program-wide state, the skin canvas and the windows, each window
// created on its first reference. Tests make a fresh App for every case.
//
// Windows never reach into each other's controls. A change that concerns the whole program goes
// through a named method here, which updates the state and announces the change; each window
// shows it in its own controls.
class App : public QObject
{
    Q_OBJECT
public:
    // `programFolder` is where the program file lies; messages go to `messages`, file dialogs
    // to `dialogs`.
    App(QString programFolder, MessageSink &messages, std::shared_ptr<FileDialogBackend> dialogs);
    ~App() override;

    AppState state;

    const QString &programFolder() const { return m_programFolder; }
    void showMessage(const QString &text) { m_messages.showMessage(text); }
    std::shared_ptr<FileDialogBackend> dialogBackend() const { return m_dialogs; }

    // The skin being edited, with the history of its steps. It starts with the default skin.
    SkinCanvas &skin() { return m_skin; }
    // What the canvas shows: 256 x 256 pixels on black, with a persistent image pastes go into.
    PictureBoxModel &canvas() { return m_skin.model(); }

    MainWindow &mainWindow();
    PartsWindow &partsWindow();
    SettingsDialog &settingsDialog();
    AboutDialog &aboutDialog();
    TintWindow &tintWindow();
    ZoomWindow &zoomWindow();
    StepsWindow &stepsWindow();

    // Whether the instance exists, without creating it.
    bool hasMainWindow() const { return bool(m_mainWindow); }
    bool hasSettingsDialog() const { return bool(m_settingsDialog); }
    bool hasAboutDialog() const { return bool(m_aboutDialog); }
    bool hasTintWindow() const { return bool(m_tintWindow); }
    bool hasStepsWindow() const { return bool(m_stepsWindow); }

    // Before the canvas is replaced or the program ends: when the canvas holds unsaved changes,
    // asks whether to save them. Returns whether to go on (saved, or the changes given up).
    bool confirmDiscard();

    // The transparent colour is now `colour`.
    void setTransparentColour(Colour colour);
    // The knobs set the user colour. While the transparent colour is the user colour it follows,
    // and the settings dialog's swatch shows it (the dialog is loaded for that, hidden).
    void setUserColour(const UserRgb &colour);
    // Shows a text in the main window's status line.
    void setStatus(const QString &text);
    // The place where the next user part goes, as a press on the canvas chose it.
    void setUserPlace(QPoint pixel);
    // The place the coordinate boxes now hold (after their clamp), when both are numbers.
    std::optional<QPoint> userPlace() const { return m_userPlace; }
    void reportUserPlace(std::optional<QPoint> place);

    // The part in the parts window's preview and the list it was picked from (User for a user
    // file, or before any pick); previewChanged() is sent whenever either changes.
    const PictureBoxModel &preview();
    PartKindId previewKind();
    void notifyPreviewChanged();
    // Where the previewed part would land: its kind's place, or the user place for a user file.
    std::optional<QPoint> previewPlace();

    // Opens a skin file named outside the windows (the command line) like "öffnen": asks first
    // when the canvas holds unsaved changes; a file that cannot be read is reported and the canvas
    // stays as it was. A relative path is taken from the working directory. Returns whether the
    // skin was opened.
    bool openSkinFile(const QString &path);

    // Where the files of a recipe kept in `recipeFolder` are looked for (recipeFoldersFor): there,
    // then the user's own part folder, then the program's Image folder.
    RecipeFolders recipeFolders(const QString &recipeFolder) const;
    // Writes the steps that made the canvas as a recipe; warns (after saving) about steps whose
    // parts have pixels near the transparent colour. False when it could not be written.
    bool saveRecipe(const QString &path);
    // Rebuilds the canvas from a recipe, or from an OpenRaster file (a project's recipe, with the
    // files it carries; another program's picture as the base of a new document), as one step
    // that can be undone.
    bool openRecipe(const QString &path);
    // Writes the document as an OpenRaster project, or the skin as PNG; a failure is reported and
    // leaves any file of that name as it was.
    bool exportOpenRaster(const QString &path);
    bool exportPng(const QString &path);

    // Opens files dropped on the canvas or a window: the first, like "öffnen" (asking first when
    // the canvas holds unsaved changes), with a note when there were more. Called from the drop
    // event, it returns at once: the question and the opening follow from the event loop.
    void openDroppedFiles(const QStringList &paths);
    // The skins-folder choice of the folder menu and the settings dialog's button: the file
    // dialog starts in the skins folder, and the folder of the file picked becomes it. The
    // settings dialog's folder label shows it (the dialog is loaded for that, hidden).
    void chooseSkinFolder();
    // Puts the texts of the active language file on every window, row by row of the key table.
    void applyLanguage();
    // Puts them on one window built after a language was applied (`window` as the key table names
    // it); before any language was applied the window keeps its designed texts.
    void applyLanguageTo(const QString &window);

    // Keeps a copy of unsaved work in `folder` (a RecoveryStore, written within two seconds of a
    // change, removed when the work is saved or given up or the program ends), after offering the
    // copies that editors which did not end normally left there, newest first, one question each:
    // "Wiederherstellen" puts the work on the canvas, unsaved and as a step that can be undone (a
    // later copy restored replaces it after the question whether to save it; "Abbrechen" there
    // leaves that copy for the next start), and the copy becomes this editor's own; "Verwerfen"
    // deletes it. Copies of running editors are left alone, unreadable ones moved aside unasked.
    void startRecovery(const QString &folder);
    RecoveryStore *recovery() const { return m_recovery.get(); }

    // Creates and loads the main window (the start-up) and shows it.
    void start();
    // Closes every window; the program then ends.
    void shutdown();
    bool hasEnded() const { return m_ended; }

signals:
    void transparentColourChanged(Colour colour);
    void statusChanged(const QString &text);
    void userPlaceChosen(QPoint pixel);
    void userPlaceChanged(std::optional<QPoint> place);
    void previewChanged();
    void skinFolderChanged(const QString &folder);
    // One text of a language: `row` says which window and control it belongs on.
    void languageTextChanged(const KeyRow &row, const QString &text);
    void ended();

private:
    // A new document on `picture` (another program's OpenRaster picture), as one undoable step.
    bool openPicture(const QString &path, const QImage &picture);
    void offerLeftover(const RecoveryCopy &copy);

    QString m_programFolder;
    MessageSink &m_messages;
    std::shared_ptr<FileDialogBackend> m_dialogs;
    SkinCanvas m_skin;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<PartsWindow> m_partsWindow;
    std::unique_ptr<SettingsDialog> m_settingsDialog;
    std::unique_ptr<AboutDialog> m_aboutDialog;
    std::unique_ptr<TintWindow> m_tintWindow;
    std::unique_ptr<ZoomWindow> m_zoomWindow;
    std::unique_ptr<StepsWindow> m_stepsWindow;
    std::optional<QPoint> m_userPlace = QPoint(0, 0);
    bool m_ended = false;
    bool m_languageApplied = false;
    bool m_shuttingDown = false;
    std::unique_ptr<RecoveryStore> m_recovery; // first to go: its worker holds copies of the document
};

} // namespace pellwerk
