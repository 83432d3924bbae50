// PNG files for the tests and tovu-host: pictures as rows of red, green and blue bytes (three
// per pixel, the top row first), written and read through libpng.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

// Writes width by height pixels to path (UTF-8 on the way out). False when the file cannot be
// written, with the reason in *error when error is not null; no partial file is left behind.
bool WritePng(const std::wstring& path, int width, int height, const uint8_t* rgb, std::wstring* error);

// Reads a PNG file of any colour type as 8-bit red, green and blue. False when the file cannot
// be read or holds more than 16,777,216 pixels, with the reason in *error.
bool ReadPng(const std::wstring& path, int* width, int* height, std::vector<uint8_t>* rgb, std::wstring* error);

}  // namespace standin
