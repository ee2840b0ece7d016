// CTkColorPickerPopup: the drop-down colour grid a toolbar's colour button opens under itself.
// An automatic (or no-fill) button, 16 or 40 colour cells, optionally a row of recently chosen
// colours and a more-colours button leading to the colour dialog. It tracks mouse and keys
// itself, tells every registered window the outcome by a numbered message and closes.
#pragma once
#include "toolkit/gdi/TkPicture.h"
#include <vector>

#include "framework/core/String.h"
#include "framework/controls/ToolTipCtrl.h"
#include "framework/gdi/Rect.h"
#include "framework/wnd/Wnd.h"

// Style flags of the popup.
constexpr DWORD TKCP_NOFILL = 0x01;      // the first button means no fill, not the default colour
constexpr DWORD TKCP_40COLORS = 0x02;    // the 40-colour palette instead of the 16-colour one
constexpr DWORD TKCP_MORECOLORS = 0x04;  // recent colours and the more-colours button
constexpr DWORD TKCP_DIALOGMASK = 0x60;  // passed on to the colour dialog

// Messages to the notified windows: wParam a colour, lParam the notification id.
constexpr UINT TKCPN_UNCHANGED = 2025;  // chosen, equal to the current colour
constexpr UINT TKCPN_OPENED = 2026;     // to the owner only
constexpr UINT TKCPN_CLOSING = 2027;    // to the owner only
constexpr UINT TKCPN_CHANGED = 2028;    // chosen, differs from the current colour (the new one)
constexpr UINT TKCPN_CANCELLED = 2029;
constexpr UINT TKCPN_NOFILL = 2030;     // colour -1

// Item kinds (the first button's kind also carries the popup's style flags).
constexpr DWORD TKCPI_CELL = 8;
constexpr DWORD TKCPI_MORE = 16;

struct CTkColorPickerItem {
  CRect rect;
  UINT nTipId = 0;
  int nIndex = 0;
  BYTE bSelected = 0;
  DWORD dwKind = 0;
  char szText[256] = {};
  COLORREF color = 0;
};

// The popup's arithmetic, kept apart from its window so that it can be checked without one.
struct TkColorPickerLayout {
  static constexpr int kColumns = 8;
  static constexpr int kWidth = 158;
  // The popup's window size for the style and the number of recent colours.
  static CSize WindowSize(DWORD style, int nRecent, bool captionStrip = false);
  // The last index (0 is the first button): the more-colours button with TKCP_MORECOLORS, else
  // the last palette cell.
  static int LastIndex(DWORD style, int nRecent);
  // The focus after an arrow key (rows: palette rows).
  static int Move(UINT vk, int focus, int last, int rows);
  static int PaletteSize(DWORD style) { return (style & TKCP_40COLORS) ? 40 : 16; }
  static COLORREF PaletteColor(DWORD style, int cell);  // cell 0-based
  static UINT PaletteTip(DWORD style, int cell);
};

class CTkColorPickerPopup : public CWnd {
 public:
  CTkColorPickerPopup(BOOL bAutoDelete, UINT nNotifyId);
  ~CTkColorPickerPopup() override;

  virtual int GetCurSel() const { return m_nFocus; }
  virtual void SelectItem(int nIndex);
  virtual BOOL Create(const RECT& rcAnchor, CWnd* pOwner, DWORD dwStyle, COLORREF clrCurrent,
                      COLORREF clrDefault);
  virtual void HighlightItem(CTkColorPickerItem* pItem, BOOL bPressed, BOOL bPlain);
  virtual CTkColorPickerItem* GetItem(int nPos) const;
  virtual void EndSelection(int nIndex);
  virtual void DrawItems(HDC hdc);
  virtual void DrawItem(CTkColorPickerItem* pItem, HDC hdc, BOOL bHot);

  void AddNotifyWindow(HWND hWnd) { m_notify.push_back(hWnd); }
  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  int GetLastIndex() const { return m_nLast; }
  BOOL IsDialogOpen() const { return m_bDialogOpen; }
  void SetShadow(BOOL bShadow) { m_bShadow = bShadow; }
  void SetCaptionStrip(BOOL bStrip) { m_bCaptionStrip = bStrip; }

  BOOL PreTranslateMessage(MSG* pMsg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The flat look's one-pixel border, in a device context of the whole window; open toward
  // the button that opened the popup where the two touch.
  void DrawFlatFrame(HDC hdcWindow);

  // The recent custom colours shared by all popups (at most 8; a ninth removes the oldest).
  static std::vector<COLORREF>& RecentColors();
  static void AddRecentColor(COLORREF color);

  // Runs the colour dialog for the more-colours button; a test puts its own answer here.
  using DialogProc = BOOL (*)(CWnd* pParent, COLORREF current, DWORD dwStyle, COLORREF& chosen);
  static void SetDialogProc(DialogProc proc);

  // Joins a popup's border to the button that opened it: the overlap of the two screen
  // rectangles, in window coordinates, is drawn as a line in the colour.
  static void DrawPopupGap(HDC hdc, COLORREF color, const RECT& rcButton, const RECT& rcWindow);

 protected:
  void PostNcDestroy() override;
  int OnCreate(LPCREATESTRUCT lpCreate);
  void OnDestroy();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnActivate(UINT nState, CWnd* pOther, BOOL bMinimized);
  void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  void OnKillFocus(CWnd* pNew);
  DECLARE_MESSAGE_MAP()

  CTkColorPickerItem* AddItem(int nIndex, const CRect& rect, UINT nTip, DWORD dwKind,
                              COLORREF color, LPCSTR lpszText = nullptr);
  CTkColorPickerItem* ItemAt(CPoint point) const;
  CTkColorPickerItem* GetItemByIndex(int nIndex) const;
  void BuildPicture();
  void PaintClient(HDC hdc);
  void PrintWindow(HDC hdc, DWORD dwFlags);
  void Notify(const std::vector<HWND>& windows, UINT message, COLORREF color);

  std::vector<HWND> m_notify;
  CToolTipCtrl m_tips;
  std::vector<CTkColorPickerItem*> m_items;
  CTkPicture m_picture;  // drawn once, copied on every paint
  CPoint m_ptLast{-1, -1};
  CRect m_rcCaption;
  CSize m_cell{18, 18};
  CRect m_rcWindow;
  DWORD m_dwStyle = 0;
  CWnd* m_pOwner = nullptr;
  UINT m_nNotifyId;
  int m_nRows = 2;
  int m_nColumns = 8;
  int m_nLast = 0;
  int m_nFocus = -1;
  COLORREF m_clrCurrent = 0xFF000000;
  COLORREF m_clrDefault = 0xFF000000;
  BOOL m_bAutoDelete;
  BOOL m_bShadow = TRUE;
  BOOL m_bCaptionStrip = FALSE;
  BOOL m_bDialogOpen = FALSE;
};
