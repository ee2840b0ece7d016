#include "ui/tests/views/EngineWindow.h"

#include "app/settings/SearchProperties.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "framework/app/MessageBox.h"
#include "framework/docview/DocTemplate.h"
#include "resources/resource.h"
#include "ui/Panes.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchTermView.h"

namespace enginetest {

IMPLEMENT_DYNCREATE(EngineFrame, CFrameWnd)

const char kSite[] = "www.zb-testsite.com";
const char kSiteResult[] = "www.zb-testsite.com/ The site";

BOOL EngineFrame::OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) {
  if (!m_outer.CreateStatic(this, 2, 1)) return FALSE;
  if (!m_outer.CreateView(0, 0, RUNTIME_CLASS(CSearchForm), CSize(200, 72), pContext))
    return FALSE;
  if (!m_inner.CreateStatic(&m_outer, 1, 2, WS_CHILD | WS_VISIBLE, m_outer.IdFromRowCol(1, 0)))
    return FALSE;
  if (!m_inner.CreateView(0, 0, RUNTIME_CLASS(CSearchTermView), CSize(150, 100), pContext))
    return FALSE;
  return m_inner.CreateView(0, 1, RUNTIME_CLASS(CSearchEngineView), CSize(100, 100), pContext);
}

BOOL EngineFrame::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (id == ID_VIEW_DETAIL || id == ID_VIEW_RESULTS) {
    m_commands.push_back(id);
    return TRUE;
  }
  return CFrameWnd::OnCommand(wParam, lParam);
}

namespace {

int QuietBox(LPCSTR, UINT) { return IDOK; }
int QuietEngineBox(HWND, const char*, const char*, unsigned) { return IDOK; }

// Five engines: one that takes submissions, one with an add page only, one with neither, and
// two more for the sorting; countries and languages differ so the select-by has choices, and one
// engine names them in full instead of by their codes.
const char kEngines[] =
    "[Alpha]\nenabled=1\ncountry=us\nlanguage=enu\ncategory=Search\nicon=1\n"
    "homepage=http://alpha.example/\naddpage=http://alpha.example/add\n"
    "submit=http://alpha.example/submit?u=#URL_WITH_PREFIX#\n\n"
    "[Beta]\nenabled=1\ncountry=de\nlanguage=deu\ncategory=Directory\nicon=2\n"
    "homepage=http://beta.example/\naddpage=http://beta.example/add\n\n"
    "[Gamma]\nenabled=1\ncountry=United Kingdom\nlanguage=English\ncategory=Search\nicon=3\n"
    "homepage=http://gamma.example/\n\n"
    "[Delta]\nenabled=1\ncountry=us\nlanguage=enu\ncategory=Directory\nicon=4\n"
    "homepage=http://delta.example/\n\n"
    "[epsilon]\nenabled=1\ncountry=us\nlanguage=enu\ncategory=Search\nicon=5\n"
    "homepage=http://epsilon.example/\n\n";

}  // namespace

void EngineWindowTest::SetUp() {
  ASSERT_TRUE(m_language.Loaded()) << "ZBResENU.dll is not beside the test";
  m_liveBefore = CUpdateItem::LiveCount();
  // Runs in these tests never ask a banner server: no address but the loopback is contacted.
  GetSearchProperties().m_nBannersOn = 0;
  AfxSetMessageBoxHandler(QuietBox);
  SetEngineMessageBox(QuietEngineBox);
  apptest::WriteBytes(m_folder.File("engines.dat"), kEngines);
  SetEngineDataFolder(m_folder.Path().c_str());
  CSearchEngineView::SetProgressInterval(0);
  m_app = std::make_unique<CWinApp>("ZBProEngineViewTest");
  m_app->m_nCmdShow = SW_SHOWNORMAL;
  m_app->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                               RUNTIME_CLASS(EngineFrame), RUNTIME_CLASS(CSearchForm)));
  m_app->OnFileNew();
  m_frame = dynamic_cast<EngineFrame*>(m_app->m_pMainWnd);
  ASSERT_NE(m_frame, nullptr);
  m_hFrame = m_frame->m_hWnd;
  m_view = g_pSearchEngineView;
  ASSERT_NE(m_view, nullptr);
  ASSERT_EQ(g_hEngineViewWnd, m_view->m_hWnd);
  ::SetWindowPos(m_hFrame, nullptr, 0, 0, 1100, 500, SWP_NOZORDER | SWP_NOMOVE);
  Doc()->m_siteUrl = kSite;
  Pump();
}

