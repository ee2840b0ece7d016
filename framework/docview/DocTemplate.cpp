#include "framework/docview/DocTemplate.h"

#include "framework/docview/Document.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/docview/CreateContext.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                           CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource),
      m_pDocClass(pDocClass),
      m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {
  m_strDocStrings.LoadString(nIDResource);
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
  rString.Empty();
  int start = 0;
  for (int field = 0; field < index; ++field) {
    int end = m_strDocStrings.Find('\n', start);
    if (end < 0) return FALSE;
    start = end + 1;
  }
  int end = m_strDocStrings.Find('\n', start);
  rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
  return !rString.IsEmpty();
}

CString CDocTemplate::GetFileFilter() const {
  CString name, ext, filter;
  if (GetDocString(name, filterName) && GetDocString(ext, filterExt))
    filter = name + "|*" + ext + "|";
  return filter + "All Files (*.*)|*.*||";
}

CString CDocTemplate::GetDefaultExtension() const {
  CString ext;
  GetDocString(ext, filterExt);
  return ext.GetLength() > 0 && ext[0] == '.' ? ext.Mid(1) : ext;
}

CDocument* CDocTemplate::CreateNewDocument() {
  CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
  if (!object || !object->IsKindOf(RUNTIME_CLASS(CDocument))) {
    delete object;
    return nullptr;
  }
  auto* pDoc = static_cast<CDocument*>(object);
  AddDocument(pDoc);
  return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
  CCreateContext context;
  context.m_pCurrentFrame = pOther;
  context.m_pCurrentDoc = pDoc;
  context.m_pNewViewClass = m_pViewClass;
  context.m_pNewDocTemplate = this;
  CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
  if (!object || !object->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
    delete object;
    return nullptr;
  }
  auto* pFrame = static_cast<CFrameWnd*>(object);
  if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr,
                         &context)) {
    // A window that failed cleaned up after itself (PostNcDestroy), whether it never came or
    // came and went: the object must not be touched again.
    return nullptr;
  }
  return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
  pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = nullptr; }

void CDocTemplate::SetDefaultTitle(CDocument* pDocument) {
  CString title;
  if (!GetDocString(title, docName)) title = "Untitled";
  pDocument->SetTitle(title);
}

CSingleDocTemplate::~CSingleDocTemplate() {
  if (m_pOnlyDoc) m_pOnlyDoc->m_pDocTemplate = nullptr;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
  CDocTemplate::AddDocument(pDoc);
  m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
  CDocTemplate::RemoveDocument(pDoc);
  if (m_pOnlyDoc == pDoc) m_pOnlyDoc = nullptr;
}

BOOL CSingleDocTemplate::SaveAllModified() { return !m_pOnlyDoc || m_pOnlyDoc->SaveModified(); }

void CSingleDocTemplate::CloseAllDocuments(BOOL) {
  if (m_pOnlyDoc) m_pOnlyDoc->OnCloseDocument();
}

namespace {

CFrameWnd* FrameOf(CDocument* pDoc) {
  POSITION pos = pDoc->GetFirstViewPosition();
  return pos ? pDoc->GetNextView(pos)->GetParentFrame() : nullptr;
}

}  // namespace

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible) {
  CDocument* pDoc = m_pOnlyDoc;
  CFrameWnd* pFrame = nullptr;
  if (pDoc) {
    // The one document is reused: its changes are offered for saving first.
    if (!pDoc->SaveModified()) return nullptr;
    pFrame = FrameOf(pDoc);
  } else {
    pDoc = CreateNewDocument();
    if (!pDoc) {
      AfxMessageBox("The document could not be created.", MB_OK | MB_ICONEXCLAMATION);
      return nullptr;
    }
  }
  BOOL newFrame = FALSE;
  if (!pFrame) {
    // While the frame is made, its view going must not take the document along.
    BOOL autoDelete = pDoc->m_bAutoDelete;
    pDoc->m_bAutoDelete = FALSE;
    pFrame = CreateNewFrame(pDoc, nullptr);
    pDoc->m_bAutoDelete = autoDelete;
    if (!pFrame) {
      AfxMessageBox("The document window could not be created.", MB_OK | MB_ICONEXCLAMATION);
      delete pDoc;
      return nullptr;
    }
    newFrame = TRUE;
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd) app->m_pMainWnd = pFrame;
  }
  if (!lpszPathName) {
    if (!pDoc->OnNewDocument()) {
      if (newFrame) pFrame->DestroyWindow();
      return nullptr;
    }
    SetDefaultTitle(pDoc);
  } else if (!pDoc->OnOpenDocument(lpszPathName)) {
    // Reported by the document. A new window goes again; an existing one keeps showing the
    // document, which a file that could not be opened has left as it was.
    if (newFrame) {
      pFrame->DestroyWindow();
      return nullptr;
    }
    pFrame->OnUpdateFrameTitle(TRUE);
    return nullptr;
  } else {
    CWinApp* app = AfxGetApp();
    if (app) app->AddToRecentFileList(lpszPathName);
  }
  InitialUpdateFrame(pFrame, pDoc, bMakeVisible);
  return pDoc;
}
