// The four text records along the dimension line: value text, class label
// and the deviation block, one after the other upward, centred between the
// extension lines or starting (above) or ending (below) at the text position.
#pragma once

#include "compose/dimension_text.h"
#include "compose/tolerance.h"
#include "input/drawing_context.h"
#include "output/records.h"
#include "run/run_parameters.h"

namespace diadim {

struct TextPlacement {
  Record upperDeviationRecord;  // always empty in single-line mode
  Record lowerDeviationRecord;
  Record classLabelRecord;
  Record valueTextRecord;
};

// `y4` is the final text position of the geometry; with position none every
// record stays empty.
TextPlacement PlaceTexts(const DrawingContext& context, const RunParameters& parameters, double y4,
                         const DimensionText& text, const ToleranceSpec& tolerance);

}  // namespace diadim
