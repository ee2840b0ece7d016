#include "foundation/html/HtmlPool.h"

#include <atomic>
#include <cstdlib>

namespace {

// Sizes up to kLargest bytes in steps of kStep have a free list each; larger blocks are rare
// (long child lists) and come from the heap.
constexpr size_t kStep = 16;
constexpr size_t kLargest = 512;
constexpr size_t kClasses = kLargest / kStep;
constexpr size_t kChunk = 64 * 1024;

struct FreeBlock {
  FreeBlock* next;
};

struct Chunk {
  Chunk* next;
};

struct Pool {
  std::atomic_flag busy = ATOMIC_FLAG_INIT;
  FreeBlock* free[kClasses] = {};
  // Chunks are kept for the process's life: blocks in them are used again and again.
  Chunk* chunks = nullptr;
  char* rest = nullptr;
  size_t restSize = 0;
};

Pool& ThePool() {
  static Pool pool;
  return pool;
}

// Element trees are made on one thread at a time nearly always: a spin lock costs next to
// nothing when nobody else holds it.
class Lock {
 public:
  explicit Lock(Pool& pool) : m_pool(pool) {
    while (m_pool.busy.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~Lock() { m_pool.busy.clear(std::memory_order_release); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  Pool& m_pool;
};

// A fresh block of the class's size from the current chunk, starting a new chunk when the
// current one cannot hold it (its rest is left unused).
void* Carve(Pool& pool, size_t blockSize) {
  if (pool.restSize < blockSize) {
    char* memory = static_cast<char*>(malloc(kChunk));
    if (!memory) return nullptr;
    Chunk* chunk = reinterpret_cast<Chunk*>(memory);
    chunk->next = pool.chunks;
    pool.chunks = chunk;
    pool.rest = memory + kStep;
    pool.restSize = kChunk - kStep;
  }
  void* block = pool.rest;
  pool.rest += blockSize;
  pool.restSize -= blockSize;
  return block;
}

bool Pooled(size_t size) {
#if defined(__SANITIZE_ADDRESS__)
  // Under the address sanitizer every block comes from the heap, so that it still finds the use
  // of an element after its deletion.
  (void)size;
  return false;
#else
  return size > 0 && size <= kLargest;
#endif
}

}  // namespace

void* CHtmlPool::Allocate(size_t size) noexcept {
  if (!Pooled(size)) return malloc(size ? size : 1);
  size_t index = (size - 1) / kStep;
  Pool& pool = ThePool();
  Lock lock(pool);
  if (FreeBlock* block = pool.free[index]) {
    pool.free[index] = block->next;
    return block;
  }
  return Carve(pool, (index + 1) * kStep);
}

void CHtmlPool::Free(void* block, size_t size) noexcept {
  if (!block) return;
  if (!Pooled(size)) {
    free(block);
    return;
  }
  size_t index = (size - 1) / kStep;
  Pool& pool = ThePool();
  Lock lock(pool);
  FreeBlock* freed = static_cast<FreeBlock*>(block);
  freed->next = pool.free[index];
  pool.free[index] = freed;
}
