#include "ui/tests/views/TermsWindow.h"

#include "app/settings/SearchProperties.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/db/EngineList.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "framework/app/MessageBox.h"
#include "framework/docview/DocTemplate.h"
#include "framework/wnd/CmdUI.h"
#include "resources/resource.h"
#include "ui/Panes.h"

namespace termstest {

IMPLEMENT_DYNCREATE(TermsFrame, CFrameWnd)
IMPLEMENT_DYNCREATE(EngineStandIn, CListView)

BOOL TermsFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (!m_outer.CreateStatic(this, 2, 1)) return FALSE;
  if (!m_outer.CreateView(0, 0, RUNTIME_CLASS(CSearchForm), CSize(200, 72), pContext))
    return FALSE;
  if (!m_inner.CreateStatic(&m_outer, 1, 2, WS_CHILD | WS_VISIBLE, m_outer.IdFromRowCol(1, 0)))
    return FALSE;
  if (!m_inner.CreateView(0, 0, RUNTIME_CLASS(CSearchTermView), CSize(175, 100), pContext))
    return FALSE;
  return m_inner.CreateView(0, 1, RUNTIME_CLASS(EngineStandIn), CSize(100, 100), pContext);
}

Boxes& AskedBoxes() {
  static Boxes boxes;
  return boxes;
}

namespace {

int RecordBox(LPCSTR text, UINT) {
  AskedBoxes().texts.push_back(text);
  return AskedBoxes().answer;
}

int QuietEngineBox(HWND, const char*, const char*, unsigned) { return IDOK; }

// Collects the enabled state that a command's update handler gives.
class ProbeCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override {
    m_bEnableChanged = TRUE;
    enabled = bOn != FALSE;
  }
  void SetCheck(int) override {}
  void SetText(LPCSTR) override {}
  bool enabled = false;
};

}  // namespace

void TermsWindowTest::SetUp() {
  ASSERT_TRUE(m_language.Loaded()) << "ZBResENU.dll is not beside the test";
  AskedBoxes() = Boxes();
  // Runs in these tests never ask a banner server: no address but the loopback is contacted.
  GetSearchProperties().m_nBannersOn = 0;
  AfxSetMessageBoxHandler(RecordBox);
  SetEngineMessageBox(QuietEngineBox);
  apptest::WriteBytes(m_folder.File("engines.dat"), "[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n");
  SetEngineDataFolder(m_folder.Path().c_str());
  m_app = std::make_unique<CWinApp>("ZBProTermsTest");
  m_app->m_nCmdShow = SW_SHOWNORMAL;
  m_app->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                               RUNTIME_CLASS(TermsFrame), RUNTIME_CLASS(CSearchForm)));
  m_app->OnFileNew();
  m_frame = dynamic_cast<TermsFrame*>(m_app->m_pMainWnd);
  ASSERT_NE(m_frame, nullptr);
  m_hFrame = m_frame->m_hWnd;
  m_form = g_pSearchForm;
  m_terms = g_pSearchTermView;
  ASSERT_NE(m_form, nullptr);
  ASSERT_NE(m_terms, nullptr);
  m_engines = static_cast<CView*>(m_frame->m_inner.GetPane(0, 1));
  g_hEngineViewWnd = m_engines->m_hWnd;
  ::SetForegroundWindow(m_hFrame);
  ::SetActiveWindow(m_hFrame);
  m_frame->SetActiveView(m_form);
  Pump();
}

void TermsWindowTest::TearDown() {
  if (::IsWindow(m_hFrame)) {
    if (CZubrinDoc* doc = CZubrinDoc::GetDocument()) {
      doc->m_running = 0;
      doc->SetModifiedFlag(FALSE);
    }
    ::DestroyWindow(m_hFrame);
  }
  g_hEngineViewWnd = nullptr;
  m_app.reset();
  ClearUpdateWindows();
  SetEngineDataFolder("");
  SetEngineMessageBox(nullptr);
  AfxSetMessageBoxHandler(nullptr);
  Pump();
}

void TermsWindowTest::SetTerms(const std::vector<std::string>& names, int current) {
  CZubrinDoc* doc = Doc();
  doc->m_currentSet = nullptr;
  doc->m_manager.RemoveAll();
  for (const std::string& name : names) {
    auto* set = new CEngineSet(&doc->m_database, 1, name.c_str());
    doc->m_manager.AddSet(set);
    if (static_cast<int>(doc->m_manager.GetCount()) - 1 == current) doc->m_currentSet = set;
  }
  doc->UpdateAllViews(nullptr, HINT_DOC_OPEN);
  doc->SetModifiedFlag(FALSE);
  Pump();
}

std::vector<std::string> TermsWindowTest::DocTerms() const {
  std::vector<std::string> names;
  for (POSITION pos = Doc()->m_manager.GetHeadPosition(); pos;)
    names.push_back(Doc()->m_manager.GetNext(pos)->m_name.GetString());
  return names;
}

std::vector<int> TermsWindowTest::DocActive() const {
  std::vector<int> active;
  for (POSITION pos = Doc()->m_manager.GetHeadPosition(); pos;)
    active.push_back(Doc()->m_manager.GetNext(pos)->m_active);
  return active;
}

std::vector<std::string> TermsWindowTest::RowTexts() const {
  std::vector<std::string> rows;
  CListCtrl& list = m_terms->GetListCtrl();
  for (int i = 0; i < list.GetItemCount(); ++i) rows.push_back(list.GetItemText(i, 0).GetString());
  return rows;
}

std::vector<int> TermsWindowTest::RowChecks() const {
  std::vector<int> checks;
  for (int i = 0; i < m_terms->GetListCtrl().GetItemCount(); ++i)
    checks.push_back(m_terms->GetCheck(i) ? 1 : 0);
  return checks;
}

int TermsWindowTest::SelectedRow() const {
  return m_terms->GetListCtrl().GetNextItem(-1, LVNI_SELECTED);
}

int TermsWindowTest::CurrentIndex() const {
  int index = 0;
  for (POSITION pos = Doc()->m_manager.GetHeadPosition(); pos; ++index)
    if (Doc()->m_manager.GetNext(pos) == Doc()->m_currentSet) return index;
  return -1;
}

std::string TermsWindowTest::FieldText(int id) const {
  char text[512] = {};
  ::GetWindowTextA(Field(id), text, sizeof text);
  return text;
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

bool TermsWindowTest::Enabled(CCmdTarget* target, UINT id) {
  ProbeCmdUI probe;
  probe.m_nID = id;
  probe.DoUpdate(target, FALSE);
  return probe.enabled;
}

}  // namespace termstest
