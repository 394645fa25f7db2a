#include "MainWindow.h"

#include "AboutDialog.h"
#include "App.h"
#include "FileDrop.h"
#include "PartsWindow.h"
#include "PictureBox.h"
#include "SettingsDialog.h"
#include "StepsWindow.h"
#include "ZoomWindow.h"
#include "compose/RecipePaths.h"
#include "core/ErrorText.h"
#include "core/PartFolders.h"
#include "core/SkinDocument.h"
#include "editor/StatusText.h"
#include "editor/StepNames.h"
#include "language/KeyTable.h"
#include "ui_MainWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace pellwerk {

template class DesignedForm<Ui::MainWindow, QMainWindow>;

namespace {
const QString SkinFilter = QStringLiteral("Bilder |*.bmp|");
const QString RecipeFilter = QStringLiteral("Rezepte |*.json|");
// A project carries its recipe: it opens like one.
const QString RecipeOrProjectFilter = QStringLiteral("Rezepte und Projekte |*.json;*.ora|");

QString defaultSkinFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Velmora\\skins\\");
#else
    return QDir::homePath() + QStringLiteral("/Velmora/skins/");
#endif
}
} // namespace

MainWindow::MainWindow(App &app) : DesignedForm(app, QStringLiteral("MainWindow"))
{
    skinDialog.setBackend(app.dialogBackend());
    recipeDialog.setBackend(app.dialogBackend());
    recipeDialog.FileName = QStringLiteral("*.json");
    recipeDialog.Filter = RecipeFilter;
    exportDialog.setBackend(app.dialogBackend());
    connect(&app, &App::statusChanged, this, &MainWindow::showStatus);
    connect(&app.skin(), &SkinCanvas::historyChanged, this, [this] {
        if (isLoaded())
            showHistory();
    });
}

PictureBox &MainWindow::canvas()
{
    return *ui().canvas;
}

void MainWindow::setUpWindow(QMainWindow *host)
{
    host->setWindowIcon(QIcon(QStringLiteral(":/PreviewShoe.bmp")));
    host->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // The designed client area (262 x 332) lies below the menu bar.
    host->resize(262, 332 + m_ui->menubar->sizeHint().height());
    fitMenuBar();

    PictureBox *canvas = m_ui->canvas;
    canvas->setModel(&m_app.canvas());
    connect(canvas, &PictureBox::mouseMoved, this, [this](QPoint p) { showCanvasPosition(p); });
    connect(canvas, &PictureBox::mousePressed, this, [this](QPoint p) { chooseUserPlace(p); });

    // A bitmap dropped on the canvas opens like "öffnen".
    canvas->setAcceptDrops(true);
    canvas->installEventFilter(this);

    m_ui->centralwidget->setMouseTracking(true);
    host->setMouseTracking(true);
    m_ui->centralwidget->installEventFilter(this);

    connect(m_ui->partsButton, &QPushButton::clicked, this, &MainWindow::showPartsWindow);
    connect(m_ui->newAction, &QAction::triggered, this, &MainWindow::newSkin);
    connect(m_ui->saveAction, &QAction::triggered, this, &MainWindow::saveSkin);
    connect(m_ui->openAction, &QAction::triggered, this, &MainWindow::openSkin);
    connect(m_ui->quitAction, &QAction::triggered, this, &MainWindow::quit);
    connect(m_ui->settingsAction, &QAction::triggered, this, &MainWindow::showSettings);
    connect(m_ui->skinFolderAction, &QAction::triggered, this, &MainWindow::chooseSkinFolder);
    connect(m_ui->partsAction, &QAction::triggered, this, &MainWindow::showPartsWindow);
    connect(m_ui->zoomAction, &QAction::triggered, this, &MainWindow::showZoomWindow);
    connect(m_ui->stepsAction, &QAction::triggered, this, &MainWindow::showStepsWindow);
    connect(m_ui->ownPartsAction, &QAction::triggered, this, &MainWindow::showOwnParts);
    connect(m_ui->aboutAction, &QAction::triggered, this, &MainWindow::showAbout);
    connect(m_ui->saveRecipeAction, &QAction::triggered, this, &MainWindow::saveRecipe);
    connect(m_ui->openRecipeAction, &QAction::triggered, this, &MainWindow::openRecipe);
    connect(m_ui->exportOpenRasterAction, &QAction::triggered, this, &MainWindow::exportOpenRaster);
    connect(m_ui->exportPngAction, &QAction::triggered, this, &MainWindow::exportPng);
    connect(m_ui->undoAction, &QAction::triggered, this, &MainWindow::undo);
    connect(m_ui->redoAction, &QAction::triggered, this, &MainWindow::redo);
    // Undo and redo work from every window of the editor, not only this one.
    m_ui->redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction *action : {m_ui->undoAction, m_ui->redoAction})
        action->setShortcutContext(Qt::ApplicationShortcut);
    showHistory();

    m_timer = new QTimer(host);
    m_timer->setObjectName(QStringLiteral("productLineTimer"));
    m_timer->setInterval(5000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::advanceProductLine);
    m_timer->start();
}

