#include "foundation/update/ArqFormat.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

#include "foundation/codec/Crusher.h"
#include "foundation/codec/CrusherCrc.h"
#include "foundation/update/ArqCipher.h"

// ---- sources ----

int ArqMemorySource::Read(void* buffer, int size) {
  if (size <= 0) return 0;
  size_t n = std::min(static_cast<size_t>(size), size_ - pos_);
  if (n) std::memcpy(buffer, data_ + pos_, n);
  pos_ += n;
  return static_cast<int>(n);
}

bool ArqMemorySource::Skip(int64_t count) {
  if (count < 0) return false;
  if (static_cast<uint64_t>(count) > size_ - pos_) {
    pos_ = size_;
    return false;
  }
  pos_ += static_cast<size_t>(count);
  return true;
}

// ---- header ----

namespace {

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
uint32_t Get16(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8;
}
uint32_t Get32(const uint8_t* p) {
  return Get16(p) | Get16(p + 2) << 16;
}

bool ReadAll(ArqSource& source, void* buffer, int size) {
  return source.Read(buffer, size) == size;
}

bool IsNewerThanReadable(uint8_t version) {
  int major = version >> 4;
  int minor = version & 0x0F;
  return major > 3 || (major == 3 && minor > 1);
}

}  // namespace

std::string ArqFormatHeader(const ArqMemberHeader& h) {
  std::string out(reinterpret_cast<const char*>(arq::kMagic), 4);
  out += static_cast<char>(h.writerVersion);
  out += static_cast<char>(h.neededVersion);
  size_t n = std::min<size_t>(h.name.size(), arq::kMaxNameLength);
  Put16(out, static_cast<uint32_t>(n));
  out.append(h.name, 0, n);
  Put32(out, h.time);
  Put16(out, h.mode);
  Put16(out, h.uid);
  Put16(out, h.gid);
  Put32(out, h.storedSize);
  Put32(out, h.uncompressedSize);
  Put32(out, h.crc);
  out += static_cast<char>(h.method);
  out += static_cast<char>(h.system);
  out += static_cast<char>(h.flags);
  out += static_cast<char>(h.reserved);
  Put32(out, h.volume);
  out += static_cast<char>(h.spare);
  // The extra data are never written: the count stays 0 whatever the record says.
  Put16(out, 0);
  return out;
}

int ArqReadHeader(ArqSource& source, ArqMemberHeader& h) {
  uint8_t lead[arq::kLead];
  int64_t start = source.Position();
  int got = source.Read(lead, arq::kLead);
  if (got <= 0 && start == 0) return ARQ_NOT_OPEN;
  if (got != arq::kLead || std::memcmp(lead, arq::kMagic, 4) != 0) return ARQ_BAD_HEADER;
  h.writerVersion = lead[4];
  h.neededVersion = lead[5];
  if (IsNewerThanReadable(h.neededVersion)) return ARQ_NEWER_FORMAT;
  uint32_t n = Get16(lead + 6);
  if (n > arq::kMaxNameLength) return ARQ_BAD_HEADER;
  char name[arq::kMaxNameLength];
  uint8_t block[arq::kFixedBlock];
  if (!ReadAll(source, name, static_cast<int>(n)) || !ReadAll(source, block, arq::kFixedBlock))
    return ARQ_BAD_HEADER;
  h.name.assign(name, n);
  h.time = Get32(block);
  h.mode = static_cast<uint16_t>(Get16(block + 4));
  h.uid = static_cast<uint16_t>(Get16(block + 6));
  h.gid = static_cast<uint16_t>(Get16(block + 8));
  h.storedSize = Get32(block + 10);
  h.uncompressedSize = Get32(block + 14);
  h.crc = Get32(block + 18);
  h.method = block[22];
  h.system = block[23];
  h.flags = block[24];
  h.reserved = block[25];
  h.volume = Get32(block + 26);
  h.spare = block[30];
  h.extraLength = static_cast<uint16_t>(Get16(block + 31));
  if (h.extraLength && !source.Skip(h.extraLength)) return ARQ_BAD_HEADER;
  return n == 0 ? ARQ_END : ARQ_OK;
}

