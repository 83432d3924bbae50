// Conformance of global memory: movable and fixed blocks, lock counts, the refusals and error
// codes Windows gives.
// Compiled twice: against the stand-in on Linux and against the real Win32 under Wine.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(GlobalMemory, MovableBlocksLocksAndRefusals) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 64u);
  BYTE* p = static_cast<BYTE*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  EXPECT_NE(static_cast<void*>(p), h) << "a movable handle is not the address";
  EXPECT_EQ(p[63], 0);
  EXPECT_EQ(GlobalHandle(p), h);
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 2u);
  EXPECT_TRUE(GlobalUnlock(h)) << "still locked once";
  SetLastError(ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalFree(h), h) << "a second free is refused";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalFree(nullptr), nullptr);

  HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GlobalLock(empty), nullptr) << "born discarded";
  EXPECT_EQ(GlobalFlags(empty) & GMEM_DISCARDED, static_cast<UINT>(GMEM_DISCARDED));
  GlobalFree(empty);

  HGLOBAL fixed = GlobalAlloc(GPTR, 8);
  EXPECT_EQ(GlobalLock(fixed), static_cast<void*>(fixed)) << "a fixed block's handle is its address";
  EXPECT_TRUE(GlobalUnlock(fixed));
  GlobalFree(fixed);
}

TEST(GlobalMemory, HandlesThatNameNoBlockAreRefused) {
  HGLOBAL freed = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_EQ(GlobalFree(freed), nullptr);
  SetLastError(ERROR_SUCCESS);
  auto expect = [](const char* call, bool refused) {
    EXPECT_TRUE(refused) << call;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << call;
    SetLastError(ERROR_SUCCESS);
  };
  expect("GlobalLock", GlobalLock(freed) == nullptr);
  expect("GlobalUnlock", !GlobalUnlock(freed));
  expect("GlobalSize", GlobalSize(freed) == 0);
  expect("GlobalFlags", GlobalFlags(freed) == GMEM_INVALID_HANDLE);
  expect("GlobalFree", GlobalFree(freed) == freed);
}

TEST(GlobalMemory, TheLockCountStopsAt255AsWindowsDoes) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(h, nullptr);
  for (int i = 0; i < 300; ++i) ASSERT_NE(GlobalLock(h), nullptr);
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, static_cast<UINT>(GMEM_LOCKCOUNT));
  // The 45 locks past the cap were not counted: 254 unlocks leave it locked, the 255th frees it.
  for (int i = 0; i < 254; ++i) ASSERT_TRUE(GlobalUnlock(h)) << "unlock " << i;
  SetLastError(ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(h), nullptr);
}

}  // namespace