void MainWindow::windowDestroyed()
{
    m_timer = nullptr;
    DesignedForm::windowDestroyed();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && watched == m_ui->centralwidget && event->type() == QEvent::MouseMove)
        showProgramFolder();
    if (m_ui && watched == m_ui->canvas) {
        if (const QStringList files = handleFileDrop(event); !files.isEmpty())
            m_app.openDroppedFiles(files);
    }
    return Form::eventFilter(watched, event);
}

void MainWindow::windowLoaded()
{
    AppState &s = m_app.state;
    QWidget *w = window();
    // The main window's place, then the parts window beside it (that creates and loads it).
    w->move(7, 7);
    PartsWindow &parts = m_app.partsWindow();
    parts.placeBesideMainWindow();

    s.ProgramFolder = m_app.programFolder();
    s.LanguageFile = QStringLiteral("deutsch.zlf");
    s.TransparentColour = Colours::Black;
    s.SkinFolder = defaultSkinFolder();
    s.SkinName = QStringLiteral("NeuerSkin");
    const QSize inner = parts.preview().innerSize();
    s.PartRect = Rect32{0, 0, inner.width(), inner.height()};
    showStatus(s.ProgramFolder);
    s.ImageFolder = programPartFolder(s.ProgramFolder);
    parts.pointListsAtImageFolder();
}

void MainWindow::afterShown()
{
    if (!QFileInfo(m_app.state.ImageFolder).isDir())
        m_app.showMessage(ErrorText::imageFolderMissing(m_app.state.ImageFolder));
}

void MainWindow::windowUnloading()
{
    if (m_timer)
        m_timer->stop();
    if (m_app.hasAboutDialog())
        m_app.aboutDialog().unload();
    if (m_app.hasSettingsDialog())
        m_app.settingsDialog().unload();
}

bool MainWindow::hostCloseRequested()
{
    // Every way of closing the main window ends the program, unless the user keeps unsaved work.
    if (!m_app.confirmDiscard())
        return false;
    m_app.shutdown();
    return true;
}

void MainWindow::applyLanguageText(const KeyRow &row, const QString &text)
{
    // The words of the edit menu's entries are no control's property: the entries are written anew
    // from them whenever the history changes.
    static const std::pair<const char *, QString ActionWords::*> editWords[] = {
        {"tintWord", &ActionWords::tint},     {"placeWord", &ActionWords::place},
        {"hideWord", &ActionWords::hide},     {"showWord", &ActionWords::show},
        {"mirrorWord", &ActionWords::mirror}, {"unmirrorWord", &ActionWords::unmirror},
        {"upWord", &ActionWords::up},         {"downWord", &ActionWords::down},
        {"removeWord", &ActionWords::remove}, {"swapWord", &ActionWords::swap},
        {"rampWord", &ActionWords::ramp},     {"unrampWord", &ActionWords::unramp}};
    const auto edit = std::find_if(std::begin(editWords), std::end(editWords),
                                   [&row](const auto &word) { return row.control == QLatin1String(word.first); });
    if (edit != std::end(editWords))
        m_actionWords.*(edit->second) = text;
    else if (row.control == QLatin1String("undoAction"))
        m_undoWord = text;
    else if (row.control == QLatin1String("redoAction"))
        m_redoWord = text;
    else
        Form::applyLanguageText(row, text);
    showHistory();
    fitMenuBar();
}

void MainWindow::fitMenuBar()
{
    // Five menus do not fit the designed width: a menu folded away behind the bar's overflow
    // button would lose its shortcuts, so the window grows instead. The canvas and the controls
    // keep their places.
    QWidget *w = m_ui->menubar->window();
    const int wanted = m_ui->menubar->sizeHint().width();
    if (w->width() < wanted)
        w->resize(wanted, w->height());
}

void MainWindow::showHistory()
{
    const CompositionHistory &history = m_app.skin().history();
    Ui::MainWindow &u = ui();
    u.undoAction->setEnabled(history.canUndo());
    u.undoAction->setText(actionMenuText(m_undoWord, history.undoStep(), m_actionWords));
    u.redoAction->setEnabled(history.canRedo());
    u.redoAction->setText(actionMenuText(m_redoWord, history.redoStep(), m_actionWords));
}

void MainWindow::showStatus(const QString &text)
{
    ui().statusLine->setText(text);
}

QString MainWindow::status()
{
    return ui().statusLine->text();
}

void MainWindow::showProgramFolder()
{
    showStatus(m_app.state.ProgramFolder);
}

void MainWindow::showCanvasPosition(QPoint pixel)
{
    showStatus(StatusText::position(pixel));
}

void MainWindow::chooseUserPlace(QPoint pixel)
{
    m_app.setUserPlace(pixel);
    showStatus(StatusText::position(pixel));
}

void MainWindow::advanceProductLine()
{
    showStatus(StatusText::productLine());
}