void EngineWindowTest::TearDown() {
  if (::IsWindow(m_hFrame)) {
    if (CZubrinDoc* doc = CZubrinDoc::GetDocument()) {
      doc->m_running = 0;
      doc->SetModifiedFlag(FALSE);
    }
    ::DestroyWindow(m_hFrame);
  }
  m_app.reset();
  ClearUpdateWindows();
  SetEngineDataFolder("");
  SetEngineMessageBox(nullptr);
  AfxSetMessageBoxHandler(nullptr);
  CSearchEngineView::SetProgressInterval(250);
  Pump();
  EXPECT_EQ(CUpdateItem::LiveCount(), m_liveBefore) << "an engine event record was not freed";
}

CSearchEngine* EngineWindowTest::Engine(const char* name) const {
  return Doc()->m_currentSet ? Doc()->m_currentSet->FindEngine(name) : nullptr;
}

std::string EngineWindowTest::Cell(const char* engine, int column) const {
  int row = Row(engine);
  return row < 0 ? "<no row>" : List().GetItemText(row, column).GetString();
}

std::vector<std::string> EngineWindowTest::Names() const {
  std::vector<std::string> names;
  for (int i = 0; i < List().GetItemCount(); ++i) names.push_back(List().GetItemText(i, 0).GetString());
  return names;
}

void EngineWindowTest::AddResults(const char* name, int count, int matchIndex) {
  CSearchEngine* engine = Engine(name);
  ASSERT_NE(engine, nullptr) << name;
  for (int i = 0; i < count; ++i) {
    CSearchResult result;
    result.m_index = i;
    result.m_page = i / 10;
    result.m_position = i % 10;
    result.m_text = i == matchIndex ? kSiteResult : "www.other.example/ Another site";
    engine->AddResult(result);
  }
  engine->m_maxResults = 30;
}

void EngineWindowTest::ClearResults(const char* name) {
  CSearchEngine* engine = Engine(name);
  ASSERT_NE(engine, nullptr) << name;
  while (CListNode* node = engine->m_results.Head()) {
    delete static_cast<CSearchResult*>(node->Payload());
    engine->m_results.Remove(node, true);
  }
}

void EngineWindowTest::Hint(UINT hint) {
  BroadcastUpdate(hint, 0);
  Pump();
}

void EngineWindowTest::Event(const char* name, int code, uintptr_t data) {
  BroadcastItem(new CUpdateItem(Engine(name), code, data, 0));
}

POINT EngineWindowTest::CheckBoxPoint(int row) const {
  RECT icon = {};
  List().GetItemRect(row, &icon, LVIR_ICON);
  RECT bounds = {};
  List().GetItemRect(row, &bounds, LVIR_BOUNDS);
  // Left of the icon, in the middle of the row: the state image.
  return POINT{(bounds.left + icon.left) / 2, (icon.top + icon.bottom) / 2};
}

void EngineWindowTest::ClickCheckBox(int row) {
  POINT at = CheckBoxPoint(row);
  m_view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  m_view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  Pump();
}

void EngineWindowTest::PressSpace() {
  m_view->SendMessage(WM_KEYDOWN, VK_SPACE, 0x00390001);
  m_view->SendMessage(WM_KEYUP, VK_SPACE, 0xC0390001);
  Pump();
}

void EngineWindowTest::SelectRows(const std::vector<int>& rows) {
  CListCtrl& list = List();
  for (int i = 0; i < list.GetItemCount(); ++i) list.SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
  for (int row : rows) list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
  if (!rows.empty()) list.SetItemState(rows.front(), LVIS_FOCUSED, LVIS_FOCUSED);
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

}  // namespace enginetest
