// CArray: a growable array of values addressed by 0-based index. The base of the framework's
// string, pointer and object arrays. Indexes must lie within the array.
#pragma once
#include <windows.h>

#include <vector>

#include "framework/core/Object.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;
  CArray(const CArray&) = delete;
  CArray& operator=(const CArray&) = delete;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty(); }
  // New elements are value-initialised (empty strings, null pointers).
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    (void)nGrowBy;
    m_data.resize(nNewSize > 0 ? static_cast<size_t>(nNewSize) : 0);
  }
  void RemoveAll() { m_data.clear(); }

  const TYPE& GetAt(INT_PTR nIndex) const { return m_data[nIndex]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_data[nIndex]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[nIndex] = newElement; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_data[nIndex]; }
  const TYPE& operator[](INT_PTR nIndex) const { return m_data[nIndex]; }
  TYPE& operator[](INT_PTR nIndex) { return m_data[nIndex]; }
  const TYPE* GetData() const { return m_data.data(); }
  TYPE* GetData() { return m_data.data(); }

  // Grows the array when the index lies beyond its end.
  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex >= GetSize()) SetSize(nIndex + 1);
    m_data[nIndex] = newElement;
  }
  INT_PTR Add(ARG_TYPE newElement) {
    m_data.push_back(newElement);
    return GetUpperBound();
  }
  INT_PTR Append(const CArray& src) {
    INT_PTR first = GetSize();
    m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
    return first;
  }
  void Copy(const CArray& src) {
    if (&src != this) m_data = src.m_data;
  }
  // An index beyond the end grows the array up to it.
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    if (nCount <= 0) return;
    if (nIndex < 0) nIndex = 0;
    if (nIndex > GetSize()) SetSize(nIndex);
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), newElement);
  }
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nIndex >= GetSize() || nCount <= 0) return;
    if (nCount > GetSize() - nIndex) nCount = GetSize() - nIndex;
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
  }

 private:
  std::vector<TYPE> m_data;
};
