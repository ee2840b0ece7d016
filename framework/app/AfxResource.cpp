#include "framework/app/AfxResource.h"

namespace {
HINSTANCE g_resourceHandle = nullptr;
}

HINSTANCE AfxGetResourceHandle() {
  return g_resourceHandle ? g_resourceHandle : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hResource) {
  g_resourceHandle = hResource;
}

std::string AfxGetModuleFolder() {
  char path[MAX_PATH * 2];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return std::string();
  std::string folder(path, n);
  size_t slash = folder.find_last_of("\\/");
  folder.erase(slash == std::string::npos ? 0 : slash + 1);
  return folder;
}

HINSTANCE AfxLoadResourceModule(const char* fileName) {
  std::string path = AfxGetModuleFolder() + fileName;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

HINSTANCE AfxInitLanguageModule(const char* fileName, const char* caption) {
  HINSTANCE module = AfxLoadResourceModule(fileName);
  if (!module) {
    std::string text = std::string("The language module ") + fileName +
                       " could not be loaded from the program's folder.\nPlease reinstall the program.";
    MessageBoxA(nullptr, text.c_str(), caption, MB_OK | MB_ICONSTOP);
    return nullptr;
  }
  AfxSetResourceHandle(module);
  return module;
}

std::string AfxLoadString(UINT id) {
  // A string table entry holds at most 4097 characters.
  char buf[4100];
  int n = LoadStringA(AfxGetResourceHandle(), id, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}
