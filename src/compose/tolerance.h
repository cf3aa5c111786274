// The tolerance of the dimension: none ("z", "Z"), deviations from the
// "/U" and "/D" switches ("1"), or the first fitting row of the tolerance
// table for any other key.
//
// A table row is classKey/sizeLimit/upperText/lowerText; the table file's
// first item is never a candidate, only the first two characters of a row
// are compared with the key, and the row fits when D <= sizeLimit.
//
//   Items table = LoadToleranceTable(path);
//   ToleranceSpec spec = SettleTolerance(parameters, &table, context);
#pragma once

#include <string>

#include "input/drawing_context.h"
#include "input/items.h"
#include "run/run_parameters.h"

namespace diadim {

// The most items a tolerance table file may hold.
inline constexpr std::size_t kMaxToleranceTableItems = 1001;

struct ToleranceSpec {
  std::string classLabel;      // after the value text, e.g. "js6"; may be empty
  std::string upperDeviation;  // with its leading double quote once settled
  std::string lowerDeviation;  // the one deviation text in single-line mode
  bool singleLine = false;
  double classLabelWidth = 0;  // already multiplied by S
  double toleranceWidth = 0;   // class label plus deviation block, times S
};

// The table file's items (at most kMaxToleranceTableItems), read through the
// platform layer.
Items LoadToleranceTable(const std::string& path);

// `table` is null when the key needs no table.
ToleranceSpec SettleTolerance(const RunParameters& parameters, const Items* table,
                              const DrawingContext& context);

}  // namespace diadim
