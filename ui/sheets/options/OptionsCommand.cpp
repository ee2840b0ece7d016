// The main window's options command: the options sheet on the page shown last.
#include "ui/MainFrame.h"
#include "ui/sheets/options/SearchPropertySheet.h"

void CMainFrame::OnOptions() {
  CSearchPropertySheet sheet(this);
  sheet.DoModal();
}
