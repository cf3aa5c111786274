#include "base/number.h"

#include <charconv>
#include <cmath>

#include "base/error.h"

namespace diadim {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the accepted spelling and tells, for a value that the conversion
// finds out of range, whether it is too large (as opposed to too small).
struct Spelling {
  bool valid = false;
  bool large = false;
};

Spelling CheckSpelling(std::string_view text) {
  Spelling result;
  std::size_t i = 0;
  const std::size_t n = text.size();
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  // Decimal exponent of the first significant digit, relative to the
  // exponent part; only its sign matters, so it is clamped.
  long long leading = 0;
  bool seenSignificant = false;
  std::size_t digits = 0;
  long long position = 0;  // digits before the point, counted so far
  while (i < n && IsDigit(text[i])) {
    if (!seenSignificant && text[i] != '0') {
      seenSignificant = true;
      position = 0;
    }
    if (seenSignificant && position < 1000000) ++position;
    ++digits;
    ++i;
  }
  if (seenSignificant) leading = position - 1;
  if (i < n && text[i] == '.') {
    ++i;
    long long fractionIndex = 0;
    while (i < n && IsDigit(text[i])) {
      if (fractionIndex < 1000000) ++fractionIndex;
      if (!seenSignificant && text[i] != '0') {
        seenSignificant = true;
        leading = -fractionIndex;
      }
      ++digits;
      ++i;
    }
  }
  if (digits == 0) return result;
  long long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t exponentDigits = 0;
    while (i < n && IsDigit(text[i])) {
      if (exponent < 1000000000) exponent = exponent * 10 + (text[i] - '0');
      ++exponentDigits;
      ++i;
    }
    if (exponentDigits == 0) return result;
    if (negative) exponent = -exponent;
  }
  if (i != n) return result;
  result.valid = true;
  result.large = seenSignificant && leading + exponent > 0;
  return result;
}

// A finite double as its correctly rounded 15-significant-digit decimal:
// value = 0.d1d2...dn * 10^(exponent + 1), with no trailing zero digits.
// Zero has no digits.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;  // place value of digits[0] is 10^exponent
};

Decimal ToDecimal(double value) {
  Decimal decimal;
  char buffer[64];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  std::size_t i = 0;
  if (text[i] == '-') {
    decimal.negative = true;
    ++i;
  }
  const std::size_t e = text.find('e');
  for (; i < e; ++i) {
    if (text[i] != '.') decimal.digits += text[i];
  }
  std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                  decimal.exponent);
  while (!decimal.digits.empty() && decimal.digits.back() == '0') {
    decimal.digits.pop_back();
  }
  if (decimal.digits.empty()) decimal.negative = false;
  return decimal;
}

std::string FormatDecimal(const Decimal& decimal) {
  if (decimal.digits.empty()) return "0";
  std::string out = decimal.negative ? "-" : "";
  const int n = static_cast<int>(decimal.digits.size());
  if (decimal.exponent < 0) {
    out += "0.";
    out.append(static_cast<std::size_t>(-decimal.exponent - 1), '0');
    out += decimal.digits;
  } else if (decimal.exponent + 1 >= n) {
    out += decimal.digits;
    out.append(static_cast<std::size_t>(decimal.exponent + 1 - n), '0');
  } else {
    out.append(decimal.digits, 0, static_cast<std::size_t>(decimal.exponent + 1));
    out += '.';
    out.append(decimal.digits, static_cast<std::size_t>(decimal.exponent + 1));
  }
  return out;
}

void RequireFinite(double value) {
  if (!std::isfinite(value)) {
    throw Error(ErrorKind::kOutOfRange,
                "a computed number is not finite (the drawing values are too large)");
  }
}

}  // namespace

std::optional<double> ParseNumber(std::string_view text) {
  const Spelling spelling = CheckSpelling(text);
  if (!spelling.valid) return std::nullopt;
  // from_chars takes no plus sign.
  std::string_view digits = text;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec == std::errc::result_out_of_range) {
    if (spelling.large) return std::nullopt;
    return text.front() == '-' ? -0.0 : 0.0;
  }
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

double RequireNumber(std::string_view text, std::string_view where) {
  if (auto value = ParseNumber(text)) return *value;
  throw Error(ErrorKind::kTypeMismatch,
              std::string(where) + ": " + Quoted(text) + " is not a number");
}

double WholeNumber(double value) { return std::floor(value); }

std::string FormatNumber(double value) {
  RequireFinite(value);
  return FormatDecimal(ToDecimal(value));
}

std::string RoundToPlaces(double value, double places) {
  RequireFinite(value);
  Decimal decimal = ToDecimal(value);
  if (decimal.digits.empty()) return "0";
  const int n = static_cast<int>(decimal.digits.size());
  // Index of the last digit kept: the one whose place value is 10^-places.
  const double lastKept = decimal.exponent + places;
  if (lastKept >= n - 1) return FormatDecimal(decimal);  // nothing to round away
  if (lastKept < -1) return "0";                         // below half of the last place
  const int keep = static_cast<int>(lastKept) + 1;       // 0 <= keep < n
  const std::string_view rest =
      std::string_view(decimal.digits).substr(static_cast<std::size_t>(keep));
  bool up;
  if (rest[0] != '5') {
    up = rest[0] > '5';
  } else if (rest.size() > 1) {
    up = true;  // trailing zeros were stripped, so anything after the 5 is above half
  } else {
    const char lastDigit = keep > 0 ? decimal.digits[static_cast<std::size_t>(keep - 1)] : '0';
    up = (lastDigit - '0') % 2 == 1;
  }
  std::string kept = decimal.digits.substr(0, static_cast<std::size_t>(keep));
  int exponent = decimal.exponent;
  if (up) {
    int i = keep - 1;
    while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') {
      kept[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++kept[static_cast<std::size_t>(i)];
    } else {
      kept.insert(kept.begin(), '1');
      ++exponent;
    }
  }
  while (!kept.empty() && kept.back() == '0') kept.pop_back();
  Decimal rounded{decimal.negative, kept, exponent};
  if (rounded.digits.empty()) rounded.negative = false;
  return FormatDecimal(rounded);
}

}  // namespace diadim
