#include "engines/parse/ResultPageScanner.h"

#include <cstring>

#include "engines/db/SearchEngine.h"
#include "foundation/core/PatternList.h"

namespace {

constexpr int kMarkerCount = CResultMarkers::kCount;

// Pattern ids: the start-of-page markers are withdrawn together by theirs.
constexpr uint16_t kIdMarker = 1;
constexpr uint16_t kIdStartOfPage = 10;
constexpr uint16_t kIdEndOfPage = 11;

// The engine whose results stand in JavaScript arrays rather than in HTML.
const char kArrayResultsEngine[] = "iWon Web Sites";
const char kArrayEntry[] = "new Array('";
const char kArraySeparator[] = "', '";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The text from first to last, last excluded.
CLibString Cut(const char* text, int first, int last) {
  return last > first ? CLibString(text + first, text + last - 1) : CLibString();
}

// An array item without the blanks and quotes around it.
CLibString TrimItem(const CLibString& item) {
  const char* first = item.c_str();
  const char* last = first + strlen(first);
  auto trimmed = [](char c) { return IsSpace(c) || c == '"' || c == '\''; };
  while (first < last && trimmed(*first)) ++first;
  while (last > first && trimmed(last[-1])) --last;
  return Cut(first, 0, static_cast<int>(last - first));
}

// A pattern list fed one page, that passes quickly over the bytes that can make no difference:
// while no marker is part way matched, a byte that begins none of them changes nothing. Most of
// a page is text between markers, so most bytes are passed by one table look-up.
class CMarkerFeed {
 public:
  CMarkerFeed(CPatternList::Callback callback, void* context) : m_list(callback, context) {
    m_firstBytes[0] = 1;  // the terminating NUL stops every skip
  }

  void Arm(const CLibString& marker, uint16_t id, uint16_t* flag) {
    const char* text = marker.c_str();
    if (!*text) return;
    if (m_list.AddPattern(id, text, 0, flag) == CPatternList::kDone)
      m_firstBytes[static_cast<unsigned char>(*text)] = 1;
  }

  void Withdraw(uint16_t id) {
    while (m_list.RemovePattern(id) == CPatternList::kDone) {
    }
    memset(m_firstBytes, 0, sizeof m_firstBytes);
    m_firstBytes[0] = 1;
    for (CListNode* node = m_list.Patterns().Head(); node; node = node->Next())
      m_firstBytes[static_cast<CPattern*>(node->Payload())->bytes[0]] = 1;
  }

  void Feed(unsigned char byte) {
    m_list.Feed(byte);
    m_partial = false;
    for (CListNode* node = m_list.Patterns().Head(); node; node = node->Next())
      if (static_cast<CPattern*>(node->Payload())->matched > 0) {
        m_partial = true;
        break;
      }
  }

  // The first position from pos on whose byte may change anything (the NUL at the latest).
  int NextCandidate(const char* page, int pos) const {
    if (m_partial) return pos;
    while (!m_firstBytes[static_cast<unsigned char>(page[pos])]) ++pos;
    return pos;
  }

 private:
  CPatternList m_list;
  unsigned char m_firstBytes[256] = {};
  bool m_partial = false;
};

}  // namespace

int CResultPageScanner::Scan() {
  CMarkerFeed feed(&CResultPageScanner::OnMatch, this);
  bool anyStartOfPage = false;
  for (const CLibString& marker : m_markers.startOfPage) {
    feed.Arm(marker, kIdStartOfPage, &m_flags[kStartOfPage]);
    anyStartOfPage = anyStartOfPage || marker.GetLength() > 0;
  }
  // Without a start-of-page marker the results may begin at the first character.
  if (!anyStartOfPage) m_flags[kStartOfPage] = kIdStartOfPage;
  feed.Arm("<a", kIdMarker, &m_flags[kLink]);
  feed.Arm("<A", kIdMarker, &m_flags[kLink]);
  m_arrays = m_engine.GetName() == kArrayResultsEngine;
  if (m_arrays) {
    feed.Arm(m_markers.arrays[1], kIdMarker, &m_flags[kArrayTitles]);
    feed.Arm(m_markers.arrays[4], kIdMarker, &m_flags[kArrayEnd]);
    for (int i : {0, 2, 3}) feed.Arm(m_markers.arrays[i], kIdMarker, &m_flags[kArrayOther]);
  }
  m_nextLength[0] = m_markers.next[0].GetLength();
  m_nextLength[1] = m_markers.next[1].GetLength();

  for (m_pos = 0;; ++m_pos) {
    if (m_flags[kEndOfPage] || m_engine.IsAborted()) break;
    if (m_flags[kStartOfPage]) {
      // The results begin: from here on the block, end and next-page markers count.
      m_flags[kStartOfPage] = 0;
      feed.Withdraw(kIdStartOfPage);
      for (const CLibString& marker : m_markers.endOfPage)
        feed.Arm(marker, kIdEndOfPage, &m_flags[kEndOfPage]);
      for (int i = 0; i < kMarkerCount; ++i) {
        feed.Arm(m_markers.start[i], kIdMarker, &m_flags[kStart1 + i]);
        feed.Arm(m_markers.stop[i], kIdMarker, &m_flags[kStop1 + i]);
      }
      feed.Arm(m_markers.next[0], kIdMarker, &m_flags[kNext1]);
      feed.Arm(m_markers.next[1], kIdMarker, &m_flags[kNext2]);
    }
    if (IsQuiet()) m_pos = feed.NextCandidate(m_page, m_pos);
    unsigned char byte = static_cast<unsigned char>(m_page[m_pos]);
    if (!byte) break;
    feed.Feed(byte);
    TakeLinkOpening();
    if (m_arrays) ReadArrays();
    TakeNextLink();
    Step();
  }
  // A block still open where the results end is the last result of the page: dropping it would
  // lose that result and, where the next request counts the results, shift every later rank.
  if (!m_engine.IsAborted()) KeepOpenBlock();
  return m_blocks;
}

