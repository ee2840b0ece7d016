#include "foundation/html/HtmlTable.h"

#include <new>

CHtmlElement* CHtmlTable::Clone() const {
  return new (std::nothrow) CHtmlTable(*this);
}

CHtmlElement* CHtmlTable::GetCaption() const {
  for (CHtmlElement* child : m_children)
    if (child->HasTag("CAPTION")) return child;
  return nullptr;
}

CHtmlElement* CHtmlTable::AddOwned(CHtmlElement* element) {
  if (!element) return nullptr;
  if (element->HasTag("TR")) return Append(element);
  if (element->HasTag("CAPTION")) {
    for (auto at = m_children.begin(); at != m_children.end(); ++at) {
      if ((*at)->HasTag("CAPTION")) {
        CHtmlElement* old = *at;
        m_children.erase(at);
        delete old;
        break;
      }
    }
    return Append(element);
  }
  CHtmlTableRow* row = new (std::nothrow) CHtmlTableRow;
  if (!row) {
    delete element;
    return nullptr;
  }
  CHtmlElement* placed = row->AddOwned(element);
  return Append(row) ? placed : nullptr;
}

void CHtmlTable::WriteContents(std::ostream& os) const {
  const CHtmlElement* caption = GetCaption();
  if (caption) caption->Write(os);
  for (const CHtmlElement* child : m_children)
    if (child != caption) child->Write(os);
}

CHtmlTableRow::CHtmlTableRow(int align) : CHtmlContainer("TR") {
  if (align) SetAlign(align);
}

CHtmlElement* CHtmlTableRow::Clone() const {
  return new (std::nothrow) CHtmlTableRow(*this);
}

CHtmlElement* CHtmlTableRow::AddOwned(CHtmlElement* element) {
  if (!element) return nullptr;
  if (element->HasTag("TD") || element->HasTag("TH")) return Append(element);
  CHtmlTableCell* cell = new (std::nothrow) CHtmlTableCell;
  if (!cell) {
    delete element;
    return nullptr;
  }
  CHtmlElement* placed = cell->AddOwned(element);
  return Append(cell) ? placed : nullptr;
}

CHtmlTableCell::CHtmlTableCell(int align) : CHtmlContainer("TD") {
  if (align) SetAlign(align);
}

CHtmlTableCell::CHtmlTableCell(const CHtmlElement& child, int align) : CHtmlTableCell(align) {
  Add(child);
}

CHtmlElement* CHtmlTableCell::Clone() const {
  return new (std::nothrow) CHtmlTableCell(*this);
}
