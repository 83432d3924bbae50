// A shared object that is no application module, for tests that need a loaded file.
extern "C" __attribute__((visibility("default"))) int tovu_fixture_marker() { return 42; }
