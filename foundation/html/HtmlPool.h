// CHtmlPool: the memory of HTML element trees. A report page is made of hundreds of thousands
// of small objects that are all made, printed and thrown away together; taken one by one from
// the process heap they cost more than all the rest of the work (on Windows far more), so small
// blocks come from large chunks and go back on a free list of their size to be used again.
#pragma once

#include <cstddef>
#include <new>

class CHtmlPool {
 public:
  // A block of at least size bytes; null when memory runs out.
  static void* Allocate(size_t size) noexcept;
  // Gives back a block from Allocate; size must be the size it was asked for.
  static void Free(void* block, size_t size) noexcept;

  // For containers of the element classes.
  template <class T>
  struct Allocator {
    using value_type = T;
    Allocator() = default;
    template <class U>
    Allocator(const Allocator<U>&) {}
    T* allocate(size_t n) {
      void* block = Allocate(n * sizeof(T));
      if (!block) throw std::bad_alloc();
      return static_cast<T*>(block);
    }
    void deallocate(T* block, size_t n) noexcept { Free(block, n * sizeof(T)); }
    template <class U>
    bool operator==(const Allocator<U>&) const {
      return true;
    }
  };
};
