// Blocks of one size for the records of slides and their list nodes. A slide of a million vectors
// makes two million small objects, so blocks are cut from chunks of many, and a freed block goes
// onto a list of the thread that frees it, from which that thread takes its next blocks. A thread
// whose list grows past two chunks' worth hands one chunk's worth to the pool, where any thread
// finds it. Chunks go back to the heap when the pool is destroyed, with the module.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <mutex>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define ZO_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZO_POOL_ASAN 1
#endif
#endif
#ifdef ZO_POOL_ASAN
#include <sanitizer/asan_interface.h>
#endif

// One pool per record type: blocks of sizeof(Record).
template <class Record>
class ZoPtRecordPool {
  static constexpr size_t kSize = sizeof(Record);
  static_assert(kSize >= 2 * sizeof(void*) && kSize % alignof(void*) == 0 && alignof(Record) <= alignof(void*),
                "a free block holds two links, and blocks follow each other at pointer alignment");

 public:
  constexpr ZoPtRecordPool() = default;
  ZoPtRecordPool(const ZoPtRecordPool&) = delete;
  ZoPtRecordPool& operator=(const ZoPtRecordPool&) = delete;
  ~ZoPtRecordPool() {
    while (m_chunks) {
      Chunk* next = m_chunks->next;
      std::free(m_chunks);
      m_chunks = next;
    }
  }

  // Objects of another size (a class derived from the record's) come from the heap.
  void* Allocate(size_t size) {
    if (size != kSize) return ::operator new(size);
    Local& local = t_local;
    if (!local.head) Refill(local);
    Block* block = local.head;
    SetFree(block, false);
    local.head = block->next;
    --local.count;
    return block;
  }

  void Free(void* p, size_t size) {
    if (!p) return;
    if (size != kSize) {
      ::operator delete(p);
      return;
    }
    Local& local = t_local;
    auto* block = static_cast<Block*>(p);
    block->next = local.head;
    SetFree(block, true);
    local.head = block;
    if (++local.count >= 2 * kBlocksPerChunk) Release(local);
  }

 private:
  struct Block {
    Block* next;       // within a list of free blocks
    Block* nextBatch;  // the pool's batches, through their first blocks
  };
  struct Chunk {
    Chunk* next;
  };
  struct Local {
    Block* head;
    size_t count;
  };
  static constexpr size_t kChunkBytes = size_t{64} << 10;
  static constexpr size_t kBlocksPerChunk = (kChunkBytes - sizeof(Chunk)) / kSize;

  // A batch handed back by a thread, or a new chunk cut into blocks.
  void Refill(Local& local) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_batches) {
      local.head = m_batches;
      local.count = kBlocksPerChunk;
      m_batches = m_batches->nextBatch;
      return;
    }
    auto* chunk = static_cast<Chunk*>(std::malloc(kChunkBytes));
    if (!chunk) throw std::bad_alloc();
    chunk->next = m_chunks;
    m_chunks = chunk;
    char* first = reinterpret_cast<char*>(chunk) + sizeof(Chunk);
    Block* head = nullptr;
    for (size_t i = kBlocksPerChunk; i-- > 0;) {
      auto* block = reinterpret_cast<Block*>(first + i * kSize);
      block->next = head;
      SetFree(block, true);
      head = block;
    }
    local.head = head;
    local.count = kBlocksPerChunk;
  }

  // Hands the first chunk's worth of the thread's free blocks to the pool.
  void Release(Local& local) {
    Block* batch = local.head;
    Block* last = batch;
    for (size_t i = 1; i < kBlocksPerChunk; ++i) last = last->next;
    local.head = last->next;
    local.count -= kBlocksPerChunk;
    last->next = nullptr;
    std::lock_guard<std::mutex> lock(m_mutex);
    batch->nextBatch = m_batches;
    m_batches = batch;
  }

  // Under AddressSanitizer a free block's payload past its two links reads as freed memory.
  static void SetFree(Block* block, bool isFree) {
#ifdef ZO_POOL_ASAN
    char* payload = reinterpret_cast<char*>(block) + sizeof(Block);
    if (isFree)
      ASAN_POISON_MEMORY_REGION(payload, kSize - sizeof(Block));
    else
      ASAN_UNPOISON_MEMORY_REGION(payload, kSize - sizeof(Block));
#else
    (void)block, (void)isFree;
#endif
  }

  static thread_local Local t_local;
  std::mutex m_mutex;
  Block* m_batches = nullptr;
  Chunk* m_chunks = nullptr;
};

template <class Record>
thread_local typename ZoPtRecordPool<Record>::Local ZoPtRecordPool<Record>::t_local = {nullptr, 0};
