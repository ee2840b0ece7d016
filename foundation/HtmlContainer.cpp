#include "foundation/HtmlContainer.h"

#include <new>

CHtmlContainer::CHtmlContainer(const CHtmlContainer& other) : CHtmlElement(other) {
  for (const CListNode* node = other.m_children.Head(); node; node = node->Next())
    Append(ElementOf(node)->Clone());
}

CHtmlContainer::~CHtmlContainer() {
  RemoveAll();
}

void CHtmlContainer::RemoveAll() {
  while (CListNode* node = m_children.Head()) {
    delete ElementOf(node);
    m_children.Remove(node, true);
  }
}

CHtmlElement* CHtmlContainer::GetChild(unsigned index) const {
  const CListNode* node = m_children.Head();
  for (unsigned i = 0; node && i < index; ++i) node = node->Next();
  return node ? ElementOf(node) : nullptr;
}

CHtmlElement* CHtmlContainer::FindByName(const CLibString& name, bool directOnly) const {
  for (const CListNode* node = m_children.Head(); node; node = node->Next()) {
    CHtmlElement* child = ElementOf(node);
    if (child->GetName() == name) return child;
    if (!directOnly)
      if (CHtmlElement* found = child->FindByName(name, false)) return found;
  }
  return CHtmlElement::FindByName(name, directOnly);
}

int CHtmlContainer::ReplaceByName(const CLibString& name, const CHtmlElement& element,
                                  bool directOnly) {
  int replaced = 0;
  for (CListNode* node = m_children.Head(); node; node = node->Next()) {
    CHtmlElement* child = ElementOf(node);
    if (child->GetName() == name) {
      CHtmlElement* copy = element.Clone();
      if (!copy) continue;
      copy->SetParent(this);
      node->m_payload = copy;
      delete child;
      ++replaced;
    } else if (!directOnly) {
      // The copies just put in are not searched again, so a copy may carry the same name.
      replaced += child->ReplaceByName(name, element, false);
    }
  }
  return replaced + CHtmlElement::ReplaceByName(name, element, directOnly);
}

CHtmlElement* CHtmlContainer::Clone() const {
  return new (std::nothrow) CHtmlContainer(*this);
}

CHtmlElement* CHtmlContainer::AddText(const CLibString& text) {
  if (!*text.c_str()) return nullptr;
  return AddOwned(new (std::nothrow) CHtmlString(text));
}

CHtmlElement* CHtmlContainer::AddHtml(const CLibString& html) {
  if (!*html.c_str()) return nullptr;
  return AddOwned(new (std::nothrow) CHtmlString(html, 0));
}

CHtmlElement* CHtmlContainer::Add(const CHtmlElement& element) {
  return AddOwned(element.Clone());
}

CHtmlElement* CHtmlContainer::AddOwned(CHtmlElement* element) {
  return Append(element);
}

CHtmlElement* CHtmlContainer::Append(CHtmlElement* element) {
  if (!element) return nullptr;
  CListNode* node = new (std::nothrow) CListNode(element);
  if (!node) {
    delete element;
    return nullptr;
  }
  element->SetParent(this);
  m_children.Append(node);
  return element;
}

void CHtmlContainer::WriteContents(std::ostream& os) const {
  for (const CListNode* node = m_children.Head(); node; node = node->Next())
    ElementOf(node)->Write(os);
}

CHtmlElement* CHtmlElementList::Clone() const {
  return new (std::nothrow) CHtmlElementList(*this);
}
