#include "foundation/core/PatternList.h"

#include <cstring>
#include <new>

CPatternList::~CPatternList() {
  for (CListNode* node = m_patterns.Head(); node; node = node->Next())
    DeletePattern(static_cast<CPattern*>(node->Payload()));
}

void CPatternList::DeletePattern(CPattern* pattern) {
  if (!pattern) return;
  delete[] pattern->bytes;
  delete[] pattern->fallback;
  delete pattern;
}

int CPatternList::AddPattern(uint16_t id, const void* bytes, size_t length, uint16_t* target) {
  if (!bytes) return kNoBytes;
  if (length == 0) length = strlen(static_cast<const char*>(bytes));
  if (length == 0) return kNoBytes;

  CPattern* pattern = new (std::nothrow) CPattern;
  if (!pattern) return kNoMemory;
  pattern->id = id;
  pattern->target = target;
  pattern->length = length;
  pattern->bytes = new (std::nothrow) unsigned char[length];
  pattern->fallback = new (std::nothrow) size_t[length + 1];
  CListNode* node = new (std::nothrow) CListNode(pattern);
  if (!pattern->bytes || !pattern->fallback || !node) {
    DeletePattern(pattern);
    delete node;
    return kNoMemory;
  }
  memcpy(pattern->bytes, bytes, length);

  // fallback[k]: the longest proper prefix of the pattern that is also a suffix of its first k
  // bytes. After a mismatch the match goes on from there, so an occurrence that begins inside an
  // abandoned partial match ("abc" in "ababc") is still found.
  size_t* fb = pattern->fallback;
  fb[0] = fb[1] = 0;
  for (size_t k = 1, j = 0; k < length; ++k) {
    while (j > 0 && pattern->bytes[k] != pattern->bytes[j]) j = fb[j];
    if (pattern->bytes[k] == pattern->bytes[j]) ++j;
    fb[k + 1] = j;
  }
  m_patterns.Append(node);
  return kDone;
}

int CPatternList::RemovePattern(uint16_t id) {
  for (CListNode* node = m_patterns.Head(); node; node = node->Next()) {
    CPattern* pattern = static_cast<CPattern*>(node->Payload());
    if (pattern->id == id) {
      m_patterns.Remove(node, true);
      DeletePattern(pattern);
      return kDone;
    }
  }
  return kUnknownId;
}

int CPatternList::Feed(unsigned char byte) {
  int completed = 0;
  for (CListNode* node = m_patterns.Head(); node; node = node->Next()) {
    CPattern* p = static_cast<CPattern*>(node->Payload());
    if (!p->active) continue;
    while (p->matched > 0 && p->bytes[p->matched] != byte) p->matched = p->fallback[p->matched];
    if (p->bytes[p->matched] == byte) ++p->matched;
    if (p->matched < p->length) continue;

    // Completed: the next occurrence starts afresh, so occurrences never overlap.
    p->matched = 0;
    ++completed;
    if (p->target) {
      *p->target = p->id;
    } else if (m_result) {
      *m_result = p->id;
    }
    if (m_callback) m_callback(p, m_context);
    OnMatch(p, m_context);
  }
  return completed;
}
