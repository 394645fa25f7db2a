#include "Form1.h"

#include "AboutDlg.h"
#include "App.h"
#include "PictureBox.h"
#include "SetupDlg.h"
#include "TeileFrm.h"
#include "core/ErrorText.h"
#include "core/SkinDocument.h"
#include "core/StatusText.h"
#include "ui_Form1.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

namespace pellwerk {

template class DesignedForm<Ui::Form1, QMainWindow>;

namespace {
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

Form1::Form1(App &app) : DesignedForm(app, QStringLiteral("Form1"))
{
    CommonDialog1.setBackend(app.dialogBackend());
    connect(&app, &App::statusChanged, this, &Form1::showStatus);
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

    PictureBox *canvas = m_ui->SkinPicture;
    canvas->setModel(&m_app.canvas());
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

void Form1::hostCloseRequested()
{
    // Every way of closing the main window ends the program; nothing is asked.
    m_app.shutdown();
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

void Form1::openSkin(const QString &path)
{
    if (const Result<void> opened = SkinDocument::open(m_app.canvas(), path); !opened)
        m_app.showMessage(ErrorText::openSkinFailed(path, opened.error()));
}

void Form1::dneu_Click()
{
    // Resolved against the working directory, as the installation expects.
    openSkin(QStringLiteral("SkinNEW.bmp"));
}

void Form1::dopen_Click()
{
    CommonDialog1.DialogTitle = QStringLiteral("Skin öffnen");
    CommonDialog1.Filter = SkinFilter;
    if (CommonDialog1.ShowOpen())
        openSkin(CommonDialog1.FileName);
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
    if (const Result<void> saved = SkinDocument::save(m_app.canvas(), chosen); !saved) {
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
