// CZubSubmitInfo: the project sheet's page of the site's submission values, a tree of the fields
// the enabled engines need, grouped by engine. The page edits a copy of the document's site
// profile; Apply hands the copy to the document only when a value changed.
#pragma once
#include "foundation/core/NVList.h"
#include "framework/controls/TreeCtrl.h"
#include "framework/dialogs/PropertyPage.h"
#include "framework/gdi/ImageList.h"

class CZubrinDoc;
struct SiteProfileField;

class CZubSubmitInfo : public CPropertyPage {
 public:
  // doc null: the main window's active document.
  explicit CZubSubmitInfo(CZubrinDoc* doc = nullptr);
  ~CZubSubmitInfo() override;

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  BOOL OnApply() override;

  // The site addresses as stored: one a line, each with exactly one "http://" in front.
  static CString NormaliseSiteUrls(const CString& value);
  // Puts an imported page's title, keywords and description into the profile's fields.
  static void TakeImport(CNVList& profile, const CString& title, const CString& description,
                         const CString& keywords);

  CZubrinDoc* m_pDoc;
  CNVList m_reference;  // the document's values when the page opened (or was last applied)
  CNVList m_edit;       // what the user edits
  CNVList m_needed;     // the keys the enabled engines' submissions use

  // The item's key, null for a group item.
  const CString* KeyOf(HTREEITEM item) const;
  CTreeCtrl& Tree() { return m_tree; }

 protected:
  void OnEditField();
  void OnImport();
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  LRESULT OnHelpMessage(WPARAM, LPARAM lParam);
  void OnDestroy();
  DECLARE_MESSAGE_MAP()

 private:
  void FillNeededKeys();
  void BuildTree();
  void AddField(const CLibString& key);
  void FreeKeys();
  int FieldImage(const char* key) const;
  void GetTip(NMTVGETINFOTIPA* tip) const;

  CTreeCtrl m_tree;
  CImageList m_images;
};
