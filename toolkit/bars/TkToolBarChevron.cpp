// CTkToolBar's buttons behind the chevron: copied into the chevron popup's toolbar, with their
// images, texts, drop-downs and the controls they carry (lent while the popup is open).
#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"

namespace {

struct CopiedButton {
  TBBUTTON button;
  CString text;
  HWND control;
  const TkDropDown* drop;
};

}  // namespace

int CTkToolBar::CopyHiddenButtons(CTkToolBar* pTarget, int nWidth) {
  if (!pTarget || !pTarget->m_hWnd) return 0;
  int rowWidth = nWidth;
  for (const auto& hidden : m_hidden) rowWidth = std::max(rowWidth, hidden.second);

  std::vector<CopiedButton> copied;
  int running = 0;
  for (const auto& hidden : m_hidden) {
    TBBUTTON button = {};
    if (!_GetButton(hidden.first, &button)) continue;
    HWND control = TkIsPlaceholder(button) ? ::GetDlgItem(m_hWnd, button.idCommand) : nullptr;
    bool plainButton = !(button.fsStyle & TBSTYLE_SEP);
    // A group's separator goes along, but none leads the popup (nor ends it, below).
    if (!plainButton && !control && (copied.empty() || !TkIsPlainSeparator(button))) continue;
    button.fsState &= ~(TBSTATE_HIDDEN | TBSTATE_WRAP);
    if (running + hidden.second > rowWidth && !copied.empty()) {
      TBBUTTON wrap = {};
      wrap.fsStyle = TBSTYLE_SEP;
      wrap.fsState = TBSTATE_WRAP;  // enabled: the bit is inverted in these records
      copied.push_back({wrap, CString(), nullptr, nullptr});
      running = 0;
    }
    running += hidden.second;
    CString text = button.iString >= 0 ? GetButtonText(hidden.first) : CString();
    button.iString = -1;
    const TkDropDown* drop = plainButton && button.idCommand
                                 ? FindDropDown(static_cast<UINT>(button.idCommand))
                                 : nullptr;
    copied.push_back({button, text, control, drop});
  }
  while (!copied.empty() && TkIsPlainSeparator(copied.back().button)) copied.pop_back();
  if (copied.empty()) return 0;

  // The images the bar shows, whether its lists are the program's or were made from its own
  // bitmap: shared for as long as the popup is open (the target does not own them). A bitmap
  // loaded again would lose lists the program put over it.
  pTarget->SendMessage(TB_SETIMAGELIST, 0, SendMessage(TB_GETIMAGELIST));
  pTarget->SendMessage(TB_SETDISABLEDIMAGELIST, 0, SendMessage(TB_GETDISABLEDIMAGELIST));
  pTarget->SendMessage(TB_SETHOTIMAGELIST, 0, SendMessage(TB_GETHOTIMAGELIST));
  pTarget->SendMessage(TB_SETEXTENDEDSTYLE, 0, SendMessage(TB_GETEXTENDEDSTYLE));

  std::vector<TBBUTTON> records;
  for (const CopiedButton& c : copied) {
    TBBUTTON control = c.button;
    TkInvertEnabled(control);
    records.push_back(control);
  }
  pTarget->SendMessage(TB_ADDBUTTONSA, records.size(), reinterpret_cast<LPARAM>(records.data()));
  pTarget->RebuildInitialButtons();

  for (int i = 0; i < static_cast<int>(copied.size()); ++i) {
    const CopiedButton& c = copied[i];
    if (!c.text.IsEmpty()) pTarget->SetButtonText(i, c.text);
    if (c.control) {
      // Lent for as long as the popup is open; the popup gives it back when it closes.
      pTarget->PlaceControl(i, CWnd::FromHandle(c.control), c.button.iBitmap);
      ::ShowWindow(c.control, SW_SHOWNA);
    }
    if (c.drop) {
      TkDropDown drop = *c.drop;
      pTarget->m_dropDowns.push_back(drop);
    }
  }
  if (m_dwDrawTextMask || m_dwDrawTextFlags)
    pTarget->SendMessage(TB_SETDRAWTEXTFLAGS, m_dwDrawTextMask, m_dwDrawTextFlags);
  int real = 0;
  for (const CopiedButton& c : copied)
    if (!(c.button.fsState & TBSTATE_WRAP) || !(c.button.fsStyle & TBSTYLE_SEP)) ++real;
  return real;
}
