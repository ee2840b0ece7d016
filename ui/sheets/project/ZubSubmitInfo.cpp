#include "ui/sheets/project/ZubSubmitInfo.h"

#include <cstdlib>
#include <cstring>

#include "app/services/AppServices.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineKeys.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/ProfileFields.h"
#include "framework/gdi/WaitCursor.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/dialogs/ImportProperties.h"
#include "ui/dialogs/fields/ModifyCategory.h"
#include "ui/dialogs/fields/ModifyNV.h"
#include "ui/sheets/project/ProjectShared.h"
#include "ui/sheets/project/ZubSheet.h"

namespace {

// The image indexes of a filled and of an empty field, read from the engine database once.
int g_filledImage = -1;
int g_emptyImage = -1;

void ReadFieldImages() {
  if (g_filledImage >= 0) return;
  g_filledImage = std::atoi(EngineKeyList.GetValue("Icons.redx").c_str());
  g_emptyImage = std::atoi(EngineKeyList.GetValue("Icons.greencheck").c_str());
}

const char* const kDescriptionKeys[] = {"ONELINEDESC", "SHORTDESC", "LONGDESC"};
const char* const kSuffixes[] = {"", "_BR", "_DE", "_FR", "_IT", "_NL", "_SE", "_MX"};

}  // namespace

BEGIN_MESSAGE_MAP(CZubSubmitInfo, CPropertyPage)
  ON_COMMAND(IDC_FIELDS_EDIT, OnEditField)
  ON_COMMAND(IDC_FIELDS_IMPORT, OnImport)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CZubSubmitInfo::CZubSubmitInfo(CZubrinDoc* doc)
    : CPropertyPage(IDD_PROJECT_FIELDS), m_pDoc(doc ? doc : projectui::ActiveDocument()) {}

CZubSubmitInfo::~CZubSubmitInfo() = default;

CString CZubSubmitInfo::NormaliseSiteUrls(const CString& value) {
  CString text(value);
  text.Replace('\r', ' ');
  text.Replace('\n', ' ');
  CString result;
  int start = 0;
  const int length = text.GetLength();
  while (start < length) {
    while (start < length && text[start] == ' ') ++start;
    int end = start;
    while (end < length && text[end] != ' ') ++end;
    if (end == start) break;
    std::string word(static_cast<LPCSTR>(text) + start, end - start);
    for (const char* prefix : {"http://", "http:\\\\", "\r"}) {
      size_t at = word.find(prefix);
      if (at != std::string::npos) word.erase(at, std::strlen(prefix));
    }
    if (!result.IsEmpty()) result += "\r\n";
    result += "http://";
    result += word.c_str();
    start = end;
  }
  return result;
}

void CZubSubmitInfo::TakeImport(CNVList& profile, const CString& title,
                                const CString& description, const CString& keywords) {
  profile.SetAt("TITLE", static_cast<LPCSTR>(title));
  profile.SetAt("KEYWORDS_COMMA", static_cast<LPCSTR>(keywords));
  CString spaced(keywords);
  spaced.Remove(',');
  profile.SetAt("KEYWORDS_SPACE", static_cast<LPCSTR>(spaced));
  for (const char* key : kDescriptionKeys)
    for (const char* suffix : kSuffixes)
      profile.SetAt(CLibString(key) + suffix, static_cast<LPCSTR>(description));
}

BOOL CZubSubmitInfo::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  CWaitCursor wait;
  m_tree.SubclassDlgItem(IDC_FIELDS_TREE, this);
  if (CreateEngineImageList(m_images)) m_tree.SetImageList(&m_images, TVSIL_NORMAL);
  if (m_pDoc) {
    m_reference.Copy(m_pDoc->m_profile);
    m_edit.Copy(m_pDoc->m_profile);
  }
  FillNeededKeys();
  BuildTree();
  return TRUE;
}

