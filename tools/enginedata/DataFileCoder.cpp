#include "tools/enginedata/DataFileCoder.h"

#include "foundation/core/Base64.h"
#include "foundation/core/Coder.h"
#include "foundation/core/ScrambleCoder.h"

std::string CDataFileCoder::EncodeLine(const std::string& line) const {
  if (line.empty()) return std::string();
  CScrambleCoder scrambler(m_key.c_str());
  int length = static_cast<int>(line.size());
  char* scrambled = scrambler.Encode(line.data(), length);
  if (!scrambled) return std::string();
  CLibString text;
  Base64().Encode(text, scrambled, length);
  FreeCoderBuffer(scrambled);
  return std::string(text.c_str(), static_cast<size_t>(text.GetLength()));
}

bool CDataFileCoder::DecodeLine(const std::string& line, std::string& plain) const {
  plain = line;
  if (line.empty()) return false;
  long length = 0;
  char* bytes = Base64().Decode(CLibString(line.c_str()), length);
  if (!bytes) return false;
  CScrambleCoder scrambler(m_key.c_str());
  int size = static_cast<int>(length);
  char* text = scrambler.Decode(bytes, size);
  FreeCoderBuffer(bytes);
  // Length 0 is how the coder says the check failed.
  bool scrambled = text && size > 0;
  if (scrambled) plain.assign(text, static_cast<size_t>(size));
  FreeCoderBuffer(text);
  return scrambled;
}
