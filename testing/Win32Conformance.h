// What the Win32 conformance tests share, which run against the stand-in on Linux and against
// the real Win32 under Wine: wide file names, DIBs in global memory, loading pictures, and
// whether Wine is the one answering.
#pragma once

#include <windows.h>
// After windows.h, which the SDK's other headers need first.
#include <olectl.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "standin/win32/utf8.h"

namespace tovutest {

// The wide name Win32 takes for a path: Windows' own wide path (string() would go through the
// ANSI code page), the stand-in's from UTF-8.
inline std::wstring WidePath(const std::filesystem::path& path) {
#if defined(_WIN32)
  return path.wstring();
#else
  return standin::FromUtf8(path.string());
#endif
}

// True under Wine, for the few cases where Wine itself departs from Windows.
inline bool UnderWine() {
#if defined(_WIN32)
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
  return false;
#endif
}

// A packed DIB in a global block, so that the stand-in's GDI keeps its reads inside it.
class GlobalDib {
 public:
  GlobalDib(const std::vector<uint8_t>& bytes, size_t bitsAt) : m_bitsAt(bitsAt) {
    m_block = GlobalAlloc(GMEM_FIXED, bytes.size());
    std::memcpy(m_block, bytes.data(), bytes.size());
  }
  ~GlobalDib() { GlobalFree(m_block); }
  GlobalDib(const GlobalDib&) = delete;
  GlobalDib& operator=(const GlobalDib&) = delete;
  const BITMAPINFO* info() const { return static_cast<const BITMAPINFO*>(m_block); }
  const void* bits() const { return static_cast<const BYTE*>(m_block) + m_bitsAt; }

 private:
  HGLOBAL m_block;
  size_t m_bitsAt;
};

// Loads a picture from bytes as a preview does: a movable block, a stream that frees it.
inline HRESULT LoadPicture(const std::vector<BYTE>& bytes, IPicture** picture, REFIID riid = IID_IPicture) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  IStream* stream = nullptr;
  if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK) return E_FAIL;
  const HRESULT hr =
      OleLoadPicture(stream, static_cast<LONG>(bytes.size()), TRUE, riid, reinterpret_cast<LPVOID*>(picture));
  stream->Release();
  return hr;
}

}  // namespace tovutest
