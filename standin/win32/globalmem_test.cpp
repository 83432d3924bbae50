// The global memory stand-in's own controls: how much of a block lies past an address, for
// callers that must not read beyond it, and the size limit tests set.
#include "standin/win32/globalmem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

namespace {

TEST(GlobalMemory, BytesAvailableAndTheLimitTestsSet) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 64);
  BYTE* p = static_cast<BYTE*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(standin::GlobalBytesAvailable(p + 10), 54u);
  EXPECT_EQ(standin::GlobalBytesAvailable(&h), SIZE_MAX);
  GlobalUnlock(h);
  GlobalFree(h);

  const SIZE_T previous = standin::SetGlobalMemoryLimit(100);
  SetLastError(0);
  EXPECT_EQ(GlobalAlloc(GHND, 101), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  standin::SetGlobalMemoryLimit(previous);
}

}  // namespace
