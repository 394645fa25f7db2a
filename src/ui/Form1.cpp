#include "Form1.h"

#include "AboutDlg.h"
#include "App.h"
#include "FileDrop.h"
#include "Lupe.h"
#include "PictureBox.h"
#include "SetupDlg.h"
#include "StepText.h"
#include "TeileFrm.h"
#include "compose/RecipePaths.h"
#include "core/ErrorText.h"
#include "core/PartFolders.h"
#include "core/SkinDocument.h"
#include "core/StatusText.h"
#include "language/KeyTable.h"
#include "ui_Form1.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

namespace pellwerk {

template class DesignedForm<Ui::Form1, QMainWindow>;

namespace {
const QString SkinFilter = QStringLiteral("Bilder |*.bmp|");
const QString RecipeFilter = QStringLiteral("Rezepte |*.json|");

QString defaultSkinFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Velmora\\skins\\");
#else
    return QDir::homePath() + QStringLiteral("/Velmora/skins/");
#endif
}
} // namespace

Form1::Form1(App &app) : DesignedForm(app, QStringLiteral("Form1"))
{
    CommonDialog1.setBackend(app.dialogBackend());
    RecipeDialog.setBackend(app.dialogBackend());
    RecipeDialog.FileName = QStringLiteral("*.json");
    RecipeDialog.Filter = RecipeFilter;
    connect(&app, &App::statusChanged, this, &Form1::showStatus);
    connect(&app.skin(), &SkinCanvas::historyChanged, this, [this] {
        if (isLoaded())
            showHistory();
    });
}

PictureBox &Form1::SkinPicture()
{
    return *ui().SkinPicture;
}

void Form1::setUpWindow(QMainWindow *host)
{
    host->setWindowIcon(QIcon(QStringLiteral(":/PreviewShoe.bmp")));
    host->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // The designed client area (262 x 332) lies below the menu bar.
    host->resize(262, 332 + m_ui->menubar->sizeHint().height());
    fitMenuBar();

    PictureBox *canvas = m_ui->SkinPicture;
    canvas->setModel(&m_app.canvas());
    connect(canvas, &PictureBox::mouseMoved, this, [this](QPoint p) { SkinPicture_MouseMove(p); });
    connect(canvas, &PictureBox::mousePressed, this, [this](QPoint p) { SkinPicture_MouseDown(p); });
    connect(canvas, &PictureBox::clicked, this, &Form1::SkinPicture_Click);

    // A bitmap dropped on the canvas opens like "öffnen".
    canvas->setAcceptDrops(true);
    canvas->installEventFilter(this);

    m_ui->centralwidget->setMouseTracking(true);
    host->setMouseTracking(true);
    m_ui->centralwidget->installEventFilter(this);

    connect(m_ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_ui->dneu, &QAction::triggered, this, &Form1::dneu_Click);
    connect(m_ui->speichern, &QAction::triggered, this, &Form1::speichern_Click);
    connect(m_ui->dopen, &QAction::triggered, this, &Form1::dopen_Click);
    connect(m_ui->MEnde, &QAction::triggered, this, &Form1::MEnde_Click);
    connect(m_ui->PrgSetup, &QAction::triggered, this, &Form1::PrgSetup_Click);
    connect(m_ui->MFolder, &QAction::triggered, this, &Form1::MFolder_Click);
    connect(m_ui->TeileMnu, &QAction::triggered, this, &Form1::TeileMnu_Click);
    connect(m_ui->LupeMnu, &QAction::triggered, this, &Form1::LupeMnu_Click);
    connect(m_ui->MEigeneTeile, &QAction::triggered, this, &Form1::MEigeneTeile_Click);
    connect(m_ui->Mueber, &QAction::triggered, this, &Form1::Mueber_Click);
    connect(m_ui->RezeptSpeichern, &QAction::triggered, this, &Form1::RezeptSpeichern_Click);
    connect(m_ui->RezeptOeffnen, &QAction::triggered, this, &Form1::RezeptOeffnen_Click);
    connect(m_ui->MUndo, &QAction::triggered, this, &Form1::MUndo_Click);
    connect(m_ui->MRedo, &QAction::triggered, this, &Form1::MRedo_Click);
    // Undo and redo work from every window of the editor, not only this one.
    m_ui->MRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction *action : {m_ui->MUndo, m_ui->MRedo})
        action->setShortcutContext(Qt::ApplicationShortcut);
    showHistory();

    m_timer = new QTimer(host);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(5000);
    connect(m_timer, &QTimer::timeout, this, &Form1::Timer1_Timer);
    m_timer->start();
}