BOOL CZubSubmitInfo::OnSetActive() {
  LastProjectPage = 0;
  return CPropertyPage::OnSetActive();
}

void CZubSubmitInfo::FillNeededKeys() {
  m_needed.RemoveAll();
  if (!m_pDoc || !m_pDoc->m_currentSet) return;
  m_pDoc->m_currentSet->ForEachEngine(
      [](CSearchEngine* engine, intptr_t user) {
        if (engine->m_enabled) engine->GetNeededSiteFields(*reinterpret_cast<CNVList*>(user));
      },
      reinterpret_cast<intptr_t>(&m_needed));
}

int CZubSubmitInfo::FieldImage(const char* key) const {
  ReadFieldImages();
  return m_edit.GetValue(key).GetLength() > 0 ? g_filledImage : g_emptyImage;
}

void CZubSubmitInfo::AddField(const CLibString& key) {
  const SiteProfileField* row = projectui::FindField(key.c_str());
  if (!row || std::strcmp(row->type, "HIDDEN") == 0) return;
  CSearchEngine* owner =
      m_pDoc && m_pDoc->m_currentSet ? m_pDoc->m_currentSet->FindEngine(row->owner) : nullptr;
  // An engine's own field shows while that engine takes part; a general one while an enabled
  // engine's submission uses it.
  if (owner ? !owner->m_enabled : !m_needed.Contains(key)) return;

  HTREEITEM group = m_tree.GetRootItem();
  while (group && m_tree.GetItemText(group) != row->owner) group = m_tree.GetNextSiblingItem(group);
  if (!group) {
    int icon = m_pDoc ? GetEngineIcon(m_pDoc->m_database, row->owner) : 0;
    group = m_tree.InsertItem(row->owner, icon, icon);
  }
  int image = FieldImage(row->key);
  HTREEITEM item = m_tree.InsertItem(LoadResString(row->labelId), image, image, group);
  m_tree.SetItemData(item, reinterpret_cast<DWORD_PTR>(new CString(row->key)));
}

void CZubSubmitInfo::BuildTree() {
  if (m_pDoc) {
    CLibString name, value;
    for (bool more = m_pDoc->m_profile.GetNext(name, value, true); more;
         more = m_pDoc->m_profile.GetNext(name, value, false))
      AddField(name);
  }
  for (HTREEITEM group = m_tree.GetRootItem(); group; group = m_tree.GetNextSiblingItem(group))
    m_tree.Expand(group, TVE_EXPAND);
  if (HTREEITEM first = m_tree.GetRootItem()) m_tree.EnsureVisible(first);
}

const CString* CZubSubmitInfo::KeyOf(HTREEITEM item) const {
  if (!item) return nullptr;
  return reinterpret_cast<const CString*>(m_tree.GetItemData(item));
}

void CZubSubmitInfo::FreeKeys() {
  if (!m_tree.m_hWnd) return;
  for (HTREEITEM group = m_tree.GetRootItem(); group; group = m_tree.GetNextSiblingItem(group)) {
    for (HTREEITEM item = m_tree.GetChildItem(group); item; item = m_tree.GetNextSiblingItem(item)) {
      delete KeyOf(item);
      m_tree.SetItemData(item, 0);
    }
  }
}

