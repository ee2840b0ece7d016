#include "ui/dialogs/StyleSheet.h"

#include <cctype>

namespace {
const StyleSheetRow kDefaultStyles[] = {
    {"Title", "Verdana", -24, 700, false, false},
    {"Subtitle", "Arial", -12, 0, false, false},
    {"Bullet", "Arial", -24, 700, false, false},
    {"Body", "MS Sans Serif", -8, 0, false, false},
    {"Bold", "MS Sans Serif", -8, 700, false, false},
    {"Version", "MS Sans Serif", -10, 700, false, false},
    {"Caption", "Arial", -12, 0, false, true},
    {"Code", "Courier", -14, 0, false, false},
    {"LegalNotice", "Verdana", -9, 0, false, false},
    {nullptr, nullptr, 0, 0, false, false},
};
}  // namespace

const StyleSheetRow* CStyleSheet::DefaultTable() { return kDefaultStyles; }

std::string CStyleSheet::Key(const char* styleName) {
  std::string key = styleName ? styleName : "";
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

CStyleSheet::CStyleSheet(const StyleSheetRow* table) {
  if (!table) table = kDefaultStyles;
  for (const StyleSheetRow* row = table; row->name; ++row) {
    LOGFONTA lf = {};
    lf.lfHeight = row->height;
    lf.lfWeight = row->weight;
    lf.lfUnderline = row->underline ? 1 : 0;
    lf.lfItalic = row->italic ? 1 : 0;
    ::lstrcpynA(lf.lfFaceName, row->face ? row->face : "", LF_FACESIZE);
    auto font = std::make_unique<CFont>();
    // A name given twice keeps its last row; the font it replaces is freed with its holder.
    if (font->CreateFontIndirect(&lf)) m_fonts[Key(row->name)] = std::move(font);
  }
}

CFont* CStyleSheet::GetFont(const char* styleName) const {
  auto it = m_fonts.find(Key(styleName));
  return it == m_fonts.end() ? nullptr : it->second.get();
}

void CStyleSheet::ApplyFont(const char* styleName, CWnd* dialog, UINT controlId) const {
  CFont* font = GetFont(styleName);
  if (!font || !dialog || !dialog->GetSafeHwnd()) return;
  HWND control = ::GetDlgItem(dialog->GetSafeHwnd(), static_cast<int>(controlId));
  if (control) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font->m_hObject), TRUE);
}
