// Just enough of the Microsoft C runtime's wide-string extras, behaving as the CRT does,
// for the module.
#pragma once

#include <cstdlib>

// A malloc'ed copy, released with free(); NULL for a NULL argument or when memory runs out.
wchar_t* _wcsdup(const wchar_t* strSource);
// Compares as the CRT does, after folding both sides to lower case.
int _wcsicmp(const wchar_t* string1, const wchar_t* string2);
int _wcsnicmp(const wchar_t* string1, const wchar_t* string2, size_t count);
// Leading white space is skipped; text that is no number gives 0.0.
double _wtof(const wchar_t* str);
int _wtoi(const wchar_t* str);
