// POSIX side of the platform layer.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <string>

#include "base/error.h"
#include "platform/platform.h"

namespace diadim::platform {
namespace {

std::string SystemReason() { return std::strerror(errno); }

[[noreturn]] void FailFile(const std::string& what, const std::string& path) {
  throw Error(ErrorKind::kFileError, what + " " + Quoted(path) + ": " + SystemReason());
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

const char kPathSeparator = '/';

std::string ArgumentText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

std::string CurrentDirectory() {
  std::string buffer(256, '\0');
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) {
      throw Error(ErrorKind::kFileError, "cannot find the current directory: " + SystemReason());
    }
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::strlen(buffer.c_str()));
  return buffer;
}

std::string ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) FailFile("cannot open", path);
  std::string content;
  char chunk[65536];
  for (;;) {
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0) {
      if (errno == EINTR) continue;
      const int saved = errno;
      ::close(fd);
      errno = saved;
      FailFile("cannot read", path);
    }
    if (got == 0) break;
    content.append(chunk, static_cast<std::size_t>(got));
  }
  ::close(fd);
  return content;
}

void ReplaceFile(const std::string& path, std::string_view content) {
  // A rename would replace even a file that may not be written; the host
  // made it read-only for a reason, and on Windows the replace fails too.
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) FailFile("cannot write", path);
  // The new file takes the place of the old one only once it is complete,
  // so the host's work file is never left half written. Its name is short
  // and of its own, so that a work file with a long name still gets one.
  std::string temporary = path.substr(0, path.rfind('/') + 1) + ".diadim-XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) FailFile("cannot create a new file beside", path);
  bool ok = true;
  std::string reason;
  auto fail = [&] {
    if (ok) reason = SystemReason();
    ok = false;
  };
  struct stat original;
  if (::stat(path.c_str(), &original) == 0 && ::fchmod(fd, original.st_mode & 07777) != 0) fail();
  if (ok && !WriteAll(fd, content)) fail();
  // On the disk before the rename: a crash right after it must not leave an
  // empty work file, and some file systems report a full disk only here.
  if (ok && ::fsync(fd) != 0) fail();
  if (::close(fd) != 0) fail();
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) fail();
  if (ok) return;
  ::unlink(temporary.c_str());
  throw Error(ErrorKind::kFileError, "cannot write " + Quoted(path) + ": " + reason);
}

double Sine(double radians) { return std::sin(radians); }

double Cosine(double radians) { return std::cos(radians); }

}  // namespace diadim::platform
