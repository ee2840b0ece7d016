// CModifyNV: edits one submission field of the site: a line, several lines, a choice from the
// field's pick list or yes and no. A description in another language than the user's can be
// translated through the online translation service on a worker thread; the dialog stays
// usable meanwhile, and Cancel stops the translation before it closes anything.
#pragma once
#include "framework/core/String.h"
#include "framework/controls/AnimateCtrl.h"
#include "framework/dialogs/Dialog.h"

class CZubrinDoc;

// The translation worker's report: wParam a new CString with the text (the dialog frees it) and
// lParam 1, or 0 and 0 when the translation failed or was stopped.
#define WM_FIELD_TRANSLATED (WM_USER + 444)

class CModifyNV : public CDialog {
 public:
  explicit CModifyNV(CWnd* pParent = nullptr);
  ~CModifyNV() override;

  // Set by the opener before DoModal; m_strValue is the result after IDOK.
  CZubrinDoc* m_pDoc = nullptr;
  CString m_strLabel;
  CString m_strDescription;
  CString m_strKey;
  CString m_strKind;  // "EDIT", "MULTIEDIT", "PICK" or "YESNO"
  CString m_strValue;

  BOOL OnInitDialog() override;
  void OnOK() override;
  // While a translation runs it only stops the translation; the dialog stays open.
  void OnCancel() override;

  // Whether the field offers a translation for a user interface of that language code, and
  // into which language (three lower-case letters).
  struct Translation {
    bool offered = false;
    CString source;
    CString target;
  };
  static Translation TranslationFor(const CString& key, const CString& uiLanguage);

  // True while a translation's client exists.
  static bool IsTranslating();
  // The translation service's address for the translator (empty: its own); tests only.
  static void SetTranslationService(const char* address);

  bool IsPickListShown() const { return m_bPickList; }

 protected:
  void OnTranslate();
  LRESULT OnTranslated(WPARAM wParam, LPARAM lParam);
  void OnTextChange();
  LRESULT OnHelpMessage(WPARAM, LPARAM lParam);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  int ValueEditId() const;
  void SetBusy(bool busy);

  bool m_bPickList = false;
  bool m_bTranslating = false;  // owned by the window's thread: set at the start, cleared by the report
  bool m_bOffered = false;
  CString m_strSource;
  CAnimateCtrl m_animation;
};
