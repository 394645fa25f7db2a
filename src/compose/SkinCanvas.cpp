#include "SkinCanvas.h"

#include "core/BitmapDecoder.h"
#include "core/SkinDocument.h"
#include "parts/TransparentBlit.h"

namespace pellwerk {

SkinCanvas::SkinCanvas(CompositionHistory::Limits limits, QObject *parent)
    : QObject(parent), m_model(QSize(SkinDocument::Size, SkinDocument::Size), Colours::Black, /*persistent*/ true),
      m_history(limits)
{
    m_model.setPicture(SkinDocument::defaultSkin());
}

void SkinCanvas::paste(const PictureBoxModel &preview, Rect32 partRect, const PasteStep &step)
{
    const QImage before = m_model.drawingImage().copy();
    const QRect written = pastePart(m_model, preview, partRect, step.place.x(), step.place.y(), step.transparent);
    m_history.push(HistoryStep::pasted(step), before, m_model.drawingImage(), written);
    emit historyChanged();
}

Result<void> SkinCanvas::open(const QString &path, const CompositionBase &base)
{
    Result<QImage> read = readBitmapFile(path);
    if (!read)
        return read.error();
    replace(Picture::make(std::move(read).value()), HistoryStep::rebased(base));
    m_history.markSaved();
    emit historyChanged();
    return {};
}

void SkinCanvas::rebuild(const QImage &skin, const Composition &composition, const QString &recipeFile)
{
    replace(Picture::make(skin), HistoryStep::rebuilt(composition, recipeFile));
    emit historyChanged();
}

void SkinCanvas::replace(Picture picture, HistoryStep step)
{
    const QImage before = m_model.drawingImage().copy();
    m_model.setPicture(std::move(picture));
    m_history.push(std::move(step), before, m_model.drawingImage(), before.rect());
}

Result<void> SkinCanvas::save(const QString &path)
{
    Result<void> saved = SkinDocument::save(m_model, path);
    if (saved) {
        m_history.markSaved();
        emit historyChanged();
    }
    return saved;
}

bool SkinCanvas::undo()
{
    if (!m_history.undo(m_model.drawingImage()))
        return false;
    m_model.refresh();
    emit historyChanged();
    return true;
}

bool SkinCanvas::redo()
{
    if (!m_history.redo(m_model.drawingImage()))
        return false;
    m_model.refresh();
    emit historyChanged();
    return true;
}

} // namespace pellwerk
