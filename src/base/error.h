// The one error type of a run. Every failure is thrown where it is found,
// with its kind and a detail that says where and what, and is reported once
// by the entry point, which also maps the kind to the exit status.
//
//   throw Error(ErrorKind::kTypeMismatch, "parameter 5 (extensionGap): \"x\" is not a number");
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace diadim {

enum class ErrorKind {
  kOutOfRange = 1,       // a missing position, piece, record or item; a bound exceeded
  kTypeMismatch = 2,     // a text that should be a number is not one
  kInvalidArgument = 3,  // a switch without its text; a negative number of decimals
  kFileError = 4,        // a file that cannot be opened, read or replaced
};

// The words that name a kind in the error report.
const char* ErrorKindName(ErrorKind kind);

// The process exit status of a failed run of this kind.
int ExitStatusOf(ErrorKind kind);

class Error : public std::runtime_error {
 public:
  Error(ErrorKind kind, const std::string& detail);
  ErrorKind kind() const { return kind_; }

 private:
  ErrorKind kind_;
};

// Quotes a text for an error detail: "text", with control bytes escaped so
// that the report stays on one line.
std::string Quoted(std::string_view text);

}  // namespace diadim
