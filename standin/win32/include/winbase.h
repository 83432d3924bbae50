// Just enough of the Win32 global memory API, behaving as Windows' does (movable blocks behind
// handles, lock counts, the same refusals and error codes), for DIBs, picture streams and
// clipboard-style hand-overs of memory between the module and its callers.
#pragma once

#include <windef.h>

#include <cstddef>

typedef HANDLE HGLOBAL;
typedef size_t SIZE_T;

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_NOCOMPACT 0x0010
#define GMEM_NODISCARD 0x0020
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GMEM_DISCARDABLE 0x0100
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE 0x2000
#define GMEM_INVALID_HANDLE 0x8000
#define GMEM_LOCKCOUNT 0x00FF
#define GMEM_DISCARDED 0x4000
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define ERROR_NOT_LOCKED 158L

// A fixed block's handle is its address; a movable block's handle is not an address and
// must be locked to reach the memory. A movable block of 0 bytes is born discarded: it has
// a handle but GlobalLock gives null.
HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
// Null for a handle that names no block (ERROR_INVALID_HANDLE) or a discarded block.
LPVOID GlobalLock(HGLOBAL hMem);
// TRUE while the block stays locked; FALSE with ERROR_SUCCESS when the last lock is
// released, FALSE with ERROR_NOT_LOCKED when it was not locked.
BOOL GlobalUnlock(HGLOBAL hMem);
// 0 with ERROR_INVALID_HANDLE for a handle that names no block.
SIZE_T GlobalSize(HGLOBAL hMem);
// Null on success (also for a null handle); the handle itself, with ERROR_INVALID_HANDLE,
// when it names no block (a second free). A locked block is freed too, as Windows does.
HGLOBAL GlobalFree(HGLOBAL hMem);
// The handle of the block that starts at a locked address (or of a fixed block).
HGLOBAL GlobalHandle(LPCVOID pMem);
// GMEM_DISCARDED and the lock count; GMEM_INVALID_HANDLE for a handle that names no block.
UINT GlobalFlags(HGLOBAL hMem);
