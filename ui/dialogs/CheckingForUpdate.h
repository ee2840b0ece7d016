// CCheckingForUpdate: the modeless notice shown while the daily update check asks the update
// server. Its Cancel stops the check; the window frees itself when it is destroyed, so the check
// only has to destroy it.
#pragma once
#include <memory>

#include "app/update/UpdateViews.h"
#include "framework/dialogs/Dialog.h"

class CCheckingForUpdate : public CDialog {
 public:
  explicit CCheckingForUpdate(std::shared_ptr<UpdateCheckBlock> block);

  // Shows the notice centred over the owner; false (and the object freed) when it could not.
  static CCheckingForUpdate* Show(std::shared_ptr<UpdateCheckBlock> block, CWnd* owner);

  void OnCancel() override;

 protected:
  void PostNcDestroy() override;

 private:
  std::shared_ptr<UpdateCheckBlock> m_block;
  bool* m_freed = nullptr;  // told when a failed creation already freed the object
};
