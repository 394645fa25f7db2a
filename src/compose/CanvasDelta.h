#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <vector>

namespace pellwerk {

// What one step changed on a canvas, kept small: for every changed pixel the XOR of its red,
// green and blue before and after (3 bytes), gathered in runs of changed pixels. Applying the
// delta XORs those bytes into the canvas, so it turns "before" into "after" and "after" into
// "before", bit for bit; the reserved (alpha) byte of a pixel is never touched.
//
// Runs are counted in row-major pixel order over the whole picture, so one run may continue into
// the next row: a step that replaced the whole canvas costs one run, not one per row. Gaps of up
// to two unchanged pixels are kept inside a run (their XOR is zero) because a new run costs more
// than the three bytes per pixel it would save. So a delta holds at most 3 bytes per pixel of the
// compared area plus one run per row of it (one run in all when the area spans whole rows).
class CanvasDelta
{
public:
    CanvasDelta() = default;

    // The difference of two pictures of one size within `area` (cut to the pictures; only that
    // area is read, so a paste passes the rectangle it drew into). Pictures of another format than
    // Format_RGB32 are compared through an RGB32 copy. Equal pictures give an empty delta, and so
    // do pictures of different sizes, null pictures and pictures of 2^32 pixels or more: there is
    // no step between those that the delta could toggle.
    static CanvasDelta between(const QImage &before, const QImage &after, QRect area);

    // Toggles `canvas` between the two states. Returns false, leaving the canvas untouched, when
    // the canvas is not a Format_RGB32 picture of the size the delta was made for. An empty delta
    // fits every canvas and changes nothing.
    bool apply(QImage &canvas) const;

    bool isEmpty() const { return m_runs.empty(); }
    // The picture size the delta was made for.
    QSize size() const { return m_size; }
    // Memory the delta holds, this object and its buffers counted at their capacity.
    qint64 bytes() const;

private:
    struct Run
    {
        quint32 start;  // pixel index y * width + x
        quint32 length; // pixels
    };

    QSize m_size;
    std::vector<Run> m_runs;   // in increasing order of start, not overlapping
    std::vector<quint8> m_xor; // 3 bytes (blue, green, red) per pixel of the runs, in order
};

} // namespace pellwerk
