// PNG files in the Windows build, which has no libpng (MinGW ships none): none are written or
// read, and every call says so, so that its callers need no case of their own.
#include "standin/win32/png.h"

namespace standin {

namespace {

bool Unavailable(std::wstring* error, const std::wstring& path) {
  if (error) *error = path + L": the Windows build reads and writes no PNG files";
  return false;
}

}  // namespace

bool WritePng(const std::wstring& path, int, int, const uint8_t*, std::wstring* error) {
  return Unavailable(error, path);
}

bool ReadPng(const std::wstring& path, int*, int*, std::vector<uint8_t>*, std::wstring* error) {
  return Unavailable(error, path);
}

}  // namespace standin
