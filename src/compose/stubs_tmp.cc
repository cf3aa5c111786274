// Temporary placeholders until the composition lands: empty drawing records.
#include "compose/dimension_text.h"
#include "compose/geometry.h"
#include "compose/text_placement.h"
#include "compose/tolerance.h"
#include "platform/platform.h"

namespace diadim {
Items LoadToleranceTable(const std::string& path) {
  return ParseItems(platform::ReadFile(path), kMaxToleranceTableItems, "the tolerance table");
}
ToleranceSpec SettleTolerance(const RunParameters&, const Items*, const DrawingContext&) { return {}; }
DimensionText BuildDimensionText(const RunParameters&, const DrawingContext&) { return {}; }
TextPosition TextPositionOf(double y1, double y2, double y4) {
  if (y4 > y2) return TextPosition::above;
  if (y4 < y1) return TextPosition::below;
  if (y4 == y1 || y4 == y2) return TextPosition::none;
  return TextPosition::between;
}
DimensionGeometry ComposeDimensionGeometry(const DrawingContext& c, const RunParameters&, double, double) {
  DimensionGeometry g; g.y4 = c.p4.y; return g;
}
TextPlacement PlaceTexts(const DrawingContext&, const RunParameters&, double, const DimensionText&, const ToleranceSpec&) { return {}; }
}  // namespace diadim
