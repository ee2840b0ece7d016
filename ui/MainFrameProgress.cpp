// CMainFrame: the progress bar in the message pane and the status panes' widths.
#include "ui/MainFrame.h"

#include "app/services/AppServices.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/document/ZubrinDoc.h"
#include "reports/ResultsCsv.h"
#include "framework/threads/WinThread.h"
#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"
#include "resources/resource.h"

namespace {

CMainFrame* MainFrame() {
  CWnd* main = AfxGetMainWnd();
  return main && main->IsKindOf(RUNTIME_CLASS(CMainFrame)) ? static_cast<CMainFrame*>(main)
                                                           : nullptr;
}

// The width of a text in the status bar's font.
int TextWidth(CStatusBar& bar, LPCSTR text) {
  CClientDC dc(&bar);
  HGDIOBJ oldFont =
      ::SelectObject(dc.GetSafeHdc(), reinterpret_cast<HGDIOBJ>(bar.SendMessage(WM_GETFONT)));
  SIZE extent = {};
  ::GetTextExtentPoint32A(dc.GetSafeHdc(), text, lstrlenA(text), &extent);
  ::SelectObject(dc.GetSafeHdc(), oldFont);
  return extent.cx;
}

}  // namespace

// The document's reading, saving and runs and the CSV export show their progress here.
void CMainFrame::ConnectProgressHooks() {
  DocumentProgressHooks doc;
  doc.begin = [](UINT upper, UINT lower, UINT captionId) {
    BeginProgress(static_cast<int>(upper), static_cast<int>(lower),
                  captionId ? LoadResString(captionId).GetString() : nullptr);
  };
  doc.step = StepProgress;
  doc.end = EndProgress;
  doc.postCommand = [](UINT command) {
    if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_COMMAND, command);
  };
  // The document's panes change their texts; each is fitted to its new text.
  doc.fitPane = SetPaneText;
  SetDocumentProgressHooks(doc);
  ReportProgressHooks report;
  report.begin = [](unsigned upper, unsigned lower) {
    BeginProgress(static_cast<int>(upper), static_cast<int>(lower), nullptr);
  };
  report.step = StepProgress;
  report.end = EndProgress;
  SetReportProgressHooks(report);
}

void CMainFrame::BeginProgress(int upper, int lower, LPCSTR caption) {
  if (CMainFrame* frame = MainFrame()) frame->DoBeginProgress(upper, lower, caption);
}

void CMainFrame::DoBeginProgress(int upper, int lower, LPCSTR caption) {
  // A second begin replaces the bar shown; it never leaves one behind.
  if (m_pProgress) EndProgress();
  // Callers count from 1 and mean "from nothing done".
  if (lower == 1) lower = 0;
  CString text = caption ? caption : "";
  m_wndStatusBar.SetPaneText(0, text);
  m_progressCaptionWidth = text.IsEmpty() ? 0 : TextWidth(m_wndStatusBar, text) + 10;
  CRect rect(0, 0, 0, 0);
  m_pProgress = new CProgressCtrl;
  if (!m_pProgress->Create(WS_CHILD | WS_VISIBLE | PBS_SMOOTH, rect, &m_wndStatusBar, 0)) {
    delete m_pProgress;
    m_pProgress = nullptr;
    return;
  }
  PlaceProgress();
  m_pProgress->SetRange32(lower, upper);
  m_pProgress->SetPos(0);
  m_pProgress->SetStep(1);
}

void CMainFrame::PlaceProgress() {
  if (!m_pProgress || !m_pProgress->m_hWnd || !m_wndStatusBar.m_hWnd) return;
  CRect rect;
  m_wndStatusBar.GetItemRect(0, &rect);
  rect.left += m_progressCaptionWidth;
  rect.top += 2;
  rect.bottom -= 2;
  rect.right -= 8;
  if (rect.right < rect.left) rect.right = rect.left;
  m_pProgress->MoveWindow(rect);
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
  CTkFrameWnd::OnSize(nType, cx, cy);
  PlaceProgress();
}

void CMainFrame::StepProgress() {
  CMainFrame* frame = MainFrame();
  NQCommandLineInfo* cmd = GetCommandLineInfo();
  // An unattended run has nobody to watch the bar.
  if (cmd && cmd->m_bAuto) return;
  if (frame && frame->m_pProgress) frame->m_pProgress->StepIt();
}

void CMainFrame::EndProgress() {
  CMainFrame* frame = MainFrame();
  if (!frame) return;
  if (frame->m_pProgress) {
    frame->m_pProgress->DestroyWindow();
    delete frame->m_pProgress;
    frame->m_pProgress = nullptr;
  }
  frame->PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
}

void CMainFrame::SetPaneText(UINT nID) {
  CMainFrame* frame = MainFrame();
  if (!frame) return;
  CStatusBar& bar = frame->m_wndStatusBar;
  int index = bar.CommandToIndex(nID);
  if (index < 0) return;
  int width = TextWidth(bar, bar.GetPaneText(index)) + 2;
  UINT id, style;
  int current;
  bar.GetPaneInfo(index, id, style, current);
  if (current == width) return;
  bar.SetPaneInfo(index, id, style, width);
  bar.Invalidate();
  frame->PlaceProgress();
}

// A pane as wide as its text in the bar's font, so the counters never cut their numbers off.
void CMainFrame::SetPaneTextSized(UINT nID, LPCSTR lpszText) {
  int index = m_wndStatusBar.CommandToIndex(nID);
  if (index < 0) return;
  UINT id, style;
  int width;
  m_wndStatusBar.GetPaneInfo(index, id, style, width);
  m_wndStatusBar.SetPaneInfo(index, id, style, TextWidth(m_wndStatusBar, lpszText) + 2);
  m_wndStatusBar.SetPaneText(index, lpszText);
  PlaceProgress();
}
