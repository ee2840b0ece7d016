// CLinkedList: a counted doubly linked list of CListNodes, each carrying one payload pointer that
// the list never deletes. CPairList: an insertion-ordered list of unique keys with values.
#pragma once

#include <cstdint>

class CLinkedList;

class CListNode {
 public:
  explicit CListNode(void* payload = nullptr) : m_payload(payload) {}
  virtual ~CListNode();  // a node still in a list unlinks itself first
  CListNode(const CListNode&) = delete;
  CListNode& operator=(const CListNode&) = delete;

  CListNode* Prev() const { return m_prev; }
  CListNode* Next() const { return m_next; }
  void* Payload() const { return m_payload; }

  CLinkedList* m_list = nullptr;
  CListNode* m_prev = nullptr;
  CListNode* m_next = nullptr;
  void* m_payload;
  int m_removed = 0;
};

class CLinkedList {
 public:
  CLinkedList() = default;
  virtual ~CLinkedList();  // deletes the nodes, not their payloads
  CLinkedList(const CLinkedList&) = delete;
  CLinkedList& operator=(const CLinkedList&) = delete;

  CListNode* Append(CListNode* node);
  // Unlinks the node (and deletes it when asked); returns its next node, else its previous one.
  CListNode* Remove(CListNode* node, bool deleteNode);

  CListNode* Head() const { return m_head; }
  CListNode* Tail() const { return m_tail; }
  unsigned GetCount() const { return m_count; }

  CListNode* m_current = nullptr;  // the node appended last
  CListNode* m_head = nullptr;
  CListNode* m_tail = nullptr;
  unsigned m_count = 0;
};

// Values are pointer-sized: callers keep pointers to objects in them.
class CPairList : public CLinkedList {
 public:
  struct Pair {
    uint32_t key;
    uintptr_t value;
  };

  CPairList() = default;
  ~CPairList() override;

  void SetAt(uint32_t key, uintptr_t value);
  CListNode* FindNode(uint32_t key) const;
  // The value at a 0-based position in insertion order; 0 beyond the end.
  uintptr_t GetValueAt(unsigned index) const;

  static Pair* PairOf(const CListNode* node) { return static_cast<Pair*>(node->Payload()); }

  uint32_t m_word = 0;
};
