#include "PartsWindow.h"
#include "WidgetColours.h"

#include "App.h"
#include "FileListBox.h"
#include "MainWindow.h"
#include "PictureBox.h"
#include "SettingsDialog.h"
#include "TintWindow.h"
#include "core/BitmapDecoder.h"
#include "core/ErrorText.h"
#include "core/FileListing.h"
#include "core/FileResolver.h"
#include "core/SkinDocument.h"
#include "editor/Coordinates.h"
#include "editor/PartListPattern.h"
#include "editor/PartsLayout.h"
#include "editor/StatusText.h"
#include "editor/Twips.h"
#include "parts/PlacementTable.h"
#include "ui_PartsWindow.h"

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

template class DesignedForm<Ui::PartsWindow>;

namespace {
// Which list offers which kind of part.
struct KindList
{
    PartKindId kind;
    FileListBox *Ui::PartsWindow::*list;
};
constexpr KindList KindLists[] = {
    {PartKindId::Foot, &Ui::PartsWindow::footList},       {PartKindId::RightArm, &Ui::PartsWindow::rightArmList},
    {PartKindId::LeftArm, &Ui::PartsWindow::leftArmList}, {PartKindId::Tattoo, &Ui::PartsWindow::tattooList},
    {PartKindId::Chain, &Ui::PartsWindow::chainList},     {PartKindId::Face, &Ui::PartsWindow::faceList},
    {PartKindId::Pants, &Ui::PartsWindow::pantsList},     {PartKindId::Shirt, &Ui::PartsWindow::shirtList},
    {PartKindId::Glasses, &Ui::PartsWindow::glassesList}, {PartKindId::Beard, &Ui::PartsWindow::beardList},
    {PartKindId::User, &Ui::PartsWindow::userList},
};
} // namespace

PartsWindow::PartsWindow(App &app) : DesignedForm(app, QStringLiteral("PartsWindow"))
{
    connect(&app, &App::transparentColourChanged, this, &PartsWindow::showTransparentColour);
    connect(&app, &App::userPlaceChosen, this, &PartsWindow::showUserPlace);
}

PictureBox &PartsWindow::partPreview()
{
    return *ui().partPreview;
}

PictureBoxModel &PartsWindow::preview()
{
    return partPreview().model();
}

void PartsWindow::focusPreview()
{
    partPreview().setFocus(Qt::OtherFocusReason);
}

QLineEdit *PartsWindow::userPlaceX()
{
    return ui().userPlaceX;
}

QLineEdit *PartsWindow::userPlaceY()
{
    return ui().userPlaceY;
}

QList<FileListBox *> PartsWindow::fileLists()
{
    Ui::PartsWindow &u = ui();
    return {u.footList,   u.rightArmList, u.leftArmList, u.faceList,  u.pantsList, u.shirtList,
            u.tattooList, u.glassesList,  u.chainList,   u.beardList, u.userList};
}

void PartsWindow::setUpWindow(QWidget *host)
{
    host->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint
                         | Qt::WindowCloseButtonHint);

    m_ui->partPreview->model().setPicture(SkinDocument::builtInPreview());
    setBackground(m_ui->transparentLabel, Colours::Black);
    setTextColour(m_ui->transparentLabel, Colour(0x008080FF));
    m_ui->transparentLabel->installEventFilter(this);

    // Places come from the placement table; the user list has no fixed place.
    for (const KindList &entry : KindLists) {
        FileListBox *list = (*m_ui).*entry.list;
        const PartKind &kind = partKind(entry.kind);
        list->setPattern(partListPattern(entry.kind));
        if (kind.place)
            connect(list, &FileListBox::Click, this, [this, list, &kind] { pickKindPart(kind, list); });
    }
    connect(m_ui->userList, &FileListBox::Click, this, &PartsWindow::pickUserPart);
    connect(m_ui->userList, &FileListBox::MouseMove, this, &PartsWindow::showUserListHint);
    connect(m_ui->userPrefix, &QLineEdit::textChanged, this, &PartsWindow::filterUserList);
    connect(m_ui->userPlaceX, &QLineEdit::textChanged, this, &PartsWindow::clampUserPlace);
    connect(m_ui->userPlaceY, &QLineEdit::textChanged, this, &PartsWindow::clampUserPlace);
    // Toggled, not clicked: a screen reader's toggle action sends no click.
    connect(m_ui->autoPaste, &QCheckBox::toggled, this, &PartsWindow::switchAutoPaste);
    connect(m_ui->pasteNow, &QPushButton::clicked, this, &PartsWindow::pasteChosenPart);
    connect(m_ui->partPreview, &PictureBox::clicked, this, &PartsWindow::pasteOnPreviewClick);
    connect(m_ui->tintButton, &QPushButton::clicked, this, &PartsWindow::showTintWindow);
    connect(&m_ui->partPreview->model(), &PictureBoxModel::changed, &m_app, &App::notifyPreviewChanged);
}

