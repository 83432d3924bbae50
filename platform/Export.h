// Marks what the module exports: dllexport while building it, dllimport for its users, as on
// Windows; default visibility in an ELF build, where everything else is hidden.
#pragma once

#if defined(_WIN32)
#if defined(TOVUPLATFORM_EXPORTS)
#define TOVU_PLATFORM_API __declspec(dllexport)
#else
#define TOVU_PLATFORM_API __declspec(dllimport)
#endif
#else
#define TOVU_PLATFORM_API __attribute__((visibility("default")))
#endif
