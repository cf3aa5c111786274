#include "base/trigonometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace diadim {
namespace {

// The arrow angle in radians as the geometry forms it.
double ArrowAngle(double degrees) { return (degrees * 3.1415926) / 180; }

// Correctly rounded values, worked out with 800-digit decimal arithmetic.
// Several are where a C library goes wrong: the x87 reduction near
// multiples of pi/2, a last-bit misrounding, the double closest to a
// multiple of pi/2.
TEST(Trigonometry, GivesTheCorrectlyRoundedValue) {
  const struct {
    double x;
    double sine;
    double cosine;
  } cases[] = {
      {ArrowAngle(15), 0x1.0907dbcf14ca2p-2, 0x1.ee8dd47e79a86p-1},
      {ArrowAngle(90), 0x1.ffffffffffffdp-1, 0x1.cc553391a6262p-26},
      {ArrowAngle(104), 0x1.f0ca9a37f3b16p-1, -0x1.ef74bb260445bp-3},
      {ArrowAngle(180), 0x1.cc553391a625fp-25, -0x1.ffffffffffff3p-1},
      {ArrowAngle(360), -0x1.cc553391a6254p-24, 0x1.fffffffffffccp-1},
      {0x1.921fb54442d18p-1, 0x1.6a09e667f3bccp-1, 0x1.6a09e667f3bcdp-1},  // pi/4
      {0x1.921fb54442d18p+0, 1, 0x1.1a62633145c07p-54},                    // pi/2
      {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53, -1},                   // pi
      {-0x1.8ebe684320386p+2, 0x1.b073050c832a0p-5, 0x1.ff493e48d14bfp-1},
      {1e22, -0x1.b453ab76bf397p-1, 0x1.0be2cef01c8f4p-1},
      {0x1.6ac5b262ca1ffp+849, 1, -0x1.14ae72e6ba22fp-61},
      {0x1.7e43c8800759cp+996, -0x1.a2c16b010e385p-1, -0x1.2699022adc4c1p-1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CorrectlyRoundedSine(c.x), c.sine) << std::hexfloat << c.x;
    EXPECT_EQ(CorrectlyRoundedCosine(c.x), c.cosine) << std::hexfloat << c.x;
  }
}

TEST(Trigonometry, KeepsSignsAndEdges) {
  EXPECT_TRUE(std::signbit(CorrectlyRoundedSine(-0.0)));
  EXPECT_EQ(CorrectlyRoundedSine(0.0), 0);
  EXPECT_EQ(CorrectlyRoundedCosine(-0.0), 1);
  EXPECT_EQ(CorrectlyRoundedSine(1e-300), 1e-300);
  EXPECT_EQ(CorrectlyRoundedCosine(1e-300), 1);
  EXPECT_EQ(CorrectlyRoundedSine(std::numeric_limits<double>::denorm_min()),
            std::numeric_limits<double>::denorm_min());
  EXPECT_TRUE(std::isfinite(CorrectlyRoundedSine(std::numeric_limits<double>::max())));
  EXPECT_TRUE(std::isnan(CorrectlyRoundedSine(std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(CorrectlyRoundedCosine(-std::numeric_limits<double>::infinity())));
  EXPECT_TRUE(std::isnan(CorrectlyRoundedSine(std::numeric_limits<double>::quiet_NaN())));
}

// Quadrants and reduction over the whole range of arrow angles and far
// beyond: within one unit in the last place of glibc's results (which are
// not always correctly rounded; MinGW-w64's are farther off and would fail
// here), and odd and even as they must be.
TEST(Trigonometry, AgreesWithTheCLibraryWithinOneUnit) {
  for (int i = -4000; i <= 4000; ++i) {
    for (const double x : {ArrowAngle(i / 10.0), i * 1234.5678, std::ldexp(i, 300)}) {
      const double s = CorrectlyRoundedSine(x);
      const double c = CorrectlyRoundedCosine(x);
      const double librarySine = std::sin(x);
      const double libraryCosine = std::cos(x);
      ASSERT_LE(std::fabs(s - librarySine), std::fabs(std::nextafter(librarySine, 2) - librarySine))
          << std::hexfloat << x;
      ASSERT_LE(std::fabs(c - libraryCosine),
                std::fabs(std::nextafter(libraryCosine, 2) - libraryCosine))
          << std::hexfloat << x;
      ASSERT_EQ(CorrectlyRoundedSine(-x), -s);
      ASSERT_EQ(CorrectlyRoundedCosine(-x), c);
    }
  }
}

}  // namespace
}  // namespace diadim
