// The member format of the update archives (.arq): a fixed little-endian header per member,
// followed by the member's stored bytes; a header with an empty name ends the archive.
// This part knows no operating system: it reads from and writes to byte sources and sinks, so
// the same code parses archives in the update program and in the fuzzer of the host build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Status codes of the archive layer: 0 success, negative failures.
enum ArqStatus : int {
  ARQ_OK = 0,
  ARQ_CANNOT_WRITE = -1,  // a file cannot be opened, or a member cannot be written
  ARQ_NO_MEMORY = -3,
  ARQ_SEARCH_FAILED = -4,  // the file to search for an archive cannot be opened
  ARQ_NOT_OPEN = -5,       // no archive is open, or the archive file is empty
  ARQ_BAD_HEADER = -6,     // wrong magic, name too long, header cut short
  ARQ_BAD_CRC = -7,        // checksum or decoded size differs from the header
  ARQ_BAD_FILE = -8,       // bad handle, or the archive file cannot be opened
  ARQ_NEWER_FORMAT = -9,   // the member needs a newer reader (or an unknown method)
  ARQ_END = -10,           // the end marker, or no current member
  ARQ_ALREADY_OPEN = -11,
  ARQ_DATA_SHORT = -12,     // member data cut short
  ARQ_BAD_ARGUMENT = -14,   // null or empty name, invalid pattern
  ARQ_NO_TEMP = -15,        // the temporary archive cannot be created
  ARQ_NO_HANDLE = -17,      // all 20 file handles are in use
  ARQ_UNSAFE_NAME = -18,    // a member name that would leave the target folder
  ARQ_PATH_TOO_LONG = -19,  // a target path longer than the system takes
  ARQ_DISKETTE_TOO_SMALL = -20,
  ARQ_WRONG_PASSWORD = -29,  // an encrypted member without its password
  ARQ_GAVE_UP = -30,         // the user gave up at a diskette prompt
  ARQ_NO_SPACE = -33,        // not enough free space on the target drive
};

namespace arq {

constexpr uint8_t kMagic[4] = {0x67, 0x57, 0x04, 0x01};
constexpr int kMaxNameLength = 254;
constexpr int kFixedBlock = 33;  // the header after the name
constexpr int kLead = 8;         // magic, two versions, name length
constexpr uint8_t kWriterVersion = 0x31;
constexpr uint8_t kNeededVersion = 0x12;
constexpr uint8_t kNewestReadable = 0x31;
constexpr uint8_t kSystemOwn = 16;
constexpr uint8_t kSystemKeepCase = 3;
constexpr int kMethodStored = 1;
constexpr int kMethodCompressed = 2;
constexpr uint8_t kFlagText = 1;
constexpr uint8_t kFlagBinary = 2;
constexpr uint8_t kFlagEncrypted = 4;
constexpr uint8_t kFlagContinued = 8;
// How far into a file an appended archive is looked for.
constexpr int64_t kSearchLimit = 200000;

}  // namespace arq

struct ArqMemberHeader {
  uint8_t writerVersion = arq::kWriterVersion;
  uint8_t neededVersion = arq::kNeededVersion;
  std::string name;  // empty: the end marker
  uint32_t time = 0;
  uint16_t mode = 0;
  uint16_t uid = 0;
  uint16_t gid = 0;
  uint32_t storedSize = 0;
  uint32_t uncompressedSize = 0;
  uint32_t crc = 0;
  uint8_t method = arq::kMethodCompressed;
  uint8_t system = arq::kSystemOwn;
  uint8_t flags = 0;
  uint8_t reserved = 0;
  uint32_t volume = 0;
  uint8_t spare = 0;
  uint16_t extraLength = 0;  // extra bytes after the header; a reader skips them

  size_t HeaderSize() const { return arq::kLead + name.size() + arq::kFixedBlock; }
};

// Where an archive is read from. Read returns the bytes placed (fewer only at the end) or a
// negative status; Skip moves forward and returns false when the source ends first.
class ArqSource {
 public:
  virtual ~ArqSource() = default;
  virtual int Read(void* buffer, int size) = 0;
  virtual bool Skip(int64_t count) = 0;
  virtual int64_t Position() const = 0;
};

