// Just enough of the Win32 global memory API, behaving as Windows' does, for DIBs, picture
// streams and hand-overs of memory between the module and its callers.
#include "standin/win32/globalmem.h"

#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

namespace {

// The handle-table entry a movable handle points to, as on Windows; it is never read through
// the handle, only looked up.
struct HandleEntry {
  void* unused;
};

struct Block {
  BYTE* data = nullptr;
  SIZE_T size = 0;
  bool moveable = false;
  bool discarded = false;
  UINT locks = 0;
  std::unique_ptr<HandleEntry> entry;
};

struct Heap {
  std::mutex mutex;
  std::map<HGLOBAL, Block> blocks;
  std::map<uintptr_t, HGLOBAL> byAddress;  // start address of every block with memory
  SIZE_T limit = SIZE_T{1} << 30;
};

Heap& TheHeap() {
  static Heap* heap = new Heap;  // outlives every static that frees memory at exit
  return *heap;
}

// The block a handle names, with the heap locked; null, with ERROR_INVALID_HANDLE, for any other
// handle.
Block* Find(Heap& heap, HGLOBAL h) {
  auto it = heap.blocks.find(h);
  if (it != heap.blocks.end()) return &it->second;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  const bool moveable = (uFlags & GMEM_MOVEABLE) != 0;
  if (dwBytes > heap.limit) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Block block;
  block.moveable = moveable;
  block.size = dwBytes;
  if (moveable && dwBytes == 0) {
    block.discarded = true;
  } else {
    // One spare byte keeps zero-byte fixed blocks distinct addresses.
    void* p = (uFlags & GMEM_ZEROINIT) ? std::calloc(dwBytes + 1, 1) : std::malloc(dwBytes + 1);
    if (!p) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    block.data = static_cast<BYTE*>(p);
  }
  HGLOBAL handle;
  if (moveable) {
    block.entry = std::make_unique<HandleEntry>();
    handle = block.entry.get();
  } else {
    handle = block.data;
  }
  if (block.data) heap.byAddress[reinterpret_cast<uintptr_t>(block.data)] = handle;
  heap.blocks.emplace(handle, std::move(block));
  return handle;
}

LPVOID GlobalLock(HGLOBAL hMem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = Find(heap, hMem);
  if (!block || block->discarded) return nullptr;
  // The lock count saturates at GMEM_LOCKCOUNT, as Windows' does.
  if (block->moveable && block->locks < GMEM_LOCKCOUNT) ++block->locks;
  return block->data;
}

BOOL GlobalUnlock(HGLOBAL hMem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  Block* block = Find(heap, hMem);
  if (!block) return FALSE;
  if (!block->moveable) return TRUE;  // fixed blocks have no lock count
  if (block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

SIZE_T GlobalSize(HGLOBAL hMem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  const Block* block = Find(heap, hMem);
  // Windows may round the size up; the stand-in reports exactly what was asked for (chosen).
  return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
  if (!hMem) return nullptr;
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  const Block* block = Find(heap, hMem);
  if (!block) return hMem;
  if (block->data) {
    heap.byAddress.erase(reinterpret_cast<uintptr_t>(block->data));
    std::free(block->data);
  }
  heap.blocks.erase(hMem);
  return nullptr;
}

HGLOBAL GlobalHandle(LPCVOID pMem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  auto it = heap.byAddress.find(reinterpret_cast<uintptr_t>(pMem));
  if (it == heap.byAddress.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return it->second;
}

UINT GlobalFlags(HGLOBAL hMem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  const Block* block = Find(heap, hMem);
  if (!block) return GMEM_INVALID_HANDLE;
  return (block->discarded ? GMEM_DISCARDED : 0) | block->locks;
}

namespace standin {

SIZE_T SetGlobalMemoryLimit(SIZE_T bytes) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  const SIZE_T previous = heap.limit;
  heap.limit = bytes;
  return previous;
}

SIZE_T GlobalBytesAvailable(LPCVOID p) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> lock(heap.mutex);
  const uintptr_t address = reinterpret_cast<uintptr_t>(p);
  auto it = heap.byAddress.upper_bound(address);
  if (it == heap.byAddress.begin()) return SIZE_MAX;
  --it;
  const Block& block = heap.blocks.at(it->second);
  const uintptr_t end = it->first + block.size;
  if (address >= end) return address == end ? 0 : SIZE_MAX;
  return end - address;
}

}  // namespace standin
