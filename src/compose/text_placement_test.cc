#include "compose/text_placement.h"

#include <gtest/gtest.h>

#include <string>

#include "base/error.h"

namespace diadim {
namespace {

// Value kind height 3.5, tolerance kind height 2.5, text offset 1, x3 = 30.
DrawingContext Context(double y1, double y2, double scale = 1) {
  DrawingContext context;
  context.valueMetrics.charHeight = 3.5;
  context.toleranceMetrics.charHeight = 2.5;
  context.scale = scale;
  context.p1 = {0, y1};
  context.p2 = {5, y2};
  context.p3 = {30, 0};
  context.diameter = y2 - y1;
  return context;
}

RunParameters Offset(double textOffset = 1) {
  RunParameters parameters;
  parameters.textOffset = textOffset;
  return parameters;
}

ToleranceSpec TwoLines(double scale = 1) {
  ToleranceSpec spec;
  spec.classLabel = "H7";
  spec.upperDeviation = "\"+0.025";
  spec.lowerDeviation = "\"0";
  spec.classLabelWidth = 3.5 * scale;
  spec.toleranceWidth = 13.5 * scale;
  return spec;
}

ToleranceSpec SingleLine() {
  ToleranceSpec spec;
  spec.upperDeviation = "\"";
  spec.lowerDeviation = "\"0.1";
  spec.singleLine = true;
  spec.toleranceWidth = 5;
  return spec;
}

TEST(PlaceTexts, CentresATwoLineBlockBetween) {
  const TextPlacement p = PlaceTexts(Context(0, 40), Offset(), 20, {"40", 4}, TwoLines());
  EXPECT_EQ(p.upperDeviationRecord, "ch 26.3 18.75 0 13.5 \"+0.025");
  EXPECT_EQ(p.lowerDeviationRecord, "ch 29 18.75 0 13.5 \"0");
  EXPECT_EQ(p.classLabelRecord, "ch 29 15.25 0 1040 \"H7");
  EXPECT_EQ(p.valueTextRecord, "cs 29 11.25 0 1040 \"40");
}

TEST(PlaceTexts, StartsASingleLineAbove) {
  const TextPlacement p = PlaceTexts(Context(0, 4), Offset(), 9, {"4", 2}, SingleLine());
  EXPECT_EQ(p.upperDeviationRecord, "");
  EXPECT_EQ(p.lowerDeviationRecord, "ch 28.5 11 0 5 \"0.1");
  EXPECT_EQ(p.classLabelRecord, "ch 29 11 0 1009 \"");
  EXPECT_EQ(p.valueTextRecord, "cs 29 9 0 1004 \"4");
}

TEST(PlaceTexts, EndsATwoLineBlockBelowAndScalesTwice) {
  const TextPlacement p = PlaceTexts(Context(0, 40, 2), Offset(), -10, {"40", 8}, TwoLines(2));
  EXPECT_EQ(p.upperDeviationRecord, "ch 22.6 -30 0 54 \"+0.025");
  EXPECT_EQ(p.lowerDeviationRecord, "ch 28 -30 0 54 \"0");
  EXPECT_EQ(p.classLabelRecord, "ch 28 -37 0 1040 \"H7");
  EXPECT_EQ(p.valueTextRecord, "cs 28 -45 0 1040 \"40");
}

TEST(PlaceTexts, CentresASingleLineBetween) {
  const TextPlacement p = PlaceTexts(Context(0, 40), Offset(), 20, {"40", 4}, SingleLine());
  EXPECT_EQ(p.upperDeviationRecord, "");
  EXPECT_EQ(p.lowerDeviationRecord, "ch 28.5 19.5 0 1040 \"0.1");
  EXPECT_EQ(p.classLabelRecord, "ch 29 19.5 0 1040 \"");
  EXPECT_EQ(p.valueTextRecord, "cs 29 15.5 0 1040 \"40");
}

TEST(PlaceTexts, SetsASingleLineBelowAlongTheLine) {
  // Below, the single line takes y2 + 1000 like the value text.
  const TextPlacement p = PlaceTexts(Context(0, 4), Offset(), -5, {"4", 2}, SingleLine());
  EXPECT_EQ(p.lowerDeviationRecord, "ch 28.5 -10 0 1004 \"0.1");
  EXPECT_EQ(p.classLabelRecord, "ch 29 -10 0 1004 \"");
  EXPECT_EQ(p.valueTextRecord, "cs 29 -12 0 1004 \"4");
}

TEST(PlaceTexts, DrawsNothingAtAnEnd) {
  for (double y4 : {0.0, 40.0}) {
    const TextPlacement p = PlaceTexts(Context(0, 40), Offset(), y4, {"40", 4}, TwoLines());
    EXPECT_EQ(p.upperDeviationRecord, "");
    EXPECT_EQ(p.lowerDeviationRecord, "");
    EXPECT_EQ(p.classLabelRecord, "");
    EXPECT_EQ(p.valueTextRecord, "");
  }
}

TEST(PlaceTexts, CentresTheBlockEvenWhenLongerThanD) {
  // No tolerance: the value text alone, B = y1 + (D - W) / 2.
  const TextPlacement alone = PlaceTexts(Context(10, 50), Offset(), 30, {"40", 4}, {});
  EXPECT_EQ(alone.valueTextRecord, "cs 29 28 0 1050 \"40");
  EXPECT_EQ(alone.classLabelRecord, "ch 29 32 0 1050 \"");
  // The switch texts of the way no tolerance stand without a quote.
  EXPECT_EQ(alone.lowerDeviationRecord, "ch 29 32 0 0 ");
  // A block of 4 + 13.5 on D = 4 starts below y1 and still centres on 2.
  const TextPlacement longer = PlaceTexts(Context(0, 4), Offset(), 2, {"4", 4}, TwoLines());
  EXPECT_EQ(longer.valueTextRecord, "cs 29 -6.75 0 1004 \"4");
}

TEST(PlaceTexts, WritesDirectionsAsComputed) {
  const TextPlacement p = PlaceTexts(Context(-1540, -1500), Offset(), -1520, {"40", 4}, {});
  EXPECT_EQ(p.valueTextRecord, "cs 29 -1522 0 -500 \"40");
  // A negative offset puts the texts on the side of larger x.
  const TextPlacement right = PlaceTexts(Context(0, 40), Offset(-1), 20, {"40", 4}, {});
  EXPECT_EQ(right.valueTextRecord, "cs 31 18 0 1040 \"40");
}

TEST(PlaceTexts, RefusesAPositionThatOverflowed) {
  // Even a record the output then leaves out must not carry "inf".
  DrawingContext context = Context(0, 40, 10);
  context.toleranceMetrics.charHeight = 1e308;
  try {
    PlaceTexts(context, Offset(), 20, {"40", 4}, {});
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kOutOfRange);
  }
}

}  // namespace
}  // namespace diadim
