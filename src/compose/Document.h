#pragma once

#include "Composition.h"
#include "KeyColourLint.h"
#include "PartStore.h"
#include "colour/Palette.h"
#include "colour/RampMap.h"

#include <QImage>
#include <QMap>
#include <QPoint>
#include <QString>

#include <functional>
#include <vector>

namespace pellwerk {

class LayerCache;

// The skin being made, as the editor edits it and every file holds it: a base and an ordered list
// of steps (a Composition), with the decoded pictures they use. The skin is never stored: it is
// rendered from the document, by the same code the composer runs.
//
// A document is a value. Copies share their pictures (the base canvas and the PartStore), so the
// undo history keeps one copy per state at the cost of its step list. Every step's part is in the
// store from the moment the step is added, so rendering reads no file and cannot fail; so is every
// palette a step's ramp swap names (by its path, as for parts), put there before the step.
//
// Steps are counted from 0, the one painted first; an edit with an index outside the steps
// returns false and changes nothing.
class Document
{
public:
    // The default skin built into the program, no steps.
    Document();
    // `base` with `picture` (as read: the default skin, SkinNEW.bmp or an opened bitmap), no steps.
    Document(CompositionBase base, const QImage &picture);

    const CompositionBase &base() const { return m_composition.base; }
    // The base at the top-left of black 256 x 256 (baseCanvas), where rendering starts.
    const QImage &baseCanvas() const { return m_baseCanvas; }
    const std::vector<PasteStep> &steps() const { return m_composition.steps; }
    int stepCount() const { return int(m_composition.steps.size()); }
    const Composition &composition() const { return m_composition; }
    const PartStore &parts() const { return m_parts; }
    // The part picture step `index` pastes (null for an index outside the steps).
    QImage partOf(int index) const;
    // What step `index` pastes before the key test (stepLayer of its part), null outside the steps.
    QImage layerOf(int index) const;

    // Adds a step at the end (painted last), with `part`, the picture its part path names, as
    // decoded and before any tint. A step of a fixed kind is at its kind's place. The picture takes the place of one
    // stored for that path before, for every step that names it.
    void append(PasteStep step, const QImage &part);
    // Puts step `index` at position `to`, the steps between moving up or down by one.
    bool move(int index, int to);
    bool remove(int index);
    // Changes what a step is, except its kind and part: tint, place, colour, visible, mirrored,
    // ramp. `step.part` and `step.kind` must be the step's own (swapPart changes the part), a
    // step of a fixed kind keeps its kind's place (a recipe names no other), and a ramp swap's
    // palettes must be stored (addPalette) and hold as many colours as each other.
    bool change(int index, const PasteStep &step);
    // Stores the palette read from `path`, in place of one stored for it before, for every step
    // that names it. Palettes no step names are forgotten at the next change, removal or swap.
    void addPalette(const QString &path, const Palette &palette);
    const QMap<QString, Palette> &palettes() const { return m_palettes; }
    // The swap step `index` makes of its part's colours; the identity without one.
    RampMap rampOf(int index) const;
    // Step `index` pastes the part at `path` (picture `part`) instead; everything else stays.
    bool swapPart(int index, const QString &path, const QImage &part);

    // The skin: 256 x 256, Format_RGB32. With a cache, layers made before are taken from it.
    QImage render(LayerCache *cache = nullptr) const;
    // The key-colour check of step `index` as it will be pasted (tinted, mirrored, cut).
    KeyColourLint keyColourCheck(int index, int nearLimit = DefaultNearLimit) const;

    // Each picture the document holds, the base canvas first, then the parts by path.
    void forEachPicture(const std::function<void(const QImage &)> &visit) const;
    // Memory the document's own description takes (steps, paths, the store's entries), not
    // counting the pixels of its pictures. Strings shared with other copies are counted in full.
    qint64 descriptionBytes() const;

    // Equal base, steps and pictures (pixel for pixel).
    friend bool operator==(const Document &, const Document &) = default;

private:
    bool isStep(int index) const { return index >= 0 && index < stepCount(); }
    RampMap rampOf(const PasteStep &step) const;
    void keepNamedPalettes();

    Composition m_composition;
    QImage m_baseCanvas;
    PartStore m_parts;
    QMap<QString, Palette> m_palettes; // by path, as the steps' ramps name them
};

} // namespace pellwerk
