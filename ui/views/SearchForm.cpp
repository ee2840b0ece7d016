// The search form's creation, settings, layout, drawing and the hints it follows.
#include "ui/views/SearchForm.h"

#include "app/services/AppServices.h"
#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/WindowDc.h"
#include "resources/resource.h"
#include "ui/Panes.h"
#include "ui/gif/GifImage.h"
#include "ui/views/SearchFormBanner.h"
#include "ui/views/SearchFormHints.h"

IMPLEMENT_DYNCREATE(CSearchForm, CFormView)

namespace {

const int kGap = 8;  // the inset of the client area and the space between rows and columns

// Makes a font of the description and puts it in place of the old one, which is freed only
// after the caller has moved the windows that used it to the new one.
HGDIOBJ ReplaceFont(CFont& font, const LOGFONTA& lf) {
  HGDIOBJ old = font.Detach();
  font.CreateFontIndirect(&lf);
  return old;
}

}  // namespace

CSearchForm::CSearchForm() : CFormView(IDD_SEARCH_FORM) {
  ::InitializeCriticalSection(&m_bannerLock);
  LoadBannerServers();
}

CSearchForm::~CSearchForm() {
  if (g_pSearchForm == this) g_pSearchForm = nullptr;
  StopBanner();  // no worker may outlive the form it reports to
  ::DeleteCriticalSection(&m_bannerLock);
}

CZubrinDoc* CSearchForm::GetDocument() const {
  CDocument* doc = CView::GetDocument();
  return doc && doc->IsKindOf(RUNTIME_CLASS(CZubrinDoc)) ? static_cast<CZubrinDoc*>(doc) : nullptr;
}

int CSearchForm::OnCreate(LPCREATESTRUCT lpcs) {
  if (CFormView::OnCreate(lpcs) == -1) return -1;
  g_pSearchForm = this;
  RegisterUpdateWindow(m_hWnd);
  return 0;
}

void CSearchForm::OnDestroy() {
  if (g_pSearchForm == this) g_pSearchForm = nullptr;
  // Engine events queued for the form hold their records until it lets go of them.
  ReleaseQueuedUpdates(m_hWnd);
  StopBanner();
  CFormView::OnDestroy();
}

BOOL CSearchForm::OnInitDialog() {
  m_strLabels[0] = LoadResString(IDS_FORM_SITE_LABEL);
  m_strLabels[1] = LoadResString(IDS_FORM_TERM_LABEL);
  // The search-term field carries a button that drops down the term commands.
  if (m_wndSearchTerm.SubclassDlgItem(IDC_FORM_SEARCH_TERM, this))
    m_wndSearchTerm.SetBrowseStyle(TKBROWSE_POPUPMENU, IDR_FORM_TERM_MENU, 0);
  // The fields stop where the document's reader would refuse the file; EN_MAXTEXT says why.
  SendDlgItemMessage(IDC_FORM_SITE_URL, EM_LIMITTEXT, CZubrinDoc::kMaxSiteUrlLength, 0);
  SendDlgItemMessage(IDC_FORM_SEARCH_TERM, EM_LIMITTEXT, CZubrinDoc::kMaxSearchTermLength, 0);
  ApplySettings();
  LayoutFields();
  return FALSE;  // the form does not take the focus when it is made
}

void CSearchForm::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_FORM_SITE_URL, m_strSiteUrl);
  DDX_Text(pDX, IDC_FORM_SEARCH_TERM, m_strSearchTerm);
}

void CSearchForm::OnInitialUpdate() {
  ShowDocumentFields();
  CView::OnInitialUpdate();
}

// ---- settings ----