void MainWindow::showPartsWindow()
{
    m_app.partsWindow().show();
}

void MainWindow::showOwnParts()
{
    // The installed Image folder is shared and read-only; the user's own parts go here.
    const QString folder = userPartFolder();
    if (!QDir().mkpath(folder)) {
        m_app.showMessage(ErrorText::userPartFolderNotCreated(folder));
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        m_app.showMessage(ErrorText::userPartFolderNotShown(folder));
}

void MainWindow::showZoomWindow()
{
    m_app.zoomWindow().show();
}

void MainWindow::showStepsWindow()
{
    m_app.stepsWindow().show();
}

void MainWindow::showSettings()
{
    m_app.settingsDialog().show();
}

void MainWindow::showAbout()
{
    m_app.aboutDialog().show();
}

void MainWindow::chooseSkinFolder()
{
    m_app.chooseSkinFolder();
}

void MainWindow::loadSkin(const QString &path, const CompositionBase &base)
{
    if (const Result<void> opened = m_app.skin().open(path, base); !opened)
        m_app.showMessage(ErrorText::openSkinFailed(path, opened.error()));
}

void MainWindow::newSkin()
{
    if (!m_app.confirmDiscard())
        return;
    const Result<NewSkin> found = findNewSkin(m_app.state.ProgramFolder);
    if (!found) {
        m_app.showMessage(ErrorText::openSkinFailed(QStringLiteral("SkinNEW.bmp"), found.error()));
        return;
    }
    loadSkin(found->file, found->base);
}

void MainWindow::openSkin()
{
    if (!m_app.confirmDiscard())
        return;
    skinDialog.DialogTitle = QStringLiteral("Skin öffnen");
    skinDialog.Filter = SkinFilter;
    if (skinDialog.ShowOpen())
        loadSkin(skinDialog.FileName, {CompositionBase::Kind::File, skinDialog.FileName});
}

void MainWindow::saveSkin()
{
    saveWithDialog();
}

bool MainWindow::saveWithDialog()
{
    skinDialog.DialogTitle = QStringLiteral("Skin speichern");
    skinDialog.Filter = SkinFilter;
    if (!skinDialog.ShowSave())
        return false;
    const QString chosen = skinDialog.FileName;
    window()->repaint();
    // The name is remembered only for a skin that was really written.
    if (const Result<void> saved = m_app.skin().save(chosen); !saved) {
        m_app.showMessage(ErrorText::saveSkinFailed(chosen, saved.error()));
        return false;
    }
    m_app.state.SkinName = chosen;
    return true;
}

void MainWindow::quit()
{
    if (m_app.confirmDiscard())
        m_app.shutdown();
}

void MainWindow::saveRecipe()
{
    recipeDialog.DialogTitle = QStringLiteral("Rezept speichern");
    recipeDialog.Filter = RecipeFilter;
    // After a project was opened, its name is offered as a recipe's: never the project itself.
    if (recipeDialog.FileName.endsWith(QLatin1String(".ora"), Qt::CaseInsensitive))
        recipeDialog.FileName.replace(recipeDialog.FileName.size() - 4, 4, QStringLiteral(".json"));
    if (recipeDialog.ShowSave())
        m_app.saveRecipe(recipeDialog.FileName);
}

void MainWindow::openRecipe()
{
    if (!m_app.confirmDiscard())
        return;
    recipeDialog.DialogTitle = QStringLiteral("Rezept öffnen");
    recipeDialog.Filter = RecipeOrProjectFilter;
    if (recipeDialog.ShowOpen())
        m_app.openRecipe(recipeDialog.FileName);
}

bool MainWindow::chooseExportFile(const QString &title, const QString &filter, const QString &suffix)
{
    exportDialog.DialogTitle = title;
    exportDialog.Filter = filter;
    // The skin's own name, with the export's extension, is the first offer.
    const QString skin = QFileInfo(m_app.state.SkinName).completeBaseName();
    exportDialog.FileName = (skin.isEmpty() ? QStringLiteral("skin") : skin) + suffix;
    if (!exportDialog.ShowSave())
        return false;
    // A name typed without the extension gets it: readers find the format by it.
    if (!exportDialog.FileName.endsWith(suffix, Qt::CaseInsensitive))
        exportDialog.FileName += suffix;
    return true;
}

void MainWindow::exportOpenRaster()
{
    if (chooseExportFile(QStringLiteral("Als OpenRaster exportieren"), QStringLiteral("OpenRaster |*.ora|"),
                         QStringLiteral(".ora")))
        m_app.exportOpenRaster(exportDialog.FileName);
}

void MainWindow::exportPng()
{
    if (chooseExportFile(QStringLiteral("Als PNG exportieren"), QStringLiteral("PNG-Bilder |*.png|"),
                         QStringLiteral(".png")))
        m_app.exportPng(exportDialog.FileName);
}

void MainWindow::undo()
{
    m_app.skin().undo();
}

void MainWindow::redo()
{
    m_app.skin().redo();
}

} // namespace pellwerk
