// The drawing as the host describes it in the work file.
//
// ReadWorkFile reads the work file's items; BuildDrawingContext finds the
// records among them ("hcw", "hcd", "hch", "lg", "ly", "hs", "hp1" to
// "hp4") and derives the metrics of the two text kinds, the layer group and
// layer, the scale factor S, the four picked points with y1 <= y2, and D.
#pragma once

#include <optional>
#include <string>

#include "input/items.h"
#include "run/run_parameters.h"

namespace diadim {

// The most items a work file may hold.
inline constexpr std::size_t kMaxWorkFileItems = 50;

// Metrics of one text kind, in the units of the command-line sizes. A value
// whose record the work file lacks is unset and counts as 0.
struct TextMetrics {
  std::optional<double> charWidth;
  std::optional<double> charSpacing;
  std::optional<double> charHeight;
};

struct Point {
  double x = 0;
  double y = 0;
};

struct DrawingContext {
  TextMetrics valueMetrics;
  TextMetrics toleranceMetrics;
  int layerGroup = 0;           // 0 to 9; 0 without an "lg" record
  std::optional<int> layer;     // 0 to 9; unset without an "ly" record
  std::optional<double> scale;  // S of the current layer group
  Point p1, p2, p3, p4;         // y of p1 <= y of p2 after ordering
  double diameter = 0;          // D = y2 - y1
};

// The value of an unset metric or scale in arithmetic.
inline double ValueOrZero(const std::optional<double>& value) { return value.value_or(0.0); }

// The work file's items (at most kMaxWorkFileItems), read through the
// platform layer.
Items ReadWorkFile(const std::string& path);

DrawingContext BuildDrawingContext(const Items& items, const RunParameters& parameters);

}  // namespace diadim
