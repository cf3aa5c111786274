// The path rule for the work file and the tolerance table file: the current
// directory, a separator unless the directory already ends with one, then
// the name, which is always taken as relative.
#pragma once

#include <string>
#include <string_view>

namespace diadim {

// The pure rule, for a given directory and separator.
std::string JoinPath(std::string_view directory, char separator, std::string_view name);

// The rule applied to the process's current directory.
std::string ResolveInCurrentDirectory(std::string_view name);

}  // namespace diadim
