// The item rule shared by the work file and the tolerance table file.
//
// An item ends at a comma or at a line end (LF, CR LF or a lone CR); blanks
// in front of it are skipped; a blank line is an empty item; an item that
// begins with a double quote runs to the next double quote, across commas
// and line ends, and what follows the closing quote up to the next comma or
// line end is dropped. The last line end of the file adds no item.
//
//   ParseItems("lg3,ly1\r\nhs 1 2\r\n", 50, "the work file") -> {"lg3", "ly1", "hs 1 2"}
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace diadim {

using Items = std::vector<std::string>;

// The items of `content`, in file order. Throws an out-of-range error naming
// `fileRole` as soon as an item beyond `maxItems` is read.
Items ParseItems(std::string_view content, std::size_t maxItems, std::string_view fileRole);

}  // namespace diadim
