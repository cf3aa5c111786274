// The lines of the vertical diameter dimension: the fit test that may move
// the text position out beyond the nearer extension line, the extension
// lines, the dimension line and its run-out to an outside text, the four
// arrowhead strokes (inside, or outside with a tail for a small diameter).
#pragma once

#include "input/drawing_context.h"
#include "output/records.h"
#include "run/run_parameters.h"

namespace diadim {

// Where the texts lie along the dimension line, on the final y4.
enum class TextPosition {
  between,  // y1 < y4 < y2
  above,    // y4 > y2
  below,    // y4 < y1
  none,     // y4 equal to y1 or y2: no text is drawn
};

TextPosition TextPositionOf(double y1, double y2, double y4);

struct DimensionGeometry {
  double y4 = 0;  // the text position after the fit test and relocation
  Record extensionLine1;
  Record extensionLine2;
  Record dimensionLine;
  Record textRunLine;  // empty unless the texts are above or below
  Record arrowStroke1;
  Record arrowStroke2;
  Record arrowStroke3;
  Record arrowStroke4;
  Record arrowTailLine;  // empty unless the arrowheads are outside
};

// `valueWidth` and `toleranceWidth` are already multiplied by S.
DimensionGeometry ComposeDimensionGeometry(const DrawingContext& context,
                                           const RunParameters& parameters, double valueWidth,
                                           double toleranceWidth);

}  // namespace diadim
