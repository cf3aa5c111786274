#include "compose/geometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/error.h"

namespace diadim {
namespace {

// P1, P2 as picked (ordered here as the drawing context orders them), P3 at
// x = 30, and the parameters gap 1, overshoot 2, arrow 3 at 15 degrees,
// outside gap 5, tail 4.
DrawingContext Points(double x1, double yA, double yB, double y4, std::optional<double> scale = 1) {
  DrawingContext context;
  context.scale = scale;
  context.p1 = {x1, yA < yB ? yA : yB};
  context.p2 = {5, yA < yB ? yB : yA};
  context.p3 = {30, 0};
  context.p4 = {0, y4};
  context.diameter = context.p2.y - context.p1.y;
  return context;
}

RunParameters Parameters(double outsideTextGap = 5) {
  RunParameters parameters;
  parameters.extensionGap = 1;
  parameters.extensionOvershoot = 2;
  parameters.arrowLength = 3;
  parameters.arrowAngle = 15;
  parameters.outsideTextGap = outsideTextGap;
  parameters.outsideArrowTail = 4;
  return parameters;
}

TEST(ComposeDimensionGeometry, DrawsAFittingTextBetween) {
  const DimensionGeometry g = ComposeDimensionGeometry(Points(0, 0, 40, 20), Parameters(), 12, 0);
  EXPECT_EQ(g.y4, 20);
  EXPECT_EQ(g.extensionLine1, "1 0 32 0");
  EXPECT_EQ(g.extensionLine2, "1 40 32 40");
  EXPECT_EQ(g.dimensionLine, "30 0 30 40");
  EXPECT_EQ(g.textRunLine, "");
  // dx = 3 sin(15 x 3.1415926 / 180), dy = 3 cos(...), to 15 digits.
  EXPECT_EQ(g.arrowStroke1, "30 40 29.2235428776334 37.1022225176653");
  EXPECT_EQ(g.arrowStroke2, "30 40 30.7764571223666 37.1022225176653");
  EXPECT_EQ(g.arrowStroke3, "30 0 29.2235428776334 2.89777748233472");
  EXPECT_EQ(g.arrowStroke4, "30 0 30.7764571223666 2.89777748233472");
  EXPECT_EQ(g.arrowTailLine, "");
}

TEST(ComposeDimensionGeometry, MovesATextThatDoesNotFitAbove) {
  const DimensionGeometry g = ComposeDimensionGeometry(Points(0, 0, 4, 3), Parameters(), 12, 0);
  EXPECT_EQ(g.y4, 9);
  EXPECT_EQ(g.extensionLine1, "1 0 32 0");
  EXPECT_EQ(g.extensionLine2, "1 4 32 4");
  EXPECT_EQ(g.dimensionLine, "30 0 30 4");
  EXPECT_EQ(g.textRunLine, "30 0 30 21");
  EXPECT_EQ(g.arrowStroke1, "30 4 29.2235428776334 6.89777748233472");
  EXPECT_EQ(g.arrowStroke2, "30 4 30.7764571223666 6.89777748233472");
  EXPECT_EQ(g.arrowStroke3, "30 0 29.2235428776334 -2.89777748233472");
  EXPECT_EQ(g.arrowStroke4, "30 0 30.7764571223666 -2.89777748233472");
  EXPECT_EQ(g.arrowTailLine, "30 0 30 -4");
}

TEST(ComposeDimensionGeometry, LeavesAPointBelowInPlaceAndScales) {
  // P1 = (50, 40) and P2 = (5, 0): y1 = 0, y2 = 40, x1 = 50 >= x3; S = 2.
  const DimensionGeometry g =
      ComposeDimensionGeometry(Points(50, 40, 0, -10, 2), Parameters(), 24, 8);
  EXPECT_EQ(g.y4, -10);
  EXPECT_EQ(g.extensionLine1, "26 0 48 0");
  EXPECT_EQ(g.extensionLine2, "26 40 48 40");
  EXPECT_EQ(g.dimensionLine, "30 0 30 40");
  EXPECT_EQ(g.textRunLine, "30 -42 30 40");
  EXPECT_EQ(g.arrowStroke1, "30 40 28.4470857552668 34.2044450353306");
  EXPECT_EQ(g.arrowStroke2, "30 40 31.5529142447332 34.2044450353306");
  EXPECT_EQ(g.arrowStroke3, "30 0 28.4470857552668 5.79555496466944");
  EXPECT_EQ(g.arrowStroke4, "30 0 31.5529142447332 5.79555496466944");
  EXPECT_EQ(g.arrowTailLine, "");
}

TEST(TextPositionOf, JudgesStrictly) {
  EXPECT_EQ(TextPositionOf(0, 40, 20), TextPosition::between);
  EXPECT_EQ(TextPositionOf(0, 40, 40.5), TextPosition::above);
  EXPECT_EQ(TextPositionOf(0, 40, -0.5), TextPosition::below);
  EXPECT_EQ(TextPositionOf(0, 40, 0), TextPosition::none);
  EXPECT_EQ(TextPositionOf(0, 40, 40), TextPosition::none);
  EXPECT_EQ(TextPositionOf(7, 7, 7), TextPosition::none);
}

struct PlacementCase {
  const char* name;
  double y2;  // y1 = 0, x1 = 0
  double y4;
  double W;
  double Wt;
  double outsideTextGap;
  double expectedY4;
  const char* textRunLine;
  bool arrowsOutside;
  const char* arrowTailLine;
};

TEST(ComposeDimensionGeometry, DecidesFitRelocationAndArrowheads) {
  const PlacementCase cases[] = {
      // W + Wt exactly D - 10 x S does not fit: moved out to the nearer end.
      {"sum equals the room", 40, 25, 20, 10, 5, 45, "30 0 30 75", false, ""},
      {"sum just below the room", 40, 25, 20, 9.5, 5, 25, "", false, ""},
      {"nearer y1", 40, 15, 20, 10, 5, -5, "30 -35 30 40", false, ""},
      {"at y2", 40, 40, 31, 0, 5, 45, "30 0 30 76", false, ""},
      {"at y1", 40, 0, 31, 0, 5, -5, "30 -36 30 40", false, ""},
      {"halfway stays", 40, 20, 31, 0, 5, 20, "", false, ""},
      {"halfway, arrowheads outside, no tail", 4, 2, 12, 0, 5, 2, "", true, ""},
      {"no gap ends at y2: none", 4, 3, 12, 0, 0, 4, "", true, ""},
      {"no gap ends at y1: none", 4, 1, 12, 0, 0, 0, "", true, ""},
      {"fitting at y1: none", 40, 0, 12, 0, 5, 0, "", false, ""},
      {"fitting above stays", 40, 50, 12, 3, 5, 50, "30 0 30 65", false, ""},
      {"not fitting below stays", 40, -3, 31, 0, 5, -3, "30 -34 30 40", false, ""},
      {"D exactly 6 x S: inside", 6, 3, 0, 0, 5, 3, "", false, ""},
      {"D just below 6 x S: outside", 5.75, 5, 0, 0, 5, 10.75, "30 0 30 10.75", true, "30 0 30 -4"},
      {"outside, text below: tail above", 4, 1, 12, 0, 5, -5, "30 -17 30 4", true, "30 4 30 8"},
      {"D = 0 stays, none", 0, 0, 0, 0, 5, 0, "", true, ""},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    const DimensionGeometry g =
        ComposeDimensionGeometry(Points(0, 0, c.y2, c.y4), Parameters(c.outsideTextGap), c.W, c.Wt);
    EXPECT_EQ(g.y4, c.expectedY4);
    EXPECT_EQ(g.textRunLine, c.textRunLine);
    EXPECT_EQ(g.arrowTailLine, c.arrowTailLine);
    // Outside strokes open away from the dimension: the upper one ends above y2.
    const std::string upperEnd = g.arrowStroke1.substr(g.arrowStroke1.rfind(' ') + 1);
    EXPECT_EQ(std::stod(upperEnd) > c.y2, c.arrowsOutside) << g.arrowStroke1;
  }
}

TEST(ComposeDimensionGeometry, DrawsExtensionLinesFromP1Outward) {
  // x1 = x3 takes the form of P1 right of the dimension line: far end first.
  const DimensionGeometry same =
      ComposeDimensionGeometry(Points(30, 0, 40, 20), Parameters(), 0, 0);
  EXPECT_EQ(same.extensionLine1, "28 0 29 0");
  EXPECT_EQ(same.extensionLine2, "28 40 29 40");
  // P2 picked below P1: both lines still start from P1's x.
  const DimensionGeometry swapped =
      ComposeDimensionGeometry(Points(0, 40, 10, 20), Parameters(), 0, 0);
  EXPECT_EQ(swapped.extensionLine1, "1 10 32 10");
  EXPECT_EQ(swapped.extensionLine2, "1 40 32 40");
  EXPECT_EQ(swapped.dimensionLine, "30 10 30 40");
}

TEST(ComposeDimensionGeometry, ScalesEverySizeByAnUnsetScaleToZero) {
  // No scale: no gap, no overshoot, no arrowhead; 0 < D fits, heads inside.
  const DimensionGeometry g =
      ComposeDimensionGeometry(Points(0, 0, 40, 35, std::nullopt), Parameters(), 0, 0);
  EXPECT_EQ(g.y4, 35);
  EXPECT_EQ(g.extensionLine1, "0 0 30 0");
  EXPECT_EQ(g.arrowStroke1, "30 40 30 40");
  EXPECT_EQ(g.arrowStroke4, "30 0 30 0");
  EXPECT_EQ(g.arrowTailLine, "");
}

TEST(ComposeDimensionGeometry, RefusesCoordinatesThatOverflowed) {
  RunParameters parameters = Parameters();
  parameters.arrowLength = 1e308;
  try {
    ComposeDimensionGeometry(Points(0, 0, 40, 20, 10), parameters, 0, 0);
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kOutOfRange);
  }
}

}  // namespace
}  // namespace diadim
