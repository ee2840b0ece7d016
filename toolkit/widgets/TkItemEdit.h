// CTkItemEdit: an in-place editor that a list or tree puts over an item. Return or the focus
// leaving it commits the text into the caller's string; Escape cancels. Either way the owner
// hears of it by a command notification and the editor closes itself.
#pragma once
#include "toolkit/widgets/TkBrowseEdit.h"

// Command notifications to the owner (editor's id in the low word, its window as lParam).
#define TKN_ITEMEDIT_COMMITTED 0x07EF  // the caller's string holds the result
#define TKN_ITEMEDIT_CANCELLED 0x07F0

class CTkItemEdit : public CTkBrowseEdit {
  DECLARE_DYNAMIC(CTkItemEdit)
 public:
  // Creates the editor over the rectangle of the parent, holding *pText all selected and with
  // the focus. With bDeleteOnClose the object deletes itself when its window is gone.
  CTkItemEdit(CWnd* pParent, const CRect& rect, CString* pText, UINT nBrowseStyle = 0,
              BOOL bDeleteOnClose = TRUE);
  ~CTkItemEdit() override = default;

  // Ends the edit once: closes the editor and its button and tells the owner.
  virtual void EndEdit();

  BOOL IsEnded() const { return m_bEnded; }
  BOOL IsCommitted() const { return m_bCommitted; }
  BOOL IsCancelled() const { return m_bCancelled; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void PostNcDestroy() override;
  // Return and Escape end the edit and never reach the edit control.
  BOOL HandleEndKey(UINT nChar);

  void OnKillFocus(CWnd* pNewWnd);
  void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  UINT OnGetDlgCode();
  DECLARE_MESSAGE_MAP()

  CString* m_pText;
  BYTE m_bEnded = 0;
  BYTE m_bCommitted = 0;
  BYTE m_bDeleteOnClose = 0;
  BYTE m_bCancelled = 0;
};