void Form1::windowDestroyed()
{
    m_timer = nullptr;
    DesignedForm::windowDestroyed();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && watched == m_ui->centralwidget && event->type() == QEvent::MouseMove)
        Form_MouseMove();
    if (m_ui && watched == m_ui->SkinPicture) {
        if (const QStringList files = handleFileDrop(event); !files.isEmpty())
            m_app.openDroppedFiles(files);
    }
    return Form::eventFilter(watched, event);
}

void Form1::Form_Load()
{
    AppState &s = m_app.state;
    QWidget *w = window();
    // The main window's place, then the parts window beside it (that creates and loads it).
    w->move(7, 7);
    TeileFrm &parts = m_app.teileFrm();
    parts.placeBesideMainWindow();

    s.ProgramFolder = m_app.programFolder();
    s.LanguageFile = QStringLiteral("deutsch.zlf");
    s.TransparentColour = Colours::Black;
    s.SkinFolder = defaultSkinFolder();
    s.SkinName = QStringLiteral("NeuerSkin");
    const QSize inner = parts.preview().innerSize();
    s.PartRect = Rect32{0, 0, inner.width(), inner.height()};
    showStatus(s.ProgramFolder);
    // Plain concatenation: a program in "/" gives "//Image/".
    s.ImageFolder = s.ProgramFolder + QStringLiteral("/Image/");
    parts.pointListsAtImageFolder();
}

void Form1::afterShown()
{
    if (!QFileInfo(m_app.state.ImageFolder).isDir())
        m_app.showMessage(ErrorText::imageFolderMissing(m_app.state.ImageFolder));
}

void Form1::Form_Unload()
{
    if (m_timer)
        m_timer->stop();
    if (m_app.hasAboutDlg())
        m_app.aboutDlg().unload();
    if (m_app.hasSetupDlg())
        m_app.setupDlg().unload();
}

bool Form1::hostCloseRequested()
{
    // Every way of closing the main window ends the program, unless the user keeps unsaved work.
    if (!m_app.confirmDiscard())
        return false;
    m_app.shutdown();
    return true;
}

void Form1::applyLanguageText(const KeyRow &row, const QString &text)
{
    if (row.control == QLatin1String("MUndo"))
        m_undoWord = text;
    else if (row.control == QLatin1String("MRedo"))
        m_redoWord = text;
    else
        Form::applyLanguageText(row, text);
    showHistory();
    fitMenuBar();
}

void Form1::fitMenuBar()
{
    // Five menus do not fit the designed width: a menu folded away behind the bar's overflow
    // button would lose its shortcuts, so the window grows instead. The canvas and the controls
    // keep their places.
    QWidget *w = m_ui->menubar->window();
    const int wanted = m_ui->menubar->sizeHint().width();
    if (w->width() < wanted)
        w->resize(wanted, w->height());
}

void Form1::showHistory()
{
    const CompositionHistory &history = m_app.skin().history();
    Ui::Form1 &u = ui();
    u.MUndo->setEnabled(history.canUndo());
    u.MUndo->setText(stepMenuText(m_undoWord, history.undoStep()));
    u.MRedo->setEnabled(history.canRedo());
    u.MRedo->setText(stepMenuText(m_redoWord, history.redoStep()));
}

