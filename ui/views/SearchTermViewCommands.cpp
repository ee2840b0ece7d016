// The search-term list's commands: add, edit, delete, clear, move, import, export and paste,
// their enabling, the context menu and the pane keys.
#include <cstdio>
#include <string>

#include "app/services/AppServices.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunCommands.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "framework/app/MessageBox.h"
#include "framework/dialogs/FileDialog.h"
#include "framework/gdi/WaitCursor.h"
#include "framework/wnd/CmdUI.h"
#include "framework/wnd/WindowDc.h"
#include "resources/resource.h"
#include "ui/Panes.h"
#include "ui/dialogs/ImportProperties.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchFormHints.h"
#include "ui/views/SearchTermView.h"
#include "ui/views/ViewShared.h"

BEGIN_MESSAGE_MAP(CSearchTermView, CListViewEx)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_CONTEXTMENU()
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGING, OnItemChanging)
  ON_NOTIFY_REFLECT(LVN_ITEMCHANGED, OnItemChanged)
  ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITA, OnBeginLabelEdit)
  ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, OnEndLabelEdit)
  ON_MESSAGE(WM_TERM_DROP_EMPTY, OnDropEmptyTerm)
  ON_MESSAGE(WM_ZB_UPDATE, OnTermsBroadcast)
  ON_COMMAND(ID_TERM_ADD, OnTermAdd)
  ON_COMMAND(ID_TERM_EDIT, OnTermEdit)
  ON_COMMAND(ID_TERM_DELETE, OnTermDelete)
  ON_COMMAND(ID_TERM_CLEAR, OnTermClearAll)
  ON_COMMAND(ID_TERM_MOVE_UP, OnTermMoveUp)
  ON_COMMAND(ID_TERM_MOVE_DOWN, OnTermMoveDown)
  ON_COMMAND(ID_TERM_IMPORT, OnTermImport)
  ON_COMMAND(ID_TERM_EXPORT, OnTermExport)
  ON_COMMAND(ID_TERM_PASTE, OnTermPaste)
  ON_COMMAND(ID_TERM_IMPORT_PAGE, OnTermImportPage)
  ON_COMMAND(ID_NEXT_PANE_CMD, OnNextPane)
  ON_COMMAND(ID_PREV_PANE_CMD, OnPrevPane)
  ON_UPDATE_COMMAND_UI(ID_TERM_ADD, OnUpdateTermCommand)
  ON_UPDATE_COMMAND_UI(ID_TERM_EDIT, OnUpdateTermCommand)
  ON_UPDATE_COMMAND_UI(ID_TERM_IMPORT, OnUpdateTermCommand)
  ON_UPDATE_COMMAND_UI(ID_TERM_EXPORT, OnUpdateTermCommand)
  ON_UPDATE_COMMAND_UI(ID_TERM_IMPORT_PAGE, OnUpdateTermCommand)
  ON_UPDATE_COMMAND_UI(ID_TERM_DELETE, OnUpdateTermDelete)
  ON_UPDATE_COMMAND_UI(ID_TERM_CLEAR, OnUpdateTermDelete)
  ON_UPDATE_COMMAND_UI(ID_TERM_MOVE_UP, OnUpdateTermMoveUp)
  ON_UPDATE_COMMAND_UI(ID_TERM_MOVE_DOWN, OnUpdateTermMoveDown)
  ON_UPDATE_COMMAND_UI(ID_TERM_PASTE, OnUpdateTermPaste)
END_MESSAGE_MAP()

namespace {

const char kTextFilter[] = "Text File (*.txt)|*.txt|All Files (*.*)|*.*||";
const size_t kMaxTermLine = 1023;

void TellFileFailure(UINT messageId, const CString& path) {
  CString text;
  text.Format(LoadResString(messageId), path.GetString());
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

// Cuts the text at line feeds into the list (the carriage returns go with the trimming).
void SplitLines(const std::string& text, CStringList& out) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    // An overlong line is cut, not split into several terms.
    if (line.size() > kMaxTermLine) line.resize(kMaxTermLine);
    out.AddTail(CString(line.c_str()));
    start = end + 1;
  }
}

}  // namespace

// ---- enabling ----

void CSearchTermView::OnUpdateTermCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(CanChangeTerms()); }

void CSearchTermView::OnUpdateTermDelete(CCmdUI* pCmdUI) {
  pCmdUI->Enable(CanChangeTerms() && GetListCtrl().GetItemCount() >= 2);
}

void CSearchTermView::OnUpdateTermMoveUp(CCmdUI* pCmdUI) {
  int row = SelectedRow();
  pCmdUI->Enable(CanChangeTerms() && GetListCtrl().GetItemCount() >= 2 && row > 0);
}

void CSearchTermView::OnUpdateTermMoveDown(CCmdUI* pCmdUI) {
  int row = SelectedRow();
  int count = GetListCtrl().GetItemCount();
  pCmdUI->Enable(CanChangeTerms() && count >= 2 && row >= 0 && row < count - 1);
}

