// CHtmlContainer: an element with an owned, ordered list of children; CHtmlElementList: the same
// without a tag of its own, which prints its children only.
#pragma once

#include <vector>

#include "foundation/html/HtmlElement.h"

class CHtmlContainer : public CHtmlElement {
 public:
  CHtmlContainer() = default;
  // A container's closing tag is its tag.
  explicit CHtmlContainer(const CLibString& tag) : CHtmlElement(tag, true) {}
  explicit CHtmlContainer(const char* tag) : CHtmlElement(tag, true) {}
  CHtmlContainer(const CHtmlContainer& other);
  ~CHtmlContainer() override;

  CHtmlElement* FindByName(const CLibString& name, bool directOnly) const override;
  int ReplaceByName(const CLibString& name, const CHtmlElement& element, bool directOnly) override;
  CHtmlElement* Clone() const override;
  // Appends the text as data (escaped when printed); an empty text adds nothing and gives null.
  virtual CHtmlElement* AddText(const CLibString& text);
  // Appends a copy of the element and returns the copy (null when memory runs out).
  virtual CHtmlElement* Add(const CHtmlElement& element);
  // Takes a heap element the caller made and hands over. Tables, rows and lists wrap what does
  // not belong in them directly (a row, a cell, an item) in a new one. Returns the element, or
  // null when it could not be placed (it is then deleted).
  virtual CHtmlElement* AddOwned(CHtmlElement* element);

  // Appends the text as markup, printed as it stands: only for HTML the program composes itself.
  CHtmlElement* AddHtml(const CLibString& html);
  CHtmlContainer& operator<<(const CHtmlElement& element) {
    Add(element);
    return *this;
  }
  void RemoveAll();

  unsigned GetChildCount() const override { return static_cast<unsigned>(m_children.size()); }
  // The child at a 0-based position, null beyond the end.
  CHtmlElement* GetChild(unsigned index) const;

 protected:
  // Appends without wrapping and makes this the element's parent.
  CHtmlElement* Append(CHtmlElement* element);
  void WriteContents(std::ostream& os) const override;

  // Owned children in order, in one pooled array: a node of their own per child would cost an
  // allocation each and scatter them when printing.
  std::vector<CHtmlElement*, CHtmlPool::Allocator<CHtmlElement*>> m_children;
};

class CHtmlElementList : public CHtmlContainer {
 public:
  CHtmlElementList() = default;
  CHtmlElement* Clone() const override;
};
