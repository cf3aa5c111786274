#include "input/drawing_context.h"

#include <array>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/number.h"
#include "base/text.h"
#include "platform/platform.h"

namespace diadim {
namespace {

bool BeginsWith(std::string_view item, std::string_view tag) {
  return item.substr(0, tag.size()) == tag;
}

std::string Where(std::size_t itemNumber, std::string_view item) {
  return "work file item " + std::to_string(itemNumber) + " " + Quoted(item);
}

// Piece `index` of `pieces` as a number. The index is a whole number held as
// a double, so a huge or negative text kind simply fails the bounds test.
double NumberPiece(const std::vector<std::string_view>& pieces, double index,
                   const std::string& where) {
  if (!(index >= 0 && index < static_cast<double>(pieces.size()))) {
    throw Error(ErrorKind::kOutOfRange, where + " has no value at position " + FormatNumber(index));
  }
  const auto piece = pieces[static_cast<std::size_t>(index)];
  return RequireNumber(piece, where + " position " + FormatNumber(index));
}

int LastDigit(std::string_view item, const std::string& where) {
  const char last = item.back();  // a tag is never empty
  if (last < '0' || last > '9') {
    throw Error(ErrorKind::kTypeMismatch, where + " does not end with a digit");
  }
  return last - '0';
}

double TextKindNumber(const std::string& kind, std::string_view name) {
  return WholeNumber(RequireNumber(kind, "parameter " + std::string(name)));
}

}  // namespace

Items ReadWorkFile(const std::string& path) {
  return ParseItems(platform::ReadFile(path), kMaxWorkFileItems, "the work file");
}

DrawingContext BuildDrawingContext(const Items& items, const RunParameters& parameters) {
  DrawingContext context;
  using MetricField = std::optional<double> TextMetrics::*;
  struct MetricTag {
    std::string_view tag;
    MetricField field;
  };
  static constexpr MetricTag kMetricTags[] = {
      {"hcw", &TextMetrics::charWidth},
      {"hcd", &TextMetrics::charSpacing},
      {"hch", &TextMetrics::charHeight},
  };
  static constexpr std::string_view kPointTags[] = {"hp1", "hp2", "hp3", "hp4"};
  std::array<std::optional<std::string_view>, 4> coordinates;

  // First scan: every test is tried on every item.
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string_view item = items[i];
    const std::string where = Where(i + 1, item);
    for (const MetricTag& metric : kMetricTags) {
      if (!BeginsWith(item, metric.tag)) continue;
      const auto pieces = Cut(item, " ");
      context.valueMetrics.*metric.field =
          NumberPiece(pieces, TextKindNumber(parameters.valueTextKind, "2 (valueTextKind)"), where);
      context.toleranceMetrics.*metric.field = NumberPiece(
          pieces, TextKindNumber(parameters.toleranceTextKind, "16 (toleranceTextKind)"), where);
    }
    if (BeginsWith(item, "lg")) context.layerGroup = LastDigit(item, where);
    for (std::size_t k = 0; k < 4; ++k) {
      if (!BeginsWith(item, kPointTags[k])) continue;
      const auto pieces = Cut(item, "   ");
      if (pieces.size() < 2) {
        throw Error(ErrorKind::kOutOfRange,
                    where + " holds no three spaces before its coordinates");
      }
      coordinates[k] = pieces[1];
    }
    if (BeginsWith(item, "ly")) context.layer = LastDigit(item, where);
  }

  // Second scan, once the layer group is final wherever "lg" stands.
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string_view item = items[i];
    if (!BeginsWith(item, "hs")) continue;
    context.scale = NumberPiece(Cut(item, " "), context.layerGroup + 1, Where(i + 1, item));
  }

  Point* points[] = {&context.p1, &context.p2, &context.p3, &context.p4};
  for (std::size_t k = 0; k < 4; ++k) {
    const std::string tag(kPointTags[k]);
    if (!coordinates[k]) {
      throw Error(ErrorKind::kOutOfRange, "the work file has no \"" + tag + "\" record");
    }
    const auto pieces = Cut(*coordinates[k], " ");
    const std::string where = "coordinates of \"" + tag + "\" " + Quoted(*coordinates[k]);
    if (pieces.size() < 2) throw Error(ErrorKind::kOutOfRange, where + " have no y");
    points[k]->x = RequireNumber(pieces[0], where + " x");
    points[k]->y = RequireNumber(pieces[1], where + " y");
  }

  // Only the y values change places: the extension lines start from P1's x.
  if (context.p2.y < context.p1.y) std::swap(context.p1.y, context.p2.y);
  context.diameter = context.p2.y - context.p1.y;
  return context;
}

}  // namespace diadim
