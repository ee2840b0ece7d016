// CDocTemplate: what a kind of document is made of: the document, frame and view classes (made
// through their runtime classes) and one resource id for the frame's menu, icon, accelerators
// and strings. The string has fields separated by line breaks (window title, document name,
// file type name, filter name, extension, ...). CSingleDocTemplate keeps one document at a time
// and reuses it for every new or opened file.
#pragma once
#include "framework/core/Object.h"
#include "framework/core/String.h"
#include "framework/wnd/CmdTarget.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
  DECLARE_DYNAMIC(CDocTemplate)
 public:
  enum DocStringIndex {
    windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName
  };
  CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
               CRuntimeClass* pViewClass);
  ~CDocTemplate() override = default;

  virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;
  // The file dialogs' filter: the document's own type first (when the strings name one), then
  // every file.
  CString GetFileFilter() const;
  // The extension that a file name typed without one gets ("zbp" for ".zbp"); empty when the
  // strings name none.
  CString GetDefaultExtension() const;
  virtual CDocument* CreateNewDocument();
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
  virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
  virtual void AddDocument(CDocument* pDoc);
  virtual void RemoveDocument(CDocument* pDoc);
  virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
  virtual void SetDefaultTitle(CDocument* pDocument);
  // Asks every document to save its changes; FALSE when one declines.
  virtual BOOL SaveAllModified() = 0;
  virtual void CloseAllDocuments(BOOL bEndSession) = 0;

  UINT m_nIDResource;
  CRuntimeClass* m_pDocClass;
  CRuntimeClass* m_pFrameClass;
  CRuntimeClass* m_pViewClass;
  CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
  DECLARE_DYNAMIC(CSingleDocTemplate)
 public:
  using CDocTemplate::CDocTemplate;
  ~CSingleDocTemplate() override;

  // Null path: a new document. The existing document is reused after its changes are saved (or
  // dropped); a file that cannot be read leaves the document as it was.
  CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
  void AddDocument(CDocument* pDoc) override;
  void RemoveDocument(CDocument* pDoc) override;
  BOOL SaveAllModified() override;
  void CloseAllDocuments(BOOL bEndSession) override;
  CDocument* GetDocument() const { return m_pOnlyDoc; }

 protected:
  CDocument* m_pOnlyDoc = nullptr;
};
