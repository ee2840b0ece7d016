// The document's run flags are shared by the user-interface, run and worker threads: every
// access is interlocked.
#pragma once
#include <windows.h>

namespace runflags {

inline LONG Read(const volatile LONG& flag) {
  return InterlockedCompareExchange(const_cast<volatile LONG*>(&flag), 0, 0);
}
inline void Write(volatile LONG& flag, LONG value) {
  InterlockedExchange(&flag, value);
}

}  // namespace runflags
