#include "App.h"

#include "AboutDialog.h"
#include "MainWindow.h"
#include "PartsWindow.h"
#include "SettingsDialog.h"
#include "StepsWindow.h"
#include "TintWindow.h"
#include "ZoomWindow.h"
#include "compose/Composer.h"
#include "compose/KeyColourLint.h"
#include "compose/OpenRasterReader.h"
#include "compose/OpenRasterWriter.h"
#include "compose/Recipe.h"
#include "compose/RecoveryProject.h"
#include "core/ErrorText.h"
#include "core/FileBytes.h"
#include "core/PngWriter.h"
#include "editor/TransparentColourName.h"
#include "language/KeyTable.h"
#include "language/LanguageLookup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace pellwerk {

App::App(QString programFolder, MessageSink &messages, std::shared_ptr<FileDialogBackend> dialogs)
    : m_programFolder(std::move(programFolder)), m_messages(messages), m_dialogs(std::move(dialogs))
{}

App::~App()
{
    // Windows refer to each other while they go: take them down in the shutdown's order.
    m_stepsWindow.reset();
    m_zoomWindow.reset();
    m_aboutDialog.reset();
    m_settingsDialog.reset();
    m_tintWindow.reset();
    m_mainWindow.reset();
    m_partsWindow.reset();
}

MainWindow &App::mainWindow()
{
    if (!m_mainWindow)
        m_mainWindow = std::make_unique<MainWindow>(*this);
    return *m_mainWindow;
}

PartsWindow &App::partsWindow()
{
    if (!m_partsWindow) {
        m_partsWindow = std::make_unique<PartsWindow>(*this);
        m_partsWindow->initialize();
    }
    return *m_partsWindow;
}

SettingsDialog &App::settingsDialog()
{
    if (!m_settingsDialog)
        m_settingsDialog = std::make_unique<SettingsDialog>(*this);
    return *m_settingsDialog;
}

AboutDialog &App::aboutDialog()
{
    if (!m_aboutDialog)
        m_aboutDialog = std::make_unique<AboutDialog>(*this);
    return *m_aboutDialog;
}

TintWindow &App::tintWindow()
{
    if (!m_tintWindow) {
        m_tintWindow = std::make_unique<TintWindow>(*this);
        m_tintWindow->initialize();
    }
    return *m_tintWindow;
}

ZoomWindow &App::zoomWindow()
{
    if (!m_zoomWindow)
        m_zoomWindow = std::make_unique<ZoomWindow>(*this);
    return *m_zoomWindow;
}

StepsWindow &App::stepsWindow()
{
    if (!m_stepsWindow)
        m_stepsWindow = std::make_unique<StepsWindow>(*this);
    return *m_stepsWindow;
}

