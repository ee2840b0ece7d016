// CStyleSheet: a named set of fonts that a dialog applies to its controls by name ("Title",
// "Body", ...). Names are matched without regard to case. The sheet owns its fonts; it lives as
// long as the dialog whose controls use them.
#pragma once
#include <map>
#include <memory>
#include <string>

#include "framework/gdi/Gdi.h"
#include "framework/wnd/Wnd.h"

// One style: LOGFONT height (negative: character height), weight (0 the default), underline and
// italic. A table ends with a row whose name is null.
struct StyleSheetRow {
  const char* name;
  const char* face;
  int height;
  int weight;
  bool underline;
  bool italic;
};

class CStyleSheet {
 public:
  // Without a table the default styles are made.
  explicit CStyleSheet(const StyleSheetRow* table = nullptr);
  CStyleSheet(const CStyleSheet&) = delete;
  CStyleSheet& operator=(const CStyleSheet&) = delete;

  static const StyleSheetRow* DefaultTable();

  // The font of the style, or null when the sheet has none of that name.
  CFont* GetFont(const char* styleName) const;
  // Gives the dialog's control the style's font and redraws it; nothing when either is missing.
  void ApplyFont(const char* styleName, CWnd* dialog, UINT controlId) const;

 private:
  static std::string Key(const char* styleName);
  std::map<std::string, std::unique_ptr<CFont>> m_fonts;
};
