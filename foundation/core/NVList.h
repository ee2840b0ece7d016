// CNVList: the ordered name/value list of the whole system (engine keys, submission values,
// header lists, CGI variables, options). Names are unique and compared byte-wise, case-sensitive;
// iteration is in ascending name order. It can be saved to and loaded from a length-prefixed file.
#pragma once

#include "foundation/core/AVLTree.h"

class CNVItem : public AVLItem {
 public:
  CNVItem(const CLibString& name, const CLibString& value) : m_name(name), m_value(value) {}
  const CLibString& GetKey() const override { return m_name; }
  void Dump(std::ostream& os) const override;

  CLibString m_name;
  CLibString m_value;
};

class CNVList : public AVLTree {
 public:
  CNVList() = default;
  CNVList(const CNVList& other) : AVLTree() { Copy(other); }
  CNVList& operator=(const CNVList& other);
  ~CNVList() override;

  // Loads replace the list by the file's entries; false when the file cannot be opened or is
  // damaged (the entries read before the damage are kept). Saves replace the file.
  virtual bool Load(const char* path);
  virtual bool Save(const char* path) const;

  void RemoveAll();
  void Copy(const CNVList& other);
  void SetAt(const CLibString& name, const CLibString& value);
  // The value object of a name, added with an empty value when absent.
  CLibString& operator[](const CLibString& name);
  CLibString GetValue(const CLibString& name) const;
  bool GetValue(const CLibString& name, CLibString& value) const;
  int GetInt(const CLibString& name) const;
  bool Contains(const CLibString& name) const { return Find(name) != nullptr; }

  // In-order iteration; restart begins at the smallest name. False, with both outputs "", when
  // the iteration is over. Changing the list during an iteration is not supported.
  bool GetNext(CLibString& name, CLibString& value, bool restart);
  // The same, names only; restarts when previous is empty.
  bool GetNextName(CLibString& name, const CLibString& previous);

  // Visits every entry in ascending name order without copying it; visit takes a const CNVItem&.
  // Unlike GetNext it keeps no state in the list, so it works on a const list.
  template <class F>
  void ForEach(F&& visit) const {
    Visit(m_root, visit);
  }

  void Merge(const CNVList& other);
  void Subtract(const CNVList& other);
  friend CNVList operator-(const CNVList& a, const CNVList& b);

 private:
  static const int kStackSize = 100;  // deeper than any AVL tree that fits in memory

  CNVItem* Step(bool restart);
  void PushLeftChain(AVLNode* node);
  static void DeleteSubtree(AVLNode* node);
  template <class F>
  static void Visit(const AVLNode* node, F& visit) {
    for (; node; node = node->m_right) {
      Visit(node->m_left, visit);
      visit(*static_cast<const CNVItem*>(node->m_item));
    }
  }

  int m_top = -1;
  // Made at the first GetNext: most lists are never walked that way, and some kinds of object
  // (HTML elements) hold a list each.
  AVLNode** m_stack = nullptr;
};
