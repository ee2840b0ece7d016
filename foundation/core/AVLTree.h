// AVLTree: a height-balanced binary search tree of items that supply their own key. The tree
// never deletes items or nodes itself; the derived class that owns them does.
#pragma once

#include <iosfwd>

#include "foundation/core/LibString.h"

class AVLItem {
 public:
  virtual ~AVLItem() = default;
  virtual const CLibString& GetKey() const = 0;
  virtual void Dump(std::ostream&) const {}
};

// Balance words: the left subtree is one higher, both are equal, the right one is one higher.
enum AVLBalance : unsigned { kLeftHigh = 0, kBalanced = 1, kRightHigh = 2 };

class AVLNode {
 public:
  explicit AVLNode(AVLItem* item) : m_item(item) {}
  virtual ~AVLNode() = default;  // the item is not deleted

  unsigned m_balance = kBalanced;
  AVLItem* m_item;
  AVLNode* m_left = nullptr;
  AVLNode* m_right = nullptr;
};

class AVLTree {
 public:
  AVLTree() = default;
  virtual ~AVLTree() = default;
  AVLTree(const AVLTree&) = delete;
  AVLTree& operator=(const AVLTree&) = delete;

  // Inserts the item unless its key is present; true when it was inserted (the tree then
  // refers to it; otherwise the caller keeps it).
  bool Insert(AVLItem* item);
  AVLItem* Find(const CLibString& key) const;
  // Unlinks and deletes the node of that key and returns its item (not deleted), or null.
  AVLItem* Remove(const CLibString& key);

  unsigned GetCount() const { return m_count; }
  int Height() const { return HeightOf(m_root); }

 protected:
  static int HeightOf(const AVLNode* node);

  AVLNode* m_root = nullptr;
  unsigned m_count = 0;

 private:
  void InsertAt(AVLNode*& link, AVLItem* item, const CLibString& key);
  void RemoveAt(AVLNode*& link, const CLibString& key);
  void RemoveRightmost(AVLNode*& link, AVLItem*& item);
  void LeftShrunk(AVLNode*& link);
  void RightShrunk(AVLNode*& link);

  AVLItem* m_removed = nullptr;  // result slot of Remove
  bool m_heightChanged = false;
  bool m_inserted = false;
};
