// A stand-in mail library for the mail tests: MAPISendMail writes what it was given to the file
// named by ZB_MAPI_RECORD (one "key: value" line per item) and answers with the number in
// ZB_MAPI_ANSWER (0, success, when unset). The tests load it in place of the system's library.
#include <windows.h>

#include <mapi.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char* Text(const char* text) {
  return text ? text : "(null)";
}

}  // namespace

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui,
                                                          lpMapiMessage message, FLAGS flags,
                                                          ULONG reserved) {
  char path[MAX_PATH] = {};
  if (GetEnvironmentVariableA("ZB_MAPI_RECORD", path, MAX_PATH) > 0) {
    if (FILE* f = fopen(path, "ab")) {
      fprintf(f, "session: %lu\nwindow: %llu\nflags: %lu\nreserved: %lu\n",
              static_cast<unsigned long>(session), static_cast<unsigned long long>(ui),
              static_cast<unsigned long>(flags), static_cast<unsigned long>(reserved));
      if (message) {
        fprintf(f, "subject: %s\nnote: [%s]\n", Text(message->lpszSubject),
                Text(message->lpszNoteText));
        fprintf(f, "from: %s\n",
                message->lpOriginator ? Text(message->lpOriginator->lpszName) : "(none)");
        for (ULONG i = 0; i < message->nRecipCount; ++i)
          fprintf(f, "recipient: %lu %s\n", static_cast<unsigned long>(message->lpRecips[i].ulRecipClass),
                  Text(message->lpRecips[i].lpszName));
        for (ULONG i = 0; i < message->nFileCount; ++i)
          fprintf(f, "file: %lu %s %s\n", static_cast<unsigned long>(message->lpFiles[i].nPosition),
                  Text(message->lpFiles[i].lpszPathName), Text(message->lpFiles[i].lpszFileName));
      }
      fprintf(f, "end\n");
      fclose(f);
    }
  }
  char answer[32] = {};
  if (GetEnvironmentVariableA("ZB_MAPI_ANSWER", answer, sizeof answer) > 0)
    return static_cast<ULONG>(strtoul(answer, nullptr, 10));
  return SUCCESS_SUCCESS;
}
