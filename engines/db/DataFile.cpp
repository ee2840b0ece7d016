#include "engines/db/DataFile.h"

#include <cctype>
#include <cstring>

#include "foundation/core/Base64.h"
#include "foundation/core/Coder.h"
#include "foundation/core/ScrambleCoder.h"

namespace {

// A line that stayed as read yet holds nothing but Base64 letters may be an encoded line whose
// check failed (cut short or changed): a plain line of the files mostly has a "[", "=" or "#".
bool LooksLikeEncodedLine(const CLibString& line) {
  const char* text = line.c_str();
  if (!*text) return false;
  for (; *text; ++text) {
    const unsigned char ch = static_cast<unsigned char>(*text);
    if (!isalnum(ch) && ch != '+' && ch != '/') return false;
  }
  return true;
}

}  // namespace

bool DecodeDataFileLine(CLibString& line, const char* key) {
  bool decoded = false;
  long length = 0;
  char* bytes = Base64().Decode(line, length);
  if (bytes && length > 0) {
    int size = static_cast<int>(length);
    char* text = CScrambleCoder(key).Decode(bytes, size);
    // A failed check gives nothing: the line was plain text after all.
    if (text && size > 0) {
      line = CLibString(text, text + size - 1);
      decoded = true;
    }
    FreeCoderBuffer(text);
  }
  FreeCoderBuffer(bytes);
  line.TrimLeft(' ');
  line.TrimRight(' ');
  return decoded;
}

void ReplaceDataFileEscapes(CLibString& text) {
  if (text.FindChar('\\') == 0) return;
  text.Replace("\\n", "\n");
  text.Replace("\\r", "\r");
  text.Replace("\\t", "\t");
}

bool CDataFile::Open(const char* path) {
  Close();
  m_position = 0;
  // Binary: the line ends are cut here, and the position counts the file's own bytes.
  m_lineEnded = true;
  m_decodedLines = m_undecodedLines = 0;
  m_cutShort = false;
  m_file = path ? fopen(path, "rb") : nullptr;
  return m_file != nullptr;
}

void CDataFile::Close() {
  if (m_file) fclose(m_file);
  m_file = nullptr;
}

bool CDataFile::ReadRawLine(CLibString& line) {
  line = "";
  if (!m_file) return false;
  std::string text;
  char buffer[4096];
  bool any = false;
  while (fgets(buffer, sizeof buffer, m_file)) {
    any = true;
    size_t n = strlen(buffer);
    m_position += static_cast<long>(n);
    text.append(buffer, n);
    if (n > 0 && buffer[n - 1] == '\n') break;
  }
  if (!any) return false;
  m_lineEnded = !text.empty() && text.back() == '\n';
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  // A zero byte inside a line ends the line's text, as it would for any C string.
  line = text.c_str();
  return true;
}

bool CDataFile::ReadLine(CLibString& line, const char* key) {
  if (!ReadRawLine(line)) return false;
  if (DecodeDataFileLine(line, key)) {
    ++m_decodedLines;
  } else if (LooksLikeEncodedLine(line)) {
    ++m_undecodedLines;
    if (!m_lineEnded) m_cutShort = true;
  }
  return true;
}

bool CDataFile::LooksDamaged() const {
  return m_cutShort || (m_decodedLines > 0 && m_undecodedLines > 0);
}
