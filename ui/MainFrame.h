// CMainFrame: the one top-level window of ZBPro. For now it holds the status bar and a single
// view; the panes, bars and commands of the full window grow on it.
#pragma once
#include "framework/bars/StatusBar.h"
#include "framework/frame/FrameWnd.h"

// The window class of the main window, by which other programs and tests find it.
#define ZBPRO_MAINFRAME_CLASS "ZBProMainFrame"

class CMainFrame : public CFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame() = default;
  ~CMainFrame() override = default;

  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  CStatusBar* GetStatusBar() { return &m_wndStatusBar; }
  // Sets a status pane's text and fits the pane's width to it.
  void SetPaneTextSized(UINT nID, LPCSTR lpszText);

  // The status bar's progress, for any code on the user-interface thread; they find the frame
  // through the application's main window and do nothing without one.
  static void BeginProgress(int upper, int lower, LPCSTR caption);
  static void StepProgress();
  static void EndProgress();
  // Fits a status pane's width to the text it shows now.
  static void SetPaneText(UINT nID);

 protected:
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  // Exit closes the main window the way its close box does, the save prompt included.
  void OnAppExit();
  void ShowStartCounters();
  DECLARE_MESSAGE_MAP()

  CStatusBar m_wndStatusBar;
};
