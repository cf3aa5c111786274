#include "run/run_parameters.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace diadim {
namespace {

// Positions 0 to 16 of a complete command line.
const std::string kBase = "work.txt 07 3.0 1.9 -0.5 1 2 1.5 3 15 2 %% 5 4 H7 tol.txt 2";

TEST(SplitArgumentText, CutsAtEverySingleSpace) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitArgumentText("a b c"), (V{"a", "b", "c"}));
  EXPECT_EQ(SplitArgumentText("a  b"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitArgumentText("a "), (V{"a", ""}));
  EXPECT_EQ(SplitArgumentText(""), (V{""}));
  EXPECT_EQ(SplitArgumentText("\"a b\"\tc"), (V{"\"a", "b\"\tc"}));
}

TEST(ParseRunParameters, ConvertsEveryPosition) {
  const RunParameters p = ParseRunParameters(kBase);
  EXPECT_EQ(p.workFileName, "work.txt");
  EXPECT_EQ(p.lineColor, "07");  // texts are copied, never converted
  EXPECT_EQ(p.valueTextKind, "3.0");
  EXPECT_EQ(p.digitForm, 1);
  EXPECT_EQ(p.symbolPosition, -1);
  EXPECT_EQ(p.extensionGap, 1);
  EXPECT_EQ(p.extensionOvershoot, 2);
  EXPECT_EQ(p.textOffset, 1.5);
  EXPECT_EQ(p.arrowLength, 3);
  EXPECT_EQ(p.arrowAngle, 15);
  EXPECT_EQ(p.decimals, 2);
  EXPECT_EQ(p.diameterSymbol, "%%");
  EXPECT_EQ(p.outsideTextGap, 5);
  EXPECT_EQ(p.outsideArrowTail, 4);
  EXPECT_EQ(p.toleranceKey, "H7");
  EXPECT_EQ(p.toleranceTableName, "tol.txt");
  EXPECT_EQ(p.toleranceTextKind, "2");
  EXPECT_EQ(p.lowerDeviationText, "");
  EXPECT_EQ(p.upperDeviationText, "");
}

TEST(ParseRunParameters, ReadsTheDeviationSwitchesFromTheirPositions) {
  const struct {
    std::string tail;
    const char* lower;
    const char* upper;
  } cases[] = {
      {" x /D+0.1", "+0.1", ""},
      {" x /D", "", ""},
      {" /D xy-0.1", "-0.1", ""},   // the switch stands elsewhere; its text is at 18
      {" x /d0.1", "", ""},         // lower case is no switch
      {" x y /U+0.2", "", "+0.2"},  // "/U" alone: 18 stands but is not used
      {" x /D-0.1 /U+0.2", "-0.1", "+0.2"},
      {" x /D1 /U2 ignored", "1", "2"},
  };
  for (const auto& c : cases) {
    const RunParameters p = ParseRunParameters(kBase + c.tail);
    EXPECT_EQ(p.lowerDeviationText, c.lower) << c.tail;
    EXPECT_EQ(p.upperDeviationText, c.upper) << c.tail;
  }
}

TEST(ParseRunParameters, SettlesTheDiameterSymbol) {
  const struct {
    std::string symbol;
    std::string tail;
    const char* expected;
  } cases[] = {
      {"N", "", ""}, {"n", "", ""}, {"NN", "", "NN"}, {"D", "", "D"}, {"D", " x/1", ""},
  };
  for (const auto& c : cases) {
    std::string text = kBase;
    text.replace(text.find("%%"), 2, c.symbol);
    EXPECT_EQ(ParseRunParameters(text + c.tail).diameterSymbol, c.expected) << c.symbol << c.tail;
  }
}

TEST(ParseRunParameters, TableNameIsReadOnlyForAClassKey) {
  for (const char* key : {"z", "Z", "1"}) {
    std::string text = kBase;
    text.replace(text.find("H7"), 2, key);
    EXPECT_EQ(ParseRunParameters(text).toleranceTableName, "") << key;
    EXPECT_FALSE(NeedsToleranceTable(key));
  }
  EXPECT_TRUE(NeedsToleranceTable("zz"));
  EXPECT_TRUE(RequestsTolerance("1"));
  EXPECT_FALSE(RequestsTolerance("Z"));
}

TEST(ParseRunParameters, ReadsPosition18OnlyForTheSwitch) {
  EXPECT_NO_THROW(ParseRunParameters(kBase + " x /"));
  EXPECT_NO_THROW(ParseRunParameters(kBase));
}

TEST(ParseRunParameters, ReportsTheFirstFaultInTheHostsOrder) {
  const struct {
    std::string text;
    ErrorKind kind;
    const char* detailStart;
  } cases[] = {
      {"work.txt 1 2", ErrorKind::kOutOfRange, "parameter 16 (toleranceTextKind) is missing"},
      // 3 before 5, although both are wrong.
      {"w 1 2 x 0 y 2 1 3 15 2 N 5 4 z t 2", ErrorKind::kTypeMismatch, "parameter 3 (digitForm)"},
      // 8 before 7.
      {"w 1 2 0 0 1 2 x y 15 2 N 5 4 z t 2", ErrorKind::kTypeMismatch, "parameter 8 (arrowLength)"},
      // a double space empties position 4
      {"w 1 2 0  0 1 2 1 3 15 2 N 5 4 z t 2", ErrorKind::kTypeMismatch,
       "parameter 4 (symbolPosition)"},
      {kBase + " /D", ErrorKind::kOutOfRange, "parameter 18 (lowerDeviationArg) is missing"},
      {kBase + " /D /", ErrorKind::kInvalidArgument, "parameter 18"},
      {kBase + " /U y", ErrorKind::kOutOfRange, "parameter 19 (upperDeviationArg) is missing"},
  };
  for (const auto& c : cases) {
    try {
      ParseRunParameters(c.text);
      ADD_FAILURE() << c.text << ": no error";
    } catch (const Error& error) {
      EXPECT_EQ(error.kind(), c.kind) << c.text;
      EXPECT_EQ(std::string(error.what()).rfind(c.detailStart, 0), 0u) << error.what();
    }
  }
}

}  // namespace
}  // namespace diadim
