#include "TeileFrm.h"

#include "App.h"
#include "FileListBox.h"
#include "PictureBox.h"
#include "RGB_Frm.h"
#include "SetupDlg.h"
#include "core/BitmapDecoder.h"
#include "ui_TeileFrm.h"

#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPalette>
#include <cmath>

namespace pellwerk {

namespace {
constexpr int TwipsPerPixel = 15;
constexpr int MinWidthTwips = 5925;
constexpr int MinHeightTwips = 5635;
constexpr int HeightStepBaseTwips = 5600;

Picture builtInPreview()
{
    QFile file(QStringLiteral(":/PreviewShoe.bmp"));
    if (!file.open(QIODevice::ReadOnly))
        return Picture{};
    BitmapResult read = decodeBitmap(file.readAll());
    return read.ok() ? Picture::make(std::move(read.image)) : Picture{};
}

void setBackground(QWidget *w, Colour colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour.toQColor());
    w->setPalette(pal);
}
} // namespace

TeileFrm::TeileFrm(App &app) : Form(app) {}

TeileFrm::~TeileFrm() = default;

Ui::TeileFrm &TeileFrm::ui()
{
    ensureLoaded();
    return *m_ui;
}

PictureBox &TeileFrm::TeilPic()
{
    return *ui().TeilPic;
}

QLineEdit *TeileFrm::EigBerX()
{
    return ui().EigBerX;
}

QLineEdit *TeileFrm::EigBerY()
{
    return ui().EigBerY;
}

QList<FileListBox *> TeileFrm::fileLists()
{
    Ui::TeileFrm &u = ui();
    return {u.FootFile,  u.RightArmFile, u.LeftArmFile, u.FaceFile,    u.PantsFile, u.ShirtFile,
            u.TatuFile,  u.GlassesFile,  u.SchmuckFile, u.BartFile,    u.UserFile};
}

QWidget *TeileFrm::createWindow()
{
    auto *host = new FormHost<QWidget>(*this);
    m_ui = std::make_unique<Ui::TeileFrm>();
    m_ui->setupUi(host);
    host->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                         | Qt::WindowCloseButtonHint);

    m_ui->TeilPic->model().setPicture(builtInPreview());
    setBackground(m_ui->Label1, Colours::Black);
    QPalette labelText = m_ui->Label1->palette();
    labelText.setColor(QPalette::WindowText, Colour(0x008080FF).toQColor());
    m_ui->Label1->setPalette(labelText);
    m_ui->Label1->installEventFilter(this);

    const auto kinds = {m_ui->FootFile, m_ui->RightArmFile, m_ui->LeftArmFile, m_ui->FaceFile,
                        m_ui->PantsFile, m_ui->ShirtFile,  m_ui->TatuFile,   m_ui->GlassesFile,
                        m_ui->SchmuckFile, m_ui->BartFile};
    const QStringList patterns = {"foot_*.bmp", "RightArm*.bmp", "LeftArm_*.bmp", "Face*.bmp", "Pants*.bmp",
                                  "shirt*.bmp", "tatu*.bmp",     "glass*.bmp",    "chain*.bmp", "beard*.bmp"};
    int i = 0;
    for (FileListBox *list : kinds)
        list->setPattern(patterns[i++]);
    m_ui->UserFile->setPattern(QStringLiteral("*.bmp"));

    connect(m_ui->Command1, &QPushButton::clicked, this, &TeileFrm::Command1_Click);
    return host;
}

void TeileFrm::windowDestroyed()
{
    m_ui.reset();
}

bool TeileFrm::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && watched == m_ui->Label1 && event->type() == QEvent::MouseButtonDblClick) {
        Label1_DblClick();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void TeileFrm::Form_Initialize()
{
    TeilPic().model().setBackColour(m_app.state.TransparentColour);
}

void TeileFrm::Form_Load()
{
    window()->move(283, 7);
    setBackground(m_ui->Label1, m_app.state.TransparentColour);
    pointListsAtImageFolder();
    LastTargetX = 0;
    LastTargetY = 0;
}

void TeileFrm::placeBesideMainWindow()
{
    window()->move(283, 7);
}

void TeileFrm::pointListsAtImageFolder()
{
    for (FileListBox *list : fileLists())
        list->setPath(m_app.state.ImageFolder);
}

void TeileFrm::setCoordinateText(QLineEdit *box, const QString &text)
{
    box->setText(text);
}

void TeileFrm::hostResized()
{
    if (!m_ui || !isLoaded())
        return;
    const QRect outer = window()->frameGeometry();
    applyLayout(outer.width() * TwipsPerPixel, outer.height() * TwipsPerPixel);
}

void TeileFrm::applyLayout(int W, int H)
{
    QWidget *w = window();
    // Snapping back to the minimum size is itself a resize; this run still finishes with its W and H.
    const int frameW = w->frameGeometry().width() - w->width();
    const int frameH = w->frameGeometry().height() - w->height();
    if (W < MinWidthTwips || H < MinHeightTwips) {
        const int width = W < MinWidthTwips ? MinWidthTwips / TwipsPerPixel - frameW : w->width();
        const int height = H < MinHeightTwips ? int(std::lround(double(MinHeightTwips) / TwipsPerPixel)) - frameH
                                              : w->height();
        w->resize(width, height);
    }

    const double dW = W > MinWidthTwips ? (W - MinWidthTwips) / 32.0 : 0.0;
    const int dH = H > HeightStepBaseTwips ? int(std::nearbyint((H - HeightStepBaseTwips) / 105.0)) : 0;
    const int listWidth = int(std::lround(105 + dW));
    const int rightLeft = int(std::lround(280 + dW));

    Ui::TeileFrm &u = *m_ui;
    FileListBox *left[] = {u.FootFile, u.RightArmFile, u.LeftArmFile, u.TatuFile, u.SchmuckFile};
    FileListBox *right[] = {u.FaceFile, u.PantsFile, u.ShirtFile, u.GlassesFile, u.BartFile};
    for (int k = 0; k < 5; ++k) {
        const int top = k == 0 ? 8 : 8 + 48 * k + 2 * k * dH;
        const int height = 45 + 2 * dH;
        left[k]->setGeometry(168, top, listWidth, height);
        right[k]->setGeometry(rightLeft, top, listWidth, height);
    }
    u.UserFile->resize(u.UserFile->width(), 45 + 6 * dH);
}

void TeileFrm::Command1_Click()
{
    m_app.rgbFrm().show();
}

void TeileFrm::Label1_DblClick()
{
    m_app.setupDlg().show();
}

} // namespace pellwerk
