#include "input/items.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace diadim {
namespace {

TEST(ParseItems, FollowsTheItemRule) {
  const struct {
    const char* name;
    std::string content;
    Items items;
  } cases[] = {
      {"comma and line end", "a,b\r\nc\n", {"a", "b", "c"}},
      {"comma before line end", "a,\r\n", {"a", ""}},
      {"comma at end of file", "a,", {"a"}},
      {"last line without line end", "a\nb", {"a", "b"}},
      {"blank line", "a\n\nb\n", {"a", "", "b"}},
      {"lone CR", "a\rb\r", {"a", "b"}},
      {"CR CR LF", "a\r\r\n", {"a", ""}},
      {"leading blanks skipped", "  \thp1   1 2\n", {"hp1   1 2"}},
      {"trailing blanks kept", "lg3  \n", {"lg3  "}},
      {"inner spaces kept", "hs 1 2 3\n", {"hs 1 2 3"}},
      {"quoted with comma", "\"a,b\",c\n", {"a,b", "c"}},
      {"quoted across line end", "\"a\r\nb\"\r\nc\n", {"a\r\nb", "c"}},
      {"after closing quote dropped", "\"a\"xyz,b\n", {"a", "b"}},
      {"unterminated quote", "\"abc,d\n", {"abc,d\n"}},
      {"quote inside item", "a\"b,c\n", {"a\"b", "c"}},
      {"NUL byte", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {"empty file", "", {}},
      {"blanks at end of file", "a\n  ", {"a", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseItems(c.content, 50, "the work file"), c.items) << c.name;
  }
}

TEST(ParseItems, StopsBeyondTheLimit) {
  std::string fifty;
  for (int i = 0; i < 50; ++i) fifty += "x\r\n";
  EXPECT_EQ(ParseItems(fifty, 50, "the work file").size(), 50u);
  try {
    ParseItems(fifty + "\r\n", 50, "the work file");
    FAIL();
  } catch (const Error& error) {
    EXPECT_EQ(error.kind(), ErrorKind::kOutOfRange);
    EXPECT_STREQ(error.what(), "the work file holds more than 50 items");
  }
}

}  // namespace
}  // namespace diadim
