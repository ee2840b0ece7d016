// CMap: a hash table from keys to values, walked with POSITIONs in the order of its buckets.
// The base of the framework's string-keyed maps. Removing the element that GetNextAssoc just
// returned is allowed during a walk.
#pragma once
#include <windows.h>

#include <cstring>
#include <type_traits>
#include <vector>

#include "framework/core/Object.h"
#include "framework/collections/Position.h"

// Hash of a key; strings hash their bytes, integers and pointers their value.
inline UINT HashKey(LPCSTR key) {
  UINT nHash = 0;
  if (key) {
    while (*key) nHash = (nHash << 5) + nHash + static_cast<BYTE>(*key++);
  }
  return nHash;
}
template <class ARG_KEY>
requires std::is_integral_v<ARG_KEY> || std::is_enum_v<ARG_KEY> || std::is_pointer_v<ARG_KEY> UINT
HashKey(ARG_KEY key) {
  if constexpr (std::is_pointer_v<ARG_KEY>) {
    return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key) >> 4);
  } else {
    return static_cast<UINT>(static_cast<UINT_PTR>(key) >> 4);
  }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 public:
  // The block size of the framework's maps is accepted; entries are allocated one by one.
  explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    Assoc* assoc = Find(key);
    if (!assoc) return FALSE;
    rValue = assoc->value;
    return TRUE;
  }
  // The value of the key, added as a value-initialised element when it is missing.
  VALUE& operator[](ARG_KEY key) {
    if (Assoc* assoc = Find(key)) return assoc->value;
    if (m_buckets.empty()) InitHashTable(m_nHashTableSize);
    UINT hash = HashKey(key);
    Assoc*& head = m_buckets[hash % m_buckets.size()];
    head = new Assoc{head, hash, KEY(key), VALUE()};
    ++m_nCount;
    return head->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key) {
    if (m_buckets.empty()) return FALSE;
    UINT hash = HashKey(key);
    for (Assoc** link = &m_buckets[hash % m_buckets.size()]; *link; link = &(*link)->pNext) {
      if ((*link)->hash == hash && (*link)->key == key) {
        Assoc* gone = *link;
        *link = gone->pNext;
        delete gone;
        --m_nCount;
        return TRUE;
      }
    }
    return FALSE;
  }
  void RemoveAll() {
    for (Assoc*& head : m_buckets) {
      while (head) {
        Assoc* next = head->pNext;
        delete head;
        head = next;
      }
    }
    m_buckets.clear();
    m_nCount = 0;
  }

  POSITION GetStartPosition() const { return ToPos(FirstFrom(0)); }
  // The element at rNextPosition; rNextPosition moves on, null after the last element.
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    Assoc* assoc = reinterpret_cast<Assoc*>(rNextPosition);
    rKey = assoc->key;
    rValue = assoc->value;
    Assoc* next = assoc->pNext ? assoc->pNext : FirstFrom(assoc->hash % m_buckets.size() + 1);
    rNextPosition = ToPos(next);
  }

  // Sets the number of buckets (a prime such as 17 spreads keys best); call while empty.
  void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE) {
    if (m_nCount) return;
    m_nHashTableSize = nHashSize ? nHashSize : 17;
    m_buckets.clear();
    if (bAllocNow) m_buckets.assign(m_nHashTableSize, nullptr);
  }
  UINT GetHashTableSize() const { return m_nHashTableSize; }

 private:
  struct Assoc {
    Assoc* pNext;
    UINT hash;
    KEY key;
    VALUE value;
  };
  static POSITION ToPos(Assoc* assoc) { return reinterpret_cast<POSITION>(assoc); }

  Assoc* Find(ARG_KEY key) const {
    if (m_buckets.empty()) return nullptr;
    UINT hash = HashKey(key);
    for (Assoc* assoc = m_buckets[hash % m_buckets.size()]; assoc; assoc = assoc->pNext) {
      if (assoc->hash == hash && assoc->key == key) return assoc;
    }
    return nullptr;
  }
  Assoc* FirstFrom(size_t bucket) const {
    for (; bucket < m_buckets.size(); ++bucket) {
      if (m_buckets[bucket]) return m_buckets[bucket];
    }
    return nullptr;
  }

  std::vector<Assoc*> m_buckets;
  UINT m_nHashTableSize = 17;
  INT_PTR m_nCount = 0;
};
