// The archive layer's settings and answers: events with their default answers, the folder for
// temporary archives, the password of encrypted members and the drives.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "foundation/codec/Crusher.h"
#include "framework/app/AfxResource.h"
#include "resources/resource.h"
#include "updater/archive/ArchiveFiles.h"
#include "updater/archive/ArchiveLayer.h"
#include "updater/archive/ArchiveState.h"

namespace {

ArchiveDrive g_systemDrive;
ArchiveDrive* g_drive = &g_systemDrive;
std::string g_tempFolder;

int SystemPrompt(const char* text, const char* caption, unsigned type) {
  return ::MessageBoxA(nullptr, text, caption, type);
}
ArchivePromptProc g_prompt = SystemPrompt;

void PumpMessages() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

}  // namespace

namespace archive_layer {

const std::string& TempFolder() {
  return g_tempFolder;
}

const char* Password() {
  CrusherArchiveState* a = CrusherGetArchiveState();
  return a && a->password ? a->password : nullptr;
}

}  // namespace archive_layer

bool ArchiveDrive::IsRemovable(const std::string& path) {
  char full[MAX_PATH];
  if (!GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr)) return false;
  char root[4] = {full[0], ':', '\\', 0};
  return full[1] == ':' && GetDriveTypeA(root) == DRIVE_REMOVABLE;
}

int64_t ArchiveDrive::FreeBytes(const std::string& folder) {
  return FreeBytesAt(folder);
}

void SetArchiveDrive(ArchiveDrive* drive) {
  g_drive = drive ? drive : &g_systemDrive;
}

ArchiveDrive& CurrentArchiveDrive() {
  return *g_drive;
}

void SetArchivePrompt(ArchivePromptProc prompt) {
  g_prompt = prompt ? prompt : SystemPrompt;
}

int NotifyArchive(const char* context, int code, int64_t number) {
  if (archive_layer::EventCallback()) return archive_layer::EventCallback()(code, number, context);
  switch (code) {
    case 1:
    case 3:
    case 43:
    case 50:
      PumpMessages();
      return 0;
    case ARCHIVE_EVENT_NEW_DISKETTE:
      g_prompt(AfxLoadString(IDS_ARCHIVE_NEW_DISKETTE).c_str(),
               AfxLoadString(IDS_ARCHIVE_DISKETTE).c_str(), MB_OK | MB_ICONINFORMATION);
      return 0;
    case ARCHIVE_EVENT_DISKETTE: {
      char text[256];
      std::snprintf(text, sizeof text, AfxLoadString(IDS_ARCHIVE_INSERT_DISKETTE).c_str(),
                    static_cast<int>(number));
      int answer = g_prompt(text, AfxLoadString(IDS_ARCHIVE_DISKETTE).c_str(),
                            MB_OKCANCEL | MB_ICONQUESTION);
      return answer == IDCANCEL ? kArchiveGiveUp : 0;
    }
    default:
      return 0;
  }
}

int SetArchiveTempFolder(const char* folder) {
  if (!g_tempFolder.empty()) return ARQ_ALREADY_OPEN;
  if (!folder || !*folder) return ARQ_BAD_ARGUMENT;
  std::string f = folder;
  if (f.back() != '\\' && f.back() != ':') f += '\\';
  // The folder must take a file: one is made and deleted there now.
  std::string probe = MakeTempName(f, "CX");
  HANDLE h = probe.empty() ? INVALID_HANDLE_VALUE
                           : CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return ARQ_BAD_FILE;
  CloseHandle(h);
  if (!DeleteFileA(probe.c_str())) return ARQ_BAD_FILE;
  g_tempFolder = f;
  return 0;
}

int SetArchivePassword(const char* password) {
  if (!password) return ARQ_BAD_ARGUMENT;
  CrusherArchiveState* a = CrusherGetArchiveState();
  if (!a) return ARQ_NO_MEMORY;
  char* copy = static_cast<char*>(std::malloc(std::strlen(password) + 1));
  if (!copy) return ARQ_NO_MEMORY;
  std::strcpy(copy, password);
  std::free(a->password);
  a->password = copy;
  return 0;
}

void ResetArchiveSettings() {
  g_tempFolder.clear();
  CrusherArchiveState* a = CrusherGetArchiveState();
  if (a) {
    std::free(a->password);
    a->password = nullptr;
  }
}
