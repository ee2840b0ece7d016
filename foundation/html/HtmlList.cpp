#include "foundation/html/HtmlList.h"

#include <new>

CHtmlList::CHtmlList(int kind) : CHtmlContainer(kind == kBulleted ? "UL" : "OL") {}

CHtmlElement* CHtmlList::Clone() const {
  return new (std::nothrow) CHtmlList(*this);
}

CHtmlElement* CHtmlList::AddOwned(CHtmlElement* element) {
  if (!element) return nullptr;
  if (element->HasTag("LI") || element->HasTag("OL") || element->HasTag("UL"))
    return Append(element);
  CHtmlListItem* item = new (std::nothrow) CHtmlListItem;
  if (!item) {
    delete element;
    return nullptr;
  }
  CHtmlElement* placed = item->AddOwned(element);
  return Append(item) ? placed : nullptr;
}

void CHtmlList::SetCompact(bool compact) {
  if (compact)
    SetAttributeEmpty("COMPACT");
  else
    RemoveAttribute("COMPACT");
}

void CHtmlList::SetType(int code) {
  SetAttribute("TYPE", TypeText(code));
}

CLibString CHtmlList::TypeText(int code) {
  static const char* const kTypes[] = {"1", "A", "a", "I", "i", "DISC", "CIRCLE", "SQUARE"};
  return code >= kNumbers && code <= kSquare ? CLibString(kTypes[code - kNumbers]) : CLibString();
}

CHtmlElement* CHtmlListItem::Clone() const {
  return new (std::nothrow) CHtmlListItem(*this);
}
