#include "base/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/error.h"

namespace diadim {
namespace {

TEST(ParseNumber, AcceptsPlainAndExponentSpellings) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"0", 0},   {"20", 20},     {"-0.5", -0.5}, {"+3", 3},      {".5", 0.5},
      {"5.", 5},  {"5.25", 5.25}, {"1e3", 1000},  {"1E-2", 0.01}, {"-2.5e+1", -25},
      {"007", 7}, {"1e-400", 0},  {"0.1", 0.1},
  };
  for (const auto& c : cases) {
    const auto value = ParseNumber(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_EQ(*value, c.value) << c.text;
  }
  EXPECT_EQ(*ParseNumber("1e-320"), 1e-320);  // a subnormal, as the conversion gives it
  EXPECT_TRUE(std::signbit(*ParseNumber("-1e-400")));
}

TEST(ParseNumber, RejectsEverythingElse) {
  for (const char* text :
       {"",    " 1",   "1 ",  "+",   "-",   ".",     "e5",  "1e",    "1e+",    "nan",
        "inf", "0x10", "1,5", "1d3", "--1", "1.2.3", "\t1", "1e400", "-1e400", "１"}) {
    EXPECT_FALSE(ParseNumber(text).has_value()) << text;
  }
}

TEST(RequireNumber, ThrowsTypeMismatchNamingThePlace) {
  try {
    RequireNumber("abc", "parameter 5 (extensionGap)");
    FAIL();
  } catch (const Error& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kTypeMismatch);
    EXPECT_STREQ(error.what(), "parameter 5 (extensionGap): \"abc\" is not a number");
  }
}

TEST(WholeNumber, TruncatesTowardMinusInfinity) {
  EXPECT_EQ(WholeNumber(1.9), 1);
  EXPECT_EQ(WholeNumber(-0.5), -1);
  EXPECT_EQ(WholeNumber(3), 3);
  EXPECT_EQ(WholeNumber(1e300), 1e300);
}

TEST(FormatNumber, WritesFifteenSignificantDigitsInFixedNotation) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {20, "20"},
      {20.5, "20.5"},
      {0.5, "0.5"},
      {-0.25, "-0.25"},
      {1.0 / 3, "0.333333333333333"},
      {0.1 + 0.2, "0.3"},
      {1e-20, "0.00000000000000000001"},
      {1e20, "100000000000000000000"},
      {-0.0, "0"},
      {9.99999999999999999, "10"},
      {999999999999999.9, "1000000000000000"},
      {123456.7890123456789, "123456.789012346"},
      {29.223542877562, "29.223542877562"},
      {37.1022225177, "37.1022225177"},
      {-2.8977774823, "-2.8977774823"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.value), c.text) << c.text;
  // A subnormal: its first digit stands at the 321st decimal place.
  EXPECT_EQ(FormatNumber(1e-320), "0." + std::string(320, '0') + "999988867182683");
}

TEST(FormatNumber, RefusesNumbersThatAreNotFinite) {
  for (double value :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    try {
      FormatNumber(value);
      FAIL();
    } catch (const Error& error) {
      EXPECT_EQ(error.kind(), ErrorKind::kOutOfRange);
    }
  }
}

TEST(RoundToPlaces, RoundsTheDecimalHalfToEven) {
  const struct {
    double value;
    double places;
    const char* text;
  } cases[] = {
      {20, 2, "20"},
      {20.46, 1, "20.5"},
      {2.5, 0, "2"},
      {3.5, 0, "4"},
      {0.5, 1, "0.5"},
      {0.125, 2, "0.12"},
      {0.375, 2, "0.38"},
      {2.675, 2, "2.68"},
      {9.96, 1, "10"},
      {99.5, 0, "100"},
      {0.4, 0, "0"},
      {0.5, 0, "0"},
      {0.51, 0, "1"},
      {0.05, 0, "0"},
      {1.5, 0, "2"},
      {0.0049, 2, "0"},
      {0.005, 2, "0"},
      {0.0051, 2, "0.01"},
      {0.015, 2, "0.02"},
      {40, 0, "40"},
      {1.0 / 3, 1e9, "0.333333333333333"},
      {1.0 / 3, 1e300, "0.333333333333333"},
      {123.456, 20, "123.456"},
      {0, 3, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundToPlaces(c.value, c.places), c.text) << c.value << " to " << c.places;
  }
}

}  // namespace
}  // namespace diadim
