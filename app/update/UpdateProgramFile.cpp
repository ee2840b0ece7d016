#include "app/update/UpdateProgramFile.h"

#include <windows.h>

#include <tuple>

#include "foundation/os/FileVersion.h"

namespace {

auto Parts(const CFileVersion& v) {
  return std::make_tuple(v.GetMajor(), v.GetMinor(), v.GetBuild(), v.GetRevision());
}

bool Exists(const CString& path) {
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool ReplaceUpdateProgram(const CString& folder) {
  const CString copy = folder + "ZBU.exe";
  const CString program = folder + "ZBUpdate.exe";
  const CString temporary = folder + "ZBUpdate.exe.new";
  if (!Exists(copy)) return false;
  // An older copy left behind must never downgrade the installed program.
  if (Exists(program) && Parts(CFileVersion(copy)) <= Parts(CFileVersion(program))) return false;
  if (!CopyFileA(copy, temporary, FALSE) ||
      !MoveFileExA(temporary, program, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileA(temporary);
    return false;
  }
  return true;
}
