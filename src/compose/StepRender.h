#pragma once

#include "PasteStep.h"
#include "colour/RampMap.h"
#include "core/Result.h"

#include <QImage>

#include <cstddef>
#include <functional>
#include <vector>

namespace pellwerk {

// The one way a skin is made from a base and its steps. The composer and the editor both render
// through renderSkin and stepLayer; they differ only in where the pictures come from, how long
// made layers are kept, and whether a hidden step's files must be readable.

// The canvas a document starts from: black 256 x 256 with `picture` at the top-left, cut to the
// skin. The default skin, SkinNEW.bmp and an opened bitmap all start so; a 256 x 256 RGB32 picture
// comes back as the same image data. Null when the canvas cannot be allocated.
QImage baseCanvas(const QImage &picture);

// What a step pastes, from its part picture as decoded: the part with its colour ramp swapped by
// `ramp` (the map of the step's two palettes; the identity for a step without a swap), tinted (the knobs' capped
// additions), flipped left to right over its own width when mirrored, and cut to the preview's 148 x 191 area at the
// top-left, in this order. Format_RGB32, at most 148 x 191.
//
// Every stage either works pixel by pixel or moves whole pixels, so only the pixels that survive
// the cut are worked on; a part that is no larger and needs no stage comes back as the same image
// data. The key test is not part of it: the layer still holds the pixels that will be left out.
QImage stepLayer(const QImage &part, const PasteStep &step, const RampMap &ramp = {});

// The key test and the paste: every pixel of `layer` whose red, green and blue are not exactly
// those of `step.transparent` lands at `step.place` plus its position in the layer; what falls
// outside the skin is dropped. `skin` must be Format_RGB32. Whether the step is visible is the
// renderer's business.
void pasteLayer(QImage &skin, const QImage &layer, const PasteStep &step);

// What the renderer asks of the steps it renders. Only `layerOf` must be given.
struct StepSource
{
    // The layer of visible step `index`, as stepLayer makes it, or an error that stops the
    // rendering.
    std::function<Result<QImage>(std::size_t index)> layerOf;
    // Whether hidden step `index` could be painted. A hidden step paints nothing, but an error
    // here stops the rendering as a layer's does (a recipe naming a part nobody can read is broken,
    // shown or not). Empty: hidden steps are passed over unseen.
    std::function<Result<void>(std::size_t index)> checkHidden;
    // Told (steps done, all steps) before every 256th step and once all are done, so that a caller
    // can show how far a long recipe is.
    std::function<void(qsizetype done, qsizetype total)> progress;
};

// The skin: `canvas`, which shows the base (as baseCanvas makes it) and the first `from` steps,
// with every later visible step pasted over it, in order. The first error of the source is
// returned as it is.
Result<QImage> renderSkin(QImage canvas, const std::vector<PasteStep> &steps, const StepSource &source,
                          std::size_t from = 0);

} // namespace pellwerk
