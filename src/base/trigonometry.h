// Sine and cosine that give the same bits on every platform.
//
// The arrowheads are drawn with the sine and cosine of the arrow angle, and
// the Linux and Windows builds must write the same coordinates. The C
// libraries do not agree: the MinGW-w64 runtime uses the x87 instructions,
// whose reduction by a 66-bit pi is off by many units in the last place near
// multiples of pi/2 (cos of an angle near 90 degrees differs from the 12th
// digit on), while glibc's results are correctly rounded in all but the
// rarest cases. These two compute with an exact argument reduction and
// double-double arithmetic and round once at the end, using nothing but
// IEEE additions, multiplications and divisions: they give the correctly
// rounded result, the same as glibc's in practice, on every platform.
//
//   const double dx = length * Sine(angle);
#pragma once

namespace diadim {

// sin(x) and cos(x) of `x` in radians, correctly rounded save for arguments
// whose result lies within 2^-100 of a rounding boundary. Not a number for
// an infinite or not-a-number `x`.
double Sine(double x);
double Cosine(double x);

}  // namespace diadim
