// CTkEditAccelerator: an edit that captures a shortcut instead of text. Modifier keys held while
// a key is pressed make the shortcut; its name shows as Ctrl+Alt+Shift+key. A further press
// without Alt starts a new capture.
#pragma once
#include "framework/controls/Edit.h"

class CTkEditAccelerator : public CEdit {
 public:
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // FALSE until a complete shortcut has been captured.
  BOOL GetAccel(WORD& key, BOOL& bCtrl, BOOL& bAlt, BOOL& bShift) const;
  void ResetKey();
  // The text of a capture: modifiers in the order Ctrl, Alt, Shift, then the key's name.
  static CString FormatCapture(BOOL bCtrl, BOOL bAlt, BOOL bShift, WORD key);

 protected:
  BOOL m_bShift = FALSE;
  BOOL m_bCtrl = FALSE;
  BOOL m_bAlt = FALSE;
  WORD m_wKey = 0;
  BOOL m_bComplete = FALSE;
};
