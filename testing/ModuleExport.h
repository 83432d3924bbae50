// What a test's loadable module exports by name, for the host or a test to find with
// GetProcAddress: on Windows a DLL that exports anything explicitly exports nothing else.
#pragma once

#if defined(_WIN32)
#define TOVU_TEST_EXPORT extern "C" __declspec(dllexport)
#else
#define TOVU_TEST_EXPORT extern "C" __attribute__((visibility("default")))
#endif