void CSearchTermView::OnUpdateTermPaste(CCmdUI* pCmdUI) {
  pCmdUI->Enable(CanChangeTerms() && ::IsClipboardFormatAvailable(CF_TEXT));
}

// ---- add, edit, delete, clear ----

void CSearchTermView::OnTermAdd() {
  CZubrinDoc* doc = GetDocument();
  if (!CanChangeTerms()) return;
  if (static_cast<UINT>(doc->m_manager.GetCount()) >= doc->MaxSearchTerms()) {
    doc->TellLimit(IDS_TOO_MANY_TERMS, doc->MaxSearchTerms());
    return;
  }
  m_pBeforeAddSet = doc->m_currentSet;
  auto* set = new CEngineSet(&doc->m_database, 1, CString());
  doc->m_manager.AddSet(set);
  doc->m_currentSet = set;
  CListCtrl& list = GetListCtrl();
  int row = list.GetItemCount();
  m_bFilling = TRUE;
  list.InsertItem(row, "");
  SetRow(row, set);
  m_bFilling = FALSE;
  SelectRowQuietly(row);
  BroadcastUpdate(HINT_TERM_RENAMED, reinterpret_cast<LPARAM>(static_cast<CObject*>(this)));
  BroadcastUpdate(HINT_CURRENT_SET, reinterpret_cast<LPARAM>(static_cast<CObject*>(this)));
  MarkModified();
  m_pAddedSet = set;
  SetFocus();
  SendMessage(LVM_EDITLABELA, row, 0);
}

void CSearchTermView::OnTermEdit() {
  int row = SelectedRow();
  if (row < 0 || !CanChangeTerms()) return;
  SetFocus();
  SendMessage(LVM_EDITLABELA, row, 0);
}

