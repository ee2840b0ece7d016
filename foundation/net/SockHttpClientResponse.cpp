// CSockHttpClient: reading a response, its head (with its bounds) and its body (with a length,
// chunked, or up to the close).
#include "foundation/net/SockHttpClient.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cctype>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "foundation/net/SockHttpText.h"
#include "foundation/net/Socklet.h"

using std::string;
using namespace sockhttp;

namespace {

bool IsBlankChar(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

// ---- responses ----

int CSockHttpClient::ReadResponseHead() {
  m_setCookieCount = 0;
  int count = 0;
  // Interim heads are skipped, but only so many: a server that sends nothing else would hold
  // the call for ever.
  for (int interim = 0;; ++interim) {
    OnIdle();
    m_status = 0;
    m_statusText = CLibString();
    bool whole = ReadHeadLines(true, count);
    if (!whole) m_status = 0;
    if (m_status != 100 || !m_connected) break;
    if (interim >= kMaxInterimHeads) {
      m_status = 0;
      break;
    }
  }
  return count;
}

bool CSockHttpClient::ReadHeadLines(bool statusWanted, int& count) {
  bool first = statusWanted;
  int lines = 0;
  long bytes = 0;
  bool whole = true;
  // The line and the name are texts kept from line to line, and a header is taken apart in
  // place: a head is read for every request, and each copy of a piece is an allocation.
  string& line = m_line;
  string& name = m_headerName;
  while (m_connected) {
    ReadLine(line);
    // Not a protocol line, a line cut off by the time-out, or a head without end: the
    // request fails rather than read on in mid-stream.
    bytes += static_cast<long>(line.size()) + 2;
    if (IsBadLine() || (!IsLineEnded() && m_connected) || ++lines > kMaxHeadLines ||
        bytes > kMaxHeadBytes) {
      whole = false;
      break;
    }
    if (line.empty()) break;
    if (first) {
      first = false;
      // Without a status line the answer is no HTTP head at all (a bare page, say).
      if (line.compare(0, 4, "HTTP") != 0 || line.find('<') != string::npos) break;
      OnResponseLine(line.c_str());
      ParseStatusLine(line);
      continue;
    }
    OnResponseLine(line.c_str());
    size_t colon = line.find(':');
    if (colon == string::npos) continue;
    size_t start = 0;
    size_t end = colon;
    while (start < end && IsBlankChar(line[start])) ++start;
    while (end > start && IsBlankChar(line[end - 1])) --end;
    if (start == end) continue;
    name.assign(line, start, end - start);
    for (char& c : name)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (name == "set-cookie") name += std::to_string(m_setCookieCount++);
    start = colon + 1;
    end = line.size();
    while (start < end && IsBlankChar(line[start])) ++start;
    while (end > start && IsBlankChar(line[end - 1])) --end;
    // The value's end is marked in the line itself (nothing of it is read any more).
    line.resize(end);
    m_responseHeaders.SetAt(CLibString(name.c_str()), CLibString(line.c_str() + start));
  }
  count = static_cast<int>(m_responseHeaders.GetCount());
  return whole;
}

void CSockHttpClient::ParseStatusLine(const string& text) {
  size_t slash = text.find('/');
  string rest = slash == string::npos ? string() : text.substr(slash + 1);
  size_t blank = rest.find(' ');
  string code = blank == string::npos ? string() : Trim(rest.substr(blank + 1));
  size_t codeEnd = code.find(' ');
  string reason = codeEnd == string::npos ? string() : Trim(code.substr(codeEnd + 1));
  code = code.substr(0, codeEnd);
  bool valid = code.size() == 3;
  for (char c : code) valid = valid && c >= '0' && c <= '9';
  if (valid && code[0] >= '1') {
    m_status = atoi(code.c_str());
    m_statusText = reason.c_str();
  }
}

int CSockHttpClient::ReadBody(CLibString& text) {
  return static_cast<int>(ReadBodyInto(&text, nullptr));
}

long CSockHttpClient::ReadBodyToFile(void* file) {
  if (!file || file == INVALID_HANDLE_VALUE) return 0;
  return ReadBodyInto(nullptr, file);
}

bool CSockHttpClient::BodyFraming(long& expected, bool& hasLength, bool& chunked) {
  static const CLibString kLength("content-length");
  static const CLibString kEncoding("transfer-encoding");
  const CLibString* lengthText = FindValue(m_responseHeaders, kLength);
  hasLength = lengthText != nullptr;
  expected = 0;
  if (hasLength && !ParseLength(*lengthText, expected)) {
    // Checked with the head already; a caller who set the headers himself gets nothing.
    m_bodyBroken = true;
    return false;
  }
  const CLibString* encoding = FindValue(m_responseHeaders, kEncoding);
  chunked = encoding && ContainsNoCase(encoding->c_str(), "chunked");
  // A chunked body carries its own framing; a length beside it means nothing.
  if (chunked) {
    expected = 0;
    hasLength = false;
  }
  return true;
}

long CSockHttpClient::ReadBodyInto(CLibString* text, void* file) {
  m_bodyBroken = false;
  // Nothing is left of this response (read already, or a response without a body).
  if (!m_bodyPending) return 0;
  long expected = 0;
  bool hasLength = false;
  bool chunked = false;
  if (!BodyFraming(expected, hasLength, chunked)) return 0;

  // Large pieces: each is one receive (every socket call is costly, under Wine a round trip
  // to the server) and one progress report. A text is received straight into its place.
  int bufferSize = static_cast<int>(m_recvChunk) + 100;
  if (bufferSize < kBodyPiece + 1) bufferSize = kBodyPiece + 1;
  std::unique_ptr<char[]> buffer;
  if (!text) {
    buffer.reset(new (std::nothrow) char[bufferSize]);
    if (!buffer) {
      OnNoMemory();
      return 0;
    }
  }
  if (hasLength && expected == 0) {
    m_bodyPending = false;
    return 0;
  }
  // The text is gathered apart and appended once: appending to a long text piece by piece
  // measures it again each time.
  string& gathered = m_gathered;
  gathered.clear();
  if (text && expected > 0)
    gathered.reserve(static_cast<size_t>(
        expected < kMaxBodyInMemory ? expected : kMaxBodyInMemory + bufferSize));

  long total = 0;
  long chunkLeft = 0;
  bool complete = false;
  // Ended by one of our own bounds (the memory cap, the read limit), not by the peer.
  bool bounded = false;
  bool reported = false;
  for (;;) {
    if (m_abort) {
      OnAbort();
      Close();
      break;
    }
    if (!m_connected) break;
    OnIdle();
    long want = bufferSize - 1;
    if (chunked) {
      if (chunkLeft == 0) {
        int next = NextChunk(chunkLeft);
        if (next <= 0) {
          complete = next == 0;
          break;
        }
      }
      if (want > chunkLeft) want = chunkLeft;
    }
    if (expected > 0 && want > expected - total) want = expected - total;
    if (m_readLimit > 0 && want > m_readLimit - total) want = m_readLimit - total;
    // A text stops one byte past its cap, however large the pieces.
    if (text && want > kMaxBodyInMemory + 1 - total) want = kMaxBodyInMemory + 1 - total;
    char* into = text ? GatherRoom(static_cast<size_t>(want)) : buffer.get();
    if (!into) {
      OnNoMemory();
      break;
    }
    int got = Recv(into, static_cast<int>(want));
    if (text) gathered.resize(gathered.size() - static_cast<size_t>(want - (got > 0 ? got : 0)));
    if (got <= 0) break;
    bool stored = text || StorePiece(file, buffer.get(), got);
    total += got;
    if (!stored) break;
    if (!reported) {
      OnReceiveProgress(0, static_cast<uint32_t>(expected));
      reported = true;
    }
    OnReceiveProgress(static_cast<uint32_t>(total), static_cast<uint32_t>(expected));
    if (got < want) break;  // closed, timed out or aborted in the middle
    if (chunked) {
      chunkLeft -= got;
      if (chunkLeft == 0) ReadLine();  // the line end after the chunk
    }
    if (text && total > kMaxBodyInMemory) {
      bounded = true;
      break;
    }
    if (expected > 0 && total >= expected) {
      complete = true;
      break;
    }
    if (m_readLimit > 0 && total >= m_readLimit) {
      OnReadLimit();
      bounded = true;
      break;
    }
  }
  // Without a length, the body ends where the server closed the connection.
  if (!chunked && !hasLength && !m_connected && !m_abort) complete = true;
  m_bodyPending = !complete;
  // A body cut short (a time-out, a close before its length, lost framing) is a failure, never
  // a success: the status says so, so that nobody keeps it as the whole page. What came is
  // still handed on, for a reader that can use part of a page.
  m_bodyBroken = !complete && !bounded;
  if (m_bodyBroken) m_status = 0;
  if (text && !gathered.empty()) {
    // A NUL in the body ends the text there, as it would any C string.
    text->Grow(static_cast<size_t>(text->GetLength()) + gathered.size());
    text->Append(gathered.data(), gathered.size());
  }
  return total;
}

char* CSockHttpClient::GatherRoom(size_t count) {
  size_t at = m_gathered.size();
  try {
    m_gathered.resize(at + count);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return &m_gathered[at];
}

bool CSockHttpClient::StorePiece(void* file, const char* data, int count) {
  if (!file) {
    m_gathered.append(data, static_cast<size_t>(count));
    return true;
  }
  DWORD written = 0;
  return WriteFile(static_cast<HANDLE>(file), data, static_cast<DWORD>(count), &written,
                   nullptr) &&
         written == static_cast<DWORD>(count);
}

int CSockHttpClient::NextChunk(long& size) {
  string line = ReadLine().c_str();
  if (IsBadLine() || !IsLineEnded()) return -1;
  line = Trim(line.substr(0, line.find(';')));
  // Hexadecimal digits only, and no more than a body count holds: the framing is lost else.
  for (char c : line)
    if (!isxdigit(static_cast<unsigned char>(c))) return -1;
  size_t digits = line.find_first_not_of('0');
  if (line.empty() || (digits != string::npos && line.size() - digits > 7)) return -1;
  size = strtol(line.c_str(), nullptr, 16);
  if (size > 0) return 1;
  // The trailer: header lines that may follow the last chunk. The status stays.
  int status = m_status;
  int count = 0;
  bool whole = ReadHeadLines(false, count);
  m_status = status;
  return whole ? 0 : -1;
}

