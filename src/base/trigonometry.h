// Correctly rounded sine and cosine, the same bits on every platform.
//
// The arrowheads are drawn with the sine and cosine of the arrow angle, and
// the Linux and Windows builds must write the same coordinates. The Linux
// build takes them from its C library (glibc), whose results are correctly
// rounded but for about one argument in three hundred, where they are one
// unit off in the last place. The MinGW-w64 runtime uses the x87
// instructions, whose reduction by a 66-bit pi is off by many units near
// multiples of pi/2 (cos of an angle near 90 degrees differs from the 12th
// digit on). So the Windows side of the platform layer uses these two: an
// exact argument reduction and double-double arithmetic, rounded once at the
// end with nothing but IEEE additions, multiplications and divisions.
//
//   const double dx = length * CorrectlyRoundedSine(angle);
#pragma once

namespace diadim {

// sin(x) and cos(x) of `x` in radians, correctly rounded save for arguments
// whose result lies within 2^-100 of a rounding boundary. Not a number for
// an infinite or not-a-number `x`.
double CorrectlyRoundedSine(double x);
double CorrectlyRoundedCosine(double x);

}  // namespace diadim
