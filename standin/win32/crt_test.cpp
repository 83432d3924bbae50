// The C runtime stand-in's answers to arguments that Windows' C runtime hands to its invalid
// parameter handler, which by default ends the process: the stand-in refuses them with the
// errno and result the calls give when a handler lets them go on.
#include <gtest/gtest.h>
#include <io.h>

#include <cerrno>
#include <cstdlib>

#include "standin/win32/utf8.h"
#include "testing/TempDir.h"

namespace {

TEST(Crt, InvalidArgumentsAreRefused) {
  EXPECT_EQ(_wcsdup(nullptr), nullptr);
  EXPECT_DOUBLE_EQ(_wtof(nullptr), 0.0);
  tovutest::TempDir dir;
  const std::wstring path = standin::FromUtf8(dir.Write("file", "x").string());
  EXPECT_EQ(_wfopen(path.c_str(), L"rx"), nullptr);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(_wfopen(nullptr, L"rb"), nullptr);
  EXPECT_EQ(_fileno(nullptr), -1);
  EXPECT_EQ(_filelength(-1), -1);
  EXPECT_EQ(errno, EBADF);
}

}  // namespace
