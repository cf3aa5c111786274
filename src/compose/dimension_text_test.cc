#include "compose/dimension_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <optional>
#include <string>

#include "base/error.h"

namespace diadim {
namespace {

// Value kind: width 3, spacing 0.5.
DrawingContext Context(double diameter, std::optional<double> scale = 2) {
  DrawingContext context;
  context.valueMetrics.charWidth = 3;
  context.valueMetrics.charSpacing = 0.5;
  context.scale = scale;
  context.p2.y = diameter;
  context.diameter = diameter;
  return context;
}

RunParameters Parameters(double decimals, const std::string& symbol = "", double symbolPosition = 0,
                         double digitForm = 0) {
  RunParameters parameters;
  parameters.decimals = decimals;
  parameters.diameterSymbol = symbol;
  parameters.symbolPosition = symbolPosition;
  parameters.digitForm = digitForm;
  return parameters;
}

TEST(BuildDimensionText, MeasuresEachDigitForm) {
  // A one-character symbol in front of 20.46 rounded to one place: L = 5.
  const DimensionText half = BuildDimensionText(Parameters(1, "@", 0, 0), Context(20.46));
  EXPECT_EQ(half.text, "@20.5");
  EXPECT_EQ(half.width, 23);  // 2 x (1.5 + 5 x 1.5 + 5 x 0.5)

  const DimensionText other = BuildDimensionText(Parameters(1, "@", 0, 2), Context(20.46));
  EXPECT_EQ(other.text, "@20.5");
  EXPECT_EQ(other.width, 0);
}

TEST(BuildDimensionText, RoundsHalfToEven) {
  const struct {
    double diameter;
    double decimals;
    const char* text;
  } cases[] = {
      {20, 2, "20"},
      {20.5, 2, "20.5"},
      {2.5, 0, "2"},
      {3.5, 0, "4"},
      {0.125, 2, "0.12"},
      {2.675, 2, "2.68"},
      {0.5, 1, "0.5"},
      {1.23456, 2.5, "1.23"},
      {1.23456, 3.5, "1.2346"},  // the number of places is rounded half to even too
      {2.5, -0.5, "2"},          // -0.5 rounds to 0 places, not to -1
      {0.1, 20, "0.1"},          // more places than the 15-digit decimal holds
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(BuildDimensionText(Parameters(c.decimals), Context(c.diameter)).text, c.text);
  }
}

TEST(BuildDimensionText, PutsTheSymbolFirstOnlyForPositionZero) {
  EXPECT_EQ(BuildDimensionText(Parameters(1, "D", 0), Context(20.5)).text, "D20.5");
  for (double position : {1.0, 7.0, -1.0}) {
    EXPECT_EQ(BuildDimensionText(Parameters(1, "D", position), Context(20.5)).text, "20.5D");
  }
  // A symbol of several characters counts each of them, plus the extra width.
  EXPECT_EQ(BuildDimensionText(Parameters(1, "NN", 1), Context(20.5)).width,
            2 * (1.5 + 6 * 1.5 + 6 * 0.5));
}

TEST(BuildDimensionText, CountsNoExtraWidthWithoutASymbol) {
  // L = 4: 2 x w1 + 4 x d1, unscaled.
  EXPECT_EQ(BuildDimensionText(Parameters(1), Context(20.5, 1)).width, 2 * 3 + 4 * 0.5);
  EXPECT_EQ(BuildDimensionText(Parameters(1), Context(20.5, std::nullopt)).width, 0);
  DrawingContext unsetMetrics = Context(20.5);
  unsetMetrics.valueMetrics = TextMetrics{};
  EXPECT_EQ(BuildDimensionText(Parameters(1, "@"), unsetMetrics).width, 0);
}

TEST(BuildDimensionText, LeavesOtherDigitFormsUnmeasured) {
  for (double digitForm : {2.0, -1.0}) {
    const DimensionText text = BuildDimensionText(Parameters(0, "", 0, digitForm), Context(20));
    EXPECT_EQ(text.text, "20");
    EXPECT_EQ(text.width, 0);
  }
}

TEST(BuildDimensionText, RejectsANegativeNumberOfPlaces) {
  for (double decimals : {-1.0, -0.6, -2.5}) {
    RunParameters parameters = Parameters(decimals);
    try {
      BuildDimensionText(parameters, Context(20));
      ADD_FAILURE() << decimals << " places accepted";
    } catch (const Error& error) {
      EXPECT_EQ(error.kind(), ErrorKind::kInvalidArgument);
      EXPECT_NE(std::string(error.what()).find("decimals"), std::string::npos);
    }
  }
}

TEST(BuildDimensionText, RefusesADiameterThatOverflowed) {
  // y2 - y1 beyond the range of a double: no "inf" may reach the value text.
  try {
    BuildDimensionText(Parameters(2), Context(std::numeric_limits<double>::infinity()));
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kOutOfRange);
  }
}

// Under code page 932, where the host's diameter symbol is the double-byte
// phi (83 D3); the previous code page is restored afterwards.
class BuildDimensionTextCodePage932 : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_CTYPE, nullptr);
    if (std::setlocale(LC_CTYPE, "ja_JP.WINDOWS-31J") == nullptr) {
      GTEST_SKIP() << "locale ja_JP.WINDOWS-31J is missing; run scripts/setup-locales.sh as root";
    }
  }
  void TearDown() override { std::setlocale(LC_CTYPE, saved_.c_str()); }

 private:
  std::string saved_;
};

constexpr char kPhi[] = "\x83\xD3";

TEST_F(BuildDimensionTextCodePage932, CountsADoubleByteSymbolAsOneCharacter) {
  const DimensionText half = BuildDimensionText(Parameters(1, kPhi, 0, 0), Context(20.46));
  EXPECT_EQ(half.text,
            "\x83\xD3"
            "20.5");
  EXPECT_EQ(half.width, 23);  // L = 5, not the 6 bytes
}

TEST_F(BuildDimensionTextCodePage932, ConvertsTheWholeTextToFullWidth) {
  // The phi is full-width already and stays; 2, 0, the point and 5 become
  // 82 51, 82 4F, 81 44, 82 54. L stays 5: 2 x (3 + 5 x 3 + 5 x 0.5).
  const DimensionText phi = BuildDimensionText(Parameters(1, kPhi, 0, 1), Context(20.46));
  EXPECT_EQ(phi.text, "\x83\xD3\x82\x51\x82\x4F\x81\x44\x82\x54");
  EXPECT_EQ(phi.width, 41);
  // A half-width symbol is converted with the digits (D becomes 82 63).
  const DimensionText letter = BuildDimensionText(Parameters(0, "D", 1, 1), Context(20));
  EXPECT_EQ(letter.text, "\x82\x51\x82\x4F\x82\x63");
  EXPECT_EQ(letter.width, 2 * (3 + 3 * 3 + 3 * 0.5));
}

}  // namespace
}  // namespace diadim
