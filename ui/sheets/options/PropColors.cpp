// The Colours page: a text and a background well for each kind of row, and a sample of each
// pair drawn in its colours.
#include "app/settings/SearchProperties.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/gdi/Dc.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/options/OptionsPages.h"

using P = CSearchProperties;

const CPropColors::Pair CPropColors::kPairList[kPairs] = {
    {IDC_OPT_NORMAL_TEXT, IDC_OPT_NORMAL_BK, IDC_OPT_NORMAL_SAMPLE, P::NormalText, P::NormalBk},
    {IDC_OPT_DISABLED_TEXT, IDC_OPT_DISABLED_BK, IDC_OPT_DISABLED_SAMPLE, P::DisabledText,
     P::DisabledBk},
    {IDC_OPT_HIGHLIGHT_TEXT, IDC_OPT_HIGHLIGHT_BK, IDC_OPT_HIGHLIGHT_SAMPLE, P::HighlightText,
     P::HighlightBk},
    {IDC_OPT_ZUBRIN_TEXT, IDC_OPT_ZUBRIN_BK, IDC_OPT_ZUBRIN_SAMPLE, P::ZubrinText, P::ZubrinBk},
    {IDC_OPT_MOVEDUP_TEXT, IDC_OPT_MOVEDUP_BK, IDC_OPT_MOVEDUP_SAMPLE, P::MovedUpText,
     P::MovedUpBk},
    {IDC_OPT_MOVEDDOWN_TEXT, IDC_OPT_MOVEDDOWN_BK, IDC_OPT_MOVEDDOWN_SAMPLE, P::MovedDownText,
     P::MovedDownBk},
    {IDC_OPT_VIEW_TEXT, IDC_OPT_VIEW_BK, IDC_OPT_VIEW_SAMPLE, P::ViewText, P::ViewBk},
};

BEGIN_MESSAGE_MAP(CPropColors, COptionsPage)
  ON_WM_CTLCOLOR()
  ON_MESSAGE(WM_WG_COLORCHOSEN, OnColorChosen)
END_MESSAGE_MAP()

CPropColors::CPropColors() : COptionsPage(IDD_PROP_COLORS, 5) {
  static_assert(sizeof m_colors / sizeof m_colors[0] == P::ColorCount);
  for (int i = 0; i < P::ColorCount; ++i) m_colors[i] = Settings().m_colors[i];
  m_fontSample.CreateFont(-8, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

CPropColors::~CPropColors() {
  for (HBRUSH brush : m_brushes) {
    if (brush) ::DeleteObject(brush);
  }
}

BOOL CPropColors::OnInitDialog() {
  // Attached as owner-drawn buttons before the first exchange fills them.
  for (int i = 0; i < kPairs; ++i) {
    m_wells[2 * i].SubclassDlgItem(kPairList[i].textId, this);
    m_wells[2 * i + 1].SubclassDlgItem(kPairList[i].bkId, this);
  }
  COptionsPage::OnInitDialog();
  for (const Pair& pair : kPairList) {
    if (HWND sample = ::GetDlgItem(m_hWnd, pair.sampleId))
      ::SendMessageA(sample, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_fontSample)),
                     TRUE);
  }
  return TRUE;
}

void CPropColors::DoDataExchange(CDataExchange* pDX) {
  COptionsPage::DoDataExchange(pDX);
  for (int i = 0; i < kPairs; ++i) {
    const Pair& pair = kPairList[i];
    DDX_ColorWell(pDX, pair.textId, m_colors[pair.textColor]);
    DDX_ColorWell(pDX, pair.bkId, m_colors[pair.bkColor]);
  }
}

HBRUSH CPropColors::SampleBrush(int pair) {
  if (pair < 0 || pair >= kPairs) return nullptr;
  COLORREF color = m_colors[kPairList[pair].bkColor];
  if (m_brushes[pair] && m_brushColors[pair] == color) return m_brushes[pair];
  if (m_brushes[pair]) ::DeleteObject(m_brushes[pair]);
  m_brushes[pair] = ::CreateSolidBrush(color);
  m_brushColors[pair] = color;
  return m_brushes[pair];
}

HBRUSH CPropColors::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH fallback = COptionsPage::OnCtlColor(pDC, pWnd, nCtlColor);
  if (nCtlColor != CTLCOLOR_STATIC || !pWnd) return fallback;
  int id = pWnd->GetDlgCtrlID();
  for (int i = 0; i < kPairs; ++i) {
    const Pair& pair = kPairList[i];
    if (pair.sampleId != id) continue;
    // The wells may hold a choice not yet taken into the page's copy.
    if (m_wells[2 * i].m_hWnd) m_colors[pair.textColor] = m_wells[2 * i].GetColor();
    if (m_wells[2 * i + 1].m_hWnd) m_colors[pair.bkColor] = m_wells[2 * i + 1].GetColor();
    ::SetTextColor(pDC->GetSafeHdc(), m_colors[pair.textColor]);
    ::SetBkColor(pDC->GetSafeHdc(), m_colors[pair.bkColor]);
    return SampleBrush(i);
  }
  return fallback;
}

LRESULT CPropColors::OnColorChosen(WPARAM wParam, LPARAM) {
  int id = static_cast<int>(wParam);
  for (int i = 0; i < kPairs; ++i) {
    const Pair& pair = kPairList[i];
    if (pair.textId != id && pair.bkId != id) continue;
    m_colors[pair.textColor] = m_wells[2 * i].GetColor();
    m_colors[pair.bkColor] = m_wells[2 * i + 1].GetColor();
    if (HWND sample = ::GetDlgItem(m_hWnd, pair.sampleId)) ::InvalidateRect(sample, nullptr, TRUE);
  }
  SetModified(TRUE);
  return 0;
}

BOOL CPropColors::OnApply() {
  for (int i = 0; i < P::ColorCount; ++i) Settings().m_colors[i] = m_colors[i];
  SaveAndBroadcast(kHintColorsChanged);
  return TRUE;
}
