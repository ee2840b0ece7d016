#include "foundation/core/LinkedList.h"

#include <new>

CListNode::~CListNode() {
  if (m_list && !m_removed) m_list->Remove(this, false);
}

CLinkedList::~CLinkedList() {
  CListNode* node = m_head;
  while (node) {
    CListNode* next = node->m_next;
    node->m_removed = 1;  // already on its way out: its destructor must not unlink again
    delete node;
    node = next;
  }
  m_head = m_tail = m_current = nullptr;
  m_count = 0;
}

CListNode* CLinkedList::Append(CListNode* node) {
  if (!node) return nullptr;
  node->m_list = this;
  node->m_removed = 0;
  node->m_prev = m_tail;
  node->m_next = nullptr;
  if (m_tail) m_tail->m_next = node;
  if (!m_head) m_head = node;
  m_current = m_tail = node;
  ++m_count;
  return node;
}

CListNode* CLinkedList::Remove(CListNode* node, bool deleteNode) {
  if (!node || node->m_removed || node->m_list != this) return nullptr;
  node->m_removed = 1;
  CListNode* prev = node->m_prev;
  CListNode* next = node->m_next;
  if (prev) prev->m_next = next;
  if (next) next->m_prev = prev;
  if (m_head == node) m_head = next;
  if (m_tail == node) m_tail = prev;
  if (m_current == node) m_current = m_tail;
  --m_count;
  if (deleteNode) delete node;
  return next ? next : prev;
}

CPairList::~CPairList() {
  for (CListNode* node = m_head; node; node = node->m_next) delete PairOf(node);
}

void CPairList::SetAt(uint32_t key, uintptr_t value) {
  if (CListNode* node = FindNode(key)) {
    PairOf(node)->value = value;
    return;
  }
  Pair* pair = new (std::nothrow) Pair{key, value};
  if (!pair) return;
  CListNode* node = new (std::nothrow) CListNode(pair);
  if (!node) {
    delete pair;
    return;
  }
  Append(node);
}

CListNode* CPairList::FindNode(uint32_t key) const {
  for (CListNode* node = m_head; node; node = node->m_next)
    if (PairOf(node)->key == key) return node;
  return nullptr;
}

uintptr_t CPairList::GetValueAt(unsigned index) const {
  CListNode* node = m_head;
  for (unsigned i = 0; node && i < index; ++i) node = node->m_next;
  return node ? PairOf(node)->value : 0;
}
