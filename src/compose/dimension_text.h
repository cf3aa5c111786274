// The value text: D rounded to `decimals` places with the diameter symbol
// before or after it, in half-width or full-width characters, and its
// estimated drawing width.
#pragma once

#include <string>

#include "input/drawing_context.h"
#include "run/run_parameters.h"

namespace diadim {

struct DimensionText {
  std::string text;
  double width = 0;  // already multiplied by S; 0 when digitForm is neither 0 nor 1
};

// Throws an invalid-argument error for a negative number of decimal places.
DimensionText BuildDimensionText(const RunParameters& parameters, const DrawingContext& context);

}  // namespace diadim