void CZubSubmitInfo::OnEditField() {
  HTREEITEM item = m_tree.GetSelectedItem();
  const CString* key = KeyOf(item);
  if (!item || !m_tree.GetParentItem(item) || !key) return;
  const SiteProfileField* row = projectui::FindField(*key);
  if (!row) return;
  CString value = m_edit.GetValue(static_cast<LPCSTR>(*key)).c_str();
  CString result;
  bool changed = false;
  if (std::strcmp(row->type, "DYNAPICK") == 0) {
    CModifyCategory dlg(m_pDoc, m_edit, this);
    dlg.m_strLabel = LoadResString(row->labelId);
    dlg.m_strDescription = LoadResString(row->helpId);
    dlg.m_strKey = *key;
    dlg.m_strValue = value;
    dlg.m_strGroup = m_tree.GetItemText(m_tree.GetParentItem(item));
    if (dlg.DoModal() == IDOK) {
      result = dlg.m_strValue;
      changed = true;
    }
  } else {
    CModifyNV dlg(this);
    dlg.m_pDoc = m_pDoc;
    dlg.m_strLabel = LoadResString(row->labelId);
    dlg.m_strDescription = LoadResString(row->helpId);
    dlg.m_strKey = *key;
    dlg.m_strKind = row->type;
    dlg.m_strValue = value;
    if (dlg.DoModal() == IDOK) {
      result = dlg.m_strValue;
      changed = true;
    }
  }
  if (changed) {
    if (*key == "URL_WITH_PREFIX") result = NormaliseSiteUrls(result);
    m_edit.SetAt(static_cast<LPCSTR>(*key), static_cast<LPCSTR>(result));
    int image = FieldImage(*key);
    TVITEMA tvi = {};
    tvi.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tvi.hItem = item;
    tvi.iImage = tvi.iSelectedImage = image;
    m_tree.SetItem(&tvi);
    SetModified();
  }
  m_tree.SetFocus();
}

void CZubSubmitInfo::OnImport() {
  CImportProperties dlg(this);
  if (m_pDoc) dlg.m_strURL = m_pDoc->m_siteUrl;
  if (dlg.DoModal() != IDOK) return;
  TakeImport(m_edit, dlg.m_strTitle, dlg.m_strDescription, dlg.m_strKeywords);
  m_tree.SetRedraw(FALSE);
  FreeKeys();
  m_tree.DeleteAllItems();
  BuildTree();
  m_tree.SetRedraw(TRUE);
  m_tree.Invalidate();
  SetModified();
}

void CZubSubmitInfo::GetTip(NMTVGETINFOTIPA* tip) const {
  if (!tip->pszText || tip->cchTextMax <= 0) return;
  tip->pszText[0] = '\0';
  const CString* key = tip->hItem && m_tree.GetParentItem(tip->hItem) ? KeyOf(tip->hItem) : nullptr;
  if (!key) return;
  CString value = m_edit.GetValue(static_cast<LPCSTR>(*key)).c_str();
  const SiteProfileField* row = projectui::FindField(*key);
  if (row && std::strcmp(row->type, "DYNAPICK") == 0) {
    int cut = value.ReverseFind('\n');
    if (cut >= 0) value = value.Mid(cut + 1);
  }
  lstrcpynA(tip->pszText, value, tip->cchTextMax);
}

BOOL CZubSubmitInfo::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (hdr->idFrom == IDC_FIELDS_TREE) {
    if (hdr->code == NM_DBLCLK) {
      OnEditField();
      *pResult = 1;
      return TRUE;
    }
    if (hdr->code == TVN_GETINFOTIPA) {
      GetTip(reinterpret_cast<NMTVGETINFOTIPA*>(lParam));
      *pResult = 0;
      return TRUE;
    }
  }
  return CPropertyPage::OnNotify(wParam, lParam, pResult);
}

BOOL CZubSubmitInfo::OnApply() {
  bool changed = false;
  m_edit.ForEach([&](const CNVItem& item) {
    if (m_reference.GetValue(item.m_name) != item.m_value) changed = true;
  });
  if (changed && m_pDoc) {
    m_edit.ForEach([&](const CNVItem& item) { m_pDoc->m_profile.SetAt(item.m_name, item.m_value); });
    m_pDoc->SetModifiedFlag();
    m_reference.Copy(m_edit);
  }
  return CPropertyPage::OnApply();
}

LRESULT CZubSubmitInfo::OnHelpMessage(WPARAM, LPARAM lParam) {
  return projectui::AnswerContextHelp(lParam);
}

void CZubSubmitInfo::OnDestroy() {
  FreeKeys();
  CPropertyPage::OnDestroy();
}
