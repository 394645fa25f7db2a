#pragma once

#include "Form.h"
#include "colour/PixelBuffer.h"
#include "colour/PixelBufferInfo.h"
#include "core/AppState.h"

#include <QtGlobal>

class QDial;

PELLWERK_DECLARE_DESIGN(RGB_Frm)

namespace pellwerk {
// The colour-correction window: three knobs whose values are added to the red, green and blue
// of every pixel of the part preview, capped at 255. The knob values are the user colour, which
// doubles as the transparent colour while that is "User".
//
// The preview is read into the buffers only when the window loads (at its creation and at the
// first showing after the close box); "OK" merely hides it, so a part picked meanwhile is not
// read and the next knob turn puts the corrected earlier part back.
class RGB_Frm : public DesignedForm<Ui::RGB_Frm>
{
    Q_OBJECT
public:
    explicit RGB_Frm(App &app);

    QDial *KnobR();
    QDial *KnobG();
    QDial *KnobB();

    // The picture as read when the window loaded; knobs never change it.
    PixelBuffer SourcePixels;
    // The corrected pixels, written into the preview after each knob change.
    PixelBuffer TargetPixels;
    // Its Target descriptor is what is written into the preview.
    PixelBufferInfo PixelInfo;

    // Runs once, right after the instance is made: loads the window (its first Form_Load) and
    // then reads the preview once more, silently.
    void Form_Initialize();
    // Cuts the window to its eight-cornered outline.
    void ApplyWindowShape();

    void KnobR_Change();
    void KnobG_Change();
    void KnobB_Change();
    void Command1_Click();

protected:
    void setUpWindow(QWidget *host) override;
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeBelowPartsWindow();
    void setKnobsFromUserColour();
    void setCaption();
    void readPreview(bool showMessages);
    bool buffersHoldPicture() const;
    void knobChanged(QDial *knob, qint32 UserRgb::*component);

    QPoint m_shapeOffset;
    // Where the picture read into the buffers came from, and its tint then.
    QString m_sourceFile;
    QImage m_sourcePart;
    UserRgb m_sourceTint;
};

} // namespace pellwerk
