// CSearchForm: the top pane of the main window. Two fields: the address of the user's site and
// the current search term (the name of the document's current engine set). The fields follow
// the document's hints and write back what the user types; while a run is active they are
// disabled. Enter starts a check of all terms, Escape stops the run.
#pragma once
#include <atomic>
#include <memory>

#include "framework/gdi/Gdi.h"
#include "framework/docview/FormView.h"
#include "toolkit/widgets/TkBrowseEdit.h"

class CZubrinDoc;
class CSockHttpClient;
class GifImage;

class CSearchForm : public CFormView {
  DECLARE_DYNCREATE(CSearchForm)
 public:
  CSearchForm();
  ~CSearchForm() override;

  CZubrinDoc* GetDocument() const;
  void OnInitialUpdate() override;
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
  void OnDraw(CDC* pDC) override;
  void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

  // The two fields' texts as the form last wrote or read them.
  CString m_strSiteUrl;
  CString m_strSearchTerm;

  // The banner as the user sees it: shown or not, where, where a click leads, and how long it
  // stays before the next one is fetched (0: no rotation timer is set).
  BOOL IsBannerShown() const { return m_pBanner != nullptr; }
  const CRect& GetBannerRect() const { return m_rcBanner; }
  const CString& GetBannerClickUrl() const { return m_strClickUrl; }
  UINT GetBannerRotation() const { return m_nBannerRotation; }
  // Tests wait less than the half minute between tries after a failed fetch.
  static void SetBannerRetryDelay(UINT ms);
  // How long a banner without a usable display time stays (a test's own timing); also starts
  // the count of such banners in a row afresh.
  static void SetBannerDefaultDisplay(UINT ms);

 protected:
  // ---- settings, layout and drawing (SearchForm.cpp) ----
  void ApplySettings();
  void LayoutFields();
  int LabelWidth();
  void GetRowRects(CRect& row1, CRect& row2);
  void ShowDocumentFields();
  void ShowCurrentTerm();
  void EnableFields(BOOL bEnable);
  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnSize(UINT nType, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* pDC);
  HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  LRESULT OnUpdateBroadcast(WPARAM wParam, LPARAM lParam);

  // ---- fields, edit and focus commands, keys (SearchFormCommands.cpp) ----
  void OnSiteChange();
  void OnTermChange();
  void OnSiteFull();
  void OnTermFull();
  HWND FocusedField() const;
  void OnEditCopy();
  void OnEditCut();
  void OnEditPaste();
  void OnEditSelectAll();
  void OnUpdateEditCopyCut(CCmdUI* pCmdUI);
  void OnUpdateEditPaste(CCmdUI* pCmdUI);
  void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
  void OnNextPane();
  void OnPrevPane();
  void OnFocusTerm();
  void OnFocusSite();
  void FocusField(int nID);
  void ActivatePane(CView* pView);
  CView* TermView() const;
  CView* EngineView() const;
  bool IsKeywordIgnored(UINT ch) const;

  // ---- the banner (SearchFormBanner.cpp) ----
  enum : UINT_PTR { kRotationTimer = 4, kAnimationTimer = 5 };
  void StartBanner();
  void StopBanner();
  void StartBannerWorker();
  void ShowBanner();
  void FreeBannerPicture();
  void CentreBanner();
  void DrawBannerFrame(HDC dc, int index);
  void OnTimer(UINT_PTR nIDEvent);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  LRESULT OnBannerRetry(WPARAM wParam, LPARAM lParam);
  static DWORD WINAPI BannerThreadProc(LPVOID param);
  void RunBannerWorker();
  DECLARE_MESSAGE_MAP()

  COLORREF m_crViewBk = RGB(255, 255, 255);
  COLORREF m_crViewText = RGB(0, 0, 0);
  CBrush m_brViewBk;
  CFont m_fontNormal;
  CFont m_fontLabel;
  int m_nKeywordAlert = 1;
  CString m_strKeywordIgnore;
  CString m_strLabels[2];
  CTkBrowseEdit m_wndSearchTerm;  // the search-term field, with its drop-down button
  BOOL m_bUpdating = FALSE;  // the form writes the fields: their change notices are its own
  BOOL m_bRunActive = FALSE;
  // The banner. While it shows a picture the fields are hidden.
  CString m_strBannerMode;  // "cl" of the request; empty: no banners this run
  CString m_strBannerTerm;  // "kw" of the request, taken on this thread for the worker
  CString m_strBannerServer;  // the server the worker asks or last asked (under m_bannerLock)
  CString m_strClickUrl;
  CRect m_rcBanner;
  std::unique_ptr<GifImage> m_pBanner;
  int m_nBannerFrame = 0;   // the frame the animation draws next
  int m_nBannerDrawn = -1;  // the frame last drawn, drawn again when the form is painted
  UINT m_nBannerRotation = 0;
  std::atomic<bool> m_bBannerActive{false};
  HANDLE m_hBannerThread = nullptr;
  // The worker's HTTP client, so that the end of a run can abort it rather than wait out its
  // time-outs; the lock keeps the client alive while it is aborted.
  CRITICAL_SECTION m_bannerLock;
  CSockHttpClient* m_pBannerClient = nullptr;
};
