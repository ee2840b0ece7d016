#include "ui/LanguageNames.h"

#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "app/services/AppServices.h"

namespace {
struct LanguageRow {
  const char* code;
  const char* english;
  UINT id;  // the localized name in the language module
};

const LanguageRow kLanguages[] = {
    {"enu", "English (American)", 22200},
    {"ena", "English (Australian)", 22201},
    {"enc", "English (Canadian)", 22202},
    {"enz", "English (New Zealand)", 22203},
    {"eng", "English (British)", 22204},
    {"eni", "English (Ireland)", 22205},
    {"fra", "French (Standard)", 22206},
    {"frb", "French (Belgian)", 22207},
    {"frc", "French (Canadian)", 22208},
    {"frs", "French (Swiss)", 22209},
    {"deu", "German (Standard)", 22210},
    {"dea", "German (Austrian)", 22211},
    {"des", "German (Swiss)", 22212},
    {"esm", "Spanish (Mexican)", 22213},
    {"esp", "Spanish (Standard/Traditional)", 22214},
    {"esn", "Spanish (Modern)", 22215},
    {"nld", "Dutch (Standard)", 22216},
    {"nlb", "Belgian (Flemish)", 22217},
    {"sve", "Swedish", 22218},
    {"ptb", "Portuguese (Brazilian)", 22219},
    {"ptg", "Portuguese (Standard)", 22220},
    {"non", "Norwegian (Nynorsk)", 22221},
    {"nor", "Norwegian (Bokmal)", 22222},
    {"jpn", "Japanese", 22223},
    {"ita", "Italian (Standard)", 22224},
    {"its", "Italian (Swiss)", 22225},
    {"dan", "Danish", 22226},
    {"chs", "Chinese (Singapore)", 22227},
    {"cht", "Chinese (Taiwan Region)", 22228},
    {"csy", "Czech", 22229},
    {"hun", "Hungarian", 22230},
    {"fin", "Finnish", 22231},
    {"ell", "Greek", 22232},
    {"isl", "Icelandic", 22233},
    {"kor", "Korean", 22234},
    {"plk", "Polish", 22235},
    {"rus", "Russian", 22236},
    {"sky", "Slovak", 22237},
    {"trk", "Turkish", 22238},
};

std::mutex g_lock;
std::unique_ptr<std::map<std::string, CString>> g_names;  // filled by the first call

// The module's own names when it has them and English was not asked for; a module that lacks
// the text of one row gives that row its English name rather than none.
void Fill(std::map<std::string, CString>& names, bool english) {
  bool localized = !english && !LoadResString(kLanguages[0].id).IsEmpty();
  for (const LanguageRow& row : kLanguages) {
    CString name = localized ? LoadResString(row.id) : CString();
    names[row.code] = name.IsEmpty() ? CString(row.english) : name;
  }
}
}  // namespace

CString LanguageName(const char* code, bool english) {
  std::string key = code ? code : "";
  for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::lock_guard<std::mutex> hold(g_lock);
  if (!g_names) {
    g_names = std::make_unique<std::map<std::string, CString>>();
    Fill(*g_names, english);
  }
  auto it = g_names->find(key);
  return it == g_names->end() ? CString() : it->second;
}

CString LanguageNameShort(const char* code, bool english) {
  CString name = LanguageName(code, english);
  int open = name.Find('(');
  if (open < 0) return name;
  CString shortName = name.Left(open);
  shortName.TrimRight();
  return shortName;
}

void ResetLanguageNames() {
  std::lock_guard<std::mutex> hold(g_lock);
  g_names.reset();
}
