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

#include "foundation/update/ArqFormat.h"

enum ArchiveMode : int {
  ARCHIVE_KEEP_PATHS = 1,  // members keep their relative folders; else only the file name counts
  ARCHIVE_OPTION = 2,
  ARCHIVE_TEXT = 8,          // text members are extracted with this system's line ends
  ARCHIVE_READ_ONLY = 0x10,  // no temporary copy: the archive cannot change
};

enum ArchiveEvent : int {
  ARCHIVE_EVENT_PROGRESS = 3,       // bytes of a member tested so far
  ARCHIVE_EVENT_NEW_DISKETTE = 39,  // a new, formatted diskette is wanted
  ARCHIVE_EVENT_DISKETTE = 40,      // the diskette with the number is wanted; 30 gives up
  ARCHIVE_EVENT_EXTRACT = 44,       // before a member is extracted; nonzero skips it
  ARCHIVE_EVENT_DONE = 47,          // end of processing, or a member that failed to decode
  ARCHIVE_EVENT_READ_ONLY = 48,     // the target exists and cannot be written
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

// The answer to an event: the application's event callback when one is installed. Without
// one: 1, 3, 43 and 50 let the calling thread's waiting window messages through (a long
// operation keeps its windows alive); 39 asks for a new, formatted diskette; 40 asks for the
// diskette with the number, and Cancel there gives 30 (the operation is given up); any other
// code gives 0.
int NotifyArchive(const char* context, int code, int64_t number);
constexpr int kArchiveGiveUp = 30;

// From now on the temporary archives of archives on removable drives go to this folder.
// ARQ_ALREADY_OPEN when one is set already, ARQ_BAD_ARGUMENT for none, ARQ_BAD_FILE when no
// temporary file can be made and deleted there.
int SetArchiveTempFolder(const char* folder);
// The password of encrypted members, read and written (ARQ_BAD_ARGUMENT for none). The layer's
// start (CrusherArchiveInit) drops it.
int SetArchivePassword(const char* password);
// Forgets the temporary folder and the password.
void ResetArchiveSettings();

// The offset of the first member in the named file (an archive appended to a program is found
// by its magic within the first 200000 bytes), or ARQ_BAD_ARGUMENT (no name), ARQ_SEARCH_FAILED
// (cannot open), ARQ_BAD_HEADER (no magic).
int64_t FindArchiveStart(const char* name);
// The same in a file of the layer's file table (ARQ_BAD_ARGUMENT for a bad handle).
int64_t FindArchiveStart(int handle);

// A member of an archive read through the layer's file table (ArqFileTable.h).
struct ArchiveMemberContext {
  int handle = -1;
  int64_t dataStart = -1;  // where the current member's stored bytes begin
  ArqMemberHeader header;
  bool hasMember = false;
};
// Finds the archive in the handle's file and reads its first header: 0, ARQ_BAD_FILE, ARQ_END
// (an archive without members) or a header's status.
int ReadFirstMember(ArchiveMemberContext& context);
// The header after the current member.
int ReadNextMember(ArchiveMemberContext& context);
// Checks the current member's stored bytes against its CRC-32, reporting progress (event 3),
// and returns to where its data begin: 0, ARQ_BAD_CRC, ARQ_DATA_SHORT, ARQ_BAD_FILE, ARQ_END
// (no current member) or ARQ_NO_MEMORY. A member continued on further diskettes is read
// across them (event 40 asks for each); giving up there returns kArchiveGiveUp (30).
int TestMember(ArchiveMemberContext& context);

// The drives as the layer sees them; tests put a stand-in in their place.
class ArchiveDrive {
 public:
  virtual ~ArchiveDrive() = default;
  virtual bool IsRemovable(const std::string& path);
  // Free bytes for the caller in the folder's drive, -1 when unknown.
  virtual int64_t FreeBytes(const std::string& folder);
};
// null: the system's drives again.
void SetArchiveDrive(ArchiveDrive* drive);
ArchiveDrive& CurrentArchiveDrive();

// How the diskette prompts are shown (the system's message box unless a test says otherwise);
// the answer is the button's id.
using ArchivePromptProc = int (*)(const char* text, const char* caption, unsigned type);
void SetArchivePrompt(ArchivePromptProc prompt);
