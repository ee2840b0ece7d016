// NQSelectionTemplates: the named engine selections the user applies to the engine list, kept in
// the text file templates.dat: a "[name]" line, one line per engine name, then an empty line.
#pragma once

#include <map>
#include <set>
#include <string>

class NQSelectionTemplates {
 public:
  // Names and engine names compare byte-wise, case-sensitively.
  using EngineNames = std::set<std::string>;
  using Map = std::map<std::string, EngineNames>;

  // Replaces every template by the file's. A missing file is first restored from its ".bak"
  // copy when there is one; with neither the map stays empty. False when nothing could be read.
  bool Load(const std::string& path);
  // Writes every template. The old file becomes the ".bak" copy, and the new one replaces it only
  // once it is complete, so a failed save loses nothing. False when it could not be written.
  bool Save(const std::string& path) const;

  const EngineNames* Find(const std::string& name) const;
  // Adds the engine names to the template of that name, creating it when it is new.
  void Add(const std::string& name, const EngineNames& engines = EngineNames());
  bool Erase(const std::string& name) { return m_templates.erase(name) > 0; }

  const Map& Templates() const { return m_templates; }
  Map& Templates() { return m_templates; }

 private:
  Map m_templates;
};

// The program's one instance, made at start-up.
NQSelectionTemplates* GetSelectionTemplates();
void SetSelectionTemplates(NQSelectionTemplates* templates);
