#include "base/trigonometry.h"

#include <cmath>
#include <cstdint>

namespace diadim {
namespace {

// A number as the unevaluated sum hi + lo, |lo| <= half a unit in the last
// place of hi: about 106 bits. The operations are the classic error-free
// transformations; they are exact only because no multiply-add is fused.
struct DoubleDouble {
  double hi = 0;
  double lo = 0;
};

DoubleDouble TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

DoubleDouble QuickTwoSum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
}

// The halves of `a` with 26 bits each, whose products are exact.
DoubleDouble Split(double a) {
  const double t = 134217729.0 * a;  // 2^27 + 1
  const double hi = t - (t - a);
  return {hi, a - hi};
}

DoubleDouble TwoProduct(double a, double b) {
  const double p = a * b;
  const DoubleDouble x = Split(a);
  const DoubleDouble y = Split(b);
  return {p, ((x.hi * y.hi - p) + x.hi * y.lo + x.lo * y.hi) + x.lo * y.lo};
}

DoubleDouble Add(DoubleDouble a, DoubleDouble b) {
  DoubleDouble s = TwoSum(a.hi, b.hi);
  const DoubleDouble t = TwoSum(a.lo, b.lo);
  s.lo += t.hi;
  s = QuickTwoSum(s.hi, s.lo);
  s.lo += t.lo;
  return QuickTwoSum(s.hi, s.lo);
}

DoubleDouble Multiply(DoubleDouble a, DoubleDouble b) {
  DoubleDouble p = TwoProduct(a.hi, b.hi);
  p.lo += a.hi * b.lo + a.lo * b.hi;
  return QuickTwoSum(p.hi, p.lo);
}

DoubleDouble Divide(DoubleDouble a, double b) {
  const double q1 = a.hi / b;
  const DoubleDouble p = TwoProduct(q1, b);
  DoubleDouble r = TwoSum(a.hi, -p.hi);
  r.lo -= p.lo;
  r.lo += a.lo;
  const double q2 = (r.hi + r.lo) / b;
  return QuickTwoSum(q1, q2);
}

DoubleDouble Negate(DoubleDouble a) { return {-a.hi, -a.lo}; }

// pi/2 as a double-double.
constexpr DoubleDouble kHalfPi = {0x1.921fb54442d18p+0, 0x1.1a62633145c07p-54};

// The bits of 2/pi after the binary point, 32 at a time: enough for the
// largest double and 256 bits beyond it.
constexpr std::uint32_t kTwoOverPi[] = {
    0xA2F9836E, 0x4E441529, 0xFC2757D1, 0xF534DDC0, 0xDB629599, 0x3C439041, 0xFE5163AB, 0xDEBBC561,
    0xB7246E3A, 0x424DD2E0, 0x06492EEA, 0x09D1921C, 0xFE1DEB1C, 0xB129A73E, 0xE88235F5, 0x2EBB4484,
    0xE99C7026, 0xB45F7E41, 0x3991D639, 0x835339F4, 0x9C845F8B, 0xBDF9283B, 0x1FF897FF, 0xDE05980F,
    0xEF2F118B, 0x5A0A6D1F, 0x6D367ECF, 0x27CB09B7, 0x4F463F66, 0x9E5FEA2D, 0x7527BAC7, 0xEBE5F17B,
    0x3D0739F7, 0x8A5292EA, 0x6BFB5FB1, 0x1F8D5D08, 0x56033046, 0xFC7B6BAB, 0xF0CFBC20, 0x9AF4361D,
};
constexpr int kTwoOverPiWords = sizeof kTwoOverPi / sizeof kTwoOverPi[0];
// Words of 2/pi taken into one reduction, and words of the fraction kept.
// The bits of 2/pi left out beyond the window shift x * 2/pi by less than
// 2^-220, and the fraction keeps 192 bits: the double closest to a multiple
// of pi/2 (6381956970095103 * 2^797) is 2^-61 away from it, so r keeps more
// than 120 significant bits for every double.
constexpr int kWindowWords = 8;
constexpr int kFractionWords = 6;

// The reduction of x >= pi/4: x = (4n + quadrant) * pi/2 + r with
// |r| <= pi/4, r in double-double. x * 2/pi is formed exactly in integer
// arithmetic from the bits of 2/pi that matter for it (those whose product
// with x is a multiple of 4 are left out), so r keeps its precision however
// large x is and however close it lies to a multiple of pi/2.
struct Reduced {
  int quadrant = 0;
  DoubleDouble r;
};

Reduced Reduce(double x) {
  int exponent = 0;
  const double mantissa = std::frexp(x, &exponent);  // x = mantissa * 2^exponent
  const auto m = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
  const int e = exponent - 53;  // x = m * 2^e

  // Word i of 2/pi has its last bit at 2^(e - 32(i+1)) once multiplied by
  // x; words whose last bit is at 2^2 or above add multiples of 4.
  const int first = e >= 2 ? (e - 2) / 32 : 0;

  // product = m * (words first .. first + kWindowWords - 1), little-endian.
  std::uint32_t product[kWindowWords + 2] = {};
  const std::uint64_t mParts[2] = {m & 0xFFFFFFFFu, m >> 32};
  for (int j = 0; j < kWindowWords; ++j) {
    const int word = first + kWindowWords - 1 - j;  // the j-th from the low end
    const std::uint64_t w = word < kTwoOverPiWords ? kTwoOverPi[word] : 0;
    std::uint64_t carry = 0;
    for (int k = 0; k < 2; ++k) {
      const std::uint64_t sum = product[j + k] + w * mParts[k] + carry;
      product[j + k] = static_cast<std::uint32_t>(sum);
      carry = sum >> 32;
    }
    for (int k = j + 2; carry != 0 && k < kWindowWords + 2; ++k) {
      const std::uint64_t sum = product[k] + carry;
      product[k] = static_cast<std::uint32_t>(sum);
      carry = sum >> 32;
    }
  }
  // The product's last bit is at 2^-fractionBits.
  const int fractionBits = 32 * (first + kWindowWords) - e;
  auto bit = [&](int position) -> std::uint32_t {
    if (position < 0 || position >= 32 * (kWindowWords + 2)) return 0;
    return (product[position / 32] >> (position % 32)) & 1u;
  };
  auto bits32 = [&](int low) {  // the 32 bits from `low` upwards
    std::uint32_t value = 0;
    for (int i = 31; i >= 0; --i) value = (value << 1) | bit(low + i);
    return value;
  };

  Reduced reduced;
  reduced.quadrant = static_cast<int>(bit(fractionBits) | (bit(fractionBits + 1) << 1));
  // The first bits of the fraction, as words from the top.
  std::uint32_t fraction[kFractionWords];
  for (int i = 0; i < kFractionWords; ++i) fraction[i] = bits32(fractionBits - 32 * (i + 1));
  // A fraction of one half or more belongs to the next quadrant: take
  // fraction - 1: its magnitude 1 - fraction, with a minus sign.
  const bool upper = (fraction[0] >> 31) != 0;
  if (upper) {
    reduced.quadrant = (reduced.quadrant + 1) & 3;
    std::uint64_t borrow = 0;
    for (int i = kFractionWords - 1; i >= 0; --i) {
      const std::uint64_t difference = std::uint64_t{0} - fraction[i] - borrow;
      fraction[i] = static_cast<std::uint32_t>(difference);
      borrow = (difference >> 32) != 0 ? 1 : 0;
    }
  }
  DoubleDouble f;
  for (int i = 0; i < kFractionWords; ++i) {
    f = Add(f, {std::ldexp(static_cast<double>(fraction[i]), -32 * (i + 1)), 0});
  }
  if (upper) f = Negate(f);
  reduced.r = Multiply(f, kHalfPi);
  return reduced;
}

// The Taylor series of sin (odd) or cos (even) at |r| <= pi/4, summed in
// double-double until the terms no longer count.
DoubleDouble Series(DoubleDouble r, bool odd) {
  const DoubleDouble minusSquare = Negate(Multiply(r, r));
  DoubleDouble term = odd ? r : DoubleDouble{1, 0};
  DoubleDouble sum = term;
  for (int n = odd ? 2 : 1; n < 64; n += 2) {
    term = Divide(Multiply(term, minusSquare), static_cast<double>(n) * (n + 1));
    if (term.hi == 0 || std::fabs(term.hi) < std::fabs(sum.hi) * 0x1p-120) break;
    sum = Add(sum, term);
  }
  return sum;
}

constexpr double kQuarterPi = 0x1.921fb54442d18p-1;

// sin(x) for `sine`, cos(x) otherwise, for x >= 0.
double SineOrCosine(double x, bool sine) {
  Reduced reduced;
  if (x <= kQuarterPi) {
    reduced.r = {x, 0};
  } else {
    reduced = Reduce(x);
  }
  // sin(r + q pi/2) and cos(r + q pi/2) by quadrant.
  const int quadrant = sine ? reduced.quadrant : (reduced.quadrant + 1) & 3;
  const DoubleDouble value = Series(reduced.r, quadrant % 2 == 0);
  const double rounded = value.hi;
  return quadrant >= 2 ? -rounded : rounded;
}

}  // namespace

double CorrectlyRoundedSine(double x) {
  if (!std::isfinite(x)) return x - x;
  // Below 2^-27, x^3/6 is less than half a unit in the last place of x.
  if (std::fabs(x) < 0x1p-27) return x;
  return std::signbit(x) ? -SineOrCosine(-x, true) : SineOrCosine(x, true);
}

double CorrectlyRoundedCosine(double x) {
  if (!std::isfinite(x)) return x - x;
  // Below 2^-27, x^2/2 is less than half a unit in the last place of 1.
  if (std::fabs(x) < 0x1p-27) return 1;
  return SineOrCosine(std::fabs(x), false);
}

}  // namespace diadim
