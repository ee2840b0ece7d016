#include "tools/makedoc/DemoDocument.h"

#include <windows.h>

#include "app/document/ZubrinDoc.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "engines/db/SearchResult.h"
#include "framework/app/MessageBox.h"

namespace zbdemo {

namespace {

// What the document or the engine code would have shown in a box; a tool has no one to ask.
std::string g_lastMessage;

int KeepMessage(LPCSTR text, UINT) {
  g_lastMessage = text ? text : "";
  return IDOK;
}
int KeepEngineMessage(HWND, const char* text, const char*, unsigned) {
  g_lastMessage = text ? text : "";
  return IDOK;
}

// The handlers for the life of one WriteDocument call.
class QuietBoxes {
 public:
  QuietBoxes() {
    g_lastMessage.clear();
    AfxSetMessageBoxHandler(KeepMessage);
    SetEngineMessageBox(KeepEngineMessage);
  }
  ~QuietBoxes() {
    AfxSetMessageBoxHandler(nullptr);
    SetEngineMessageBox(nullptr);
  }
  QuietBoxes(const QuietBoxes&) = delete;
  QuietBoxes& operator=(const QuietBoxes&) = delete;
};

// The engines the plan names take part; every other is switched off, in each set.
bool SelectEngines(CZubrinDoc& doc, const std::vector<std::string>& names, std::string& error) {
  for (const std::string& name : names) {
    if (!doc.m_currentSet->FindEngine(name.c_str())) {
      error = "engines.dat has no engine \"" + name + "\"";
      return false;
    }
  }
  SetAllEnginesEnabled(doc.m_database, 0);
  for (const std::string& name : names) SetEngineEnabled(doc.m_database, name.c_str(), 1);
  for (POSITION position = doc.m_manager.GetHeadPosition(); position;)
    doc.m_manager.GetNext(position)->RefreshEnabledFlags();
  return true;
}

// Results as a finished run leaves them: the site among unrelated addresses on every fifth
// engine, each result on its page of ten.
void AddResults(CZubrinDoc& doc, const std::string& site, int count) {
  int engineIndex = 0;
  for (POSITION position = doc.m_manager.GetHeadPosition(); position;) {
    CEngineSet* set = doc.m_manager.GetNext(position);
    for (const auto& entry : set->GetEngines()) {
      int siteAt = engineIndex++ % 5 == 0 ? engineIndex % count : -1;
      for (int i = 0; i < count; ++i) {
        CSearchResult record;
        record.m_index = i;
        record.m_page = i / 10;
        record.m_position = i % 10;
        std::string url = i == siteAt ? site
                                      : "http://www.result" + std::to_string(i + 1) + ".example/";
        record.m_text = url.c_str();
        entry.second->AddResult(record);
      }
    }
  }
}

}  // namespace

bool WriteDocument(const DocumentPlan& plan, const std::string& path, std::string& error) {
  if (plan.terms.empty()) {
    error = "no search term";
    return false;
  }
  QuietBoxes quiet;
  CZubrinDoc doc;
  if (doc.m_database.GetCount() == 0 || !doc.OnNewDocument() || !doc.m_currentSet) {
    error = "no engines to put in the document" +
            (g_lastMessage.empty() ? std::string() : ": " + g_lastMessage);
    return false;
  }
  doc.m_siteUrl = plan.site.c_str();
  doc.m_reportsDir = plan.reportsDir.c_str();
  doc.m_currentSet->m_name = plan.terms[0].c_str();
  doc.m_currentSet->m_active = 1;
  for (size_t i = 1; i < plan.terms.size(); ++i)
    doc.m_manager.AddSet(new CEngineSet(&doc.m_database, 1, plan.terms[i].c_str()));
  if (!plan.engines.empty() && !SelectEngines(doc, plan.engines, error)) return false;
  if (plan.resultsPerEngine > 0) AddResults(doc, plan.site, plan.resultsPerEngine);
  if (!doc.OnSaveDocument(path.c_str())) {
    error = "cannot save " + path + (g_lastMessage.empty() ? std::string() : ": " + g_lastMessage);
    return false;
  }
  return true;
}

}  // namespace zbdemo
