// CHtmlTable, CHtmlTableRow, CHtmlTableCell: tables keep their structure whatever is added to
// them: a table holds rows (and one caption), a row holds cells.
#pragma once

#include "foundation/html/HtmlContainer.h"

class CHtmlTable : public CHtmlContainer {
 public:
  CHtmlTable() : CHtmlContainer("TABLE") {}
  CHtmlElement* Clone() const override;
  // A row goes in as it is, a caption becomes the table's caption (replacing an older one), and
  // anything else is wrapped in a new row.
  CHtmlElement* AddOwned(CHtmlElement* element) override;

  void SetBorder(int border) { SetNumberAttribute("BORDER", border); }
  void SetCellPadding(int padding) { SetNumberAttribute("CELLPADDING", padding); }
  void SetCellSpacing(int spacing) { SetNumberAttribute("CELLSPACING", spacing); }
  void SetBgColor(uint32_t color) { SetColorAttribute("BGCOLOR", color); }
  void SetWidth(const CLibString& width, bool percent = false) {
    SetWidthAttribute("WIDTH", width, percent);
  }
  // The caption, or null.
  CHtmlElement* GetCaption() const;

 protected:
  // The caption comes first, whenever it was added.
  void WriteContents(std::ostream& os) const override;
};

class CHtmlTableRow : public CHtmlContainer {
 public:
  explicit CHtmlTableRow(int align = 0);
  CHtmlElement* Clone() const override;
  // A TD or TH cell goes in as it is; anything else is wrapped in a new cell.
  CHtmlElement* AddOwned(CHtmlElement* element) override;

  void SetBgColor(uint32_t color) { SetColorAttribute("BGCOLOR", color); }
};

class CHtmlTableCell : public CHtmlContainer {
 public:
  explicit CHtmlTableCell(int align = 0);
  explicit CHtmlTableCell(const CHtmlElement& child, int align = 0);
  CHtmlElement* Clone() const override;

  void SetColSpan(int span) { SetNumberAttribute("COLSPAN", span); }
  void SetBgColor(uint32_t color) { SetColorAttribute("BGCOLOR", color); }
  void SetWidth(const CLibString& width, bool percent = false) {
    SetWidthAttribute("WIDTH", width, percent);
  }
};
