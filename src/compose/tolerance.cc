#include "compose/tolerance.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "base/number.h"
#include "base/text.h"
#include "platform/platform.h"

namespace diadim {
namespace {

// The host writes the "js" classes under a short key whose second character
// is the letter j or J; every other class key is its own label.
std::string ClassLabelOf(std::string_view classKey) {
  static constexpr struct {
    std::string_view key;
    std::string_view label;
  } kLabels[] = {
      {"5j", "js5"}, {"6j", "js6"}, {"7j", "js7"}, {"8j", "js8"}, {"9j", "js9"},
      {"5J", "JS5"}, {"6J", "JS6"}, {"7J", "JS7"}, {"8J", "JS8"}, {"9J", "JS9"},
  };
  for (const auto& entry : kLabels) {
    if (classKey == entry.key) return std::string(entry.label);
  }
  return std::string(classKey);
}

// Rows are numbered from 1 in file order, so the first line of the file
// (never a candidate) is row 1.
std::string RowPlace(std::size_t position, const std::string& row) {
  return "tolerance table row " + std::to_string(position + 1) + " " + Quoted(row);
}

double Count(std::string_view text) { return static_cast<double>(CountCharacters(text)); }

}  // namespace

Items LoadToleranceTable(const std::string& path) {
  return ParseItems(platform::ReadFile(path), kMaxToleranceTableItems, "the tolerance table");
}

ToleranceSpec SettleTolerance(const RunParameters& parameters, const Items* table,
                              const DrawingContext& context) {
  const std::string& key = parameters.toleranceKey;
  ToleranceSpec spec;
  // Without a settled tolerance the deviation texts stay the bare switch
  // texts; only a settled one gets the opening quote of a text field.
  spec.upperDeviation = parameters.upperDeviationText;
  spec.lowerDeviation = parameters.lowerDeviationText;
  if (!RequestsTolerance(key)) return spec;

  const double w1 = ValueOrZero(context.valueMetrics.charWidth);
  const double d1 = ValueOrZero(context.valueMetrics.charSpacing);
  const double w2 = ValueOrZero(context.toleranceMetrics.charWidth);
  const double S = ValueOrZero(context.scale);
  const double D = context.diameter;

  double u = 0;
  std::string upper = parameters.upperDeviationText;
  std::string lower = parameters.lowerDeviationText;
  std::string classLabel;
  bool singleLine = false;

  if (NeedsToleranceTable(key)) {
    bool matched = false;
    // The first item is the table's heading and never a candidate.
    for (std::size_t i = 1; table != nullptr && i < table->size(); ++i) {
      const std::string& row = (*table)[i];
      if (FirstCharacters(row, 2) != key) continue;
      const std::vector<std::string_view> fields = Cut(row, "/");
      if (fields.size() < 2) {
        throw Error(ErrorKind::kOutOfRange, RowPlace(i, row) + " has no size limit");
      }
      const double sizeLimit = RequireNumber(fields[1], RowPlace(i, row) + ", size limit");
      if (D > sizeLimit) continue;
      if (fields.size() < 4) {
        throw Error(ErrorKind::kOutOfRange,
                    RowPlace(i, row) + " fits the diameter but has no lower deviation");
      }
      upper = fields[2];
      lower = fields[3];
      classLabel = ClassLabelOf(fields[0]);
      singleLine = fields[2] == " ";
      const double L = Count(classLabel);
      u = L * w1 / 2 + (L - 1) * d1;
      matched = true;
      break;
    }
    if (!matched) return spec;
  }

  if (key == "1" && upper.empty()) {
    singleLine = true;
    classLabel.clear();
  }
  const double k = Count(key);
  const double M = std::max(Count(upper), Count(lower));
  spec.toleranceWidth = S * (u + k * w2 / 2 + M * w2 / 2);
  spec.classLabelWidth = S * u;
  spec.classLabel = classLabel;
  spec.singleLine = singleLine;
  spec.upperDeviation = "\"" + upper;
  spec.lowerDeviation = "\"" + lower;
  return spec;
}

}  // namespace diadim
