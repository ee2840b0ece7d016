// CTkDockContext: the toolkit's dock context. Runs the modal mouse loop in which the user drags a
// bar to a dock bar or off into a floating frame, resizes a floating bar from its frame edges,
// or double-clicks to toggle docked and floating. Beside the framework's outline drag it can move
// the real bar on every mouse move (bars that ask for it), docks where the cursor is rather than
// where outlines overlap, finds dock bars in other frame windows, restores expanded docking
// windows before they move, and keeps the active view when a bar holding it changes frame.
#pragma once
#include <windows.h>

#include "framework/collections/ObArray.h"
#include "framework/docking/DockContext.h"

class CFrameWnd;

// Keeps the active view of the bar's frame across a move of the bar to another frame.
class CTkActiveViewKeeper {
 public:
  CTkActiveViewKeeper(CControlBar* pBar, BOOL bRestoreOnDestroy);
  ~CTkActiveViewKeeper();
  CTkActiveViewKeeper(const CTkActiveViewKeeper&) = delete;
  CTkActiveViewKeeper& operator=(const CTkActiveViewKeeper&) = delete;
  void Restore();

 private:
  CControlBar* m_pBar;
  BOOL m_bRestore;
  CFrameWnd* m_pFrame = nullptr;
  CWnd* m_pView = nullptr;
  BOOL m_bActive = FALSE;
  BOOL m_bWasFloating = FALSE;
};

class CTkDockContext : public CDockContext {
 public:
  explicit CTkDockContext(CControlBar* pBar);
  ~CTkDockContext() override;

  void StartDrag(CPoint pt) override;
  void StartResize(int nHitTest, CPoint pt) override;
  void ToggleDocking() override;
  // Another frame under the cursor that the bar may dock into, or null.
  virtual CFrameWnd* FindDockSiteAtCursor();

  // The loop and its steps.
  void InitLoop();
  BOOL Track();
  void Move(CPoint pt);
  void DrawFocusRect(BOOL bRemoveRect = FALSE);
  DWORD CanDock();
  DWORD CanDockRect(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
  static DWORD CanDockInFrame(CFrameWnd* pFrame, CRect rect, DWORD dwDockStyle,
                              CDockBar** ppDockBar = nullptr);
  void EndDrag();
  void Float(DWORD dwStyle);
  void Stretch(CPoint pt);
  void EndResize();
  void OnKey(int nChar, BOOL bDown);

  CObArray m_arrOtherFrames;  // frames besides the dock site whose layout waits
  BOOL m_bFullWindowDrag = FALSE;

 protected:
  void UpdateState(BOOL* pFlag, BOOL bNewValue);
  // Remembers the dock bar and place the bar is docked at now, for the toggle back.
  void NoteDockPlace();
  // The loop's end, on every way out of it.
  void EndLoop(HWND hWndFocus);
  void RunDelayedLayouts();
  void AddOtherFrame(CFrameWnd* pFrame);
};