void CSearchForm::ApplySettings() {
  const CSearchProperties& settings = GetSearchProperties();
  m_crViewBk = settings.m_colors[CSearchProperties::ViewBk];
  m_crViewText = settings.m_colors[CSearchProperties::ViewText];
  m_nKeywordAlert = settings.m_nKeywordAlert;
  m_strKeywordIgnore = settings.m_strKeywordIgnore;
  // A settings change remakes the brush and the fonts; the old ones are freed, not leaked.
  m_brViewBk.DeleteObject();
  m_brViewBk.CreateSolidBrush(m_crViewBk);
  LOGFONTA lf = {};
  if (!::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0))
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  HGDIOBJ oldNormal = ReplaceFont(m_fontNormal, lf);
  lf.lfWeight = FW_BOLD;
  HGDIOBJ oldLabel = ReplaceFont(m_fontLabel, lf);
  for (int id : {IDC_FORM_SITE_URL, IDC_FORM_SEARCH_TERM}) {
    if (HWND edit = ::GetDlgItem(m_hWnd, id))
      ::SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontNormal.GetSafeHandle()), TRUE);
  }
  if (oldNormal) ::DeleteObject(oldNormal);
  if (oldLabel) ::DeleteObject(oldLabel);
}

// ---- layout and drawing ----

int CSearchForm::LabelWidth() {
  CClientDC dc(this);
  CFont* old = dc.SelectObject(&m_fontLabel);
  int width = 0;
  for (const CString& label : m_strLabels) {
    CSize size = dc.GetTextExtent(label);
    if (size.cx > width) width = size.cx;
  }
  dc.SelectObject(old);
  return width;
}

// Two rows of equal height in the client area less the inset, a gap between them.
void CSearchForm::GetRowRects(CRect& row1, CRect& row2) {
  CRect client;
  GetClientRect(&client);
  client.DeflateRect(kGap, kGap);
  int rowHeight = (client.Height() - kGap) / 2;
  if (rowHeight < 0) rowHeight = 0;
  row1 = CRect(client.left, client.top, client.right, client.top + rowHeight);
  row2 = CRect(client.left, row1.bottom + kGap, client.right, client.bottom);
}

void CSearchForm::LayoutFields() {
  if (!m_hWnd) return;
  CRect rows[2];
  GetRowRects(rows[0], rows[1]);
  const int left = rows[0].left + LabelWidth() + kGap;
  const int ids[2] = {IDC_FORM_SITE_URL, IDC_FORM_SEARCH_TERM};
  for (int i = 0; i < 2; ++i) {
    HWND edit = ::GetDlgItem(m_hWnd, ids[i]);
    int width = rows[i].right - left;
    if (edit) ::MoveWindow(edit, left, rows[i].top, width < 0 ? 0 : width, rows[i].Height(), TRUE);
  }
}

void CSearchForm::OnSize(UINT nType, int cx, int cy) {
  CFormView::OnSize(nType, cx, cy);
  LayoutFields();
  if (m_pBanner) {
    CentreBanner();
    m_nBannerFrame = 0;
    Invalidate();
    SetTimer(kAnimationTimer, 10, nullptr);
  }
}

BOOL CSearchForm::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, m_crViewBk);
  return TRUE;
}

