// CTkResizePropertyPage: a page of a resizable sheet. It grows with the sheet and lays its own
// registered controls out; the sheet carries the only grip.
#pragma once
#include "framework/dialogs/PropertyPage.h"
#include "toolkit/layout/TkResize.h"

class CTkResizePropertyPage : public CPropertyPage, public CTkResize {
  DECLARE_DYNCREATE(CTkResizePropertyPage)
 public:
  CTkResizePropertyPage() : CTkResizePropertyPage(0U) {}
  explicit CTkResizePropertyPage(UINT nIDTemplate, UINT nIDCaption = 0, DWORD dwFlags = 0);

  BOOL OnInitDialog() override;
  void OnSize(UINT nType, int cx, int cy);
  void OnGetMinMaxInfo(MINMAXINFO* pMMI) { GetMinMaxInfo(pMMI); }

 protected:
  DECLARE_MESSAGE_MAP()
  UINT m_nIDTemplate;
};
