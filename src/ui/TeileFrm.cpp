#include "TeileFrm.h"
#include "WidgetColours.h"

#include "App.h"
#include "FileListBox.h"
#include "Form1.h"
#include "PictureBox.h"
#include "RGB_Frm.h"
#include "SetupDlg.h"
#include "core/BitmapDecoder.h"
#include "core/ErrorText.h"
#include "core/FileListing.h"
#include "core/FileResolver.h"
#include "core/SkinDocument.h"
#include "core/StatusText.h"
#include "core/Twips.h"
#include "parts/Coordinates.h"
#include "parts/PartsLayout.h"
#include "parts/PlacementTable.h"
#include "ui_TeileFrm.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <cmath>
#include <memory>

namespace pellwerk {

template class DesignedForm<Ui::TeileFrm>;

TeileFrm::TeileFrm(App &app) : DesignedForm(app, QStringLiteral("TeileFrm"))
{
    connect(&app, &App::transparentColourChanged, this, &TeileFrm::showTransparentColour);
    connect(&app, &App::userPlaceChosen, this, &TeileFrm::showUserPlace);
}

PictureBox &TeileFrm::TeilPic()
{
    return *ui().TeilPic;
}

PictureBoxModel &TeileFrm::preview()
{
    return TeilPic().model();
}

void TeileFrm::focusPreview()
{
    TeilPic().setFocus(Qt::OtherFocusReason);
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
    return {u.FootFile, u.RightArmFile, u.LeftArmFile, u.FaceFile, u.PantsFile, u.ShirtFile,
            u.TatuFile, u.GlassesFile,  u.SchmuckFile, u.BartFile, u.UserFile};
}

void TeileFrm::setUpWindow(QWidget *host)
{
    host->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                         | Qt::WindowCloseButtonHint);

    m_ui->TeilPic->model().setPicture(SkinDocument::builtInPreview());
    setBackground(m_ui->Label1, Colours::Black);
    setTextColour(m_ui->Label1, Colour(0x008080FF));
    m_ui->Label1->installEventFilter(this);

    // Patterns and places come from the placement table; the user list has no fixed place.
    for (const PartKind &kind : partKinds()) {
        auto *list = host->findChild<FileListBox *>(kind.listName);
        Q_ASSERT(list);
        list->setPattern(kind.pattern);
        if (kind.place)
            connect(list, &FileListBox::Click, this, [this, list] { KindFile_Click(list); });
    }
    connect(m_ui->UserFile, &FileListBox::Click, this, &TeileFrm::UserFile_Click);
    connect(m_ui->UserFile, &FileListBox::MouseMove, this, &TeileFrm::UserFile_MouseMove);
    connect(m_ui->UserPrefix, &QLineEdit::textChanged, this, &TeileFrm::UserPrefix_Change);
    connect(m_ui->EigBerX, &QLineEdit::textChanged, this, &TeileFrm::EigBer_Change);
    connect(m_ui->EigBerY, &QLineEdit::textChanged, this, &TeileFrm::EigBer_Change);
    connect(m_ui->TranspCheck, &QCheckBox::clicked, this, &TeileFrm::TranspCheck_Click);
    connect(m_ui->TranspBtn, &QPushButton::clicked, this, &TeileFrm::TranspBtn_Click);
    connect(m_ui->TeilPic, &PictureBox::clicked, this, &TeileFrm::TeilPic_Click);
    connect(m_ui->Command1, &QPushButton::clicked, this, &TeileFrm::Command1_Click);
    connect(&m_ui->TeilPic->model(), &PictureBoxModel::changed, &m_app, &App::notifyPreviewChanged);
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
    preview().setBackColour(m_app.state.TransparentColour);
}

void TeileFrm::Form_Load()
{
    placeBesideMainWindow();
    setBackground(m_ui->Label1, m_app.state.TransparentColour);
    pointListsAtImageFolder();
    LastTargetX = 0;
    LastTargetY = 0;
    LastKind = PartKindId::User;
    // The boxes start from the design again: the user place is theirs.
    EigBer_Change();
}

void TeileFrm::placeBesideMainWindow()
{
    // 4250 twips from the left, 100 twips right of the main window as designed; a main window
    // grown for its menu bar pushes it further right by as much.
    constexpr int DesignedMainWidth = 262;
    const int grown = m_app.hasForm1() ? qMax(0, m_app.form1().window()->width() - DesignedMainWidth) : 0;
    window()->move(twipsToPixels(4250) + grown, twipsToPixels(100));
}

void TeileFrm::pointListsAtImageFolder()
{
    // One read of the folders, the user's own parts with the program's, serves all eleven lists.
    const auto index = std::make_shared<const FolderIndex>(
        FileResolver::forKind(QStringLiteral("Image"), m_app.state.ImageFolder).listing());
    for (FileListBox *list : fileLists())
        list->setIndex(index);
}

void TeileFrm::showTransparentColour(Colour colour)
{
    setBackground(ui().Label1, colour);
    preview().setBackColour(colour);
    preview().setFillColour(colour);
}

void TeileFrm::showUserPlace(QPoint pixel)
{
    ui().EigBerX->setText(QString::number(pixel.x()));
    ui().EigBerY->setText(QString::number(pixel.y()));
}

