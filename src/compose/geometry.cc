#include "compose/geometry.h"

#include <cmath>

#include "platform/platform.h"

namespace diadim {
namespace {

// The host converts degrees with this truncated value of pi; the arrowhead
// ends must come out the same to the last digit.
constexpr double kPi = 3.1415926;

}  // namespace

TextPosition TextPositionOf(double y1, double y2, double y4) {
  if (y4 > y2) return TextPosition::above;
  if (y4 < y1) return TextPosition::below;
  if (y4 == y1 || y4 == y2) return TextPosition::none;
  return TextPosition::between;
}

DimensionGeometry ComposeDimensionGeometry(const DrawingContext& context,
                                           const RunParameters& parameters, double valueWidth,
                                           double toleranceWidth) {
  const double S = ValueOrZero(context.scale);
  const double x1 = context.p1.x;
  const double y1 = context.p1.y;
  const double y2 = context.p2.y;
  const double x3 = context.p3.x;
  const double D = context.diameter;
  const double W = valueWidth;
  const double Wt = toleranceWidth;

  DimensionGeometry g;
  double y4 = context.p4.y;

  // The margin is strict: texts exactly as long as the room minus the
  // margin do not fit.
  const bool textFits = W + Wt < D - 10 * S;
  // A P4 picked outside the extension lines is where the user wants the
  // texts; only one between them is moved out, to the nearer side.
  if (!textFits && y1 <= y4 && y4 <= y2) {
    if ((y2 - y4) < (y4 - y1)) {
      y4 = y2 + parameters.outsideTextGap * S;
    } else if ((y2 - y4) > (y4 - y1)) {
      y4 = y1 - parameters.outsideTextGap * S;
    }
  }
  g.y4 = y4;

  const double gap = parameters.extensionGap * S;
  const double overshoot = parameters.extensionOvershoot * S;
  if (x1 < x3) {
    g.extensionLine1 = LineRecord(x1 + gap, y1, x3 + overshoot, y1);
    g.extensionLine2 = LineRecord(x1 + gap, y2, x3 + overshoot, y2);
  } else {
    g.extensionLine1 = LineRecord(x3 - overshoot, y1, x1 - gap, y1);
    g.extensionLine2 = LineRecord(x3 - overshoot, y2, x1 - gap, y2);
  }

  g.dimensionLine = LineRecord(x3, y1, x3, y2);

  switch (TextPositionOf(y1, y2, y4)) {
    case TextPosition::above:
      g.textRunLine = LineRecord(x3, y1, x3, (y4 + W) + Wt);
      break;
    case TextPosition::below:
      g.textRunLine = LineRecord(x3, (y4 - W) - Wt, x3, y2);
      break;
    case TextPosition::between:
    case TextPosition::none:
      break;
  }

  const double angle = (parameters.arrowAngle * kPi) / 180;
  const double dx = (parameters.arrowLength * S) * platform::Sine(angle);
  const double dy = (parameters.arrowLength * S) * platform::Cosine(angle);

  // Between close extension lines the arrowheads go outside, pointing in.
  const bool arrowsOutside = D < 6 * S;
  if (!arrowsOutside) {
    g.arrowStroke1 = LineRecord(x3, y2, x3 - dx, y2 - dy);
    g.arrowStroke2 = LineRecord(x3, y2, x3 + dx, y2 - dy);
    g.arrowStroke3 = LineRecord(x3, y1, x3 - dx, y1 + dy);
    g.arrowStroke4 = LineRecord(x3, y1, x3 + dx, y1 + dy);
    return g;
  }
  g.arrowStroke1 = LineRecord(x3, y2, x3 - dx, y2 + dy);
  g.arrowStroke2 = LineRecord(x3, y2, x3 + dx, y2 + dy);
  g.arrowStroke3 = LineRecord(x3, y1, x3 - dx, y1 - dy);
  g.arrowStroke4 = LineRecord(x3, y1, x3 + dx, y1 - dy);
  // On the text's side the run line already carries the dimension line
  // past the arrowhead, so only the far side gets a tail.
  if (y4 > y2) {
    g.arrowTailLine = LineRecord(x3, y1, x3, y1 - parameters.outsideArrowTail * S);
  } else if (y4 < y1) {
    g.arrowTailLine = LineRecord(x3, y2, x3, y2 + parameters.outsideArrowTail * S);
  }
  return g;
}

}  // namespace diadim
