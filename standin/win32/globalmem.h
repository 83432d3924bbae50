// Control of the global memory stand-in, for tests and the other stand-ins: a limit on block
// sizes, and the bounds of a block for code that reads through raw addresses.
#pragma once

#include <winbase.h>

namespace standin {

// Largest block GlobalAlloc grants; bigger requests fail with ERROR_NOT_ENOUGH_MEMORY as on
// a machine without that much memory. Returns the previous limit. The default is 1 GiB.
SIZE_T SetGlobalMemoryLimit(SIZE_T bytes);

// For the other stand-ins, which take raw addresses as Windows' APIs do: when p lies inside a
// live global block, the number of bytes from p to the block's end; SIZE_MAX otherwise
// (memory the stand-in knows nothing about, which the caller vouches for).
SIZE_T GlobalBytesAvailable(LPCVOID p);

}  // namespace standin
