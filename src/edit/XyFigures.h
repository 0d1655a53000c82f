#pragma once

#include "edit/XyPath.h"

namespace lumetra {

// The nine figures of "Создание Фигур ", in button order.
enum class XyFigure { Line, Triangle, Rectangle, Cross, Snake, Circle, Eight, FourLeaf, Spiral };

// What a figure is drawn from: the scene range, the size slider (20..250)
// and the option slider (0..10).
struct FigureParams {
    XyRange range;
    int size = 200;
    int option = 7;
};

enum class FigureResult {
    Done,
    TooFewScenes,  // nothing written: the figure needs a longer range
};

// Whether a figure needs at least two scenes in its range. The snake and
// the circular figures spread their steps over the range and cannot be
// drawn on one scene; the straight figures can (their first point).
bool needsTwoScenes(XyFigure figure);

// Fills the range with one point per scene of the figure, for pair 1 at
// firstChannel. Straight figures are clamped to 0..255 per coordinate, the
// circular ones stored as computed. Nothing is ever written outside the
// range: the fixed side lengths of the short triangle, rectangle and X
// figure that would reach past its end are dropped.
FigureResult makeFigure(ShowMemory& show, int firstChannel, XyFigure figure,
                        const FigureParams& params);

}  // namespace lumetra
