// The one-time copy of the settings and engine-selection templates of the program's older
// registry root into the current one. The root value RegCvt records that it has run.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "framework/core/String.h"

struct MigratedTemplate {
  CString name;
  CString engines;  // the engine names of the selection, as the old root kept them
};

// Receives the templates found under the old root (called only when there is at least one);
// the application adds them to its selection templates and saves templates.dat.
using TemplateSink = std::function<void(const std::vector<MigratedTemplate>&)>;

class NQSelectionTemplates;

// The sink the program uses: the templates join the selection templates (their engine names
// separated by commas or line breaks) and the templates file at path is saved.
TemplateSink SaveMigratedTemplatesTo(NQSelectionTemplates& templates, const std::string& path);

// Does nothing when RegCvt is set; otherwise copies what the old root has and sets RegCvt.
// Returns true when it ran.
bool MigrateSettings(const TemplateSink& storeTemplates);
