#include "RGB_Frm.h"
#include "WidgetColours.h"

#include "App.h"
#include "TeileFrm.h"
#include "colour/ColourCorrection.h"
#include "colour/PictureBits.h"
#include "core/Colour.h"
#include "core/ErrorText.h"
#include "core/Twips.h"
#include "ui_RGB_Frm.h"

#include <QDial>
#include <QEvent>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPolygon>
#include <QPushButton>
#include <QRegion>
#include <QSignalBlocker>
#include <utility>

namespace pellwerk {

template class DesignedForm<Ui::RGB_Frm>;

namespace {
constexpr int BelowPartsWindowTwips = 4300;
constexpr int LeftOfPartsWindowTwips = 70;
} // namespace

RGB_Frm::RGB_Frm(App &app) : DesignedForm(app, QStringLiteral("RGB_Frm")) {}

QDial *RGB_Frm::KnobR()
{
    return ui().KnobR;
}

QDial *RGB_Frm::KnobG()
{
    return ui().KnobG;
}

QDial *RGB_Frm::KnobB()
{
    return ui().KnobB;
}

void RGB_Frm::setUpWindow(QWidget *host)
{
    // A small tool window: short title bar with a close box only, not in the task bar.
    host->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    host->setFixedSize(150, 99);

    QFont labelFont(QStringLiteral("MS Sans Serif"));
    labelFont.setPointSizeF(9.75);
    for (QLabel *label : {m_ui->Label1, m_ui->Label2, m_ui->Label3})
        label->setFont(labelFont);
    setTextColour(m_ui->Label1, Colour(0x0000FF));
    setTextColour(m_ui->Label2, Colour(0x004000));
    setTextColour(m_ui->Label3, Colour(0xFF0000));

    connect(m_ui->KnobR, &QDial::valueChanged, this, &RGB_Frm::KnobR_Change);
    connect(m_ui->KnobG, &QDial::valueChanged, this, &RGB_Frm::KnobG_Change);
    connect(m_ui->KnobB, &QDial::valueChanged, this, &RGB_Frm::KnobB_Change);
    connect(m_ui->Command1, &QPushButton::clicked, this, &RGB_Frm::Command1_Click);
    host->installEventFilter(this);
}

void RGB_Frm::Form_Initialize()
{
    // Placing the window needs the window: its first load happens here, inside the creation.
    ensureLoaded();
    placeBelowPartsWindow();
    setKnobsFromUserColour();
    setCaption();
    readPreview(false);
}

void RGB_Frm::Form_Load()
{
    ApplyWindowShape();
    placeBelowPartsWindow();
    setKnobsFromUserColour();
    setCaption();
    SourcePixels.redimension(0, 1, 0, 1);
    TargetPixels.redimension(0, 1, 0, 1);
    readPreview(true);
    // After a failed read the target has to match the source's bounds again; after a good one
    // this leaves it zeroed until the first knob change fills it.
    TargetPixels.redimension(1, SourcePixels.upperBound(1), 1, SourcePixels.upperBound(2));
    pointAt(PixelInfo.Target, TargetPixels);
    m_app.teileFrm().focusPreview();
}

void RGB_Frm::Form_Unload()
{
    hide();
}

void RGB_Frm::ApplyWindowShape()
{
    static const QPolygon outline({{3, 15}, {16, 3}, {129, 3}, {142, 16}, {142, 55}, {129, 103}, {15, 103}, {3, 55}});
    // The corners are measured from the top-left of the whole window, frame included, while a
    // mask is laid over the client area alone: shift them by the frame's width and title height.
    // The window manager may tell that offset only once the window is framed (it is 0 until then
    // and on platforms without frames), so the event filter cuts again when it changes.
    QWidget *w = window();
    m_shapeOffset = w->geometry().topLeft() - w->frameGeometry().topLeft();
    w->setMask(QRegion(outline.translated(-m_shapeOffset), Qt::WindingFill));
}

bool RGB_Frm::eventFilter(QObject *watched, QEvent *event)
{
    if (isLoaded() && watched == window() && (event->type() == QEvent::Show || event->type() == QEvent::Move)) {
        QWidget *w = window();
        if (w->geometry().topLeft() - w->frameGeometry().topLeft() != m_shapeOffset)
            ApplyWindowShape();
    }
    return Form::eventFilter(watched, event);
}

void RGB_Frm::placeBelowPartsWindow()
{
    // Positions are those of the outer frames, as the window system places windows.
    const QPoint parts = m_app.teileFrm().window()->pos();
    const int top = twipsToPixels(parts.y() * TwipsPerPixel + BelowPartsWindowTwips);
    const int left = twipsToPixels(parts.x() * TwipsPerPixel - LeftOfPartsWindowTwips);
    window()->move(left, top);
}

void RGB_Frm::setKnobsFromUserColour()
{
    // Setting a knob here is not a user's turn: it must not correct buffers that may not be read yet.
    const UserRgb &colour = m_app.state.UserColour;
    const std::pair<QDial *, qint32> knobs[] = {
        {m_ui->KnobR, colour.red}, {m_ui->KnobG, colour.green}, {m_ui->KnobB, colour.blue}};
    for (const auto &[knob, value] : knobs) {
        const QSignalBlocker quiet(knob);
        knob->setValue(value);
    }
}

void RGB_Frm::setCaption()
{
    const UserRgb &colour = m_app.state.UserColour;
    window()->setWindowTitle(
        QStringLiteral("     RGB (%1, %2, %3)").arg(colour.red).arg(colour.green).arg(colour.blue));
}

void RGB_Frm::readPreview(bool showMessages)
{
    const Picture &shown = m_app.teileFrm().preview().picture();
    // Whether the read worked shows later in the buffers themselves (buffersHoldPicture).
    const Result<void> read = ReadPictureBits(shown, PixelInfo, SourcePixels, TargetPixels);
    if (read) {
        m_sourceFile = shown.file;
        m_sourcePart = shown.part;
        m_sourceTint = shown.tint;
    } else if (showMessages) {
        m_app.showMessage(ErrorText::describe(read.error()));
    }
}

bool RGB_Frm::buffersHoldPicture() const
{
    // False after a failed read: the source is then the 0..1 placeholder (no whole pixel) or the
    // descriptor no longer matches the target's storage.
    const BITMAP &target = PixelInfo.Target;
    return target.bmWidth > 0 && target.bmHeight > 0 && SourcePixels.sameBounds(TargetPixels)
           && SourcePixels.lowerBound(1) == 1 && SourcePixels.upperBound(1) == 4 * qint64(target.bmWidth)
           && SourcePixels.upperBound(2) == target.bmHeight && target.bmBits == TargetPixels.data();
}

void RGB_Frm::knobChanged(QDial *knob, qint32 UserRgb::*component)
{
    UserRgb colour = m_app.state.UserColour;
    colour.*component = knob->value();
    m_app.state.UserColour = colour;
    setCaption();
    // Without a picture in the buffers there is nothing to correct, and writing would only show a
    // failure box at every step of the turn; the load has already said that the read failed.
    if (buffersHoldPicture()) {
        CorrectColours(SourcePixels, TargetPixels, colour.red, colour.green, colour.blue);
        PictureBoxModel &preview = m_app.teileFrm().preview();
        if (const Result<void> written = WritePictureBits(preview, PixelInfo.Target); written)
            preview.setPictureSource(m_sourceFile, m_sourcePart, m_sourceTint.followedBy(colour));
        else
            m_app.showMessage(ErrorText::describe(written.error()));
    }
    // While the transparent colour is the user colour, it follows the knobs.
    m_app.setUserColour(colour);
}

void RGB_Frm::KnobR_Change()
{
    knobChanged(KnobR(), &UserRgb::red);
}

void RGB_Frm::KnobG_Change()
{
    knobChanged(KnobG(), &UserRgb::green);
}

void RGB_Frm::KnobB_Change()
{
    knobChanged(KnobB(), &UserRgb::blue);
}

void RGB_Frm::Command1_Click()
{
    hide();
}

} // namespace pellwerk