// ---- member data ----

namespace {

// Hands the codec exactly the member's stored bytes and notes whether the source ran dry.
struct MemberReader {
  ArqSource* source;
  int64_t left;
  bool shortData = false;
  uint32_t crc = 0xFFFFFFFFu;
  ArqZipCipher* cipher = nullptr;  // deciphers after the CRC has seen the stored bytes
};

int ReadStored(void* user, void* buffer, int size) {
  MemberReader& r = *static_cast<MemberReader*>(user);
  int want = static_cast<int>(std::min<int64_t>(size, r.left));
  if (want <= 0) return 0;
  int got = r.source->Read(buffer, want);
  if (got < 0) return got;
  if (got < want) r.shortData = true;
  r.left -= got;
  r.crc = CrusherCrcUpdate(r.crc, buffer, static_cast<size_t>(got));
  if (r.cipher) r.cipher->Decrypt(static_cast<uint8_t*>(buffer), static_cast<size_t>(got));
  return got;
}

struct MemberWriter {
  ArqSink* sink;
  int64_t room;  // what the header allows; more is a damaged member
};

int WriteDecoded(void* user, const void* data, int size) {
  MemberWriter& w = *static_cast<MemberWriter*>(user);
  if (size > w.room) return ARQ_BAD_CRC;
  w.room -= size;
  return w.sink ? w.sink->Write(data, size) : 0;
}

// The codec hands one user pointer to its reader and its writer alike.
struct MemberCoding {
  MemberReader reader;
  MemberWriter writer;
};
int CodingRead(void* user, void* buffer, int size) {
  return ReadStored(&static_cast<MemberCoding*>(user)->reader, buffer, size);
}
int CodingWrite(void* user, const void* data, int size) {
  return WriteDecoded(&static_cast<MemberCoding*>(user)->writer, data, size);
}

int CopyStored(MemberReader& reader, MemberWriter& writer) {
  std::vector<char> buffer(8192);
  for (;;) {
    int got = ReadStored(&reader, buffer.data(), static_cast<int>(buffer.size()));
    if (got < 0) return got;
    if (got == 0) return 0;
    int status = WriteDecoded(&writer, buffer.data(), got);
    if (status < 0) return status;
  }
}

}  // namespace

namespace {

// Without the password an encrypted member can still be checked: its CRC covers the stored
// bytes as they are.
int CheckStoredCrc(MemberReader& reader, const ArqMemberHeader& h) {
  MemberWriter none{nullptr, INT64_MAX};
  int status = CopyStored(reader, none);
  if (reader.shortData) return ARQ_DATA_SHORT;
  if (status < 0) return status;
  return ~reader.crc == h.crc ? ARQ_OK : ARQ_BAD_CRC;
}

}  // namespace

int ArqDecodeMember(ArqSource& source, const ArqMemberHeader& h, ArqSink* sink,
                    const char* password) {
  MemberCoding coding{{&source, h.storedSize}, {sink, h.uncompressedSize}};
  MemberReader& reader = coding.reader;
  MemberWriter& writer = coding.writer;
  bool encrypted = h.flags & arq::kFlagEncrypted;
  int64_t overhead = encrypted ? ArqZipCipher::kHeaderSize : 0;
  if (encrypted && !password) return sink ? ARQ_WRONG_PASSWORD : CheckStoredCrc(reader, h);
  ArqZipCipher cipher(password ? password : "");
  if (encrypted) {
    uint8_t header[ArqZipCipher::kHeaderSize];
    if (ReadStored(&reader, header, sizeof header) != static_cast<int>(sizeof header))
      return ARQ_DATA_SHORT;
    if (!cipher.CheckHeader(header, h.time)) return ARQ_WRONG_PASSWORD;
    reader.cipher = &cipher;
  }
  int status;
  if (h.method == arq::kMethodStored) {
    if (h.storedSize != h.uncompressedSize + overhead) return ARQ_BAD_CRC;
    status = CopyStored(reader, writer);
  } else if (h.method == arq::kMethodCompressed) {
    status = CrusherDecodeMember(CodingRead, CodingWrite, &coding, h.uncompressedSize,
                                 h.storedSize - overhead);
    // The codec passes a writer's own status on; any other failure is a damaged stream.
    if (status == CRUSHER_BAD_DATA || status == CRUSHER_BAD_ARGUMENT) status = ARQ_BAD_CRC;
    if (status == CRUSHER_BUSY || status == CRUSHER_NOT_INITIALISED) status = ARQ_NO_MEMORY;
  } else {
    return ARQ_NEWER_FORMAT;
  }
  if (reader.shortData) return ARQ_DATA_SHORT;
  if (status < 0) return status;
  if (writer.room != 0 || ~reader.crc != h.crc) return ARQ_BAD_CRC;
  return ARQ_OK;
}

