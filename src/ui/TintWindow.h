#pragma once

#include "Form.h"
#include "core/UserRgb.h"
#include "editor/PreviewTint.h"

#include <QtGlobal>

class QDial;

PELLWERK_DECLARE_DESIGN(TintWindow)

namespace pellwerk {
// The colour-correction window: three knobs whose values are added to the red, green and blue
// of every pixel of the part preview, capped at 255. The knob values are the user colour, which
// doubles as the transparent colour while that is "User".
//
// The preview is read into the buffers only when the window loads (at its creation and at the
// first showing after the close box); "OK" merely hides it, so a part picked meanwhile is not
// read and the next knob turn puts the corrected earlier part back.
class TintWindow : public DesignedForm<Ui::TintWindow>
{
    Q_OBJECT
public:
    explicit TintWindow(App &app);

    QDial *redKnob();
    QDial *greenKnob();
    QDial *blueKnob();

    // Runs once, right after the instance is made: loads the window (its first windowLoaded) and
    // then reads the preview once more, silently.
    void initialize();
    // Cuts the window to its eight-cornered outline.
    void applyWindowShape();

    // A turn of a knob: the preview corrected by the three knob values.
    void correctRed();
    void correctGreen();
    void correctBlue();

protected:
    void setUpWindow(QWidget *host) override;
    void windowLoaded() override;
    void windowUnloading() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeBelowPartsWindow();
    void setKnobsFromUserColour();
    void setCaption();
    void knobChanged(QDial *knob, qint32 UserRgb::*component);

    QPoint m_shapeOffset;
    // The preview as read when the window loaded, and the knobs' work on it.
    PreviewTint m_tint;
};

} // namespace pellwerk
