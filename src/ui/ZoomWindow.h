#pragma once

#include "Form.h"
#include "compose/KeyColourLint.h"
#include "editor/StatusText.h"

#include <QPoint>
#include <optional>

PELLWERK_DECLARE_DESIGN(ZoomWindow)

namespace pellwerk {

class ZoomView;

// The zoom window: the live canvas magnified, with a grid, where the previewed part would land
// and what its pixels will do, the pointer's pixel and colour, and the counts of the key-colour
// check. It follows the program through App's signals; a click sets the user place like a press
// on the canvas, and files dropped on it open like "öffnen".
//
// The grid and overlay switches and K hold for the whole run; the zoom starts each time the
// window is built at the largest that shows the whole skin.
class ZoomWindow : public DesignedForm<Ui::ZoomWindow>
{
    Q_OBJECT
public:
    explicit ZoomWindow(App &app);

    ZoomView *view();
    int zoom() const { return m_zoom; }
    // Zooms to `zoom` (clamped to 1..16), keeping the skin point under `anchor` (a point of the
    // scroll area's viewport) in place as far as the scroll bars allow.
    void setZoom(int zoom, QPoint anchor);
    // The same around the middle of what the window shows.
    void setZoom(int zoom);

    // A click chooses the user place, as a press on the canvas does; the pointer's pixel and its
    // colour show below the view.
    void chooseUserPlace(QPoint pixel);
    void showPointerPixel(std::optional<QPoint> pixel);

protected:
    void setUpWindow(QWidget *host) override;
    void windowLoaded() override;
    void applyLanguageText(const KeyRow &row, const QString &text) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectKeys(QWidget *host);
    void showCanvas();
    void showOverlay();
    void showPointer();
    QPoint viewportCentre();

    int m_zoom = 1;
    bool m_grid = true;
    bool m_overlay = true;
    int m_nearLimit = DefaultNearLimit;
    std::optional<QPoint> m_pointer;
    QString m_countsWords = QString::fromUtf16(StatusText::KeyColourCountsWords);
};

} // namespace pellwerk