void CResultPageScanner::ScanForNextLink(const CLibString& next1, const CLibString& next2) {
  CMarkerFeed feed(&CResultPageScanner::OnMatch, this);
  memset(m_flags, 0, sizeof m_flags);
  m_lastLinkOpening = -1;
  feed.Arm(next1, kIdMarker, &m_flags[kNext1]);
  feed.Arm(next2, kIdMarker, &m_flags[kNext2]);
  feed.Arm("<a", kIdMarker, &m_flags[kLink]);
  feed.Arm("<A", kIdMarker, &m_flags[kLink]);
  // The markers as matched: a filled-in count is shorter or longer than its placeholder.
  m_nextLength[0] = next1.GetLength();
  m_nextLength[1] = next2.GetLength();
  for (m_pos = 0; !m_engine.m_nextLinkFound && !m_engine.IsAborted(); ++m_pos) {
    m_pos = feed.NextCandidate(m_page, m_pos);  // the flags are cleared on the byte that set them
    unsigned char byte = static_cast<unsigned char>(m_page[m_pos]);
    if (!byte) break;
    feed.Feed(byte);
    TakeLinkOpening();
    TakeNextLink();
  }
}

void CResultPageScanner::OnMatch(CPattern* pattern, void* context) {
  CResultPageScanner* self = static_cast<CResultPageScanner*>(context);
  int slot = static_cast<int>(pattern->target - self->m_flags);
  self->m_ends[slot] = self->m_pos;
  if (slot == kEndOfPage) {
    int first = self->m_pos - static_cast<int>(pattern->length) + 1;
    if (self->m_endOfPageStart < 0 || first < self->m_endOfPageStart)
      self->m_endOfPageStart = first;
  }
}

bool CResultPageScanner::AnyStart() const {
  for (int i = 0; i < kMarkerCount; ++i)
    if (m_flags[kStart1 + i]) return true;
  return false;
}

bool CResultPageScanner::AnyStop() const {
  for (int i = 0; i < kMarkerCount; ++i)
    if (m_flags[kStop1 + i]) return true;
  return false;
}

void CResultPageScanner::ClearBlockFlags() {
  for (int i = 0; i < kMarkerCount; ++i) m_flags[kStart1 + i] = m_flags[kStop1 + i] = 0;
}

// Nothing waits on the current byte: no flag set, no block closing.
bool CResultPageScanner::IsQuiet() const {
  if (m_state == 2) return false;
  for (uint16_t flag : m_flags)
    if (flag) return false;
  return true;
}

void CResultPageScanner::TakeLinkOpening() {
  if (!m_flags[kLink]) return;
  m_flags[kLink] = 0;
  // An anchor, not "<abbr>" or "<address>": a next-page marker is looked for in links only.
  char after = m_page[m_pos + 1];
  if (IsSpace(after) || after == '>') m_lastLinkOpening = m_pos - 1;
}

void CResultPageScanner::TakeNextLink() {
  if (!m_flags[kNext1] && !m_flags[kNext2]) return;
  m_engine.TakeNextPageLink(m_pos, m_lastLinkOpening, m_flags[kNext1] != 0, m_flags[kNext2] != 0,
                            m_nextLength[0], m_nextLength[1]);
  m_flags[kNext1] = m_flags[kNext2] = 0;
}

// Where a block opened by the start markers now set begins: after them, or at the first of them
// whose block includes its marker.
int CResultPageScanner::BlockBegin(int after) const {
  for (int i = 0; i < kMarkerCount; ++i)
    if (m_flags[kStart1 + i] && m_markers.include[i])
      return m_ends[kStart1 + i] - m_markers.startLength[i] + 1;
  return after;
}

