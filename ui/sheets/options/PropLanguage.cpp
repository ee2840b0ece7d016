// The Language page: the language module the program loads from its next start.
#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "framework/app/WinApp.h"
#include "resources/resource.h"
#include "ui/sheets/options/OptionsPages.h"
#include "framework/wnd/MessageMap.h"

namespace {

struct ModuleName {
  const char* file;
  UINT id;
};

// In this order: the first match wins.
const ModuleName kModuleNames[] = {
    {"zbreschs.dll", IDS_LANGMOD_CHS}, {"zbrescht.dll", IDS_LANGMOD_CHT},
    {"zbrescsy.dll", IDS_LANGMOD_CSY}, {"zbresdan.dll", IDS_LANGMOD_DAN},
    {"zbresnlb.dll", IDS_LANGMOD_NLB}, {"zbresnld.dll", IDS_LANGMOD_NLD},
    {"zbresena.dll", IDS_LANGMOD_ENA}, {"zbresenc.dll", IDS_LANGMOD_ENC},
    {"zbresenz.dll", IDS_LANGMOD_ENZ}, {"zbreseng.dll", IDS_LANGMOD_ENG},
    {"zbresenu.dll", IDS_LANGMOD_ENU}, {"zbresfin.dll", IDS_LANGMOD_FIN},
    {"zbressve.dll", IDS_LANGMOD_SVE}, {"zbresfra.dll", IDS_LANGMOD_FRA},
    {"zbresfrb.dll", IDS_LANGMOD_FRB}, {"zbresfrc.dll", IDS_LANGMOD_FRC},
    {"zbresfrs.dll", IDS_LANGMOD_FRS}, {"zbresdea.dll", IDS_LANGMOD_DEA},
    {"zbresdeu.dll", IDS_LANGMOD_DEU}, {"zbresdes.dll", IDS_LANGMOD_DES},
    {"zbresell.dll", IDS_LANGMOD_ELL}, {"zbreshun.dll", IDS_LANGMOD_HUN},
    {"zbresisl.dll", IDS_LANGMOD_ISL}, {"zbresita.dll", IDS_LANGMOD_ITA},
    {"zbresits.dll", IDS_LANGMOD_ITS}, {"zbrestrk.dll", IDS_LANGMOD_TRK},
    {"zbresjpn.dll", IDS_LANGMOD_JPN}, {"zbreskor.dll", IDS_LANGMOD_KOR},
    {"zbresnor.dll", IDS_LANGMOD_NOR}, {"zbresnon.dll", IDS_LANGMOD_NON},
    {"zbresplk.dll", IDS_LANGMOD_PLK}, {"zbresptb.dll", IDS_LANGMOD_PTB},
    {"zbresptg.dll", IDS_LANGMOD_PTG}, {"zbresrus.dll", IDS_LANGMOD_RUS},
    {"zbressky.dll", IDS_LANGMOD_SKY}, {"zbresesp.dll", IDS_LANGMOD_ESP},
    {"zbresesm.dll", IDS_LANGMOD_ESM}, {"zbresesn.dll", IDS_LANGMOD_ESN},
    {"zbresenud.dll", IDS_LANGMOD_ENU},
};

CString Lower(const char* text) {
  CString lower(text);
  lower.MakeLower();
  return lower;
}

// The name and extension of a path.
CString FileNameOf(const CString& path) {
  int cut = path.ReverseFind('\\');
  int slash = path.ReverseFind('/');
  if (slash > cut) cut = slash;
  return cut >= 0 ? path.Mid(cut + 1) : path;
}

}  // namespace

BEGIN_MESSAGE_MAP(CPropLanguage, COptionsPage)
END_MESSAGE_MAP()

CPropLanguage::CPropLanguage() : COptionsPage(IDD_PROP_LANGUAGE, 7) {}

UINT CPropLanguage::ModuleNameId(const char* fileName) {
  CString lower = Lower(fileName ? fileName : "");
  for (const ModuleName& module : kModuleNames) {
    if (lower == module.file) return module.id;
  }
  return 0;
}

BOOL CPropLanguage::OnInitDialog() {
  COptionsPage::OnInitDialog();
  HWND combo = ::GetDlgItem(m_hWnd, IDC_OPT_LANGUAGE);
  if (!combo) return TRUE;
  m_modules.clear();
  WIN32_FIND_DATAA found = {};
  HANDLE search = ::FindFirstFileA(GetAppFolder() + "zbres*.dll", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      CString file = Lower(found.cFileName);
      UINT id = ModuleNameId(file);
      CString display = id ? LoadResString(id) : CString();
      int entry = static_cast<int>(::SendMessageA(combo, CB_ADDSTRING, 0,
                                                  reinterpret_cast<LPARAM>(display.GetString())));
      if (entry < 0) continue;
      m_modules.push_back(file);
      ::SendMessageA(combo, CB_SETITEMDATA, entry, static_cast<LPARAM>(m_modules.size() - 1));
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
  }
  // The entry that follows the language of Windows comes first, its own text attached.
  CString windows = LoadResString(IDS_LANGUAGE_WINDOWS);
  m_modules.push_back(windows);
  ::SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(windows.GetString()));
  ::SendMessageA(combo, CB_SETITEMDATA, 0, static_cast<LPARAM>(m_modules.size() - 1));

  UINT current = ModuleNameId(FileNameOf(GetResourceDllPath()));
  if (current) {
    CString name = LoadResString(current);
    ::SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(name.GetString()));
  }
  return TRUE;
}

CString CPropLanguage::ChosenModule() const {
  HWND combo = ::GetDlgItem(m_hWnd, IDC_OPT_LANGUAGE);
  int entry = combo ? static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0)) : CB_ERR;
  if (entry < 0) return CString();
  auto index = static_cast<size_t>(::SendMessageA(combo, CB_GETITEMDATA, entry, 0));
  if (index >= m_modules.size()) return CString();
  const CString& module = m_modules[index];
  return module == LoadResString(IDS_LANGUAGE_WINDOWS) ? CString() : module;
}

BOOL CPropLanguage::OnApply() {
  // At the root of the program's key, where both programs look for it at start.
  if (CWinApp* app = AfxGetApp()) app->WriteProfileString("", "LanguageDLL", ChosenModule());
  return TRUE;
}
