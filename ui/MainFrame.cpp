#include "ui/MainFrame.h"

#include "framework/AfxResource.h"
#include "framework/wnd/WindowDc.h"
#include "framework/Document.h"
#include "framework/docview/DocTemplate.h"
#include "framework/app/AppIds.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_WM_GETMINMAXINFO()
  ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

namespace {

// The message pane first, then the document's counters and the run's rate and time.
const UINT kIndicators[] = {
    ID_SEPARATOR,        ID_INDICATOR_ENGINES, ID_INDICATOR_ACTIVE,
    ID_INDICATOR_SELECTED, ID_INDICATOR_RATE,  ID_INDICATOR_ELAPSED,
};

const int kMinTrackWidth = 340;
const int kMinTrackHeight = 280;

}  // namespace

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  // A class of our own name, so that the window can be found by it; it carries the program's icon.
  WNDCLASSA wc = {};
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  if (!::GetClassInfoA(instance, ZBPRO_MAINFRAME_CLASS, &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = ZBPRO_MAINFRAME_CLASS;
    if (!::RegisterClassA(&wc)) return FALSE;
  }
  cs.lpszClass = ZBPRO_MAINFRAME_CLASS;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFrameWnd::OnCreate(lpcs) == -1) return -1;
  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_BORDER_TOP))
    return -1;
  if (!m_wndStatusBar.SetIndicators(kIndicators, sizeof kIndicators / sizeof kIndicators[0]))
    return -1;
  ShowStartCounters();
  SetMessageText(AFX_IDS_IDLEMESSAGE);
  return 0;
}

// The counter panes' strings are formats; until the document fills them they show their first
// values instead of the bare format.
void CMainFrame::ShowStartCounters() {
  struct Start {
    UINT id;
    int value;
  };
  const Start starts[] = {
      {ID_INDICATOR_ENGINES, 0}, {ID_INDICATOR_ACTIVE, 0}, {ID_INDICATOR_SELECTED, 1}};
  for (const Start& start : starts) {
    CString format, text;
    format.LoadString(start.id);
    text.Format(format, start.value);
    SetPaneTextSized(start.id, text);
  }
  CString format, text;
  format.LoadString(ID_INDICATOR_ELAPSED);
  text.Format(format, 0, 0, 0);
  SetPaneTextSized(ID_INDICATOR_ELAPSED, text);
}

// A pane as wide as its text in the bar's font, so the counters never cut their numbers off.
void CMainFrame::SetPaneTextSized(UINT nID, LPCSTR lpszText) {
  int index = m_wndStatusBar.CommandToIndex(nID);
  if (index < 0) return;
  CClientDC dc(&m_wndStatusBar);
  HGDIOBJ oldFont = ::SelectObject(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(
                                                         m_wndStatusBar.SendMessage(WM_GETFONT)));
  SIZE extent = {};
  ::GetTextExtentPoint32A(dc.GetSafeHdc(), lpszText, lstrlenA(lpszText), &extent);
  ::SelectObject(dc.GetSafeHdc(), oldFont);
  UINT id, style;
  int width;
  m_wndStatusBar.GetPaneInfo(index, id, style, width);
  m_wndStatusBar.SetPaneInfo(index, id, style, extent.cx + 2);
  m_wndStatusBar.SetPaneText(index, lpszText);
}

void CMainFrame::OnUpdateFrameTitle(BOOL bAddToTitle) {
  // A document that lost its file (one that could not be read leaves a fresh one) has no title
  // of its own; the window names it as any new document instead of showing the bare program.
  CDocument* doc = GetActiveDocument();
  if (doc && doc->GetTitle().IsEmpty() && doc->GetDocTemplate())
    doc->GetDocTemplate()->SetDefaultTitle(doc);
  CFrameWnd::OnUpdateFrameTitle(bAddToTitle);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  Default();
  lpMMI->ptMinTrackSize.x = kMinTrackWidth;
  lpMMI->ptMinTrackSize.y = kMinTrackHeight;
}

void CMainFrame::OnAppExit() { PostMessage(WM_CLOSE); }

// Not yet drawn: the run, the document and the views call these already.
void CMainFrame::BeginProgress(int, int, LPCSTR) {}
void CMainFrame::StepProgress() {}
void CMainFrame::EndProgress() {}
void CMainFrame::SetPaneText(UINT) {}
