// The block compressor: a process-wide codec of free functions that compresses and expands whole
// memory buffers (the document file's blocks) and whole streams (the update archives' members).
//
// The compressed stream is a stored format: LZ77 over a 4096-byte dictionary with matches of 3 to
// 256 bytes, whose literals, lengths and positions are sent with static Huffman codes block by
// block. It has no header or trailer; the caller keeps both sizes beside it.
//
// Status codes are 16-bit values, negative for failure. Every entry point can also answer
// CRUSHER_BUSY: the codec has one set of work buffers, so it serves one caller at a time, and a
// second caller (another thread, or an event handler re-entering during a run) is turned away
// without touching the state.
#pragma once

#include <cstdint>

enum CrusherStatus : int {
  CRUSHER_OK = 0,
  CRUSHER_NOT_INITIALISED = -1,
  CRUSHER_BAD_DATA = -2,  // a damaged or hostile compressed stream
  CRUSHER_NO_MEMORY = -3,
  CRUSHER_ALREADY_INITIALISED = -11,
  CRUSHER_BUSY = -13,  // another compression or expansion is running
  CRUSHER_BAD_ARGUMENT = -14,
  CRUSHER_NO_GAIN = -16,        // compression gained nothing; the input was stored unchanged
  CRUSHER_USER_CANCELLED = 30,  // the user gave up at a diskette prompt
};

enum CrusherEvent : int {
  CRUSHER_EVENT_PROGRESS =
      1,                    // every 1024 input positions while compressing; only to a set handler
  CRUSHER_EVENT_CHUNK = 3,  // before each expanded chunk of 4096 bytes
  CRUSHER_EVENT_DONE = 7,   // end of an expansion
  CRUSHER_EVENT_NEW_DISK = 39,
  CRUSHER_EVENT_DISK_NUMBER = 40,
  CRUSHER_EVENT_ARCHIVE_STEP = 43,
  CRUSHER_EVENT_ARCHIVE_PROGRESS = 50,
};

// What an event handler may look at and change.
struct CrusherState {
  int status;  // CRUSHER_USER_CANCELLED after a cancelled diskette prompt
};

// Event handler: gets the codec state, the event number and a value (bytes so far, a diskette
// number, or a failure status reported as its own event number).
typedef int (*CrusherEventProc)(CrusherState* state, int event, int64_t value);

// Stream access for the member coder and decoder. A reader returns the count of bytes it placed
// (0 at the end) or a negative status; a writer returns 0 or a negative status. Either status
// ends the run and is returned as it is.
typedef int (*CrusherReadProc)(void* user, void* buffer, int size);
typedef int (*CrusherWriteProc)(void* user, const void* data, int size);

// What the default event handler needs of the windowing system. The core stays free of it; the
// Windows build installs both (message pump; a question box with OK and Cancel, true for OK).
typedef void (*CrusherPumpProc)();
typedef bool (*CrusherAskProc)(const char* text, const char* caption);
void CrusherSetPlatformHooks(CrusherPumpProc pump, CrusherAskProc ask);

// Allocates the encoder's work buffers. CRUSHER_ALREADY_INITIALISED when done already.
int CrusherInit();
// Frees them. CRUSHER_NOT_INITIALISED without CrusherInit.
int CrusherShutdown();

// Compresses length bytes into destination, which has room for length bytes, and returns the
// compressed size. When that would not be smaller than length, the source is copied to the
// destination and CRUSHER_NO_GAIN is returned (the caller stores the block raw).
int CrusherCompress(const void* source, void* destination, int length);

// Expands exactly uncompressedLength bytes into destination. destinationSize is the room there;
// the codec never writes past it (CRUSHER_BAD_ARGUMENT when the length does not fit). A stream
// that is damaged, cut short or not exactly uncompressedLength bytes long gives
// CRUSHER_BAD_DATA; the destination then holds what was expanded. A length of 0 reads nothing.
// Needs no CrusherInit.
int CrusherDecompress(const void* source, void* destination, int uncompressedLength,
                      int compressedLength, int destinationSize);

// The archive members: the same stream, read from and written to the caller's files. The
// encoder reads until its reader reports the end and gives the count of compressed bytes in
// storedSize; the decoder reads exactly storedSize bytes and writes uncompressedSize bytes in
// pieces of at most 4096. CrusherGetCrc then gives the CRC-32 of the compressed bytes.
int CrusherEncodeMember(CrusherReadProc read, CrusherWriteProc write, void* user,
                        int64_t* storedSize);
int CrusherDecodeMember(CrusherReadProc read, CrusherWriteProc write, void* user,
                        int64_t uncompressedSize, int64_t storedSize);

// CRC-32 of every compressed byte written or read by the last run.
uint32_t CrusherGetCrc();

// The handler for all events; null restores the default handler.
int CrusherSetEventHandler(CrusherEventProc handler);

// The built-in answers: 1, 3, 43 and 50 pump the window messages of the calling thread; 39 and
// 40 ask for a diskette and on Cancel set the status to CRUSHER_USER_CANCELLED (and return it);
// everything else does nothing and returns 0.
int CrusherDefaultEvent(CrusherState* state, int event, int64_t value);

// The archive layer's part of the shared state.
struct CrusherArchiveState {
  int prompts;     // diskette prompts shown for the current request
  int volume;      // current diskette number
  char* password;  // heap copy (malloc), or null
};
// Resets the prompt and volume counters and drops the password; frees the password.
int CrusherArchiveInit();
int CrusherArchiveShutdown();
// For the archive layer only, and only between its own calls into the codec.
CrusherArchiveState* CrusherGetArchiveState();
