#include "Form1.h"

#include "AboutDlg.h"
#include "App.h"
#include "PictureBox.h"
#include "SetupDlg.h"
#include "TeileFrm.h"
#include "core/ErrorText.h"
#include "core/SkinDocument.h"
#include "ui_Form1.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTimer>

namespace pellwerk {

namespace {
const QString ProductLine = QStringLiteral("Pellwerk V1.2");
const QString SkinFilter = QStringLiteral("Bilder |*.bmp|");

QString defaultSkinFolder()
{
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\Velmora\\skins\\");
#else
    return QDir::homePath() + QStringLiteral("/Velmora/skins/");
#endif
}
} // namespace

Form1::Form1(App &app) : Form(app)
{
    CommonDialog1.setBackend(app.dialogBackend());
}

Form1::~Form1() = default;

Ui::Form1 &Form1::ui()
{
    ensureLoaded();
    return *m_ui;
}

PictureBox &Form1::SkinPicture()
{
    return *ui().SkinPicture;
}

QWidget *Form1::createWindow()
{
    auto *host = new FormHost<QMainWindow>(*this);
    m_ui = std::make_unique<Ui::Form1>();
    m_ui->setupUi(host);
    host->setWindowIcon(QIcon(QStringLiteral(":/PreviewShoe.bmp")));
    host->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    // The designed client area (262 x 332) lies below the menu bar.
    host->resize(262, 332 + m_ui->menubar->sizeHint().height());

    PictureBox *canvas = m_ui->SkinPicture;
    canvas->makePersistent();
    canvas->model().setPicture(SkinDocument::defaultSkin());
    connect(canvas, &PictureBox::mouseMoved, this, [this](QPoint p) { SkinPicture_MouseMove(p); });
    connect(canvas, &PictureBox::mousePressed, this, [this](QPoint p) { SkinPicture_MouseDown(p); });
    connect(canvas, &PictureBox::clicked, this, &Form1::SkinPicture_Click);

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
    connect(m_ui->Mueber, &QAction::triggered, this, &Form1::Mueber_Click);

    m_timer = new QTimer(host);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(5000);
    connect(m_timer, &QTimer::timeout, this, &Form1::Timer1_Timer);
    m_timer->start();
    return host;
}

void Form1::windowDestroyed()
{
    m_timer = nullptr;
    m_ui.reset();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && watched == m_ui->centralwidget && event->type() == QEvent::MouseMove)
        Form_MouseMove();
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
    const QSize inner = parts.TeilPic().model().innerSize();
    s.PartRect = Rect32{0, 0, inner.width(), inner.height()};
    setStatus(s.ProgramFolder);
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

void Form1::hostCloseRequested()
{
    // Every way of closing the main window ends the program; nothing is asked.
    m_app.shutdown();
}

void Form1::setStatus(const QString &text)
{
    ui().Label1->setText(text);
}

QString Form1::status()
{
    return ui().Label1->text();
}

QString Form1::positionText(QPoint pixel)
{
    return QStringLiteral(" x=%1,  y=%2 ").arg(pixel.x()).arg(pixel.y());
}

void Form1::Form_MouseMove()
{
    setStatus(m_app.state.ProgramFolder);
}

void Form1::SkinPicture_MouseMove(QPoint pixel)
{
    setStatus(positionText(pixel));
}

void Form1::SkinPicture_MouseDown(QPoint pixel)
{
    TeileFrm &parts = m_app.teileFrm();
    parts.setCoordinateText(parts.EigBerX(), QString::number(pixel.x()));
    parts.setCoordinateText(parts.EigBerY(), QString::number(pixel.y()));
    setStatus(positionText(pixel));
}

void Form1::SkinPicture_Click()
{
    // The position text of the press stays.
}

void Form1::Timer1_Timer()
{
    setStatus(ProductLine);
}

void Form1::Command1_Click()
{
    m_app.teileFrm().show();
}

void Form1::TeileMnu_Click()
{
    m_app.teileFrm().show();
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
    chooseSkinFolder();
}

void Form1::chooseSkinFolder()
{
    AppState &s = m_app.state;
    CommonDialog1.InitDir = s.SkinFolder;
    CommonDialog1.DialogTitle = QStringLiteral("Velmora-Skin-Folder");
    CommonDialog1.Filter = SkinFilter;
    // The dialog reports the folder of the picked file; a cancel keeps the folder.
    if (CommonDialog1.ShowOpen())
        s.SkinFolder = CommonDialog1.InitDir;
    m_app.setupDlg().setFolderLabel(s.SkinFolder);
}

void Form1::dneu_Click()
{
    // Resolved against the working directory, as the installation expects.
    const QString path = QStringLiteral("SkinNEW.bmp");
    if (const Result<void> opened = SkinDocument::open(SkinPicture().model(), path); !opened)
        m_app.showMessage(ErrorText::openSkinFailed(path, opened.error()));
}

void Form1::dopen_Click()
{
    CommonDialog1.DialogTitle = QStringLiteral("Skin öffnen");
    CommonDialog1.Filter = SkinFilter;
    if (!CommonDialog1.ShowOpen())
        return;
    const QString path = CommonDialog1.FileName;
    if (const Result<void> opened = SkinDocument::open(SkinPicture().model(), path); !opened)
        m_app.showMessage(ErrorText::openSkinFailed(path, opened.error()));
}

void Form1::speichern_Click()
{
    CommonDialog1.DialogTitle = QStringLiteral("Skin speichern");
    CommonDialog1.Filter = SkinFilter;
    if (!CommonDialog1.ShowSave())
        return;
    const QString chosen = CommonDialog1.FileName;
    window()->repaint();
    // The name is remembered only for a skin that was really written.
    if (const Result<void> saved = SkinDocument::save(SkinPicture().model(), chosen); !saved) {
        m_app.showMessage(ErrorText::saveSkinFailed(chosen, saved.error()));
        return;
    }
    m_app.state.SkinName = chosen;
}

void Form1::MEnde_Click()
{
    m_app.shutdown();
}

} // namespace pellwerk
