// The one place where the process meets its operating system: the command
// line, the current directory and whole-file reads and replaces. One source
// file per platform implements it (posix.cc, windows.cc).
#pragma once

#include <string>
#include <string_view>

namespace diadim::platform {

// The separator that the path rule puts between a directory and a name.
extern const char kPathSeparator;

// The argument text of the process: everything after the executable's own
// name and the blanks that follow it. On POSIX systems argv[1..] joined by
// single spaces, so that an empty argument stands for a double space.
std::string ArgumentText(int argc, char** argv);

// The process's current directory. Throws a file error when it cannot be
// found.
std::string CurrentDirectory();

// The whole content of the file at `path`. Throws a file error when the
// file cannot be opened or read.
std::string ReadFile(const std::string& path);

// Replaces the file at `path` with `content` in one step: the content goes
// to a new file in the same directory, which is then renamed over the
// target. On any failure the target keeps what it held, no new file is
// left behind, and a file error is thrown; a target that may not be written
// (read-only) is a failure too.
void ReplaceFile(const std::string& path, std::string_view content);

// Sine and cosine of an angle in radians, as the Linux build's C library
// gives them: the C library's own on POSIX systems; on Windows, whose C
// runtime is far off near multiples of pi/2, the correctly rounded ones,
// which agree with it but for rare last-bit differences.
double Sine(double radians);
double Cosine(double radians);

}  // namespace diadim::platform
