// CDocument: the data of a program, read from and written to one file through an archive. The
// program derives its document and gives it Serialize; this class does the file handling around
// it: new, open, save, the path and title, and the modified flag, the views that show it and the
// question whether to save changes before they would be lost.
#pragma once
#include <windows.h>

#include "framework/exceptions/Exception.h"
#include "framework/files/File.h"
#include "framework/core/Object.h"
#include "framework/collections/PtrList.h"
#include "framework/core/String.h"
#include "framework/wnd/CmdTarget.h"

class CArchive;
class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
  DECLARE_DYNAMIC(CDocument)
 public:
  CDocument() = default;
  // Leaves its template and lets go of any view still attached.
  ~CDocument() override;
  CDocument(const CDocument&) = delete;
  CDocument& operator=(const CDocument&) = delete;

  const CString& GetTitle() const { return m_strTitle; }
  // The frames that show the document show the new title at once.
  virtual void SetTitle(LPCSTR lpszTitle);
  const CString& GetPathName() const { return m_strPathName; }
  // The title becomes the file's name.
  virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
  // Forgets the path; the document has no file until it is saved under a name.
  void ClearPathName();

  virtual BOOL IsModified() { return m_bModified; }
  virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

  // Tells every view but the sender of a change (OnUpdate).
  void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
  void AddView(CView* pView);
  void RemoveView(CView* pView);
  POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
  CView* GetNextView(POSITION& rPosition) const;
  CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

  // Asks whether to save a modified document: Yes saves (FALSE when that fails), No drops the
  // changes, Cancel keeps everything. TRUE when the document may be closed or replaced.
  virtual BOOL SaveModified();
  virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
  // Saves under the path, or under a name the user chooses when lpszPathName is null.
  virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
  virtual BOOL DoFileSave();
  // Closes the views' frames and, with m_bAutoDelete, deletes the document.
  virtual void OnCloseDocument();
  // Called when the last view goes.
  virtual void OnChangedViewList();
  // The path under which DoSave stores without asking; null asks (a file dialog).
  virtual BOOL DoPromptFileName(CString& fileName);

  // Simple MAPI's send-mail with the document's file attached; the item is disabled when the
  // system has no MAPI provider.
  void OnFileSendMail();
  void OnUpdateFileSendMail(CCmdUI* pCmdUI);
  void OnFileSave();
  void OnFileSaveAs();
  void OnFileClose();

  // Empties the document and forgets its path.
  virtual BOOL OnNewDocument();
  // Reads the file through Serialize. On any failure the error is reported, the contents are
  // deleted and the document keeps no path, so that a later save cannot overwrite the file it
  // failed to read. Serialize throws CUserException after reporting a failure itself.
  virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
  // Writes a temporary file in the same folder, flushes it and only then moves it over the old
  // file; on failure the old file is left as it was and the failure is reported.
  virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
  virtual void DeleteContents() {}

  // A new file object opened on the path, or null (with the reason in pError).
  virtual CFile* GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
  // Closes (or aborts) and deletes a file of GetFile.
  virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
  // Shows the exception's text, else the prompt text of nIDPDefault, else a plain default.
  virtual void ReportSaveLoadException(LPCSTR lpszPathName, const CException* e, BOOL bSaving,
                                       UINT nIDPDefault);

 protected:
  DECLARE_MESSAGE_MAP()

 public:
  BOOL m_bAutoDelete = TRUE;      // deleted when its last view goes
  BOOL m_bEmbedded = FALSE;
  CDocTemplate* m_pDocTemplate = nullptr;

 protected:
  CPtrList m_viewList;
  CString m_strTitle;
  CString m_strPathName;
  BOOL m_bModified = FALSE;
};
