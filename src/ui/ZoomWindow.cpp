#include "ZoomWindow.h"

#include "App.h"
#include "FileDrop.h"
#include "ZoomView.h"
#include "editor/StatusText.h"
#include "editor/ZoomGeometry.h"
#include "language/KeyTable.h"
#include "ui_ZoomWindow.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>

namespace pellwerk {

template class DesignedForm<Ui::ZoomWindow>;

ZoomWindow::ZoomWindow(App &app) : DesignedForm(app, QStringLiteral("ZoomWindow"))
{
    const auto whenLoaded = [this](void (ZoomWindow::*show)()) {
        return [this, show] {
            if (isLoaded())
                (this->*show)();
        };
    };
    connect(&app.canvas(), &PictureBoxModel::changed, this, whenLoaded(&ZoomWindow::showCanvas));
    connect(&app, &App::previewChanged, this, whenLoaded(&ZoomWindow::showOverlay));
    connect(&app, &App::transparentColourChanged, this, whenLoaded(&ZoomWindow::showOverlay));
    connect(&app, &App::userPlaceChanged, this, whenLoaded(&ZoomWindow::showOverlay));
    connect(&app.skin(), &SkinCanvas::selectionChanged, this, whenLoaded(&ZoomWindow::showOverlay));
}

ZoomView *ZoomWindow::view()
{
    return ui().View;
}

void ZoomWindow::setUpWindow(QWidget *host)
{
    Ui::ZoomWindow &u = *m_ui;
    u.LeftOutSwatch->setMark(KeyMark::LeftOut);
    u.NearSwatch->setMark(KeyMark::Near);
    u.FringeSwatch->setMark(KeyMark::Fringe);
    u.PointerText->hide();
    u.ViewArea->horizontalScrollBar()->setAccessibleName(QStringLiteral("Waagerecht verschieben"));
    u.ViewArea->verticalScrollBar()->setAccessibleName(QStringLiteral("Senkrecht verschieben"));

    connect(u.ZoomBox, &QSpinBox::valueChanged, this, [this](int zoom) { setZoom(zoom); });
    connect(u.GridCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_grid = on;
        view()->setGridShown(on);
    });
    connect(u.OverlayCheck, &QCheckBox::toggled, this, [this](bool on) {
        m_overlay = on;
        view()->setOverlayShown(on);
    });
    connect(u.NearBox, &QSpinBox::valueChanged, this, [this](int limit) {
        m_nearLimit = limit;
        showOverlay();
    });

    ZoomView *view = u.View;
    connect(view, &ZoomView::leftPressed, this, &ZoomWindow::chooseUserPlace);
    connect(view, &ZoomView::pointerOver, this, &ZoomWindow::showPointerPixel);
    connect(view, &ZoomView::zoomStepped, this,
            [this, view](int steps, QPoint at) { setZoom(m_zoom + steps, view->mapToParent(at)); });
    connect(view, &ZoomView::dragged, this, [this](QPoint delta) {
        QScrollArea *area = m_ui->ViewArea;
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->value() - delta.x());
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->value() - delta.y());
    });
    // Zooming and scrolling move the skin under a pointer that stays where it is.
    const auto followPointer = [this] { showPointerPixel(m_ui->View->pixelUnderPointer()); };
    connect(u.ViewArea->horizontalScrollBar(), &QScrollBar::valueChanged, this, followPointer);
    connect(u.ViewArea->verticalScrollBar(), &QScrollBar::valueChanged, this, followPointer);
    connectKeys(host);

    // A bitmap dropped anywhere on the window opens like "öffnen".
    host->setAcceptDrops(true);
    host->installEventFilter(this);
    view->installEventFilter(this);
}

void ZoomWindow::connectKeys(QWidget *host)
{
    const auto key = [host](QKeySequence sequence, auto slot) {
        connect(new QShortcut(sequence, host), &QShortcut::activated, host, slot);
    };
    key(QKeySequence(Qt::Key_G), [this] { m_ui->GridCheck->toggle(); });
    key(QKeySequence(Qt::Key_O), [this] { m_ui->OverlayCheck->toggle(); });
    // Ctrl and "=" too: on many keyboards "+" is Shift and "=".
    for (const QKeySequence &in : {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)})
        key(in, [this] { setZoom(m_zoom + 1); });
    key(QKeySequence(QKeySequence::ZoomOut), [this] { setZoom(m_zoom - 1); });
}

