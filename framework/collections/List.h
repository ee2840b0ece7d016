// CList: a doubly linked list of values, walked with POSITIONs. The base of the framework's
// string, pointer and object lists. A POSITION stays valid until its own element is removed.
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/collections/Position.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
 public:
  // The block size of the framework's lists is accepted; nodes are allocated one by one.
  explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  CList(const CList&) = delete;
  CList& operator=(const CList&) = delete;
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  // The list must not be empty.
  TYPE& GetHead() { return m_pNodeHead->data; }
  const TYPE& GetHead() const { return m_pNodeHead->data; }
  TYPE& GetTail() { return m_pNodeTail->data; }
  const TYPE& GetTail() const { return m_pNodeTail->data; }
  TYPE RemoveHead() {
    Node* node = m_pNodeHead;
    TYPE value = node->data;
    Unlink(node);
    return value;
  }
  TYPE RemoveTail() {
    Node* node = m_pNodeTail;
    TYPE value = node->data;
    Unlink(node);
    return value;
  }

  POSITION AddHead(ARG_TYPE newElement) { return Link(new Node{nullptr, m_pNodeHead, newElement}); }
  POSITION AddTail(ARG_TYPE newElement) { return Link(new Node{m_pNodeTail, nullptr, newElement}); }
  void RemoveAll() {
    while (m_pNodeHead) Unlink(m_pNodeHead);
  }

  POSITION GetHeadPosition() const { return ToPos(m_pNodeHead); }
  POSITION GetTailPosition() const { return ToPos(m_pNodeTail); }
  // The element at rPosition; rPosition moves to the next (or previous) one, null past the end.
  TYPE& GetNext(POSITION& rPosition) {
    Node* node = FromPos(rPosition);
    rPosition = ToPos(node->pNext);
    return node->data;
  }
  const TYPE& GetNext(POSITION& rPosition) const {
    Node* node = FromPos(rPosition);
    rPosition = ToPos(node->pNext);
    return node->data;
  }
  TYPE& GetPrev(POSITION& rPosition) {
    Node* node = FromPos(rPosition);
    rPosition = ToPos(node->pPrev);
    return node->data;
  }
  const TYPE& GetPrev(POSITION& rPosition) const {
    Node* node = FromPos(rPosition);
    rPosition = ToPos(node->pPrev);
    return node->data;
  }
  TYPE& GetAt(POSITION position) { return FromPos(position)->data; }
  const TYPE& GetAt(POSITION position) const { return FromPos(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { FromPos(pos)->data = newElement; }
  void RemoveAt(POSITION position) { Unlink(FromPos(position)); }

  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    if (!position) return AddHead(newElement);
    Node* next = FromPos(position);
    return Link(new Node{next->pPrev, next, newElement});
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    if (!position) return AddTail(newElement);
    Node* prev = FromPos(position);
    return Link(new Node{prev, prev->pNext, newElement});
  }

  // The first element equal to searchValue after startAfter (from the head when null).
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    Node* node = startAfter ? FromPos(startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext) {
      if (node->data == searchValue) return ToPos(node);
    }
    return nullptr;
  }
  // The element at a 0-based index, or null.
  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    Node* node = m_pNodeHead;
    while (nIndex--) node = node->pNext;
    return ToPos(node);
  }

 private:
  struct Node {
    Node* pPrev;
    Node* pNext;
    TYPE data;
  };
  static POSITION ToPos(Node* node) { return reinterpret_cast<POSITION>(node); }
  static Node* FromPos(POSITION pos) { return reinterpret_cast<Node*>(pos); }

  POSITION Link(Node* node) {
    (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node;
    (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node;
    ++m_nCount;
    return ToPos(node);
  }
  void Unlink(Node* node) {
    (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
    (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
    --m_nCount;
    delete node;
  }

  Node* m_pNodeHead = nullptr;
  Node* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
};
