// Stands in for a browser in the URL opener's tests: writes the arguments it was started with,
// one per line after their count, to the file named by ZB_URL_RECORDER_OUT.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char out[MAX_PATH];
  if (!GetEnvironmentVariableA("ZB_URL_RECORDER_OUT", out, sizeof out)) return 2;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 3;
  // Written under another name first, so the test never reads half a record.
  char partial[MAX_PATH + 8];
  snprintf(partial, sizeof partial, "%s.part", out);
  FILE* file = fopen(partial, "wb");
  if (!file) return 4;
  fprintf(file, "%d\n", argc - 1);
  for (int i = 1; i < argc; ++i) {
    char text[4096];
    int n = WideCharToMultiByte(CP_ACP, 0, argv[i], -1, text, sizeof text, nullptr, nullptr);
    fprintf(file, "%s\n", n > 0 ? text : "");
  }
  fclose(file);
  LocalFree(argv);
  return MoveFileA(partial, out) ? 0 : 5;
}
