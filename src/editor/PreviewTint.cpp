#include "PreviewTint.h"

#include "colour/ColourCorrection.h"
#include "colour/PictureBits.h"

namespace pellwerk {

Result<void> PreviewTint::load(const PictureBoxModel &box)
{
    m_sourcePixels.redimension(0, 1, 0, 1);
    m_targetPixels.redimension(0, 1, 0, 1);
    const Result<void> readResult = read(box);
    // After a failed read the target has to match the source's bounds again; after a good one
    // this leaves it zeroed until the first knob change fills it.
    m_targetPixels.redimension(1, m_sourcePixels.upperBound(1), 1, m_sourcePixels.upperBound(2));
    pointAt(m_pixelInfo.Target, m_targetPixels);
    return readResult;
}

Result<void> PreviewTint::read(const PictureBoxModel &box)
{
    const Picture &shown = box.picture();
    // Whether the read worked shows later in the buffers themselves (holdsPicture).
    const Result<void> read = ReadPictureBits(shown, m_pixelInfo, m_sourcePixels, m_targetPixels);
    if (read) {
        m_sourceFile = shown.file;
        m_sourcePart = shown.part;
        m_sourceTint = shown.tint;
    }
    return read;
}

bool PreviewTint::holdsPicture() const
{
    // False after a failed read: the source is then the 0..1 placeholder (no whole pixel) or the
    // descriptor no longer matches the target's storage.
    const BITMAP &target = m_pixelInfo.Target;
    return target.bmWidth > 0 && target.bmHeight > 0 && m_sourcePixels.sameBounds(m_targetPixels)
           && m_sourcePixels.lowerBound(1) == 1 && m_sourcePixels.upperBound(1) == 4 * qint64(target.bmWidth)
           && m_sourcePixels.upperBound(2) == target.bmHeight && target.bmBits == m_targetPixels.data();
}

Result<void> PreviewTint::apply(PictureBoxModel &box, const UserRgb &knobs)
{
    // Without a picture in the buffers there is nothing to correct, and writing would only fail
    // at every step of a turn; the load has already said that the read failed.
    if (!holdsPicture())
        return {};
    CorrectColours(m_sourcePixels, m_targetPixels, knobs.red, knobs.green, knobs.blue);
    const Result<void> written = WritePictureBits(box, m_pixelInfo.Target);
    if (written)
        box.setPictureSource(m_sourceFile, m_sourcePart, m_sourceTint.followedBy(knobs));
    return written;
}

} // namespace pellwerk
