// A stand-in for a user's program in the user tools tests: waits a little when asked, then writes
// its current folder and its whole command line into the file named by its first argument.
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  for (int i = 2; i < argc; ++i)
    if (std::strcmp(argv[i], "slow") == 0) ::Sleep(700);
  char folder[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, folder);
  FILE* f = std::fopen(argv[1], "w");
  if (!f) return 3;
  std::fprintf(f, "%s\n%s\n", folder, ::GetCommandLineA());
  std::fclose(f);
  return 0;
}
