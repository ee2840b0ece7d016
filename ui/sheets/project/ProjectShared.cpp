#include "ui/sheets/project/ProjectShared.h"

#include <cstring>

#include "app/services/AppServices.h"
#include "app/program/ZubrinApp.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/ProfileFields.h"
#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"

namespace projectui {

CZubrinDoc* ActiveDocument() {
  if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd())) {
    if (auto* doc = dynamic_cast<CZubrinDoc*>(frame->GetActiveDocument())) return doc;
  }
  return CZubrinDoc::GetDocument();
}

LRESULT AnswerContextHelp(LPARAM lParam) {
  if (auto* app = dynamic_cast<CZubrinApp*>(AfxGetApp()))
    app->OnContextHelp(reinterpret_cast<const HELPINFO*>(lParam));
  return TRUE;
}

const SiteProfileField* FindField(const char* key) {
  if (!key) return nullptr;
  for (const SiteProfileField* row = GetProfileFieldNames(); row->key; ++row)
    if (std::strcmp(row->key, key) == 0) return row;
  return nullptr;
}

}  // namespace projectui
