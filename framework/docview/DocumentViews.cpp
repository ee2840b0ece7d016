// The document's window side: its views, the save question, closing, and sending by mail.
#include <mapi.h>

#include "framework/docview/Document.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/app/AppIds.h"
#include "framework/dialogs/FileDialog.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
  ON_COMMAND(ID_FILE_SAVE, OnFileSave)
  ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
  ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
  ON_COMMAND(ID_FILE_SEND_MAIL, OnFileSendMail)
  ON_UPDATE_COMMAND_UI(ID_FILE_SEND_MAIL, OnUpdateFileSendMail)
END_MESSAGE_MAP()

CDocument::~CDocument() {
  for (POSITION pos = m_viewList.GetHeadPosition(); pos;)
    static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
  m_viewList.RemoveAll();
  if (m_pDocTemplate) m_pDocTemplate->RemoveDocument(this);
}

void CDocument::AddView(CView* pView) {
  if (!pView || pView->m_pDocument == this) return;
  if (pView->m_pDocument) pView->m_pDocument->RemoveView(pView);
  m_viewList.AddTail(pView);
  pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
  POSITION pos = m_viewList.Find(pView);
  if (!pos) return;
  m_viewList.RemoveAt(pos);
  pView->m_pDocument = nullptr;
  OnChangedViewList();
}

void CDocument::SetTitle(LPCSTR lpszTitle) {
  m_strTitle = lpszTitle ? lpszTitle : "";
  for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
    CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
    CFrameWnd* frame = view->GetParentFrame();
    if (frame && ::IsWindow(frame->m_hWnd)) frame->OnUpdateFrameTitle(TRUE);
  }
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
  return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::OnChangedViewList() {
  // The last view gone: an automatic document goes with it.
  if (m_viewList.IsEmpty() && m_bAutoDelete) OnCloseDocument();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
  for (POSITION pos = m_viewList.GetHeadPosition(); pos;) {
    CView* view = static_cast<CView*>(m_viewList.GetNext(pos));
    if (view != pSender) view->OnUpdate(pSender, lHint, pHint);
  }
}

BOOL CDocument::SaveModified() {
  if (!IsModified()) return TRUE;
  CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
  if (name.IsEmpty()) name = "Untitled";
  CString prompt;
  prompt.Format("Save changes to %s?", static_cast<LPCSTR>(name));
  switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
      return DoFileSave();
    case IDNO:
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CDocument::CanCloseFrame(CFrameWnd*) { return SaveModified(); }

// The box offers the document's own file type, and a name typed without an extension gets the
// document's.
BOOL CDocument::DoPromptFileName(CString& fileName) {
  CString ext, filter;
  if (m_pDocTemplate) {
    ext = m_pDocTemplate->GetDefaultExtension();
    filter = m_pDocTemplate->GetFileFilter();
  }
  CFileDialog dialog(FALSE, ext.IsEmpty() ? nullptr : ext.GetString(), fileName,
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                     filter.IsEmpty() ? nullptr : filter.GetString());
  if (dialog.DoModal() != IDOK) return FALSE;
  fileName = dialog.GetPathName();
  return TRUE;
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace) {
  CString path = lpszPathName ? lpszPathName : "";
  if (path.IsEmpty()) {
    path = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    if (!DoPromptFileName(path)) return FALSE;  // the user cancelled: nothing changes
  }
  if (!OnSaveDocument(path)) return FALSE;  // reported; the old file is unchanged
  if (bReplace) {
    SetPathName(path);
    CWinApp* app = AfxGetApp();
    if (app) app->AddToRecentFileList(path);
  }
  return TRUE;
}

BOOL CDocument::DoFileSave() {
  DWORD attrs = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES
                                        : ::GetFileAttributesA(m_strPathName);
  // A read-only file, or none yet, is saved under a name the user picks.
  if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY)) return DoSave(nullptr);
  return DoSave(m_strPathName.IsEmpty() ? nullptr : static_cast<LPCSTR>(m_strPathName));
}

void CDocument::OnFileSave() { DoFileSave(); }
void CDocument::OnFileSaveAs() { DoSave(nullptr); }

void CDocument::OnFileClose() {
  if (!SaveModified()) return;
  OnCloseDocument();
}

void CDocument::OnCloseDocument() {
  BOOL autoDelete = m_bAutoDelete;
  m_bAutoDelete = FALSE;  // not while its frames go
  while (!m_viewList.IsEmpty()) {
    CView* view = static_cast<CView*>(m_viewList.GetHead());
    CFrameWnd* frame = view->GetParentFrame();
    if (frame && frame->m_hWnd) {
      frame->DestroyWindow();
    } else {
      RemoveView(view);
    }
    // A view that stayed (no window) must not loop forever.
    if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view) RemoveView(view);
  }
  m_bAutoDelete = autoDelete;
  DeleteContents();
  if (m_bAutoDelete) delete this;
}

namespace {

// Simple MAPI from the system's provider, loaded only when asked for.
HMODULE LoadMapi() { return ::LoadLibraryA("MAPI32.DLL"); }

}  // namespace

void CDocument::OnUpdateFileSendMail(CCmdUI* pCmdUI) {
  HMODULE mapi = LoadMapi();
  BOOL available = mapi && ::GetProcAddress(mapi, "MAPISendMail");
  if (mapi) ::FreeLibrary(mapi);
  pCmdUI->Enable(available);
}

void CDocument::OnFileSendMail() {
  HMODULE mapi = LoadMapi();
  auto send = mapi ? reinterpret_cast<LPMAPISENDMAIL>(
                         reinterpret_cast<void*>(::GetProcAddress(mapi, "MAPISendMail")))
                   : nullptr;
  if (!send) {
    if (mapi) ::FreeLibrary(mapi);
    AfxMessageBox("No mail program is installed to send the document.", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  // The mail carries the file as saved: unsaved changes are offered for saving first.
  if (IsModified() || m_strPathName.IsEmpty()) {
    if (!DoFileSave()) {
      ::FreeLibrary(mapi);
      return;
    }
  }
  CString path = m_strPathName;
  CString title = m_strTitle;
  MapiFileDesc file = {};
  file.nPosition = static_cast<ULONG>(-1);
  file.lpszPathName = path.GetBuffer(0);
  file.lpszFileName = title.GetBuffer(0);
  MapiMessage message = {};
  message.nFileCount = 1;
  message.lpFiles = &file;
  CFrameWnd* frame = nullptr;
  POSITION pos = GetFirstViewPosition();
  if (pos) frame = GetNextView(pos)->GetParentFrame();
  ULONG result = send(0, reinterpret_cast<ULONG_PTR>(frame ? frame->m_hWnd : nullptr), &message,
                      MAPI_LOGON_UI | MAPI_DIALOG, 0);
  path.ReleaseBuffer();
  title.ReleaseBuffer();
  ::FreeLibrary(mapi);
  if (result != SUCCESS_SUCCESS && result != MAPI_USER_ABORT)
    AfxMessageBox("The document could not be sent by mail.", MB_OK | MB_ICONEXCLAMATION);
}
