// The main of every test program: each test process gets a registry file of its own, so no
// test reads or writes the user's settings and tests running side by side never meet. Under
// Windows the registry is the system's, in the test run's own Wine prefix.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#if defined(_WIN32)
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
#else
#include <unistd.h>

namespace {
char g_registry[4096];

// Registered before the registry saves anything, so it runs after the registry's own save
// at exit and takes the file away for good.
void RemoveRegistry() {
  std::remove(g_registry);
  std::remove((std::string(g_registry) + "." + std::to_string(getpid()) + ".tmp").c_str());
}
}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("TOVU_REGISTRY")) {
    const std::string file =
        (std::filesystem::temp_directory_path() / ("tovu-test-registry-" + std::to_string(getpid()) + ".reg")).string();
    std::snprintf(g_registry, sizeof g_registry, "%s", file.c_str());
    setenv("TOVU_REGISTRY", g_registry, 1);
    std::atexit(RemoveRegistry);
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
#endif