int CResultPageScanner::ContentBegin(int after) const {
  for (int i = 0; i < kMarkerCount; ++i)
    if (m_flags[kStart1 + i]) return m_ends[kStart1 + i] + 1;
  return after;
}

// The block state machine, once per byte.
void CResultPageScanner::Step() {
  switch (m_state) {
    case 0:
      if (AnyStart()) {
        m_blockStart = BlockBegin(m_pos + 1);
        m_contentStart = ContentBegin(m_pos + 1);
        ClearBlockFlags();
        m_state = 1;
      } else {
        ClearBlockFlags();  // a stop marker outside a block closes nothing
      }
      break;
    case 1:
      if (AnyStart() || AnyStop()) m_state = 2;  // closed at the next byte
      break;
    default:
      Close();
      break;
  }
}

// On the byte after a closing marker: the block ends before a start marker that closed it, else
// here (the stop marker in it) or before a stop marker that is stripped.
void CResultPageScanner::Close() {
  int end = -1;
  bool byStart = false;
  for (int i = 0; i < kMarkerCount && end < 0; ++i)
    if (m_flags[kStart1 + i]) {
      end = m_ends[kStart1 + i] - m_markers.startLength[i] + 1;
      byStart = true;
    }
  if (end < 0) {
    end = m_pos;
    for (int i = 0; i < kMarkerCount; ++i)
      if (m_flags[kStop1 + i] && m_markers.strip[i]) {
        end = m_ends[kStop1 + i] - m_markers.stopLength[i] + 1;
        break;
      }
  }
  if (end <= m_blockStart) {  // nothing in it: wait for the next marker, flags kept
    m_state = 1;
    return;
  }
  Emit(m_blockStart, end);
  if (byStart) {
    m_blockStart = BlockBegin(m_pos);
    m_contentStart = ContentBegin(m_pos);
    m_state = 1;
  } else {
    m_blockStart = -1;
    m_state = 0;
  }
  ClearBlockFlags();
}

// The scan ended at the end of the results or of the page: a block closing on the last byte is
// closed, and one still open ends where the results end, unless nothing but its start marker is
// in it or its stop marker already closed it empty.
void CResultPageScanner::KeepOpenBlock() {
  if (m_blockStart < 0) return;
  if (m_state == 2) Close();
  if (m_state != 1 || AnyStop()) return;
  int limit = m_flags[kEndOfPage] ? m_endOfPageStart : m_pos;
  if (limit > m_contentStart) Emit(m_blockStart, limit);
}

void CResultPageScanner::Emit(int first, int last) {
  CLibString block = m_markers.prepend;
  block += Cut(m_page, first, last);
  block += m_markers.append;
  ++m_blocks;
  m_engine.FollowResultLinks(block);
}

// From the titles marker to the end-of-array marker each "new Array('number', 'address',
// 'title', 'abstract' ...)" is one result.
void CResultPageScanner::ReadArrays() {
  m_flags[kArrayOther] = 0;
  if (m_flags[kArrayTitles]) {
    m_flags[kArrayTitles] = 0;
    m_arrayStart = m_pos;
  }
  if (!m_flags[kArrayEnd]) return;
  m_flags[kArrayEnd] = 0;
  if (m_arrayStart < 0) return;
  int arrayEnd = m_pos - m_markers.arrays[4].GetLength() + 1;
  // Looked for inside the array only: an array without a quote must not send each end marker
  // through the rest of the page.
  const char* quote =
      arrayEnd > m_arrayStart
          ? static_cast<const char*>(
                memchr(m_page + m_arrayStart, '\'', static_cast<size_t>(arrayEnd - m_arrayStart)))
          : nullptr;
  m_arrayStart = -1;
  if (!quote) return;
  CLibString text = Cut(m_page, static_cast<int>(quote - m_page), arrayEnd) + ",";
  const char* p = text.c_str();
  for (;;) {
    const char* next = strstr(p, kArrayEntry);
    EmitArrayEntry(Cut(p, 0, static_cast<int>(next ? next - p : strlen(p))));
    if (!next || m_engine.IsAborted()) break;
    p = next + strlen(kArrayEntry);
  }
}

void CResultPageScanner::EmitArrayEntry(const CLibString& chunk) {
  CLibString items[4];
  const char* p = chunk.c_str();
  for (int i = 0; i < 4 && p; ++i) {
    const char* separator = strstr(p, kArraySeparator);
    items[i] = TrimItem(Cut(p, 0, static_cast<int>(separator ? separator - p : strlen(p))));
    p = separator ? separator + strlen(kArraySeparator) : nullptr;
  }
  const CLibString& address = items[1];
  if (address.GetLength() == 0) return;  // the text around the entries, not a result
  CLibString block = "<a href=\"" + address + "\">" + items[2] + "</a><br>" + items[3] + "<br><i>" +
                     address + "</i>";
  ++m_blocks;
  m_engine.FollowResultLinks(block);
}
