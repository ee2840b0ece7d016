// The archive layer's process-wide state and the helpers its files share. Internal to
// updater/archive.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "updater/archive/ArchiveLayer.h"

namespace archive_layer {

enum SelectionKind { kSatisfied = 0, kAdd = 1, kDelete = 2, kExtract = 3 };

struct Selection {
  int kind;
  std::string pattern;
  std::string folder;  // extraction: ends in "\"
};

struct ArchiveState {
  bool open = false;
  std::string name;
  HANDLE archive = INVALID_HANDLE_VALUE;
  HANDLE temp = INVALID_HANDLE_VALUE;
  std::string tempName;
  int64_t start = 0;  // offset of the first member (bytes before it belong to another file)
  bool changed = false;
  bool failed = false;
  int mode = 0;
  std::vector<Selection> selections;
};

// One archive is open at a time, so there is one state.
ArchiveState& State();
ArchiveOverwriteProc OverwriteQuestion();
// The event's answer (NotifyArchive).
int Notify(int code, int64_t number = 0, const char* text = nullptr);
ArchiveEventProc EventCallback();
// The folder for temporary archives of archives on removable drives (empty: none), and the
// password of encrypted members (null: none).
const std::string& TempFolder();
const char* Password();
// Copies a whole archive onto the removable drive of `to`, diskette after diskette.
int WriteSpannedArchive(const std::string& from, const std::string& to);
// The folder part of a path with its separator (".\" when there is none).
std::string FolderOf(const std::string& path);
std::string Lower(std::string s);

}  // namespace archive_layer