int64_t ArqFindStart(ArqSource& source) {
  // In pieces, each keeping the last three bytes of the one before, so a magic across the
  // border is found too.
  uint8_t buffer[16384 + 3];
  int kept = 0;
  int64_t base = 0;  // offset of buffer[0]
  while (base < arq::kSearchLimit) {
    int got = source.Read(buffer + kept, 16384);
    if (got <= 0) break;
    int have = kept + got;
    for (int i = 0; i + 4 <= have; ++i)
      if (base + i < arq::kSearchLimit && std::memcmp(buffer + i, arq::kMagic, 4) == 0)
        return base + i;
    kept = std::min(have, 3);
    std::memmove(buffer, buffer + have - kept, static_cast<size_t>(kept));
    base += have - kept;
  }
  return ARQ_BAD_HEADER;
}

// ---- names ----

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsDeviceName(std::string part) {
  // A device name counts with any extension: "nul.txt" still opens the device.
  size_t dot = part.find('.');
  if (dot != std::string::npos) part.resize(dot);
  while (!part.empty() && part.back() == ' ') part.pop_back();
  for (char& c : part) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (const char* d : kDevices)
    if (part == d) return true;
  if (part.size() == 4 && (part.compare(0, 3, "COM") == 0 || part.compare(0, 3, "LPT") == 0))
    return part[3] >= '0' && part[3] <= '9';
  return false;
}

bool IsSafeComponent(const std::string& part) {
  if (part.empty() || part == "." || part == "..") return false;
  if (part.back() == '.' || part.back() == ' ') return false;
  for (unsigned char c : part)
    if (c < 32 || std::strchr("<>\"|?*:", c)) return false;
  return !IsDeviceName(part);
}

}  // namespace

bool ArqIsSafeName(const std::string& name, bool folders) {
  if (name.empty() || name.size() > arq::kMaxNameLength) return false;
  if (name.find('\0') != std::string::npos) return false;
  size_t begin = 0;
  for (;;) {
    size_t end = begin;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    if (!IsSafeComponent(name.substr(begin, end - begin))) return false;
    if (end == name.size()) return true;
    if (!folders) return false;
    begin = end + 1;
  }
}

