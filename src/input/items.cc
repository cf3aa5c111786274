#include "input/items.h"

#include "base/error.h"

namespace diadim {
namespace {

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// Consumes one terminator at `pos` (a comma or a line end; CR LF counts as
// one) and returns the position after it.
std::size_t SkipTerminator(std::string_view content, std::size_t pos) {
  if (pos >= content.size()) return pos;
  if (content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n') return pos + 2;
  return pos + 1;
}

std::size_t FindTerminator(std::string_view content, std::size_t pos) {
  while (pos < content.size() && content[pos] != ',' && !IsLineEnd(content[pos])) ++pos;
  return pos;
}

}  // namespace

Items ParseItems(std::string_view content, std::size_t maxItems, std::string_view fileRole) {
  Items items;
  std::size_t pos = 0;
  while (pos < content.size()) {
    if (items.size() == maxItems) {
      throw Error(ErrorKind::kOutOfRange, std::string(fileRole) + " holds more than " +
                                              std::to_string(maxItems) + " items");
    }
    while (pos < content.size() && (content[pos] == ' ' || content[pos] == '\t')) ++pos;
    if (pos < content.size() && content[pos] == '"') {
      const std::size_t start = pos + 1;
      std::size_t close = content.find('"', start);
      if (close == std::string_view::npos) close = content.size();
      items.emplace_back(content.substr(start, close - start));
      pos = close < content.size() ? SkipTerminator(content, FindTerminator(content, close + 1))
                                   : close;
    } else {
      const std::size_t end = FindTerminator(content, pos);
      items.emplace_back(content.substr(pos, end - pos));
      pos = SkipTerminator(content, end);
    }
  }
  return items;
}

}  // namespace diadim
