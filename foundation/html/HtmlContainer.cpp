#include "foundation/html/HtmlContainer.h"

#include <new>

CHtmlContainer::CHtmlContainer(const CHtmlContainer& other) : CHtmlElement(other) {
  for (const CHtmlElement* child : other.m_children) Append(child->Clone());
}

CHtmlContainer::~CHtmlContainer() {
  RemoveAll();
}

void CHtmlContainer::RemoveAll() {
  // Taken out first: a child's destructor must not see a list that still names it.
  decltype(m_children) children;
  children.swap(m_children);
  for (CHtmlElement* child : children) delete child;
}

CHtmlElement* CHtmlContainer::GetChild(unsigned index) const {
  return index < m_children.size() ? m_children[index] : nullptr;
}

CHtmlElement* CHtmlContainer::FindByName(const CLibString& name, bool directOnly) const {
  for (CHtmlElement* child : m_children) {
    if (child->GetName() == name) return child;
    if (!directOnly)
      if (CHtmlElement* found = child->FindByName(name, false)) return found;
  }
  return CHtmlElement::FindByName(name, directOnly);
}

int CHtmlContainer::ReplaceByName(const CLibString& name, const CHtmlElement& element,
                                  bool directOnly) {
  int replaced = 0;
  for (CHtmlElement*& slot : m_children) {
    CHtmlElement* child = slot;
    if (child->GetName() == name) {
      CHtmlElement* copy = element.Clone();
      if (!copy) continue;
      copy->SetParent(this);
      slot = copy;
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
  try {
    m_children.push_back(element);
  } catch (const std::bad_alloc&) {
    delete element;
    return nullptr;
  }
  element->SetParent(this);
  return element;
}

void CHtmlContainer::WriteContents(std::ostream& os) const {
  for (const CHtmlElement* child : m_children) child->Write(os);
}

CHtmlElement* CHtmlElementList::Clone() const {
  return new (std::nothrow) CHtmlElementList(*this);
}