void Form1::showStatus(const QString &text)
{
    ui().Label1->setText(text);
}

QString Form1::status()
{
    return ui().Label1->text();
}

void Form1::Form_MouseMove()
{
    showStatus(m_app.state.ProgramFolder);
}

void Form1::SkinPicture_MouseMove(QPoint pixel)
{
    showStatus(StatusText::position(pixel));
}

void Form1::SkinPicture_MouseDown(QPoint pixel)
{
    m_app.setUserPlace(pixel);
    showStatus(StatusText::position(pixel));
}

void Form1::SkinPicture_Click()
{
    // The position text of the press stays.
}

void Form1::Timer1_Timer()
{
    showStatus(StatusText::productLine());
}

void Form1::Command1_Click()
{
    m_app.teileFrm().show();
}

void Form1::TeileMnu_Click()
{
    m_app.teileFrm().show();
}

void Form1::MEigeneTeile_Click()
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

void Form1::LupeMnu_Click()
{
    m_app.lupe().show();
}

void Form1::PrgSetup_Click()
{
    m_app.setupDlg().show();
}

void Form1::Mueber_Click()
{
    m_app.aboutDlg().show();
}

void Form1::MFolder_Click()
{
    m_app.chooseSkinFolder();
}

void Form1::openSkin(const QString &path, const CompositionBase &base)
{
    if (const Result<void> opened = m_app.skin().open(path, base); !opened)
        m_app.showMessage(ErrorText::openSkinFailed(path, opened.error()));
}

void Form1::dneu_Click()
{
    if (!m_app.confirmDiscard())
        return;
    const Result<NewSkin> found = findNewSkin(m_app.state.ProgramFolder);
    if (!found) {
        m_app.showMessage(ErrorText::openSkinFailed(QStringLiteral("SkinNEW.bmp"), found.error()));
        return;
    }
    openSkin(found->file, found->base);
}

void Form1::dopen_Click()
{
    if (!m_app.confirmDiscard())
        return;
    CommonDialog1.DialogTitle = QStringLiteral("Skin öffnen");
    CommonDialog1.Filter = SkinFilter;
    if (CommonDialog1.ShowOpen())
        openSkin(CommonDialog1.FileName, {CompositionBase::Kind::File, CommonDialog1.FileName});
}

void Form1::speichern_Click()
{
    saveWithDialog();
}

bool Form1::saveWithDialog()
{
    CommonDialog1.DialogTitle = QStringLiteral("Skin speichern");
    CommonDialog1.Filter = SkinFilter;
    if (!CommonDialog1.ShowSave())
        return false;
    const QString chosen = CommonDialog1.FileName;
    window()->repaint();
    // The name is remembered only for a skin that was really written.
    if (const Result<void> saved = m_app.skin().save(chosen); !saved) {
        m_app.showMessage(ErrorText::saveSkinFailed(chosen, saved.error()));
        return false;
    }
    m_app.state.SkinName = chosen;
    return true;
}

void Form1::MEnde_Click()
{
    if (m_app.confirmDiscard())
        m_app.shutdown();
}

void Form1::RezeptSpeichern_Click()
{
    RecipeDialog.DialogTitle = QStringLiteral("Rezept speichern");
    if (RecipeDialog.ShowSave())
        m_app.saveRecipe(RecipeDialog.FileName);
}

void Form1::RezeptOeffnen_Click()
{
    if (!m_app.confirmDiscard())
        return;
    RecipeDialog.DialogTitle = QStringLiteral("Rezept öffnen");
    if (RecipeDialog.ShowOpen())
        m_app.openRecipe(RecipeDialog.FileName);
}

void Form1::MUndo_Click()
{
    m_app.skin().undo();
}

void Form1::MRedo_Click()
{
    m_app.skin().redo();
}

} // namespace pellwerk
