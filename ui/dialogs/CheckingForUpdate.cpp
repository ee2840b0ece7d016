#include "ui/dialogs/CheckingForUpdate.h"

#include "resources/resource.h"

CCheckingForUpdate::CCheckingForUpdate(std::shared_ptr<UpdateCheckBlock> block)
    : CDialog(IDD_CHECKING_FOR_UPDATE, nullptr), m_block(std::move(block)) {}

CCheckingForUpdate* CCheckingForUpdate::Show(std::shared_ptr<UpdateCheckBlock> block,
                                             CWnd* owner) {
  auto* notice = new CCheckingForUpdate(std::move(block));
  bool freed = false;
  notice->m_freed = &freed;
  if (!notice->Create(IDD_CHECKING_FOR_UPDATE, owner)) {
    // A window that was made and failed freed the object on its way out; a missing template
    // never made one.
    if (!freed) delete notice;
    return nullptr;
  }
  notice->m_freed = nullptr;
  notice->ShowWindow(SW_SHOW);
  notice->UpdateWindow();
  return notice;
}

// The check sees the cancel word at its next step and ends; the notice stays until the check
// destroys it, so the user sees the wait end rather than a window that vanished early.
void CCheckingForUpdate::OnCancel() {
  if (m_block) m_block->cancel = 1;
  if (CWnd* button = GetDlgItem(IDCANCEL)) button->EnableWindow(FALSE);
}

void CCheckingForUpdate::PostNcDestroy() {
  if (m_freed) *m_freed = true;
  delete this;
}
