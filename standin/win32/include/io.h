// Just enough of the Microsoft C runtime's wide-string and file extras, behaving as the CRT
// does, for the module.
#pragma once

#include <cstdio>
#include <cstdlib>

// A malloc'ed copy, released with free(); NULL for a NULL argument or when memory runs out.
wchar_t* _wcsdup(const wchar_t* strSource);
// Compares as the CRT does, after folding both sides to lower case.
int _wcsicmp(const wchar_t* string1, const wchar_t* string2);
int _wcsnicmp(const wchar_t* string1, const wchar_t* string2, size_t count);
// Leading white space is skipped; text that is no number gives 0.0.
double _wtof(const wchar_t* str);
int _wtoi(const wchar_t* str);

// Opens a file by its wide name (UTF-8 on the way out) with an fopen mode: r, w or a, then any
// of "+", "b", "t". NULL with errno set when it cannot be opened; EINVAL for a null argument
// or another mode.
FILE* _wfopen(const wchar_t* filename, const wchar_t* mode);
// The descriptor of an open stream; -1 with errno EINVAL for NULL.
int _fileno(FILE* stream);
// The length in bytes of the file open on fd; -1 with errno EBADF for a bad descriptor. Chosen:
// a length that a 32-bit long cannot hold gives -1 with errno EFBIG.
long _filelength(int fd);
