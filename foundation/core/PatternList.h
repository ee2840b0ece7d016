// CPatternList: a set of byte patterns fed a stream one byte at a time; it reports every pattern
// that completes on a byte. The page parsers use it to spot markers while reading a page.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/core/LinkedList.h"

struct CPattern {
  uint16_t id = 0;
  uint8_t active = 1;
  unsigned char* bytes = nullptr;  // owned copy
  size_t length = 0;
  size_t matched = 0;          // bytes of the pattern matched so far
  size_t* fallback = nullptr;  // owned: where a partial match goes on after a mismatch
  uint16_t* target = nullptr;  // receives the id on completion; may be null
};

class CPatternList {
 public:
  // Status codes.
  enum { kDone = 0, kNoMemory = 2, kNoBytes = 4, kNoResultSlot = 5, kUnknownId = 6 };

  using Callback = void (*)(CPattern* pattern, void* context);

  CPatternList(Callback callback = nullptr, void* context = nullptr, uint16_t* result = nullptr)
      : m_callback(callback), m_context(context), m_result(result) {}
  virtual ~CPatternList();
  CPatternList(const CPatternList&) = delete;
  CPatternList& operator=(const CPatternList&) = delete;

  virtual void OnMatch(CPattern*, void*) {}

  // length 0 means the zero-terminated length of bytes.
  int AddPattern(uint16_t id, const void* bytes, size_t length, uint16_t* target = nullptr);
  int Add(uint16_t id, const void* bytes, size_t length, uint16_t* target = nullptr) {
    return AddPattern(id, bytes, length, target);
  }
  int RemovePattern(uint16_t id);
  // Offers one byte to every active pattern; returns how many completed on it.
  int Feed(unsigned char byte);

  const CLinkedList& Patterns() const { return m_patterns; }

 private:
  static void DeletePattern(CPattern* pattern);

  CLinkedList m_patterns;
  Callback m_callback;
  void* m_context;
  uint16_t* m_result;
};