void ZoomWindow::windowLoaded()
{
    m_app.applyLanguageTo(name());
    Ui::ZoomWindow &u = *m_ui;
    {
        const QSignalBlocker quietGrid(u.GridCheck);
        const QSignalBlocker quietOverlay(u.OverlayCheck);
        const QSignalBlocker quietNear(u.NearBox);
        u.GridCheck->setChecked(m_grid);
        u.OverlayCheck->setChecked(m_overlay);
        u.NearBox->setValue(m_nearLimit);
    }
    u.View->setGridShown(m_grid);
    u.View->setOverlayShown(m_overlay);
    showCanvas();
    showOverlay();
    // The designed size decides the first zoom: the whole skin, as large as it fits.
    window()->layout()->activate();
    m_zoom = u.View->zoom();
    setZoom(ZoomGeometry::fittingZoom(u.ViewArea->maximumViewportSize()));
}

bool ZoomWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (m_ui && watched == m_ui->View && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        // The view is larger than what shows of it: its scroll area's border says it has the keys.
        m_ui->ViewArea->setStyleSheet(event->type() == QEvent::FocusIn
                                          ? QStringLiteral("#ViewArea { border: 2px solid palette(highlight); }")
                                          : QString());
    }
    if (m_ui && watched == window()) {
        if (const QStringList files = handleFileDrop(event); !files.isEmpty())
            m_app.openDroppedFiles(files);
    }
    return Form::eventFilter(watched, event);
}

QPoint ZoomWindow::viewportCentre()
{
    return m_ui->ViewArea->viewport()->rect().center();
}

void ZoomWindow::applyLanguageText(const KeyRow &row, const QString &text)
{
    // The counts' sentence is no control's text: it is filled in at every change of the preview.
    if (row.control == QLatin1String("countsWords")) {
        m_countsWords = text;
        if (isLoaded())
            showOverlay();
        return;
    }
    Form::applyLanguageText(row, text);
}

void ZoomWindow::setZoom(int zoom)
{
    setZoom(zoom, viewportCentre());
}

void ZoomWindow::setZoom(int zoom, QPoint anchor)
{
    zoom = ZoomGeometry::clampZoom(zoom);
    Ui::ZoomWindow &u = ui();
    if (zoom != m_zoom) {
        // The view's place in the viewport is where the scroll bars have moved it, or the margin
        // that centres a skin smaller than the viewport.
        const QPoint scroll = -u.View->pos();
        const QPoint wanted = ZoomGeometry(m_zoom).scrollForZoom(zoom, anchor, scroll);
        m_zoom = zoom;
        u.View->setZoom(zoom);
        u.ViewArea->horizontalScrollBar()->setValue(wanted.x());
        u.ViewArea->verticalScrollBar()->setValue(wanted.y());
        showPointerPixel(u.View->pixelUnderPointer());
    }
    const QSignalBlocker quiet(u.ZoomBox);
    u.ZoomBox->setValue(zoom);
}

void ZoomWindow::showCanvas()
{
    view()->setCanvas(m_app.canvas().surface());
    showPointer();
}

void ZoomWindow::showOverlay()
{
    const QImage &part = m_app.preview().picture().image;
    const AppState &state = m_app.state;
    // The preview's picture already carries the knobs' tint.
    ZoomOverlay overlay{{}, {}, lintKeyColour(part, state.TransparentColour, {}, m_nearLimit), m_app.userPlace()};
    if (const std::optional<QPoint> place = m_app.previewPlace()) {
        const QSize cut(state.PartRect.Right - state.PartRect.Left, state.PartRect.Bottom - state.PartRect.Top);
        overlay.place = *place;
        overlay.landing = landingRect(*place, part.size(), cut);
    }
    const SkinCanvas &skin = m_app.skin();
    if (const int selected = skin.selectedStep(); selected >= 0)
        overlay.selected =
            landingRect(skin.document().steps()[size_t(selected)].place, skin.document().partOf(selected).size());
    const KeyColourLint &lint = overlay.marks;
    ui().CountsText->setText(StatusText::keyColourCounts(lint.leftOut, lint.near, lint.fringe, m_countsWords));
    view()->setOverlay(std::move(overlay));
}

void ZoomWindow::showPointer()
{
    QLabel *text = ui().PointerText;
    const QImage &skin = view()->canvas();
    if (!m_pointer || !skin.rect().contains(*m_pointer)) {
        text->hide();
        return;
    }
    text->setText(StatusText::pixel(*m_pointer, Colour::fromQRgb(skin.pixel(*m_pointer))));
    text->show();
}

void ZoomWindow::showPointerPixel(std::optional<QPoint> pixel)
{
    m_pointer = pixel;
    showPointer();
}

void ZoomWindow::chooseUserPlace(QPoint pixel)
{
    // What a press on the canvas does.
    m_app.setUserPlace(pixel);
    m_app.setStatus(StatusText::position(pixel));
}

} // namespace pellwerk
