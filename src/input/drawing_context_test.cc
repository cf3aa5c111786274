#include "input/drawing_context.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace diadim {
namespace {

RunParameters Kinds(const char* valueKind, const char* toleranceKind) {
  RunParameters parameters;
  parameters.valueTextKind = valueKind;
  parameters.toleranceTextKind = toleranceKind;
  return parameters;
}

const Items kPoints = {"hp1   0 0", "hp2   5 40", "hp3   30 0", "hp4   0 20"};

Items With(std::initializer_list<std::string> records) {
  Items items = records;
  items.insert(items.end(), kPoints.begin(), kPoints.end());
  return items;
}

TEST(BuildDrawingContext, ReadsEveryRecord) {
  const Items items =
      With({"hcw 3 2.5 4", "hcd 0.5 0.3 0", "hch 3.5 2.5 5", "lg 12", "ly5", "hs 1 2 3"});
  const DrawingContext context = BuildDrawingContext(items, Kinds("1", "3"));
  EXPECT_EQ(context.valueMetrics.charWidth, 3);
  EXPECT_EQ(context.valueMetrics.charSpacing, 0.5);
  EXPECT_EQ(context.valueMetrics.charHeight, 3.5);
  EXPECT_EQ(context.toleranceMetrics.charWidth, 4);
  EXPECT_EQ(context.toleranceMetrics.charSpacing, 0);
  EXPECT_EQ(context.toleranceMetrics.charHeight, 5);
  EXPECT_EQ(context.layerGroup, 2);  // only the last digit counts
  EXPECT_EQ(context.layer, 5);
  EXPECT_EQ(context.scale, 3);
  EXPECT_EQ(context.p3.x, 30);
  EXPECT_EQ(context.p4.y, 20);
  EXPECT_EQ(context.diameter, 40);
}

TEST(BuildDrawingContext, LeavesMissingRecordsUnset) {
  const DrawingContext context = BuildDrawingContext(kPoints, Kinds("x", "y"));
  EXPECT_FALSE(context.valueMetrics.charWidth);
  EXPECT_FALSE(context.toleranceMetrics.charHeight);
  EXPECT_EQ(context.layerGroup, 0);
  EXPECT_FALSE(context.layer);
  EXPECT_FALSE(context.scale);
  EXPECT_EQ(ValueOrZero(context.scale), 0);
}

TEST(BuildDrawingContext, TakesTheScaleOfTheFinalLayerGroup) {
  // "hs" before "lg": the scale still follows the layer group read later.
  const Items items = With({"hs 1 2 3", "lg1", "lg2"});
  EXPECT_EQ(BuildDrawingContext(items, Kinds("1", "1")).scale, 3);
  EXPECT_EQ(BuildDrawingContext(With({"hs 7 8"}), Kinds("1", "1")).scale, 7);
}

TEST(BuildDrawingContext, OrdersTheDiameterEndsAndKeepsX) {
  Items items = {"hp1   10.5 30", "hp2   5 10", "hp3   30 0", "hp4   0 20"};
  DrawingContext context = BuildDrawingContext(items, Kinds("1", "1"));
  EXPECT_EQ(context.p1.x, 10.5);
  EXPECT_EQ(context.p1.y, 10);
  EXPECT_EQ(context.p2.x, 5);
  EXPECT_EQ(context.p2.y, 30);
  EXPECT_EQ(context.diameter, 20);

  items[1] = "hp2   5 30";
  EXPECT_EQ(BuildDrawingContext(items, Kinds("1", "1")).diameter, 0);
}

TEST(BuildDrawingContext, LastRecordOfATagCounts) {
  // Points are converted after the scans, so an earlier bad record is harmless;
  // a further text after three more spaces is ignored.
  Items items = kPoints;
  items.insert(items.begin(), "hp2   x y");
  items.push_back("hp2   5 50   note");
  items.push_back("HCW x");  // not a tag: skipped
  items.push_back("");
  const DrawingContext context = BuildDrawingContext(items, Kinds("1", "1"));
  EXPECT_EQ(context.diameter, 50);
}

TEST(BuildDrawingContext, ReportsEveryMalformedRecord) {
  const struct {
    const char* name;
    Items items;
    const char* valueKind;
    ErrorKind kind;
  } cases[] = {
      {"kind beyond the values", With({"hcw 3 2.5"}), "3", ErrorKind::kOutOfRange},
      {"negative kind", With({"hcd 3 2.5"}), "-1", ErrorKind::kOutOfRange},
      {"huge kind", With({"hch 3 2.5"}), "1e20", ErrorKind::kOutOfRange},
      {"kind 0 picks the tag", With({"hcw 3 2.5"}), "0", ErrorKind::kTypeMismatch},
      {"kind not a number", With({"hcw 3 2.5"}), "a", ErrorKind::kTypeMismatch},
      {"metric not a number", With({"hch x 2.5"}), "1", ErrorKind::kTypeMismatch},
      {"early bad metric", With({"hcw x", "hcw 3"}), "1", ErrorKind::kTypeMismatch},
      {"lg without digit", With({"lgA"}), "1", ErrorKind::kTypeMismatch},
      {"lg alone", With({"lg"}), "1", ErrorKind::kTypeMismatch},
      {"ly without digit", With({"ly "}), "1", ErrorKind::kTypeMismatch},
      {"no scale for group", With({"lg3", "hs 1 2"}), "1", ErrorKind::kOutOfRange},
      {"scale not a number", With({"hs 1,5"}), "1", ErrorKind::kTypeMismatch},
      {"no three spaces", With({"hp1 0 0"}), "1", ErrorKind::kOutOfRange},
      {"no hp1", Items(kPoints.begin() + 1, kPoints.end()), "1", ErrorKind::kOutOfRange},
      {"no y", {"hp1   0", "hp2   5 40", "hp3   30 0", "hp4   0 20"}, "1", ErrorKind::kOutOfRange},
      {"four spaces",
       {"hp1    0 0", "hp2   5 40", "hp3   30 0", "hp4   0 20"},
       "1",
       ErrorKind::kTypeMismatch},
      {"two spaces between",
       {"hp1   0  0", "hp2   5 40", "hp3   30 0", "hp4   0 20"},
       "1",
       ErrorKind::kTypeMismatch},
  };
  for (const auto& c : cases) {
    try {
      BuildDrawingContext(c.items, Kinds(c.valueKind, "1"));
      ADD_FAILURE() << c.name << ": no error";
    } catch (const Error& error) {
      EXPECT_EQ(error.kind(), c.kind) << c.name << ": " << error.what();
    }
  }
}

TEST(BuildDrawingContext, TextKindIsConvertedOnlyWhenAMetricRecordIsPresent) {
  EXPECT_NO_THROW(BuildDrawingContext(kPoints, Kinds("a", "b")));
  // 1.9 is text kind 1.
  EXPECT_EQ(BuildDrawingContext(With({"hcw 3 4"}), Kinds("1.9", "2")).valueMetrics.charWidth, 3);
}

}  // namespace
}  // namespace diadim
