#include "framework/dialogs/DataExchange.h"

#include <cerrno>
#include <cstdlib>

#include "framework/app/MessageBox.h"
#include "framework/exceptions/UserException.h"

namespace {

// The framework's own prompts (not the program's texts).
const char kEnterInteger[] = "Please enter an integer.";
const char kEnterPositive[] = "Please enter a positive integer.";

CString WindowText(HWND h) {
  CString text;
  CWnd::FromHandle(h)->GetWindowText(text);
  return text;
}

// Reads a whole number; the text may have blanks around it and nothing else.
bool ParseWhole(const CString& text, bool isSigned, long long* pValue) {
  const char* s = text;
  while (*s == ' ' || *s == '\t') ++s;
  if (!*s || (!isSigned && *s == '-')) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(s, &end, 10);
  if (end == s || errno == ERANGE) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end) return false;
  *pValue = v;
  return true;
}

template <typename T>
void TextNumber(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi,
                const char* fmt) {
  HWND h = pDX->PrepareEditCtrl(nIDC);
  if (!pDX->m_bSaveAndValidate) {
    CString text;
    text.Format(fmt, value);
    ::SetWindowTextA(h, text);
    return;
  }
  long long v = 0;
  if (!ParseWhole(WindowText(h), lo < 0, &v) || v < lo || v > hi) {
    AfxMessageBox(lo < 0 ? kEnterInteger : kEnterPositive, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  value = static_cast<T>(v);
}

bool IsRadio(HWND h) {
  return (::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

}  // namespace

HWND CDataExchange::PrepareCtrl(int nIDC) {
  HWND h = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
  if (!h) throw CUserException();  // a missing control is the program's error, not the user's
  m_hWndLastControl = h;
  m_bEditLastControl = FALSE;
  return h;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
  HWND h = PrepareCtrl(nIDC);
  m_bEditLastControl = TRUE;
  return h;
}

void CDataExchange::Fail() {
  if (m_bSaveAndValidate && m_hWndLastControl) {
    ::SendMessageA(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndLastControl),
                   TRUE);
    ::SetFocus(m_hWndLastControl);
    if (m_bEditLastControl) ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
  }
  throw CUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const CUserException&) {
    return FALSE;
  }
  return TRUE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND h = pDX->PrepareEditCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = WindowText(h);
  } else {
    ::SetWindowTextA(h, value);
  }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  TextNumber(pDX, nIDC, value, INT_MIN, INT_MAX, "%d");
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  TextNumber(pDX, nIDC, value, 0, UINT_MAX, "%u");
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
  TextNumber(pDX, nIDC, value, LONG_MIN, LONG_MAX, "%ld");
}

void DDX_Text(CDataExchange* pDX, int nIDC, DWORD& value) {
  TextNumber(pDX, nIDC, value, 0, ULONG_MAX, "%lu");
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageA(h, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageA(h, BM_SETCHECK, value < 0 || value > 2 ? 0 : value, 0);
  }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) value = -1;
  int index = 0;
  // The group runs from the first button to the next control that starts a group.
  do {
    if (IsRadio(h)) {
      if (pDX->m_bSaveAndValidate) {
        if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
      } else {
        ::SendMessageA(h, BM_SETCHECK, index == value, 0);
      }
      ++index;
    }
    h = ::GetWindow(h, GW_HWNDNEXT);
  } while (h && !(::GetWindowLongPtrA(h, GWL_STYLE) & WS_GROUP));
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    index = static_cast<int>(::SendMessageA(h, CB_GETCURSEL, 0, 0));
  } else {
    ::SendMessageA(h, CB_SETCURSEL, index, 0);
  }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    // A drop-down list has no edit field: its text is the selected item's.
    LRESULT sel = ::SendMessageA(h, CB_GETCURSEL, 0, 0);
    bool list = (::GetWindowLongPtrA(h, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
    if (list && sel != CB_ERR) {
      int n = static_cast<int>(::SendMessageA(h, CB_GETLBTEXTLEN, sel, 0));
      char* buf = value.GetBuffer(n + 1);
      ::SendMessageA(h, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(buf));
      value.ReleaseBuffer(n);
    } else {
      value = WindowText(h);
    }
    return;
  }
  if (::SendMessageA(h, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR) {
    ::SetWindowTextA(h, value);
  }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    index = static_cast<int>(::SendMessageA(h, LB_GETCURSEL, 0, 0));
  } else {
    ::SendMessageA(h, LB_SETCURSEL, index, 0);
  }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND h = pDX->PrepareCtrl(nIDC);
  if (!rControl.SubclassWindow(h)) throw CUserException();
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
  if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
  CString prompt;
  prompt.Format("Please enter an integer between %d and %d.", minVal, maxVal);
  AfxMessageBox(prompt, MB_ICONEXCLAMATION);
  pDX->Fail();
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
  if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
  CString prompt;
  prompt.Format("Please enter an integer between %u and %u.", minVal, maxVal);
  AfxMessageBox(prompt, MB_ICONEXCLAMATION);
  pDX->Fail();
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (!pDX->m_bSaveAndValidate) {
    if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
      ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, nChars, 0);
    }
    return;
  }
  if (value.GetLength() <= nChars) return;
  CString prompt;
  prompt.Format("Please enter no more than %d characters.", nChars);
  AfxMessageBox(prompt, MB_ICONEXCLAMATION);
  pDX->Fail();
}