// Where bytes go: 0 or a negative status.
class ArqSink {
 public:
  virtual ~ArqSink() = default;
  virtual int Write(const void* data, int size) = 0;
};

// A source over a block of memory (the fuzzer and the tests read archives from memory).
class ArqMemorySource : public ArqSource {
 public:
  ArqMemorySource(const void* data, size_t size)
      : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  int Read(void* buffer, int size) override;
  bool Skip(int64_t count) override;
  int64_t Position() const override { return static_cast<int64_t>(pos_); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// The header's bytes, exactly HeaderSize() of them. The name must be at most 254 bytes.
std::string ArqFormatHeader(const ArqMemberHeader& header);

// Reads one header and skips its extra bytes. ARQ_END for the end marker (its fields are read),
// ARQ_NOT_OPEN when nothing at all could be read at position 0, ARQ_BAD_HEADER for a wrong
// magic, a name above 254 bytes or a header cut short (also a source that ends where the next
// header should be: every archive ends with its marker), ARQ_NEWER_FORMAT for a needed version
// above 3.1.
int ArqReadHeader(ArqSource& source, ArqMemberHeader& header);

// Reads the member's stored bytes, checks their CRC-32 and, by decoding them, that they give
// exactly the header's uncompressed size; the decoded bytes go to sink when one is given.
// The sink never gets more than the header's uncompressed size. ARQ_DATA_SHORT when the data
// are cut short, ARQ_BAD_CRC for a CRC or size mismatch or a damaged stream, ARQ_NEWER_FORMAT
// for an unknown method. An encrypted member needs its password (ArqCipher.h) to be decoded
// (ARQ_WRONG_PASSWORD without it or with another); without a password and without a sink only
// its stored bytes' CRC is checked. The compressed method needs CrusherInit.
int ArqDecodeMember(ArqSource& source, const ArqMemberHeader& header, ArqSink* sink,
                    const char* password = nullptr);

// Offset of the first member magic in the first 200000 bytes, or ARQ_BAD_HEADER.
int64_t ArqFindStart(ArqSource& source);

// True for a name that can only ever name a file inside the target folder: relative, not
// empty, at most 254 bytes, no drive, no ":" anywhere, no "." or ".." or empty component
// ("\" and "/" both separate), no device name (CON, NUL, COM1, ..., also with an extension), no
// control or wildcard characters, no component ending in a dot or blank. folders: whether
// the name may hold folders at all.
bool ArqIsSafeName(const std::string& name, bool folders = true);

// The part after the last "\" or "/".
std::string ArqBaseName(const std::string& name);

// "*" and "?" wildcards over the whole name; caseless unless asked otherwise.
bool ArqMatchPattern(const char* pattern, const char* name, bool caseSensitive = false);

// Bit 0 (text) or bit 1 (not text) for a file's bytes: text unless zero bytes or other control
// and high bytes are too many, and only when line feeds are frequent enough.
uint8_t ArqTextFlag(const void* data, size_t size);

// Compresses size bytes with the block compressor and writes the header (the caller's fields,
// with the sizes, CRC, method 2, versions and system code of this writer) and the stored bytes.
// The name must be safe. With a password (not empty) the member is enciphered (ArqCipher.h)
// and flagged so. Needs CrusherInit.
int ArqWriteMember(ArqSink& sink, ArqMemberHeader header, const void* data, size_t size,
                   const char* password = nullptr);
// The end marker: a header with an empty name.
int ArqWriteEnd(ArqSink& sink);

// Walks a whole archive from its first header to its end marker: every name must be safe and
// every member must decode to its header's size and CRC. onMember (may be null) sees each
// header before its data are checked and may answer false to stop the walk (ARQ_OK then).
// ARQ_OK only for a complete, sound archive; an encrypted member is decoded with the password,
// and without one it gives ARQ_WRONG_PASSWORD.
typedef bool (*ArqMemberProc)(const ArqMemberHeader& header, void* user);
int ArqTestArchive(ArqSource& source, ArqMemberProc onMember = nullptr, void* user = nullptr,
                   const char* password = nullptr);