std::string ArqBaseName(const std::string& name) {
  size_t cut = name.find_last_of("\\/");
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

bool ArqMatchPattern(const char* pattern, const char* name, bool caseSensitive) {
  auto same = [caseSensitive](char a, char b) {
    if (caseSensitive) return a == b;
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  // Iterative matching with one backtrack point: linear in practice, no recursion on hostile
  // patterns.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern && (*pattern == '?' || same(*pattern, *name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == 0;
}

// ---- writing ----

uint8_t ArqTextFlag(const void* data, size_t size) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  size_t zeros = 0, odd = 0, lines = 0;
  for (size_t i = 0; i < size; ++i) {
    uint8_t c = p[i];
    if (c == '\n') ++lines;
    if (c == 0 && ++zeros > size / 50 + 1) return arq::kFlagBinary;
    if ((c < 32 || c >= 128) && c != '\t' && c != '\n' && ++odd > size / 10 + 1)
      return arq::kFlagBinary;
  }
  return lines >= size / 500 + 1 ? arq::kFlagText : arq::kFlagBinary;
}

namespace {

struct MemoryReader {
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
};

int ReadMemory(void* user, void* buffer, int size) {
  MemoryReader& r = *static_cast<MemoryReader*>(user);
  size_t n = std::min(static_cast<size_t>(size), r.size - r.pos);
  if (n) std::memcpy(buffer, r.data + r.pos, n);
  r.pos += n;
  return static_cast<int>(n);
}

int AppendOutput(void* user, const void* data, int size) {
  static_cast<std::string*>(user)->append(static_cast<const char*>(data), size);
  return 0;
}

// The encoder reads through the first and writes through the second; one user pointer serves.
struct EncodeContext {
  MemoryReader reader;
  std::string packed;
};

int EncodeRead(void* user, void* buffer, int size) {
  return ReadMemory(&static_cast<EncodeContext*>(user)->reader, buffer, size);
}
int EncodeWrite(void* user, const void* data, int size) {
  return AppendOutput(&static_cast<EncodeContext*>(user)->packed, data, size);
}

}  // namespace

int ArqWriteMember(ArqSink& sink, ArqMemberHeader h, const void* data, size_t size,
                   const char* password) {
  if (!ArqIsSafeName(h.name) || size > 0x7FFFFFFF) return ARQ_BAD_ARGUMENT;
  EncodeContext context{{static_cast<const uint8_t*>(data), size}, {}};
  int64_t stored = 0;
  int status = CrusherEncodeMember(EncodeRead, EncodeWrite, &context, &stored);
  if (status < 0) return status == CRUSHER_NO_MEMORY ? ARQ_NO_MEMORY : ARQ_CANNOT_WRITE;
  h.writerVersion = arq::kWriterVersion;
  h.neededVersion = arq::kNeededVersion;
  h.system = arq::kSystemOwn;
  h.method = arq::kMethodCompressed;
  h.flags &= static_cast<uint8_t>(~arq::kFlagEncrypted);
  if (password && *password) {
    ArqZipCipher cipher(password);
    uint32_t seed = CrusherCrcUpdate(h.time, context.packed.data(), context.packed.size());
    std::string head = cipher.MakeHeader(h.time, seed);
    cipher.Encrypt(reinterpret_cast<uint8_t*>(context.packed.data()), context.packed.size());
    context.packed.insert(0, head);
    h.flags |= arq::kFlagEncrypted;
  }
  h.storedSize = static_cast<uint32_t>(context.packed.size());
  h.uncompressedSize = static_cast<uint32_t>(size);
  h.crc = ~CrusherCrcUpdate(0xFFFFFFFFu, context.packed.data(), context.packed.size());
  h.extraLength = 0;
  std::string head = ArqFormatHeader(h);
  status = sink.Write(head.data(), static_cast<int>(head.size()));
  if (status < 0) return status;
  return context.packed.empty()
             ? 0
             : sink.Write(context.packed.data(), static_cast<int>(context.packed.size()));
}

int ArqWriteEnd(ArqSink& sink) {
  ArqMemberHeader end;
  std::string head = ArqFormatHeader(end);
  return sink.Write(head.data(), static_cast<int>(head.size()));
}

int ArqTestArchive(ArqSource& source, ArqMemberProc onMember, void* user, const char* password) {
  for (;;) {
    ArqMemberHeader h;
    int status = ArqReadHeader(source, h);
    if (status == ARQ_END) return ARQ_OK;
    if (status < 0) return status;
    if (!ArqIsSafeName(h.name)) return ARQ_UNSAFE_NAME;
    if (onMember && !onMember(h, user)) return ARQ_OK;
    // Sound means it can be extracted: an encrypted member needs its password for that.
    if ((h.flags & arq::kFlagEncrypted) && !password) return ARQ_WRONG_PASSWORD;
    status = ArqDecodeMember(source, h, nullptr, password);
    if (status < 0) return status;
  }
}
