#include "compose/dimension_text.h"

#include <cmath>

#include "base/error.h"
#include "base/number.h"
#include "base/text.h"

namespace diadim {
namespace {

constexpr std::size_t kDecimalsPosition = 10;

[[noreturn]] void ThrowNegativeDecimals(const RunParameters& parameters) {
  const std::string shown = kDecimalsPosition < parameters.positionalParameters.size()
                                ? parameters.positionalParameters[kDecimalsPosition]
                                : FormatNumber(parameters.decimals);
  throw Error(ErrorKind::kInvalidArgument, "parameter 10 (decimals): " + Quoted(shown) +
                                               " gives a negative number of decimal places");
}

}  // namespace

DimensionText BuildDimensionText(const RunParameters& parameters, const DrawingContext& context) {
  // The host rounds the number of places half to even as well (2.5 gives 2),
  // and nearbyint does so in the default rounding mode.
  const double p = std::nearbyint(parameters.decimals);
  if (p < 0) ThrowNegativeDecimals(parameters);

  const std::string number = RoundToPlaces(context.diameter, p);
  const std::string& symbol = parameters.diameterSymbol;
  DimensionText result;
  result.text = parameters.symbolPosition == 0 ? symbol + number : number + symbol;

  const double w1 = ValueOrZero(context.valueMetrics.charWidth);
  const double d1 = ValueOrZero(context.valueMetrics.charSpacing);
  const double S = ValueOrZero(context.scale);
  const bool hasSymbol = !symbol.empty();

  double unscaled;
  if (parameters.digitForm == 0) {
    const double L = static_cast<double>(CountCharacters(result.text));
    // A symbol is drawn wider than one character: it gets one extra
    // character width of its digit form.
    unscaled = hasSymbol ? w1 / 2 + L * w1 / 2 + L * d1 : L * w1 / 2 + L * d1;
  } else if (parameters.digitForm == 1) {
    result.text = ToFullWidth(result.text);
    const double L = static_cast<double>(CountCharacters(result.text));
    unscaled = hasSymbol ? w1 + L * w1 + L * d1 : L * w1 + L * d1;
  } else {
    return result;  // no digit form the host knows: no width
  }
  result.width = S * unscaled;
  return result;
}

}  // namespace diadim
