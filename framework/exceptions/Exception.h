// CException: base of the framework's exceptions. They are thrown by value and caught by
// reference; each can describe itself in words and show that text to the user.
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/core/String.h"

class CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  // Copies the description into the buffer (cut to fit, always terminated); FALSE when the
  // exception has no text.
  virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError,
                               PUINT pnHelpContext = nullptr) const;
  // Shows the description in a message box; with no text the message of nMessageID from the
  // resource handle is shown instead, or nothing when that is 0 too. Returns the box's result.
  virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0) const;

  // The description as a string (empty when there is none).
  CString GetErrorText() const;

 protected:
  // The description; empty means the exception has none.
  virtual CString Describe() const;
};
