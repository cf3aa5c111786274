#include "run/path.h"

#include <gtest/gtest.h>

namespace diadim {
namespace {

TEST(JoinPath, PutsOneSeparatorBetweenDirectoryAndName) {
  EXPECT_EQ(JoinPath("C:\\work", '\\', "dim.tmp"), "C:\\work\\dim.tmp");
  EXPECT_EQ(JoinPath("C:\\", '\\', "dim.tmp"), "C:\\dim.tmp");
  EXPECT_EQ(JoinPath("/tmp", '/', "dim.tmp"), "/tmp/dim.tmp");
  EXPECT_EQ(JoinPath("/", '/', "dim.tmp"), "/dim.tmp");
  // A full path is appended all the same: the name is always relative.
  EXPECT_EQ(JoinPath("/tmp", '/', "/etc/x"), "/tmp//etc/x");
  EXPECT_EQ(JoinPath("/tmp", '/', ""), "/tmp/");
}

}  // namespace
}  // namespace diadim
