// PNG files through libpng's simplified interface.
#include "standin/win32/png.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "standin/win32/utf8.h"

namespace standin {

namespace {

constexpr uint64_t kMaxPixels = uint64_t{1} << 24;

bool Fail(std::wstring* error, const std::wstring& path, const char* why) {
  if (error) *error = path + L": " + FromUtf8(why);
  return false;
}

png_image NewImage() {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  return image;
}

}  // namespace

bool WritePng(const std::wstring& path, int width, int height, const uint8_t* rgb, std::wstring* error) {
  if (width <= 0 || height <= 0 || !rgb) return Fail(error, path, "no pixels to write");
  FILE* file = std::fopen(ToUtf8(path).c_str(), "wb");
  if (!file) return Fail(error, path, std::strerror(errno));
  png_image image = NewImage();
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  const bool encoded = png_image_write_to_stdio(&image, file, 0, rgb, 0, nullptr) != 0;
  const int closeErrno = std::fclose(file) == 0 ? 0 : errno;
  if (encoded && closeErrno == 0) return true;
  // A picture written in part is removed, as libpng does; a device or other special file is not.
  std::error_code ec;
  const std::filesystem::path written(ToUtf8(path));
  if (std::filesystem::is_regular_file(written, ec)) std::filesystem::remove(written, ec);
  return Fail(error, path, encoded ? std::strerror(closeErrno) : image.message);
}

bool ReadPng(const std::wstring& path, int* width, int* height, std::vector<uint8_t>* rgb, std::wstring* error) {
  FILE* file = std::fopen(ToUtf8(path).c_str(), "rb");
  if (!file) return Fail(error, path, std::strerror(errno));
  png_image image = NewImage();
  bool read = png_image_begin_read_from_stdio(&image, file) != 0;
  if (read && uint64_t{image.width} * image.height > kMaxPixels) {
    png_image_free(&image);
    std::fclose(file);
    return Fail(error, path, "the picture is too large");
  }
  if (read) {
    image.format = PNG_FORMAT_RGB;
    rgb->assign(PNG_IMAGE_SIZE(image), 0);
    read = png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr) != 0;
  }
  std::fclose(file);
  if (!read) {
    png_image_free(&image);
    return Fail(error, path, image.message);
  }
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return true;
}

}  // namespace standin
