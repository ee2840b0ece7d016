#include "toolkit/dialogs/TkAccelPropertySheet.h"

#include <cstring>

#include "framework/app/AfxResource.h"
#include "resources/ids/ToolkitLayoutIds.h"
#include "toolkit/services/TkAccelManager.h"

IMPLEMENT_DYNAMIC(CTkAccelPropertySheet, CTkResizePropertySheet)

BEGIN_MESSAGE_MAP(CTkAccelPropertySheet, CTkResizePropertySheet)
  ON_WM_DESTROY()
  ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const char kPlacementSection[] = "CTkAccelPropertySheet";

// The manager's menu id and the means to hand it a table back, which its public face does not
// offer.
struct AccelManagerAccess : CTkAccelManager {
  static UINT MenuID(const CTkAccelManager& m) { return m.*(&AccelManagerAccess::m_nIDMenu); }
  static void PutTable(CTkAccelManager& m, ACCEL* pTable, int nCount) {
    (m.*(&AccelManagerAccess::SetTable))(pTable, nCount);
  }
};

}  // namespace

CTkAccelPropertySheet::CTkAccelPropertySheet(CTkAccelManager* pManager, CWnd* pParentWnd,
                                             BOOL bShowButton)
    : CTkResizePropertySheet(static_cast<UINT>(IDS_TK_ACCEL_SHEET), pParentWnd, 0, 0),
      m_pManager(pManager) {
  LOGFONTA lf = {};
  lf.lfHeight = 22;
  lstrcpyA(lf.lfFaceName, "Arial");
  m_titleFont.CreateFontIndirect(&lf);
  m_page1.m_pManager = m_page2.m_pManager = pManager;
  m_page1.m_pTitleFont = m_page2.m_pTitleFont = &m_titleFont;
  m_page1.m_bShowButton = bShowButton;
  AddPage(&m_page1);
  AddPage(&m_page2);
  if (pManager) {
    m_hSmallIcon = static_cast<HICON>(::LoadImageA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(AccelManagerAccess::MenuID(*pManager)),
        IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
  }
}

CTkAccelPropertySheet::~CTkAccelPropertySheet() {
  if (m_hSmallIcon) ::DestroyIcon(m_hSmallIcon);
}

BOOL CTkAccelPropertySheet::OnInitDialog() {
  BOOL bResult = CTkResizePropertySheet::OnInitDialog();
  if (m_hSmallIcon) SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
  LoadPlacement(kPlacementSection);
  return bResult;
}

void CTkAccelPropertySheet::OnPage1Button(CTkAccelManager*) {}

void CTkAccelPropertySheet::OnDestroy() {
  SavePlacement(kPlacementSection);
  CTkResizePropertySheet::OnDestroy();
}

// The sheet keeps its sizing border whatever the system sheet does to its style on a size change.
void CTkAccelPropertySheet::OnSize(UINT nType, int cx, int cy) {
  CTkResizePropertySheet::OnSize(nType, cx, cy);
  ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_THICKFRAME);
}

BOOL TkCustomizeAccelerators(CTkAccelManager* pManager, CWnd* pParentWnd) {
  CTkAccelPropertySheet sheet(pManager, pParentWnd, FALSE);
  int nCount = pManager->GetCount();
  ACCEL* pCopy = nullptr;
  if (nCount > 0) {
    pCopy = new ACCEL[static_cast<size_t>(nCount)];
    std::memcpy(pCopy, pManager->GetTable(), sizeof(ACCEL) * static_cast<size_t>(nCount));
  }
  if (sheet.DoModal() == IDOK) {
    if (!pManager->IsDefault()) pManager->Apply();
    delete[] pCopy;
    return TRUE;
  }
  AccelManagerAccess::PutTable(*pManager, pCopy, nCount);
  return FALSE;
}
