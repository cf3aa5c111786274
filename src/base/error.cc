#include "base/error.h"

#include <cstdio>

namespace diadim {

const char* ErrorKindName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::kOutOfRange:
      return "out of range";
    case ErrorKind::kTypeMismatch:
      return "type mismatch";
    case ErrorKind::kInvalidArgument:
      return "invalid argument";
    case ErrorKind::kFileError:
      return "file error";
  }
  return "unknown error";
}

int ExitStatusOf(ErrorKind kind) { return static_cast<int>(kind); }

Error::Error(ErrorKind kind, const std::string& detail) : std::runtime_error(detail), kind_(kind) {}

std::string Quoted(std::string_view text) {
  // Long texts (a hostile item can be megabytes) are shortened: the report
  // says where the fault is, it need not repeat the whole input.
  constexpr std::size_t kMaxShown = 80;
  std::string out = "\"";
  std::size_t shown = 0;
  for (unsigned char c : text) {
    if (shown++ == kMaxShown) {
      out += "...";
      break;
    }
    if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += "\"";
  return out;
}

}  // namespace diadim