QSize TeileFrm::frameSize()
{
    QWidget *w = window();
    const QSize own = w->frameGeometry().size() - w->size();
    if (!own.isEmpty() || !m_app.hasForm1())
        return own;
    // Not framed yet: the main window wears the same frame.
    QWidget *main = m_app.form1().window();
    return main->frameGeometry().size() - main->size();
}

void TeileFrm::beforeShow()
{
    // The rule's minimum is an outer size. Given to the window system before the window is mapped,
    // the window opens at its designed size wherever the frame allows, and no window manager has
    // to snap (and misplace) a freshly mapped window.
    window()->setMinimumSize(PartsLayout::minimumOuterPixels() - frameSize());
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
    const PartsLayout layout = PartsLayout::forOuterSize(W, H);
    const QSize minimumClient = PartsLayout::minimumOuterPixels() - frameSize();
    if (w->minimumSize() != minimumClient)
        w->setMinimumSize(minimumClient);
    // Growing to the minimum is itself a resize; this run still finishes with its own W and H.
    if (layout.growWidth || layout.growHeight)
        w->resize(layout.growWidth ? minimumClient.width() : w->width(),
                  layout.growHeight ? minimumClient.height() : w->height());

    Ui::TeileFrm &u = *m_ui;
    FileListBox *left[] = {u.FootFile, u.RightArmFile, u.LeftArmFile, u.TatuFile, u.SchmuckFile};
    FileListBox *right[] = {u.FaceFile, u.PantsFile, u.ShirtFile, u.GlassesFile, u.BartFile};
    for (size_t k = 0; k < 5; ++k) {
        const int top = layout.rowTops[k];
        left[k]->setGeometry(PartsLayout::LeftColumnLeft, top, layout.listWidth, layout.rowHeight);
        right[k]->setGeometry(layout.rightColumnLeft, top, layout.listWidth, layout.rowHeight);
    }
    u.UserFile->resize(u.UserFile->width(), layout.userListHeight);
}

bool TeileFrm::loadPart(const FileListBox &list, const QString &name)
{
    const QString path = list.pathOf(name);
    Result<QImage> read = readBitmapFile(path);
    if (!read) {
        m_app.showMessage(ErrorText::loadPartFailed(name, read.error()));
        return false;
    }
    Picture part = Picture::make(std::move(read).value());
    part.file = path;
    preview().setBackColour(m_app.state.TransparentColour);
    preview().setPicture(std::move(part));
    return true;
}

void TeileFrm::KindFile_Click(FileListBox *list)
{
    const PartKind *kind = findPartKind(list->objectName());
    if (!kind || !kind->place || list->fileName().isEmpty())
        return;
    if (!loadPart(*list, list->fileName()))
        return;
    const QPoint place = *kind->place;
    if (ui().TranspCheck->isChecked())
        m_app.TransferPart(place.x(), place.y(), kind->kind);
    LastTargetX = place.x();
    LastTargetY = place.y();
    LastKind = kind->kind;
    m_app.notifyPreviewChanged();
}

void TeileFrm::UserFile_Click()
{
    const QString name = ui().UserFile->fileName();
    if (name.isEmpty() || !loadPart(*ui().UserFile, name))
        return;
    const QLocale locale;
    const std::optional<qint32> x = coordinateToInt(ui().EigBerX->text(), locale);
    const std::optional<qint32> y = coordinateToInt(ui().EigBerY->text(), locale);
    if (!x || !y) {
        // No place, no paste: the part waits in the preview and the last place stays.
        m_app.setStatus(StatusText::userFileWithoutPlace(name, x.has_value(), y.has_value()));
        return;
    }
    if (ui().TranspCheck->isChecked())
        m_app.TransferPart(*x, *y);
    LastTargetX = *x;
    LastTargetY = *y;
    LastKind = PartKindId::User;
    m_app.notifyPreviewChanged();
    m_app.setStatus(StatusText::userFile(name));
}

void TeileFrm::UserFile_MouseMove()
{
    m_app.setStatus(StatusText::userFileList());
}

void TeileFrm::UserPrefix_Change()
{
    ui().UserFile->setPattern(userListPattern(ui().UserPrefix->text()));
}

void TeileFrm::EigBer_Change()
{
    const QLocale locale;
    for (QLineEdit *box : {ui().EigBerX, ui().EigBerY}) {
        if (const auto clamped = clampedText(box->text(), locale))
            box->setText(*clamped);
    }
    const std::optional<qint32> x = coordinateToInt(ui().EigBerX->text(), locale);
    const std::optional<qint32> y = coordinateToInt(ui().EigBerY->text(), locale);
    m_app.reportUserPlace(x && y ? std::optional<QPoint>(QPoint(*x, *y)) : std::nullopt);
}

void TeileFrm::TranspCheck_Click()
{
    ui().TranspBtn->setEnabled(!ui().TranspCheck->isChecked());
}

void TeileFrm::TranspBtn_Click()
{
    m_app.TransferPart(LastTargetX, LastTargetY, LastKind);
}

void TeileFrm::TeilPic_Click()
{
    if (!ui().TranspCheck->isChecked())
        m_app.TransferPart(LastTargetX, LastTargetY, LastKind);
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
