// CMainFrame: the support mail about broken engines.
#include "ui/SupportMail.h"

#include <commctrl.h>

#include "app/document/ZubrinDoc.h"
#include "engines/sets/EngineManager.h"
#include "engines/sets/EngineSet.h"
#include "framework/app/MessageBox.h"
#include "reports/MapiMail.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/Panes.h"

namespace {

CString CellText(HWND list, int row, int column) {
  char text[512] = {};
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return CString(text);
}

// The engine list's rank, page, position and status columns.
const int kRankColumn = 7;

}  // namespace

CString SupportMailBody(const CZubrinDoc& doc, HWND engineList) {
  CString body = "URL Address To Find: " + doc.m_siteUrl + "\r\n";
  body += "Current Search Term: " + doc.GetSearchTerm() + "\r\n\r\n";
  body += "Search Terms:\r\n-------------\r\n";
  for (POSITION position = doc.m_manager.GetHeadPosition(); position;)
    body += doc.m_manager.GetNext(position)->GetName() + "\r\n";
  body += "\r\nSelected Search Engines:\r\n------------------------\r\n";
  if (engineList && ::IsWindow(engineList)) {
    for (int row = -1;;) {
      row = static_cast<int>(::SendMessageA(engineList, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                            LVNI_SELECTED));
      if (row < 0) break;
      body += CellText(engineList, row, 0) + ", R:" + CellText(engineList, row, kRankColumn) +
              ", Pg:" + CellText(engineList, row, kRankColumn + 1) +
              ", Pos:" + CellText(engineList, row, kRankColumn + 2) + ", " +
              CellText(engineList, row, kRankColumn + 3) + "\r\n";
    }
  }
  return body + "\r\n";
}

void CMainFrame::OnSupportMail() {
  CZubrinDoc* doc = GetZubrinDoc();
  if (!doc || IsRunActive()) return;
  CMapiMail mail;
  mail.AddTo(ZBPRO_SUPPORT_ADDRESS);
  mail.AddCc(ZBPRO_SUPPORT_COPY);
  mail.SetSubject(ZBPRO_SUPPORT_SUBJECT);
  mail.SetNoteText(SupportMailBody(*doc, g_hEngineViewWnd).GetString());
  // The user sees the mail in the mail program before it goes, and may drop it there.
  if (mail.Send(MAPI_DIALOG, m_hWnd) || mail.GetResult() == MAPI_USER_ABORT) return;
  ::MessageBeep(MB_ICONINFORMATION);
  AfxMessageBox(IDP_SUPPORT_MAIL_FAILED, MB_ICONINFORMATION);
}
