// CConfirmUpdate: the list of files that have a newer version, for the user to confirm before
// anything is downloaded. It runs modally on the update worker's thread.
#pragma once

#include <string>
#include <vector>

#include "foundation/update/FileInfo.h"
#include "framework/controls/ListCtrl.h"
#include "framework/dialogs/Dialog.h"

class CConfirmUpdate : public CDialog {
 public:
  CConfirmUpdate(const CFileInfoTable& table, const std::vector<std::string>& names,
                 CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

  // The row's versions, as the double-click shows them.
  static std::string VersionsText(const CFileInfo& entry);

  CListCtrl m_list;
  CString m_total;

 protected:
  void OnDblclkList(NMHDR* pNMHDR, LRESULT* pResult);
  void OnWhatsNew();
  DECLARE_MESSAGE_MAP()

 private:
  const CFileInfo* Find(const std::string& name) const;
  const CFileInfoTable& m_table;
  const std::vector<std::string>& m_names;
};
