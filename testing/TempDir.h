// A scratch folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace tovutest {

class TempDir {
 public:
  // A new folder of a random name, made by this process alone (create_directory fails on one that exists).
  TempDir() {
    std::random_device random;
    std::error_code ec;
    for (int attempt = 0; attempt < 100 && m_path.empty(); ++attempt) {
      const auto candidate = std::filesystem::temp_directory_path(ec) / ("tovu-test-" + std::to_string(random()));
      if (!ec && std::filesystem::create_directory(candidate, ec)) m_path = candidate;
    }
  }
  ~TempDir() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  // Names are UTF-8 on every platform.
  std::filesystem::path operator/(const std::string& name) const { return m_path / std::filesystem::u8path(name); }

  // Writes bytes to a file in the folder and returns its path.
  std::filesystem::path Write(const std::string& name, const std::string& bytes) const {
    const auto file = *this / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }
  // Copies a file into the folder under a new name and returns its path.
  std::filesystem::path Copy(const std::string& from, const std::string& name) const {
    const auto file = *this / name;
    std::filesystem::copy_file(from, file, std::filesystem::copy_options::overwrite_existing);
    return file;
  }

 private:
  std::filesystem::path m_path;
};

}  // namespace tovutest
