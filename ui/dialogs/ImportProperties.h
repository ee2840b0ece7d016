// CImportProperties: fetches one web page and takes its title, meta description and meta keywords
// for the opener (the project sheet's site fields, the search-term list). The page is fetched on
// a worker thread, so the dialog stays responsive and its Cancel can stop the fetch.
#pragma once
#include <string>

#include "framework/dialogs/Dialog.h"

class CImportProperties : public CDialog {
 public:
  explicit CImportProperties(CWnd* pParent = nullptr);
  ~CImportProperties() override;

  // Set by the opener before DoModal: the address shown, and a caption (empty: the template's).
  CString m_strURL;
  CString m_strCaption;
  // The results: read by the opener after IDOK, empty for what the page lacks.
  CString m_strTitle;
  CString m_strDescription;
  CString m_strKeywords;

  BOOL OnInitDialog() override;
  // Ends the dialog with IDOK (a fetch under way is stopped).
  void OnOK() override;
  // While a fetch runs it only stops the fetch; the dialog ends when the worker reports back.
  void OnCancel() override;

  // The three values of a page as the worker reads them: line breaks are dropped, the tags are
  // found in any case and the values cut from the page as it stands.
  static void ReadPage(const std::string& page, CString& title, CString& description,
                       CString& keywords);
  // True while a fetch's client exists (one fetch at a time in the whole program).
  static bool IsImportRunning();
  // Stops the running fetch, if any; safe from any thread at any moment.
  static void AbortImport();

 protected:
  void OnImport();
  LRESULT OnImportDone(WPARAM wParam, LPARAM lParam);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  bool m_bFetching = false;
};
