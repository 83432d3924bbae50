// The fuzzers' way of handing an input to readers that open files by name: one in-memory file
// per process, rewritten for every input.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzz {

// The wide path of a file that holds exactly the input's bytes.
inline const std::wstring& FileWith(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("tovu-fuzz", 0);
  static const std::wstring path = L"/proc/self/fd/" + std::to_wstring(fd);
  if (fd < 0 || ftruncate(fd, 0) != 0) std::abort();
  for (size_t done = 0; done < size;) {
    const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) std::abort();
    done += static_cast<size_t>(n);
  }
  return path;
}

}  // namespace fuzz
