#include "compose/text_placement.h"

#include "compose/geometry.h"

namespace diadim {

TextPlacement PlaceTexts(const DrawingContext& context, const RunParameters& parameters, double y4,
                         const DimensionText& text, const ToleranceSpec& tolerance) {
  const double y1 = context.p1.y;
  const double y2 = context.p2.y;
  const TextPosition position = TextPositionOf(y1, y2, y4);
  TextPlacement placement;
  if (position == TextPosition::none) return placement;

  const double S = ValueOrZero(context.scale);
  const double x3 = context.p3.x;
  const double D = context.diameter;
  const double Hv = ValueOrZero(context.valueMetrics.charHeight);
  const double Ht = ValueOrZero(context.toleranceMetrics.charHeight);
  const double textOffset = parameters.textOffset;
  const double W = text.width;
  const double Wc = tolerance.classLabelWidth;
  const double Wt = tolerance.toleranceWidth;

  // The block runs upward: value text, class label, deviation block.
  double valueY = 0;
  double classLabelY = 0;
  double deviationY = 0;
  switch (position) {
    case TextPosition::between: {
      const double B = y1 + ((D - W) - Wt) / 2;
      valueY = B;
      classLabelY = B + W;
      deviationY = B + (W + Wc);
      break;
    }
    case TextPosition::above:
      valueY = y4;
      classLabelY = y4 + W;
      deviationY = (y4 + W) + Wc;
      break;
    case TextPosition::below:
      valueY = (y4 - W) - Wt;
      classLabelY = y4 - Wt;
      deviationY = (y4 - Wt) + Wc;
      break;
    case TextPosition::none:
      break;
  }

  const double baseX = x3 - textOffset * S;
  // The host reads the direction's y part as it stands; these values are
  // its own (Wt already holds S and is scaled once more), not a geometric
  // direction, and must not be "corrected".
  const double textDirection = y2 + 1000;
  const double classLabelDirection = position == TextPosition::above ? y4 + 1000 : y2 + 1000;

  placement.valueTextRecord = TextRecord("cs", baseX, valueY, textDirection, "\"" + text.text);
  placement.classLabelRecord =
      TextRecord("ch", baseX, classLabelY, classLabelDirection, "\"" + tolerance.classLabel);

  if (tolerance.singleLine) {
    // The deviation's middle line on the value text's middle line.
    const double singleX = x3 - (((Hv / 2) + textOffset) - (Ht / 2)) * S;
    const double singleDirection = position == TextPosition::above ? Wt * S : y2 + 1000;
    placement.lowerDeviationRecord =
        TextRecord("ch", singleX, deviationY, singleDirection, tolerance.lowerDeviation);
  } else {
    // The upper deviation stands one tolerance text height plus a gap of
    // 0.2 further out than the lower one, at the same y.
    const double upperX = x3 - ((Ht + textOffset) + 0.2) * S;
    placement.upperDeviationRecord =
        TextRecord("ch", upperX, deviationY, Wt * S, tolerance.upperDeviation);
    placement.lowerDeviationRecord =
        TextRecord("ch", baseX, deviationY, Wt * S, tolerance.lowerDeviation);
  }
  return placement;
}

}  // namespace diadim