HBRUSH CSearchForm::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  int id = pWnd ? ::GetDlgCtrlID(pWnd->m_hWnd) : 0;
  if (nCtlColor == CTLCOLOR_STATIC && id != IDC_FORM_SITE_URL && id != IDC_FORM_SEARCH_TERM) {
    pDC->SetBkColor(m_crViewBk);
    pDC->SetTextColor(m_crViewText);
    return static_cast<HBRUSH>(m_brViewBk.GetSafeHandle());
  }
  return CFormView::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CSearchForm::OnDraw(CDC* pDC) {
  // The animation draws the banner as it goes; a repaint in between shows its last frame.
  if (m_pBanner && m_nBannerDrawn >= 0) DrawBannerFrame(pDC->GetSafeHdc(), m_nBannerDrawn);
  HWND site = ::GetDlgItem(m_hWnd, IDC_FORM_SITE_URL);
  if (!site || !::IsWindowVisible(site)) return;
  CRect rows[2];
  GetRowRects(rows[0], rows[1]);
  const int width = LabelWidth();
  CFont* old = pDC->SelectObject(&m_fontLabel);
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::IsWindowEnabled(site) ? m_crViewText : ::GetSysColor(COLOR_GRAYTEXT));
  for (int i = 0; i < 2; ++i) {
    CRect label(rows[i].left, rows[i].top, rows[i].left + width, rows[i].bottom);
    pDC->DrawText(m_strLabels[i], &label, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  pDC->SelectObject(old);
}

// ---- the document's fields ----

void CSearchForm::ShowDocumentFields() {
  CZubrinDoc* doc = GetDocument();
  if (!doc || !m_hWnd) return;
  m_strSiteUrl = doc->m_siteUrl;
  m_strSearchTerm = doc->m_currentSet ? doc->m_currentSet->m_name : CString();
  m_bUpdating = TRUE;
  UpdateData(FALSE);
  m_bUpdating = FALSE;
}

void CSearchForm::ShowCurrentTerm() {
  CZubrinDoc* doc = GetDocument();
  if (!doc || !m_hWnd) return;
  m_strSearchTerm = doc->m_currentSet ? doc->m_currentSet->m_name : CString();
  CString shown;
  GetDlgItemText(IDC_FORM_SEARCH_TERM, shown);
  if (shown == m_strSearchTerm) return;  // rewriting the same text would move the caret
  m_bUpdating = TRUE;
  SetDlgItemText(IDC_FORM_SEARCH_TERM, m_strSearchTerm);
  m_bUpdating = FALSE;
}

void CSearchForm::EnableFields(BOOL bEnable) {
  for (int id : {IDC_FORM_SITE_URL, IDC_FORM_SEARCH_TERM}) {
    HWND edit = ::GetDlgItem(m_hWnd, id);
    if (!edit) continue;
    ::EnableWindow(edit, bEnable);
    if (bEnable) ::ShowWindow(edit, SW_SHOWNA);
  }
}

// ---- hints ----

void CSearchForm::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
  if (!m_hWnd) return;
  if (!pSender && lHint == 0 && !pHint) {
    ApplySettings();
    LayoutFields();
    return;
  }
  if (lHint < HINT_SETTINGS_CHANGED || lHint > HINT_BANNER_LAST) return;
  switch (lHint) {
    case HINT_SETTINGS_CHANGED:
      ApplySettings();
      LayoutFields();
      Invalidate();
      break;
    case HINT_DOC_NEW:
    case HINT_DOC_OPEN:
      ShowDocumentFields();
      break;
    case HINT_RUN_SET_UP:
    case HINT_RUN_START:
      StartBanner();
      m_bRunActive = TRUE;
      EnableFields(FALSE);
      Invalidate();
      break;
    case HINT_RUN_FINISHED:
      StopBanner();
      m_bRunActive = FALSE;
      EnableFields(TRUE);
      Invalidate();
      break;
    case HINT_CURRENT_SET:
    case HINT_TERMS_CHANGED:
      ShowCurrentTerm();
      break;
    case HINT_TERM_RENAMED:
      if (pSender != this && pHint != this) ShowCurrentTerm();
      break;
    case HINT_BANNER_FETCH:
      StartBannerWorker();
      break;
    case HINT_BANNER_READY:
      if (m_bBannerActive) ShowBanner();
      break;
    default:
      break;
  }
}

LRESULT CSearchForm::OnUpdateBroadcast(WPARAM wParam, LPARAM lParam) {
  OnUpdate(nullptr, static_cast<LPARAM>(wParam), reinterpret_cast<CObject*>(lParam));
  // Every window an engine event was posted to holds the record once; the form has no use
  // for it but must give its hold back.
  if (wParam == HINT_ENGINE_EVENT && lParam) reinterpret_cast<CUpdateItem*>(lParam)->Release();
  return 0;
}
