// The archive layer of the update program: multi-file archives (.arq) opened one at a time,
// a selection of add, delete and extract requests carried out in one pass, and closing, which
// puts the rewritten copy in the archive's place. Free functions with process-wide state,
// returning the status codes of ArqStatus (foundation/update/ArqFormat.h); one thread at a
// time.
//
// Nothing is written outside the folder it is asked for: member names that could leave it are
// refused, a too-long target path is refused rather than cut, every file is replaced by moving
// its complete new copy over it in one step (the old file stays when that fails), and the
// archive itself is replaced only by a complete rewritten copy.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum ArchiveMode : int {
  ARCHIVE_KEEP_PATHS = 1,  // members keep their relative folders; else only the file name counts
  ARCHIVE_OPTION = 2,
  ARCHIVE_TEXT = 8,          // kept for callers; text members are extracted unchanged
  ARCHIVE_READ_ONLY = 0x10,  // no temporary copy: the archive cannot change
};

enum ArchiveEvent : int {
  ARCHIVE_EVENT_EXTRACT = 44,    // before a member is extracted; nonzero skips it
  ARCHIVE_EVENT_DONE = 47,       // end of processing, or a member that failed to decode
  ARCHIVE_EVENT_READ_ONLY = 48,  // the target exists and cannot be written
  ARCHIVE_EVENT_RENAME_FAILED = 49,
  ARCHIVE_EVENT_OPENED = 51,
  ARCHIVE_EVENT_CLOSED = 52,
  ARCHIVE_EVENT_ADDED = 53,
  ARCHIVE_EVENT_UNSAFE_NAME = -18,  // a member refused for its name
  ARCHIVE_EVENT_ENCRYPTED = -29,
  ARCHIVE_EVENT_NO_SPACE = -33,
};

// Event callback: code and a number (a status, or bytes); its answer goes back to the layer.
typedef int (*ArchiveEventProc)(int code, int64_t number, const char* text);
// Overwrite question for an existing target: nonzero overwrites.
typedef int (*ArchiveOverwriteProc)(const char* target);

int OpenArchive(const char* name, int mode);
int SelectAdd(const char* pattern);
int SelectDelete(const char* pattern);
int SelectExtract(const char* pattern, const char* folder);
// Carries out the selections; the first failure is returned, the rest of the members are still
// handled. A failure keeps CloseArchive from replacing the archive.
int ProcessArchive();
// Closes the archive; when it changed (and processing did not fail), the rewritten copy takes
// its place in one step. ARQ_CANNOT_WRITE when that fails: the old archive then stays.
int CloseArchive();

// The member names of an archive, in order; the status of reading them.
int ListArchive(const char* path, std::vector<std::string>& names);

// Tests a whole archive without extracting: every member's name, size and CRC. 0 when sound.
int TestArchive(const char* path);

// which 100: the event callback; 101: the overwrite question (ARQ_BAD_ARGUMENT otherwise).
int SetArchiveCallback(int which, void* function);

// folder + "\" + prefix (at most 3 characters, "CX" when empty) + a five-digit counter + ".$$$":
// the first such name that does not exist; empty after 65534 tries.
std::string MakeTempName(const std::string& folder, const std::string& prefix);
// Whether the name has an extension.
bool IsArchiveName(const char* name);
