// A small main window for the tests of the engine list: the search form on top, below it the
// search-term list beside the engine list, on the program's document with a database of five
// engines and the English language module.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/document/ZubrinDoc.h"
#include "app/tests/AppTestSupport.h"
#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "framework/splitter/SplitterWnd.h"
#include "ui/views/SearchEngineView.h"

class CSearchEngine;

namespace enginetest {

// The frame of the tests: the panes as the main window arranges them. It keeps the report
// commands it is sent instead of writing reports.
class EngineFrame : public CFrameWnd {
  DECLARE_DYNCREATE(EngineFrame)
 public:
  CSplitterWnd m_outer, m_inner;
  std::vector<UINT> m_commands;

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};

// Handles everything posted so far (broadcast hints, engine events, posted commands).
void Pump();

// The site every document of the tests looks for, and a result text that matches it.
extern const char kSite[];
extern const char kSiteResult[];

class EngineWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  CZubrinDoc* Doc() const { return m_view->GetDocument(); }
  CListCtrl& List() const { return m_view->GetListCtrl(); }
  CSearchEngine* Engine(const char* name) const;
  int Row(const char* name) const { return m_view->FindEngineRow(name); }
  std::string Cell(const char* engine, int column) const;
  std::vector<std::string> Names() const;  // column 0, top to bottom
  // Gives the engine `count` results of which the one at `matchIndex` (-1: none) is the site.
  void AddResults(const char* engine, int count, int matchIndex);
  void ClearResults(const char* engine);
  // The hint as the document or the run sends it, handled at once.
  void Hint(UINT hint);
  // Posts an engine event as a worker does.
  void Event(const char* engine, int code, uintptr_t data = 0);
  // The point of a row's check box, in the list's client coordinates.
  POINT CheckBoxPoint(int row) const;
  void ClickCheckBox(int row);
  void PressSpace();
  void SelectRows(const std::vector<int>& rows);
  int StateOf(const char* engine) const { return m_view->GetRowState(Row(engine)); }

  apptest::LanguageModuleScope m_language;
  apptest::TempFolder m_folder;
  std::unique_ptr<CWinApp> m_app;
  EngineFrame* m_frame = nullptr;
  HWND m_hFrame = nullptr;
  CSearchEngineView* m_view = nullptr;
  long m_liveBefore = 0;
};

}  // namespace enginetest
