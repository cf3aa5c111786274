#include "run/path.h"

#include "base/text.h"
#include "platform/platform.h"

namespace diadim {

std::string JoinPath(std::string_view directory, char separator, std::string_view name) {
  std::string path(directory);
  // By character, not by byte: a double-byte character may end in the byte
  // of the separator.
  if (!LastCharacterIs(directory, separator)) path += separator;
  path += name;
  return path;
}

std::string ResolveInCurrentDirectory(std::string_view name) {
  return JoinPath(platform::CurrentDirectory(), platform::kPathSeparator, name);
}

}  // namespace diadim