bool App::confirmDiscard()
{
    if (!m_skin.isModified())
        return true;
    switch (m_messages.askToSave(ErrorText::saveChangesQuestion())) {
    case SaveChoice::Save:
        return mainWindow().saveWithDialog();
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

void App::setTransparentColour(Colour colour)
{
    state.TransparentColour = colour;
    emit transparentColourChanged(colour);
}

void App::setUserColour(const UserRgb &colour)
{
    state.UserColour = colour;
    if (!followsUserColour(state))
        return;
    settingsDialog().ensureLoaded();
    setTransparentColour(colour.toColour());
}

void App::setStatus(const QString &text)
{
    emit statusChanged(text);
}

void App::setUserPlace(QPoint pixel)
{
    emit userPlaceChosen(pixel);
}

void App::reportUserPlace(std::optional<QPoint> place)
{
    if (place == m_userPlace)
        return;
    m_userPlace = place;
    emit userPlaceChanged(place);
}

const PictureBoxModel &App::preview()
{
    return partsWindow().preview();
}

PartKindId App::previewKind()
{
    return partsWindow().pasteKind();
}

void App::notifyPreviewChanged()
{
    emit previewChanged();
}

std::optional<QPoint> App::previewPlace()
{
    const PartKind &kind = partKind(previewKind());
    return kind.place ? std::optional<QPoint>(*kind.place) : m_userPlace;
}

bool App::openSkinFile(const QString &path)
{
    if (!confirmDiscard())
        return false;
    // The history keeps the whole path: a recipe written later must find the file from anywhere.
    const QString file = path.isEmpty() ? path : QDir::current().absoluteFilePath(path);
    if (const Result<void> opened = m_skin.open(file, {CompositionBase::Kind::File, file}); !opened) {
        showMessage(ErrorText::openSkinFailed(file, opened.error()));
        return false;
    }
    return true;
}

RecipeFolders App::recipeFolders(const QString &recipeFolder) const
{
    return recipeFoldersFor(recipeFolder, state.ProgramFolder, state.ImageFolder);
}

bool App::saveRecipe(const QString &path)
{
    const RecipeFolders folders = recipeFolders(QFileInfo(path).absolutePath());
    const Document &document = m_skin.document();
    Recipe recipe{state.TransparentColour, document.composition()};
    const Composition &made = recipe.composition;
    if (!made.steps.empty())
        recipe.transparent = made.steps.front().transparent;
    // A part whose file cannot be read now is written all the same (it is the user's work, and the
    // document holds its picture), but the recipe would not replay: the user is told.
    const Composer composer(folders);
    QStringList nearKey;
    QStringList unreadable;
    for (size_t i = 0; i < made.steps.size(); ++i) {
        const PasteStep &step = made.steps[i];
        if (const Result<QImage> part = composer.partPicture(step.part); !part) {
            Error error = part.error();
            error.step = int(i) + 1;
            error.field = QStringLiteral("part");
            unreadable << ErrorText::describe(error);
        }
        // What the step will really paste: its part as the document holds it, tinted and mirrored.
        const KeyColourLint lint = document.keyColourCheck(int(i));
        if (lint.near > 0)
            nearKey << ErrorText::nearKeyStep(int(i) + 1, QFileInfo(step.part).fileName(), lint.near, lint.fringe,
                                              lint.firstNear.value_or(QPoint()));
    }
    if (const Result<void> written = writeFileBytes(path, writeRecipe(nameRecipeFiles(recipe, folders))); !written) {
        showMessage(ErrorText::recipeFailed(path, written.error()));
        return false;
    }
    if (!unreadable.isEmpty())
        showMessage(ErrorText::unreadablePartsWarning(path, unreadable));
    if (!nearKey.isEmpty())
        showMessage(ErrorText::nearKeyWarning(path, nearKey));
    return true;
}

bool App::openRecipe(const QString &path)
{
    const RecipeFolders folders = recipeFolders(QFileInfo(path).absolutePath());
    Recipe recipe;
    CarriedFiles carried;
    if (path.endsWith(QLatin1String(".ora"), Qt::CaseInsensitive)) {
        Result<OpenRasterContent> file = readOpenRasterFile(path);
        if (file && !file->isProject)
            return openPicture(path, file->merged);
        Result<Project> project = file ? projectOf(std::move(file).value(), QFileInfo(path).absoluteFilePath())
                                       : Result<Project>(file.error());
        if (!project) {
            showMessage(ErrorText::recipeFailed(path, project.error()));
            return false;
        }
        // The project's own files are read from it, never from the disk.
        recipe = std::move(project->recipe);
        carried = std::move(project->carried);
    } else {
        Result<Recipe> read = readRecipeFile(path);
        if (!read) {
            showMessage(ErrorText::recipeFailed(path, read.error()));
            return false;
        }
        // Found once, here: the document holds the files' pictures, and a recipe saved elsewhere
        // later names these very files.
        recipe = resolveRecipeFiles(std::move(read).value(), folders);
    }
    if (const Result<void> check = checkStepCount(recipe.composition); !check) {
        showMessage(ErrorText::recipeFailed(path, check.error()));
        return false;
    }
    // Thousands of steps take seconds: the dialog appears after half a second and keeps the
    // windows painted, without letting anything else happen meanwhile.
    QProgressDialog progress(QStringLiteral("Das Rezept wird zusammengesetzt …"), QString(), 0, 1,
                             QApplication::activeWindow());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    Result<Document> document = Composer(folders, state.ProgramFolder, std::move(carried))
                                    .document(recipe.composition, [&](qsizetype read, qsizetype total) {
                                        progress.setMaximum(int(total));
                                        progress.setValue(int(read));
                                    });
    if (!document) {
        showMessage(ErrorText::recipeFailed(path, document.error()));
        return false;
    }
    m_skin.rebuild(std::move(document).value(), path);
    return true;
}

bool App::openPicture(const QString &path, const QImage &picture)
{
    // A new document on the picture; the file stays the base a recipe names.
    m_skin.rebuild(Document({CompositionBase::Kind::File, QFileInfo(path).absoluteFilePath()}, picture), path);
    return true;
}

bool App::exportOpenRaster(const QString &path)
{
    const Document &document = m_skin.document();
    const Colour transparent =
        document.steps().empty() ? state.TransparentColour : document.steps().front().transparent;
    Result<QByteArray> bytes = writeOpenRaster(document, transparent);
    const Result<void> written = bytes ? writeFileBytes(path, bytes.value()) : Result<void>(bytes.error());
    if (!written)
        showMessage(ErrorText::exportFailed(path, written.error()));
    return bool(written);
}

bool App::exportPng(const QString &path)
{
    const QByteArray bytes = encodePng(m_skin.document().render());
    const Result<void> written =
        bytes.isEmpty() ? Result<void>(makeError(ErrorKind::WriteIncomplete, path)) : writeFileBytes(path, bytes);
    if (!written)
        showMessage(ErrorText::exportFailed(path, written.error()));
    return bool(written);
}

void App::openDroppedFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    // The file manager that dragged the files waits until the drop event returns: a question
    // about unsaved work asked inside it would hold that program too. Asked and opened after.
    QMetaObject::invokeMethod(
        this,
        [this, paths] {
            if (openSkinFile(paths.first()) && paths.size() > 1)
                showMessage(ErrorText::onlyFirstDropped(paths.first(), int(paths.size())));
        },
        Qt::QueuedConnection);
}

void App::chooseSkinFolder()
{
    CommonDialog &dialog = mainWindow().skinDialog;
    dialog.InitDir = state.SkinFolder;
    dialog.DialogTitle = QStringLiteral("Velmora-Skin-Folder");
    dialog.Filter = QStringLiteral("Bilder |*.bmp|");
    // The dialog reports the folder of the picked file; a cancel keeps the folder.
    if (dialog.ShowOpen())
        state.SkinFolder = dialog.InitDir;
    settingsDialog().ensureLoaded();
    emit skinFolderChanged(state.SkinFolder);
}

void App::applyLanguage()
{
    m_languageApplied = true;
    for (const KeyRow &row : languageKeyTable()) {
        // The colour-name rows apply only at their colour, so at most one of them names it.
        if (row.appliesAt(state.TransparentColour))
            emit languageTextChanged(row, LanguageText(state, row.key));
    }
}

void App::applyLanguageTo(const QString &window)
{
    if (!m_languageApplied)
        return;
    for (const KeyRow &row : languageKeyTable()) {
        if (row.window == window && row.appliesAt(state.TransparentColour))
            emit languageTextChanged(row, LanguageText(state, row.key));
    }
}

void App::startRecovery(const QString &folder)
{
    m_recovery = std::make_unique<RecoveryStore>(folder, QStringLiteral("ora"),
                                                 [this] { return recoverySerializer(m_skin.document()); });
    // A full disk or a folder that cannot be written costs the copy, never the editing: the next
    // change tries again.
    connect(&m_skin, &SkinCanvas::historyChanged, m_recovery.get(), [this] {
        if (m_skin.isModified())
            m_recovery->markUnsaved();
        else
            m_recovery->settle();
    });
    // An empty or missing folder costs one look: the start stays as quick as without copies.
    const auto readable = [this](const QByteArray &bytes) { return bool(readRecoveryProject(bytes, m_programFolder)); };
    for (const RecoveryCopy &copy : m_recovery->claimLeftovers(readable))
        offerLeftover(copy);
}

void App::offerLeftover(const RecoveryCopy &copy)
{
    if (!m_messages.askToRestore(ErrorText::restoreQuestion())) {
        m_recovery->discard(copy);
        return;
    }
    if (!confirmDiscard())
        return;
    Result<Document> document = readRecoveryProject(copy.bytes, m_programFolder);
    if (!document)
        return; // read once already when it was claimed: not to be expected
    m_skin.rebuild(std::move(document).value(), copy.path);
    // The copy replaces this editor's own only after a removal still queued (a save in the
    // question before) is done.
    m_recovery->waitForIdle();
    (void)m_recovery->adopt(copy);
}

void App::start()
{
    mainWindow().ensureLoaded();
    mainWindow().show();
    mainWindow().afterShown();
}

void App::shutdown()
{
    if (m_shuttingDown)
        return;
    m_shuttingDown = true;
    // The main window's own close step closes the about box and the settings dialog.
    if (m_mainWindow)
        m_mainWindow->unload();
    if (m_tintWindow)
        m_tintWindow->unload();
    if (m_zoomWindow)
        m_zoomWindow->unload();
    if (m_stepsWindow)
        m_stepsWindow->unload();
    if (m_partsWindow)
        m_partsWindow->unload();
    // Ending normally: whatever was unsaved was saved or given up in the question before.
    if (m_recovery) {
        m_recovery->settle();
        m_recovery->waitForIdle();
    }
    m_ended = true;
    emit ended();
}

} // namespace pellwerk