void CSearchTermView::OnTermDelete() {
  int row = SelectedRow();
  if (row < 0 || !CanChangeTerms() || GetListCtrl().GetItemCount() < 2) return;
  ::MessageBeep(MB_ICONQUESTION);
  if (AfxMessageBox(IDS_TERMS_DELETE_ASK, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  RemoveRowSet(row);
}

void CSearchTermView::OnTermClearAll() {
  CZubrinDoc* doc = GetDocument();
  if (!CanChangeTerms() || GetListCtrl().GetItemCount() < 2) return;
  ::MessageBeep(MB_ICONQUESTION);
  if (AfxMessageBox(IDS_TERMS_CLEAR_ASK, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  doc->m_currentSet = doc->m_manager.CreateFirstSet(&doc->m_database);
  FillTerms();
  MarkModified();
  BroadcastUpdate(HINT_CURRENT_SET, reinterpret_cast<LPARAM>(static_cast<CObject*>(this)));
}

// ---- moving ----

void CSearchTermView::OnTermMoveUp() { MoveTerm(SelectedRow(), SelectedRow() - 1); }

void CSearchTermView::OnTermMoveDown() { MoveTerm(SelectedRow(), SelectedRow() + 1); }

// The term in row `from` trades places with its neighbour in row `to`, in the list and in the
// document's order of sets; it keeps its text, check box and set, and stays selected.
void CSearchTermView::MoveTerm(int from, int to) {
  CZubrinDoc* doc = GetDocument();
  CEngineSet* moving = GetRowSet(from);
  CEngineSet* other = GetRowSet(to);
  if (!CanChangeTerms() || !moving || !other || from < 0) return;
  if (to < from)
    doc->m_manager.MoveSet(other, moving);
  else
    doc->m_manager.MoveSet(moving, other);
  m_bFilling = TRUE;
  SetRow(from, other);
  SetRow(to, moving);
  m_bFilling = FALSE;
  SelectRowQuietly(to);
  MarkModified();
}

// ---- import, export, paste ----

void CSearchTermView::AddPendingTerms() {
  CZubrinDoc* doc = GetDocument();
  if (!doc) return;
  CListCtrl& list = GetListCtrl();
  SetRedraw(FALSE);
  // Terms past the limits would make a document that cannot be opened again: they are left
  // out, and the user is told once of each limit.
  bool tooLong = false, tooMany = false;
  while (!m_pending.IsEmpty()) {
    CString text = m_pending.RemoveHead();
    text.TrimLeft();
    text.TrimRight("\r\n\t");
    if (text.IsEmpty() || text[0] == '#') continue;
    if (text.GetLength() > CZubrinDoc::kMaxSearchTermLength) {
      tooLong = true;
      continue;
    }
    if (static_cast<UINT>(doc->m_manager.GetCount()) >= doc->MaxSearchTerms()) {
      tooMany = true;
      m_pending.RemoveAll();
      break;
    }
    auto* set = new CEngineSet(&doc->m_database, 1, text);
    doc->m_manager.AddSet(set);
    int row = list.GetItemCount();
    m_bFilling = TRUE;
    list.InsertItem(row, text);
    SetRow(row, set);
    m_bFilling = FALSE;
    MarkModified();
  }
  SetRedraw(TRUE);
  Invalidate();
  if (tooLong) doc->TellLimit(IDS_TERM_TOO_LONG, CZubrinDoc::kMaxSearchTermLength);
  if (tooMany) doc->TellLimit(IDS_TOO_MANY_TERMS, doc->MaxSearchTerms());
}

void CSearchTermView::AddTerms(const CStringList& texts) {
  if (!CanChangeTerms()) return;
  for (POSITION pos = texts.GetHeadPosition(); pos;) m_pending.AddTail(texts.GetNext(pos));
  AddPendingTerms();
}

bool CSearchTermView::ImportTermsFrom(const CString& path) {
  if (!CanChangeTerms()) return false;
  FILE* file = std::fopen(path, "rb");
  if (!file) {
    TellFileFailure(IDS_TERMS_IMPORT_FAILED, path);
    return false;
  }
  CWaitCursor wait;
  std::string content;
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) content.append(buffer, got);
  std::fclose(file);
  SplitLines(content, m_pending);
  AddPendingTerms();
  return true;
}

bool CSearchTermView::ExportTermsTo(const CString& path) {
  CZubrinDoc* doc = GetDocument();
  if (!doc) return false;
  if (PathExists(path)) {
    CString question;
    question.Format(LoadResString(IDS_TERMS_EXPORT_REPLACE), path.GetString());
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  }
  CWaitCursor wait;
  // Written beside the target first, so that a failed write leaves an existing file whole.
  CString temporary = path + ".tmp";
  FILE* file = std::fopen(temporary, "wb");
  bool written = file != nullptr;
  for (POSITION pos = doc->m_manager.GetHeadPosition(); written && pos;) {
    CString line = doc->m_manager.GetNext(pos)->m_name + "\n";
    written = std::fwrite(line.GetString(), 1, line.GetLength(), file) ==
              static_cast<size_t>(line.GetLength());
  }
  if (file && std::fclose(file) != 0) written = false;
  if (written) written = ::MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (!written) {
    ::DeleteFileA(temporary);
    TellFileFailure(IDS_TERMS_EXPORT_FAILED, path);
  }
  return written;
}

void CSearchTermView::OnTermImport() {
  if (!CanChangeTerms()) return;
  CString title = LoadResString(IDS_TERMS_IMPORT_TITLE);
  CFileDialog dialog(TRUE, nullptr, nullptr,
                     OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, kTextFilter, this);
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() == IDOK) ImportTermsFrom(dialog.GetPathName());
}

void CSearchTermView::OnTermExport() {
  if (!CanChangeTerms()) return;
  CString title = LoadResString(IDS_TERMS_EXPORT_TITLE);
  // The overwrite question is ours (ExportTermsTo), so the dialog does not ask it as well.
  CFileDialog dialog(FALSE, "txt", nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, kTextFilter,
                     this);
  dialog.m_ofn.lpstrTitle = title;
  if (dialog.DoModal() == IDOK) ExportTermsTo(dialog.GetPathName());
}

void CSearchTermView::OnTermPaste() {
  if (!CanChangeTerms() || !::OpenClipboard(m_hWnd)) return;
  std::string text;
  if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
    if (const char* chars = static_cast<const char*>(::GlobalLock(data))) {
      text.assign(chars, strnlen(chars, ::GlobalSize(data)));
      ::GlobalUnlock(data);
    }
  }
  ::CloseClipboard();
  SplitLines(text, m_pending);
  AddPendingTerms();
}

bool CSearchTermView::AddKeywordTerms(const CString& keywords) {
  if (!CanChangeTerms()) return false;
  if (keywords.IsEmpty()) {
    AfxMessageBox(IDS_IMPORT_NO_KEYWORDS, MB_OK | MB_ICONINFORMATION);
    return false;
  }
  const char delimiter = keywords.Find(',') >= 0 ? ',' : ' ';
  int start = 0;
  while (start <= keywords.GetLength()) {
    int end = keywords.Find(delimiter, start);
    if (end < 0) end = keywords.GetLength();
    CString piece = keywords.Mid(start, end - start);
    if (!piece.IsEmpty()) m_pending.AddTail(piece);
    start = end + 1;
  }
  AddPendingTerms();
  return true;
}

void CSearchTermView::OnTermImportPage() {
  if (!CanChangeTerms()) return;
  CImportProperties dialog(this);
  dialog.m_strCaption = LoadResString(IDS_IMPORT_TERMS_CAPTION);
  if (dialog.DoModal() == IDOK) AddKeywordTerms(dialog.m_strKeywords);
}

// ---- context menu and panes ----

void CSearchTermView::OnContextMenu(CWnd*, CPoint point) {
  TrackViewContextMenu(this, IDR_TERMS_POPUP, point.x, point.y);
}

void CSearchTermView::OnNextPane() {
  CWnd* engine = CWnd::FromHandlePermanent(g_hEngineViewWnd);
  ActivatePane(engine);
}

void CSearchTermView::OnPrevPane() { ActivatePane(g_pSearchForm); }
