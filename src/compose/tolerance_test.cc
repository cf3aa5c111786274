#include "compose/tolerance.h"

#include <gtest/gtest.h>

#include <clocale>
#include <optional>
#include <string>

#include "base/error.h"

namespace diadim {
namespace {

// Value kind: width 3, spacing 0.5; tolerance kind: width 2.5.
DrawingContext Context(double diameter, std::optional<double> scale = 1) {
  DrawingContext context;
  context.valueMetrics.charWidth = 3;
  context.valueMetrics.charSpacing = 0.5;
  context.toleranceMetrics.charWidth = 2.5;
  context.scale = scale;
  context.p2.y = diameter;
  context.diameter = diameter;
  return context;
}

RunParameters Key(const std::string& key, const std::string& upper = "",
                  const std::string& lower = "") {
  RunParameters parameters;
  parameters.toleranceKey = key;
  parameters.upperDeviationText = upper;
  parameters.lowerDeviationText = lower;
  return parameters;
}

const Items kJsTable = {"class/limit/upper/lower", "6j/3/ /0.003", "6j/6/+0.004/-0.004",
                        "6j/10/ /0.005"};

TEST(SettleTolerance, TakesTheFirstFittingRowAndMeasuresIt) {
  const ToleranceSpec spec = SettleTolerance(Key("6j"), &kJsTable, Context(8));
  EXPECT_EQ(spec.classLabel, "js6");
  EXPECT_TRUE(spec.singleLine);
  EXPECT_EQ(spec.upperDeviation, "\" ");
  EXPECT_EQ(spec.lowerDeviation, "\"0.005");
  // u = 3 x 1.5 + 2 x 0.5 (L - 1 spacings); M = 5 and k = 2 half-widths of 2.5.
  EXPECT_EQ(spec.classLabelWidth, 5.5);
  EXPECT_EQ(spec.toleranceWidth, 14.25);
}

TEST(SettleTolerance, ScalesBothWidths) {
  const ToleranceSpec twice = SettleTolerance(Key("6j"), &kJsTable, Context(8, 2));
  EXPECT_EQ(twice.classLabelWidth, 11);
  EXPECT_EQ(twice.toleranceWidth, 28.5);
  // Without a scale the texts are settled all the same; only the widths vanish.
  const ToleranceSpec unset = SettleTolerance(Key("6j"), &kJsTable, Context(8, std::nullopt));
  EXPECT_EQ(unset.classLabel, "js6");
  EXPECT_EQ(unset.lowerDeviation, "\"0.005");
  EXPECT_EQ(unset.classLabelWidth, 0);
  EXPECT_EQ(unset.toleranceWidth, 0);
}

struct LookupCase {
  const char* name;
  std::string key;
  Items table;
  double diameter;
  bool matches;
  std::string classLabel;  // when it matches
  std::string upper;       // without the leading quote
  std::string lower;
  bool singleLine;
};

TEST(SettleTolerance, LooksUpTheTable) {
  const LookupCase cases[] = {
      {"only the first item has the key", "H7", {"H7/50/+0.025/0"}, 20, false, "", "", "", false},
      {"no item at all", "H7", {}, 20, false, "", "", "", false},
      {"D equal to the size limit",
       "H7",
       {"", "H7/20/+0.021/0"},
       20,
       true,
       "H7",
       "+0.021",
       "0",
       false},
      {"D above every size limit",
       "H7",
       {"", "H7/10/+0.018/0", "H7/18/+0.021/0"},
       20,
       false,
       "",
       "",
       "",
       false},
      {"rows are not sorted",
       "H7",
       {"", "H7/50/+0.025/0", "H7/30/+0.021/0"},
       20,
       true,
       "H7",
       "+0.025",
       "0",
       false},
      {"case-sensitive key", "H7", {"", "h7/50/+0.025/0"}, 20, false, "", "", "", false},
      {"a key of three characters never matches",
       "H7a",
       {"", "H7a/50/+1/0"},
       20,
       false,
       "",
       "",
       "",
       false},
      {"a short item is compared whole",
       "H",
       {"", "Hx/50/1/2", "H/50/1/2"},
       20,
       false,
       "",
       "",
       "",
       false},
      {"6j gives js6", "6j", {"", "6j/50/+1/-1"}, 20, true, "js6", "+1", "-1", false},
      {"9J gives JS9", "9J", {"", "9J/50/+1/-1"}, 20, true, "JS9", "+1", "-1", false},
      {"5j gives js5", "5j", {"", "5j/50/+1/-1"}, 20, true, "js5", "+1", "-1", false},
      {"a longer field 0 stays as it is",
       "6j",
       {"", "6jx/50/+1/-1"},
       20,
       true,
       "6jx",
       "+1",
       "-1",
       false},
      {"a field 0 of another case stays",
       "6J",
       {"", "6J/50/+1/-1"},
       20,
       true,
       "JS6",
       "+1",
       "-1",
       false},
      {"two blanks are not single-line",
       "H7",
       {"", "H7/50/  /0"},
       20,
       true,
       "H7",
       "  ",
       "0",
       false},
      {"one blank is single-line", "H7", {"", "H7/50/ /0"}, 20, true, "H7", " ", "0", true},
      {"fields after the fourth are ignored",
       "H7",
       {"", "H7/50/+1/-1/junk/more"},
       20,
       true,
       "H7",
       "+1",
       "-1",
       false},
      {"other rows are never split",
       "H7",
       {"", "junk", "", "G6 no fields", "H7/50/+1/-1"},
       20,
       true,
       "H7",
       "+1",
       "-1",
       false},
      {"rows after the match are never read",
       "H7",
       {"", "H7/50/+1/-1", "H7", "H7/x/y"},
       20,
       true,
       "H7",
       "+1",
       "-1",
       false},
      {"a passed-over row needs only two fields",
       "H7",
       {"", "H7/10", "H7/50/+1/-1"},
       20,
       true,
       "H7",
       "+1",
       "-1",
       false},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ToleranceSpec spec =
        SettleTolerance(Key(c.key, "up", "down"), &c.table, Context(c.diameter));
    if (c.matches) {
      EXPECT_EQ(spec.classLabel, c.classLabel);
      EXPECT_EQ(spec.upperDeviation, "\"" + c.upper);
      EXPECT_EQ(spec.lowerDeviation, "\"" + c.lower);
      EXPECT_EQ(spec.singleLine, c.singleLine);
      EXPECT_GT(spec.toleranceWidth, 0);
    } else {
      // No match draws no tolerance: the bare switch texts, no widths.
      EXPECT_EQ(spec.classLabel, "");
      EXPECT_EQ(spec.upperDeviation, "up");
      EXPECT_EQ(spec.lowerDeviation, "down");
      EXPECT_FALSE(spec.singleLine);
      EXPECT_EQ(spec.classLabelWidth, 0);
      EXPECT_EQ(spec.toleranceWidth, 0);
    }
  }
}

TEST(SettleTolerance, CountsTheKeyAndTheLongerDeviation) {
  // u = 2 x 1.5 + 1 x 0.5 = 3.5 for "H7"; k = 2, M = 6 ("+0.025"): 3.5 + 2.5 + 7.5.
  const Items table = {"", "H7/50/+0.025/0"};
  const ToleranceSpec spec = SettleTolerance(Key("H7"), &table, Context(40));
  EXPECT_EQ(spec.classLabelWidth, 3.5);
  EXPECT_EQ(spec.toleranceWidth, 13.5);
  // The lower text is the longer one here: M = 7.
  const Items lowerLonger = {"", "H7/50/+1/-0.0025"};
  EXPECT_EQ(SettleTolerance(Key("H7"), &lowerLonger, Context(40)).toleranceWidth,
            3.5 + 2 * 2.5 / 2 + 7 * 2.5 / 2);
}

TEST(SettleTolerance, TakesExplicitDeviationsFromTheSwitches) {
  // Both switches: two lines, no class label, S x (1 + M) x w2 / 2.
  const ToleranceSpec both = SettleTolerance(Key("1", "+0.1", "-0.25"), nullptr, Context(40, 2));
  EXPECT_EQ(both.classLabel, "");
  EXPECT_FALSE(both.singleLine);
  EXPECT_EQ(both.upperDeviation, "\"+0.1");
  EXPECT_EQ(both.lowerDeviation, "\"-0.25");
  EXPECT_EQ(both.classLabelWidth, 0);
  EXPECT_EQ(both.toleranceWidth, 2 * (0 + 1 * 2.5 / 2 + 5 * 2.5 / 2));

  const ToleranceSpec lowerOnly = SettleTolerance(Key("1", "", "0.1"), nullptr, Context(40));
  EXPECT_TRUE(lowerOnly.singleLine);
  EXPECT_EQ(lowerOnly.upperDeviation, "\"");
  EXPECT_EQ(lowerOnly.lowerDeviation, "\"0.1");
  EXPECT_EQ(lowerOnly.toleranceWidth, 5);

  const ToleranceSpec neither = SettleTolerance(Key("1"), nullptr, Context(40));
  EXPECT_TRUE(neither.singleLine);
  EXPECT_EQ(neither.upperDeviation, "\"");
  EXPECT_EQ(neither.lowerDeviation, "\"");
  EXPECT_EQ(neither.toleranceWidth, 1.25);

  // An upper text alone is still two lines.
  EXPECT_FALSE(SettleTolerance(Key("1", "+0.1", ""), nullptr, Context(40)).singleLine);
}

TEST(SettleTolerance, SettlesNothingWithoutATolerance) {
  for (const char* key : {"z", "Z"}) {
    const ToleranceSpec spec = SettleTolerance(Key(key, "+1", "-1"), nullptr, Context(40));
    EXPECT_EQ(spec.classLabel, "");
    EXPECT_EQ(spec.upperDeviation, "+1");
    EXPECT_EQ(spec.lowerDeviation, "-1");
    EXPECT_FALSE(spec.singleLine);
    EXPECT_EQ(spec.classLabelWidth, 0);
    EXPECT_EQ(spec.toleranceWidth, 0);
  }
}

struct FailureCase {
  const char* name;
  Items table;
  ErrorKind kind;
  std::string detail;  // a part of the report
};

TEST(SettleTolerance, RejectsMalformedCandidates) {
  const FailureCase cases[] = {
      {"no size limit", {"", "H7"}, ErrorKind::kOutOfRange, "tolerance table row 2 \"H7\""},
      {"empty size limit",
       {"", "G6/1/2/3", "H7//+1/0"},
       ErrorKind::kTypeMismatch,
       "tolerance table row 3 \"H7//+1/0\""},
      {"size limit not a number", {"", "H7/1,5/+1/0"}, ErrorKind::kTypeMismatch, "\"1,5\""},
      {"size limit with a blank", {"", "H7/ 50/+1/0"}, ErrorKind::kTypeMismatch, "\" 50\""},
      {"bad row before the match",
       {"", "H7/x/+1/0", "H7/50/+1/0"},
       ErrorKind::kTypeMismatch,
       "row 2"},
      {"matching row of three fields",
       {"", "H7/10/+1/0", "H7/50/+1"},
       ErrorKind::kOutOfRange,
       "tolerance table row 3 \"H7/50/+1\""},
      {"matching row of two fields", {"", "H7/50"}, ErrorKind::kOutOfRange, "row 2"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      SettleTolerance(Key("H7"), &c.table, Context(20));
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_EQ(error.kind(), c.kind);
      EXPECT_NE(std::string(error.what()).find(c.detail), std::string::npos) << error.what();
    }
  }
}

TEST(SettleTolerance, ComparesAndCountsCharactersNotBytes) {
  const std::string saved = std::setlocale(LC_CTYPE, nullptr);
  if (std::setlocale(LC_CTYPE, "ja_JP.WINDOWS-31J") == nullptr) {
    GTEST_SKIP() << "locale ja_JP.WINDOWS-31J is missing; run scripts/setup-locales.sh as root";
  }
  // The key is phi (83 D3) and 7: the row's first two characters are three
  // bytes. Label phi7: L = 2, u = 3 + 0.5; k = 2, M = 2 (the upper text is
  // one double-byte character and the lower one two characters).
  const std::string key =
      "\x83\xD3"
      "7";
  const Items table = {"", key + "/50/\x83\xD3/-1"};
  const ToleranceSpec spec = SettleTolerance(Key(key), &table, Context(20));
  std::setlocale(LC_CTYPE, saved.c_str());
  EXPECT_EQ(spec.classLabel, key);
  EXPECT_EQ(spec.upperDeviation, "\"\x83\xD3");
  EXPECT_EQ(spec.classLabelWidth, 3.5);
  EXPECT_EQ(spec.toleranceWidth, 3.5 + 2 * 2.5 / 2 + 2 * 2.5 / 2);
}

}  // namespace
}  // namespace diadim
