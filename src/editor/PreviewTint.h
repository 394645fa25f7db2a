#pragma once

#include "colour/PixelBuffer.h"
#include "colour/PixelBufferInfo.h"
#include "core/PictureBoxModel.h"
#include "core/Result.h"
#include "core/UserRgb.h"

#include <QImage>
#include <QString>

namespace pellwerk {

// What the colour window's knobs do to the part preview, without the window: the picture the box
// shows is read into a source buffer, and each turn corrects the source into a target buffer
// (each channel raised by its knob, capped at 255) and writes that over the box's picture. The
// source stays as read, whatever the box shows later, until the next load.
class PreviewTint
{
public:
    // Starts again from what `box` shows: the buffers are emptied, then the picture is read into
    // them. After a failure (NoPictureInfo, NoPictureData) they hold no picture.
    Result<void> load(const PictureBoxModel &box);
    // Reads what `box` shows over what the buffers hold.
    Result<void> read(const PictureBoxModel &box);
    // Whether the buffers hold a picture for the knobs to correct: not after a failed read.
    bool holdsPicture() const;
    // Shows in `box` the picture read, corrected by `knobs`; the box then says which part the
    // pixels come from and the tint they carry. Without a picture nothing happens. A failure to
    // show it (NoPictureCopy) leaves the box as it was.
    Result<void> apply(PictureBoxModel &box, const UserRgb &knobs);

private:
    // The picture as read; knobs never change it.
    PixelBuffer m_sourcePixels;
    // The corrected pixels, written into the box after each turn.
    PixelBuffer m_targetPixels;
    // Its Target descriptor is what is written into the box.
    PixelBufferInfo m_pixelInfo;
    // Where the picture read came from, and its tint then.
    QString m_sourceFile;
    QImage m_sourcePart;
    UserRgb m_sourceTint;
};

} // namespace pellwerk