bool PartsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && watched == m_ui->transparentLabel && event->type() == QEvent::MouseButtonDblClick) {
        showSettings();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void PartsWindow::initialize()
{
    preview().setBackColour(m_app.state.TransparentColour);
}

void PartsWindow::windowLoaded()
{
    placeBesideMainWindow();
    setBackground(m_ui->transparentLabel, m_app.state.TransparentColour);
    pointListsAtImageFolder();
    m_pastePlace = QPoint(0, 0);
    m_pasteKind = PartKindId::User;
    // The boxes start from the design again: the user place is theirs.
    clampUserPlace();
}

void PartsWindow::placeBesideMainWindow()
{
    // 4250 twips from the left, 100 twips right of the main window as designed; a main window
    // grown for its menu bar pushes it further right by as much.
    constexpr int DesignedMainWidth = 262;
    const int grown = m_app.hasMainWindow() ? qMax(0, m_app.mainWindow().window()->width() - DesignedMainWidth) : 0;
    window()->move(twipsToPixels(4250) + grown, twipsToPixels(100));
}

void PartsWindow::pointListsAtImageFolder()
{
    // One read of the folders, the user's own parts with the program's, serves all eleven lists.
    const auto index = std::make_shared<const FolderIndex>(
        FileResolver::forKind(QStringLiteral("Image"), m_app.state.ImageFolder).listing());
    for (FileListBox *list : fileLists())
        list->setIndex(index);
}

void PartsWindow::showTransparentColour(Colour colour)
{
    setBackground(ui().transparentLabel, colour);
    preview().setBackColour(colour);
}

void PartsWindow::showUserPlace(QPoint pixel)
{
    ui().userPlaceX->setText(QString::number(pixel.x()));
    ui().userPlaceY->setText(QString::number(pixel.y()));
}

QSize PartsWindow::frameSize()
{
    QWidget *w = window();
    const QSize own = w->frameGeometry().size() - w->size();
    if (!own.isEmpty() || !m_app.hasMainWindow())
        return own;
    // Not framed yet: the main window wears the same frame.
    QWidget *main = m_app.mainWindow().window();
    return main->frameGeometry().size() - main->size();
}

void PartsWindow::beforeShow()
{
    // The rule's minimum is an outer size. Given to the window system before the window is mapped,
    // the window opens at its designed size wherever the frame allows, and no window manager has
    // to snap (and misplace) a freshly mapped window.
    window()->setMinimumSize(PartsLayout::minimumOuterPixels() - frameSize());
}

void PartsWindow::hostResized()
{
    if (!m_ui || !isLoaded())
        return;
    const QRect outer = window()->frameGeometry();
    applyLayout(outer.width() * TwipsPerPixel, outer.height() * TwipsPerPixel);
}

void PartsWindow::applyLayout(int W, int H)
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

    Ui::PartsWindow &u = *m_ui;
    FileListBox *left[] = {u.footList, u.rightArmList, u.leftArmList, u.tattooList, u.chainList};
    FileListBox *right[] = {u.faceList, u.pantsList, u.shirtList, u.glassesList, u.beardList};
    for (size_t k = 0; k < 5; ++k) {
        const int top = layout.rowTops[k];
        left[k]->setGeometry(PartsLayout::LeftColumnLeft, top, layout.listWidth, layout.rowHeight);
        right[k]->setGeometry(layout.rightColumnLeft, top, layout.listWidth, layout.rowHeight);
    }
    u.userList->resize(u.userList->width(), layout.userListHeight);
}

