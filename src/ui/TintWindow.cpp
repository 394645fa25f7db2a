#include "TintWindow.h"
#include "WidgetColours.h"

#include "App.h"
#include "PartsWindow.h"
#include "core/Colour.h"
#include "core/ErrorText.h"
#include "editor/Twips.h"
#include "ui_TintWindow.h"

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

template class DesignedForm<Ui::TintWindow>;

namespace {
constexpr int BelowPartsWindowTwips = 4300;
constexpr int LeftOfPartsWindowTwips = 70;
} // namespace

TintWindow::TintWindow(App &app) : DesignedForm(app, QStringLiteral("TintWindow")) {}

QDial *TintWindow::redKnob()
{
    return ui().redKnob;
}

QDial *TintWindow::greenKnob()
{
    return ui().greenKnob;
}

QDial *TintWindow::blueKnob()
{
    return ui().blueKnob;
}

void TintWindow::setUpWindow(QWidget *host)
{
    // A small tool window: short title bar with a close box only, not in the task bar.
    host->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    host->setFixedSize(150, 99);

    QFont labelFont(QStringLiteral("MS Sans Serif"));
    labelFont.setPointSizeF(9.75);
    for (QLabel *label : {m_ui->redLabel, m_ui->greenLabel, m_ui->blueLabel})
        label->setFont(labelFont);
    setTextColour(m_ui->redLabel, Colour(0x0000FF));
    setTextColour(m_ui->greenLabel, Colour(0x004000));
    setTextColour(m_ui->blueLabel, Colour(0xFF0000));

    connect(m_ui->redKnob, &QDial::valueChanged, this, &TintWindow::correctRed);
    connect(m_ui->greenKnob, &QDial::valueChanged, this, &TintWindow::correctGreen);
    connect(m_ui->blueKnob, &QDial::valueChanged, this, &TintWindow::correctBlue);
    connect(m_ui->okButton, &QPushButton::clicked, this, &TintWindow::hide);
    host->installEventFilter(this);
}

void TintWindow::initialize()
{
    // Placing the window needs the window: its first load happens here, inside the creation.
    ensureLoaded();
    placeBelowPartsWindow();
    setKnobsFromUserColour();
    setCaption();
    // Silently: the load has just said whether the preview can be read.
    (void)m_tint.read(m_app.partsWindow().preview());
}

void TintWindow::windowLoaded()
{
    applyWindowShape();
    placeBelowPartsWindow();
    setKnobsFromUserColour();
    setCaption();
    if (const Result<void> read = m_tint.load(m_app.partsWindow().preview()); !read)
        m_app.showMessage(ErrorText::describe(read.error()));
    m_app.partsWindow().focusPreview();
}

void TintWindow::windowUnloading()
{
    hide();
}

void TintWindow::applyWindowShape()
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

bool TintWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (isLoaded() && watched == window() && (event->type() == QEvent::Show || event->type() == QEvent::Move)) {
        QWidget *w = window();
        if (w->geometry().topLeft() - w->frameGeometry().topLeft() != m_shapeOffset)
            applyWindowShape();
    }
    return Form::eventFilter(watched, event);
}

void TintWindow::placeBelowPartsWindow()
{
    // Positions are those of the outer frames, as the window system places windows.
    const QPoint parts = m_app.partsWindow().window()->pos();
    const int top = twipsToPixels(parts.y() * TwipsPerPixel + BelowPartsWindowTwips);
    const int left = twipsToPixels(parts.x() * TwipsPerPixel - LeftOfPartsWindowTwips);
    window()->move(left, top);
}

void TintWindow::setKnobsFromUserColour()
{
    // Setting a knob here is not a user's turn: it must not correct buffers that may not be read yet.
    const UserRgb &colour = m_app.state.UserColour;
    const std::pair<QDial *, qint32> knobs[] = {
        {m_ui->redKnob, colour.red}, {m_ui->greenKnob, colour.green}, {m_ui->blueKnob, colour.blue}};
    for (const auto &[knob, value] : knobs) {
        const QSignalBlocker quiet(knob);
        knob->setValue(value);
    }
}

void TintWindow::setCaption()
{
    const UserRgb &colour = m_app.state.UserColour;
    window()->setWindowTitle(
        QStringLiteral("     RGB (%1, %2, %3)").arg(colour.red).arg(colour.green).arg(colour.blue));
}

void TintWindow::knobChanged(QDial *knob, qint32 UserRgb::*component)
{
    UserRgb colour = m_app.state.UserColour;
    colour.*component = knob->value();
    m_app.state.UserColour = colour;
    setCaption();
    // Without a picture in the buffers there is nothing to correct, and writing would only show a
    // failure box at every step of the turn; the load has already said that the read failed.
    if (m_tint.holdsPicture()) {
        if (const Result<void> written = m_tint.apply(m_app.partsWindow().preview(), colour); !written)
            m_app.showMessage(ErrorText::describe(written.error()));
    }
    // While the transparent colour is the user colour, it follows the knobs.
    m_app.setUserColour(colour);
}

void TintWindow::correctRed()
{
    knobChanged(redKnob(), &UserRgb::red);
}

void TintWindow::correctGreen()
{
    knobChanged(greenKnob(), &UserRgb::green);
}

void TintWindow::correctBlue()
{
    knobChanged(blueKnob(), &UserRgb::blue);
}

} // namespace pellwerk
