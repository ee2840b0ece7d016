// A small main window for the tests of the search form and the search-term list: the form on
// top, below it the term list beside a stand-in for the engine list, on the program's document
// with a two-engine database and the English language module.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/document/ZubrinDoc.h"
#include "app/tests/AppTestSupport.h"
#include "framework/app/WinApp.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/splitter/SplitterWnd.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchTermView.h"

namespace termstest {

// The frame of the tests: the panes as the main window arranges them.
class TermsFrame : public CFrameWnd {
  DECLARE_DYNCREATE(TermsFrame)
 public:
  CSplitterWnd m_outer, m_inner;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
};

// What the engine list is to the panes' keys: a view that can take the focus.
class EngineStandIn : public CListView {
  DECLARE_DYNCREATE(EngineStandIn)
};

// The boxes the code asked, and the answer every box gets.
struct Boxes {
  std::vector<std::string> texts;
  int answer = IDYES;
};
Boxes& AskedBoxes();

// Handles everything posted so far (broadcast hints, posted commands).
void Pump();

class TermsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  CZubrinDoc* Doc() const { return m_form->GetDocument(); }
  // Replaces the document's terms (all active) and shows them as an opened document does.
  void SetTerms(const std::vector<std::string>& names, int current);
  std::vector<std::string> DocTerms() const;
  std::vector<std::string> RowTexts() const;
  std::vector<int> RowChecks() const;
  std::vector<int> DocActive() const;
  int SelectedRow() const;
  int CurrentIndex() const;  // position of the current set in the document, -1 when none
  HWND Field(int id) const { return ::GetDlgItem(m_form->m_hWnd, id); }
  std::string FieldText(int id) const;
  void Command(CWnd* target, UINT id) { target->SendMessage(WM_COMMAND, id, 0); }
  bool Enabled(CCmdTarget* target, UINT id);

  apptest::LanguageModuleScope m_language;
  apptest::TempFolder m_folder;
  std::unique_ptr<CWinApp> m_app;
  TermsFrame* m_frame = nullptr;
  HWND m_hFrame = nullptr;
  CSearchForm* m_form = nullptr;
  CSearchTermView* m_terms = nullptr;
  CView* m_engines = nullptr;
};

}  // namespace termstest