bool PartsWindow::loadPart(const FileListBox &list, const QString &name)
{
    const QString path = list.pathOf(name);
    Result<QImage> read = readBitmapFile(path);
    if (!read) {
        m_app.showMessage(ErrorText::loadPartFailed(name, read.error()));
        return false;
    }
    Picture part = Picture::make(std::move(read).value());
    part.file = path;
    part.part = part.image;
    preview().setBackColour(m_app.state.TransparentColour);
    preview().setPicture(std::move(part));
    return true;
}

void PartsWindow::pickKindPart(const PartKind &kind, FileListBox *list)
{
    if (!kind.place || list->fileName().isEmpty())
        return;
    if (!loadPart(*list, list->fileName()))
        return;
    const QPoint place = *kind.place;
    if (ui().autoPaste->isChecked())
        pastePreview(place, kind.kind);
    rememberPastePlace(place, kind.kind);
}

void PartsWindow::pickUserPart()
{
    const QString name = ui().userList->fileName();
    if (name.isEmpty() || !loadPart(*ui().userList, name))
        return;
    const QLocale locale;
    const std::optional<qint32> x = coordinateToInt(ui().userPlaceX->text(), locale);
    const std::optional<qint32> y = coordinateToInt(ui().userPlaceY->text(), locale);
    if (!x || !y) {
        // No place, no paste: the part waits in the preview and the last place stays.
        m_app.setStatus(StatusText::userFileWithoutPlace(name, x.has_value(), y.has_value()));
        return;
    }
    if (ui().autoPaste->isChecked())
        pastePreview(QPoint(*x, *y), PartKindId::User);
    rememberPastePlace(QPoint(*x, *y), PartKindId::User);
    m_app.setStatus(StatusText::userFile(name));
}

void PartsWindow::showUserListHint()
{
    m_app.setStatus(StatusText::userFileList());
}

void PartsWindow::filterUserList()
{
    ui().userList->setPattern(userListPattern(ui().userPrefix->text()));
}

void PartsWindow::clampUserPlace()
{
    const QLocale locale;
    for (QLineEdit *box : {ui().userPlaceX, ui().userPlaceY}) {
        if (const auto clamped = clampedText(box->text(), locale))
            box->setText(*clamped);
    }
    const std::optional<qint32> x = coordinateToInt(ui().userPlaceX->text(), locale);
    const std::optional<qint32> y = coordinateToInt(ui().userPlaceY->text(), locale);
    m_app.reportUserPlace(x && y ? std::optional<QPoint>(QPoint(*x, *y)) : std::nullopt);
}

void PartsWindow::switchAutoPaste()
{
    ui().pasteNow->setEnabled(!ui().autoPaste->isChecked());
}

void PartsWindow::pasteChosenPart()
{
    pastePreview(m_pastePlace, m_pasteKind);
}

void PartsWindow::pasteOnPreviewClick()
{
    if (!ui().autoPaste->isChecked())
        pastePreview(m_pastePlace, m_pasteKind);
}

void PartsWindow::pastePreview(QPoint place, PartKindId kind)
{
    // The step says what the preview shows: the part as it was read, the knobs' tint on it, the
    // colour left out around it. The document renders it onto the canvas and records it.
    const Picture &shown = preview().picture();
    PasteStep step;
    step.kind = kind;
    step.part = shown.file;
    step.place = place;
    step.transparent = m_app.state.TransparentColour;
    step.tint = shown.tint;
    // The picture shown before any pick names no file and carries no part: the built-in one.
    m_app.skin().paste(step,
                       shown.part.isNull() && shown.file.isEmpty() ? SkinDocument::builtInPreview().image : shown.part);
}

void PartsWindow::rememberPastePlace(QPoint place, PartKindId kind)
{
    m_pastePlace = place;
    m_pasteKind = kind;
    m_app.notifyPreviewChanged();
}

void PartsWindow::showTintWindow()
{
    m_app.tintWindow().show();
}

void PartsWindow::showSettings()
{
    m_app.settingsDialog().show();
}

} // namespace pellwerk
