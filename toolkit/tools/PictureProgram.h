// What the two picture programs (ZBShowWindow, ZBTkShowWindow) share: a table of named windows,
// "--list" printing the names, and NAME showing that window once the language module is loaded
// from the program's own folder. Not part of the product.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "framework/app/AfxResource.h"

struct NamedWindow {
  const char* name;
  void (*show)();
};

// The program's main: exit code 0 after the window closed (or the list), 1 without the language
// module, 2 for a wrong command line.
template <std::size_t N>
int RunPictureProgram(int argc, char** argv, const NamedWindow (&windows)[N], const char* program) {
  auto usage = [program] {
    std::fprintf(stderr, "usage: %s --list | %s NAME\n", program, program);
    return 2;
  };
  if (argc != 2) return usage();
  if (std::strcmp(argv[1], "--list") == 0) {
    for (const NamedWindow& window : windows) std::printf("%s\n", window.name);
    std::fflush(stdout);
    return 0;
  }
  for (const NamedWindow& window : windows) {
    if (std::strcmp(argv[1], window.name) != 0) continue;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!AfxInitLanguageModule("ZBResENU.dll", program)) return 1;
    window.show();
    return 0;
  }
  std::fprintf(stderr, "%s: no window named \"%s\"\n", program, argv[1]);
  return usage();
}
