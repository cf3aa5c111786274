// Numbers as the host writes and reads them.
//
// Reading: ParseNumber accepts an optional sign, digits with an optional
// decimal point and an optional exponent, and nothing else (no blanks, no
// nan or inf, no group separators), independent of the locale.
//
// Writing: FormatNumber gives at most 15 significant digits in plain fixed
// notation, without trailing zeros or a trailing point: 20, 0.5, -0.25.
// RoundToPlaces does the same after rounding to a number of decimal places,
// exact halves to the even neighbour, in decimal arithmetic.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace diadim {

// The value of a number text; nullopt for anything that is not a number,
// also for a value beyond the range of a double (1e400). A value below the
// smallest magnitude reads as zero or a subnormal.
std::optional<double> ParseNumber(std::string_view text);

// ParseNumber that throws a type mismatch naming `where` when the text is
// not a number.
double RequireNumber(std::string_view text, std::string_view where);

// A whole number as the host means it: truncated toward minus infinity
// (1.9 gives 1, -0.5 gives -1). Kept as a double, so no value overflows.
double WholeNumber(double value);

// The number-to-text rule. Throws an out-of-range error for a value that is
// not finite: such a value can only come from an overflow and must never
// reach a record.
std::string FormatNumber(double value);

// `value` taken as its 15-significant-digit decimal, rounded to `places`
// decimal places (half to even) and written by the number-to-text rule.
// A number of places beyond the digits at hand keeps every digit.
std::string RoundToPlaces(double value, double places);

}  // namespace diadim
