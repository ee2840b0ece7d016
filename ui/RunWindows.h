// CMainRunViews: what a run and the update check ask of ZBPro's windows — the status bar's
// progress, the engine list's selected rows, questions to the user, the update notices and the
// close of the main window. Everything runs on the user-interface thread except the calls the
// interface marks "any thread", which only post.
#pragma once
#include <windows.h>

#include "app/run/RunViews.h"

class CCheckingForUpdate;

class CMainRunViews : public IRunViews {
 public:
  std::vector<CString> SelectedEngines() override;
  void BeginProgress(UINT upper, UINT lower, UINT captionId) override;
  void StepProgress() override;
  void EndProgress() override;
  int Ask(UINT messageId, UINT type) override;
  bool ShowMissingInfo(const CNVList& missing) override;
  bool ShowUpdateNotice() override;
  void RefreshEngineRow(const CString& name) override;
  void ReportRunFailure(RunFailure failure) override;
  void PostCloseMainWindow() override;
  bool AskTemplateName(CString& name) override;
  bool CollectTemplate(const CString& name) override;

  void ShowCheckingNotice(const std::shared_ptr<UpdateCheckBlock>& block) override;
  void CloseCheckingNotice() override;
  bool AskSaveModified() override;
  void ReportUpdateStartFailure(const char* text) override;

  // The main window, recorded on the user-interface thread when the windows are connected.
  void SetMainWindow(HWND window) { m_main = window; }

  // The names of the selected rows of an engine list, top to bottom (column 0 holds the name).
  static std::vector<CString> SelectedRowNames(HWND list);
  // The names of all its rows, top to bottom: the order the reports list the engines in.
  static std::vector<CString> RowNames(HWND list);

 private:
  bool OnWindowThread() const;
  bool Automated() const;

  HWND m_main = nullptr;
  CCheckingForUpdate* m_notice = nullptr;
};
