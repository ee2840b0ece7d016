#include "ui/PlaceholderView.h"

#include "framework/docview/Document.h"
#include "framework/gdi/Gdi.h"

IMPLEMENT_DYNCREATE(CPlaceholderView, CView)

void CPlaceholderView::OnDraw(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, ::GetSysColor(COLOR_WINDOW));
  CDocument* doc = GetDocument();
  if (!doc) return;
  CString path = doc->GetPathName();
  CString text = path.IsEmpty() ? doc->GetTitle() : path;
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  client.DeflateRect(8, 8);
  pDC->DrawText(text, &client, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS);
}

void CPlaceholderView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(); }
