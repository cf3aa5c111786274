// Windows side of the platform layer. Every text that crosses it stays in
// the ANSI code page (the "A" functions), the code page of the work file and
// of the host's command line.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// windows.h maps ReplaceFile to ReplaceFileA; the platform layer's own
// ReplaceFile is meant here.
#undef ReplaceFile

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/trigonometry.h"
#include "platform/platform.h"

namespace diadim::platform {
namespace {

// The reason of a failed call in the same words as the C library uses on
// POSIX systems for the common cases, so that a report reads the same on
// both; the system's own message would be in the user's language.
std::string SystemReason(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return "No such file or directory";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return "Permission denied";
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
      return "Invalid argument";
    case ERROR_FILENAME_EXCED_RANGE:
      return "File name too long";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return "No space left on device";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      return "Cannot allocate memory";
    default: {
      char text[32];
      std::snprintf(text, sizeof text, "system error %lu", static_cast<unsigned long>(code));
      return text;
    }
  }
}

[[noreturn]] void FailFile(const std::string& what, const std::string& path, DWORD code) {
  throw Error(ErrorKind::kFileError, what + " " + Quoted(path) + ": " + SystemReason(code));
}

bool WriteAll(HANDLE file, std::string_view content) {
  while (!content.empty()) {
    // WriteFile takes at most a DWORD's worth at a time.
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, content.data(), chunk, &written, nullptr)) return false;
    content.remove_prefix(written);
  }
  return true;
}

// The directory part of `path`, up to and including its last separator
// ("\" or "/"), found by character: in a double-byte code page the trail
// byte of a character may be 0x5C.
std::string DirectoryOf(const std::string& path) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
    } else if (path[i] == '\\' || path[i] == '/') {
      end = i + 1;
    }
  }
  return path.substr(0, end);
}

// A new file in the directory of `path`, under a short name of its own so
// that a work file whose name is near the length limit still gets one. The
// file is created at once, so no other process can take the name in
// between.
HANDLE CreateNewFileBeside(const std::string& path, std::string& temporary) {
  static unsigned counter = 0;
  const std::string directory = DirectoryOf(path);
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".diadim-%06lX",
                  static_cast<unsigned long>(
                      (::GetCurrentProcessId() * 131u + ::GetTickCount() + counter++) & 0xFFFFFF));
    temporary = directory + name;
    const HANDLE file = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

}  // namespace

const char kPathSeparator = '\\';

std::string ArgumentText(int /*argc*/, char** /*argv*/) {
  // The command line exactly as the host wrote it: the C runtime's argv
  // would take quotes as grouping and fold runs of blanks, and a double
  // space must stay an empty parameter. The executable's name ends at the
  // first blank outside quotes, as the C runtime reads it, so a quoted path
  // with blanks in it is one name. No trail byte of a double-byte
  // character is a quote or a blank, so a byte-wise scan is safe.
  const std::string_view line = ::GetCommandLineA();
  std::size_t position = 0;
  bool quoted = false;
  for (; position < line.size(); ++position) {
    const char c = line[position];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      break;
    }
  }
  while (position < line.size() && (line[position] == ' ' || line[position] == '\t')) ++position;
  return std::string(line.substr(position));
}

std::string CurrentDirectory() {
  std::string buffer;
  DWORD size = ::GetCurrentDirectoryA(0, nullptr);
  for (;;) {
    if (size == 0) {
      throw Error(ErrorKind::kFileError,
                  "cannot find the current directory: " + SystemReason(::GetLastError()));
    }
    buffer.resize(size);
    const DWORD got = ::GetCurrentDirectoryA(size, buffer.data());
    // The directory may have changed between the two calls; then the size
    // that it needs now comes back.
    if (got != 0 && got < size) {
      buffer.resize(got);
      return buffer;
    }
    size = got;
  }
}

std::string ReadFile(const std::string& path) {
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) FailFile("cannot open", path, ::GetLastError());
  std::string content;
  char chunk[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) {
      const DWORD code = ::GetLastError();
      ::CloseHandle(file);
      FailFile("cannot read", path, code);
    }
    if (got == 0) break;
    content.append(chunk, got);
  }
  ::CloseHandle(file);
  return content;
}

void ReplaceFile(const std::string& path, std::string_view content) {
  // The host makes a work file read-only for a reason. MoveFileEx refuses
  // to replace such a file on Windows itself, but not under every emulation
  // of Windows, so the test is made here, as on POSIX systems.
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) FailFile("cannot write", path, ::GetLastError());
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    FailFile("cannot write", path, ERROR_ACCESS_DENIED);
  }
  // The new file takes the place of the old one only once it is complete,
  // and MoveFileEx replaces the old one in one step, so the host's work
  // file is never left half written.
  std::string temporary;
  const HANDLE file = CreateNewFileBeside(path, temporary);
  if (file == INVALID_HANDLE_VALUE) {
    FailFile("cannot create a new file beside", path, ::GetLastError());
  }
  bool ok = true;
  DWORD code = 0;
  auto fail = [&] {
    if (ok) code = ::GetLastError();
    ok = false;
  };
  if (!WriteAll(file, content)) fail();
  // On the disk before the move: a crash right after it must not leave an
  // empty work file.
  if (ok && !::FlushFileBuffers(file)) fail();
  if (!::CloseHandle(file)) fail();
  if (ok && !::MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) fail();
  if (ok) return;
  ::DeleteFileA(temporary.c_str());
  FailFile("cannot write", path, code);
}

double Sine(double radians) { return CorrectlyRoundedSine(radians); }

double Cosine(double radians) { return CorrectlyRoundedCosine(radians); }

}  // namespace diadim::platform
