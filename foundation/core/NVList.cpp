#include "foundation/core/NVList.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <ostream>

namespace {
const int kHeaderSize = 17;              // "%08ld %08ld"
const long kMaxRecordLength = 99999999;  // the most that eight digits can say
}  // namespace

void CNVItem::Dump(std::ostream& os) const {
  os << "[" << m_name << "] = " << m_value << "\n";
}

CNVList& CNVList::operator=(const CNVList& other) {
  if (this != &other) Copy(other);
  return *this;
}

CNVList::~CNVList() {
  RemoveAll();
  delete[] m_stack;
}

void CNVList::DeleteSubtree(AVLNode* node) {
  if (!node) return;
  DeleteSubtree(node->m_left);
  DeleteSubtree(node->m_right);
  delete node->m_item;
  delete node;
}

void CNVList::RemoveAll() {
  DeleteSubtree(m_root);
  m_root = nullptr;
  m_count = 0;
  m_top = -1;
}

void CNVList::Copy(const CNVList& other) {
  if (this == &other) return;
  RemoveAll();
  Merge(other);
}

void CNVList::SetAt(const CLibString& name, const CLibString& value) {
  (*this)[name] = value;
}

CLibString& CNVList::operator[](const CLibString& name) {
  if (AVLItem* found = Find(name)) return static_cast<CNVItem*>(found)->m_value;
  CNVItem* item = new (std::nothrow) CNVItem(name, CLibString());
  if (item && Insert(item)) return item->m_value;
  delete item;
  // Out of memory: hand out a scratch value so the caller's assignment goes nowhere. One per
  // thread, held through a plain pointer: a thread_local object with a destructor is freed
  // before its destructor runs at thread exit with the Windows toolchain's runtime.
  static thread_local CLibString* scratch = nullptr;
  static CLibString shared;  // when not even the scratch value can be had
  if (!scratch) scratch = new (std::nothrow) CLibString;
  CLibString& target = scratch ? *scratch : shared;
  target = "";
  return target;
}

CLibString CNVList::GetValue(const CLibString& name) const {
  AVLItem* found = Find(name);
  return found ? static_cast<CNVItem*>(found)->m_value : CLibString();
}

bool CNVList::GetValue(const CLibString& name, CLibString& value) const {
  AVLItem* found = Find(name);
  value = found ? static_cast<CNVItem*>(found)->m_value : CLibString();
  return found != nullptr;
}

int CNVList::GetInt(const CLibString& name) const {
  return GetValue(name).ToInt();
}

void CNVList::PushLeftChain(AVLNode* node) {
  for (; node && m_top + 1 < kStackSize; node = node->m_left) m_stack[++m_top] = node;
}

CNVItem* CNVList::Step(bool restart) {
  if (!m_stack && !(m_stack = new (std::nothrow) AVLNode*[kStackSize])) return nullptr;
  if (restart) {
    m_top = -1;
    PushLeftChain(m_root);
  } else if (m_top >= 0) {
    AVLNode* last = m_stack[m_top--];
    PushLeftChain(last->m_right);
  }
  return m_top >= 0 ? static_cast<CNVItem*>(m_stack[m_top]->m_item) : nullptr;
}

bool CNVList::GetNext(CLibString& name, CLibString& value, bool restart) {
  CNVItem* item = Step(restart);
  name = item ? item->m_name : CLibString();
  value = item ? item->m_value : CLibString();
  return item != nullptr;
}

bool CNVList::GetNextName(CLibString& name, const CLibString& previous) {
  CNVItem* item = Step(previous.GetLength() == 0);
  name = item ? item->m_name : CLibString();
  return item != nullptr;
}

void CNVList::Merge(const CNVList& other) {
  if (this == &other) return;
  other.ForEach([this](const CNVItem& item) { SetAt(item.m_name, item.m_value); });
}

void CNVList::Subtract(const CNVList& other) {
  if (this == &other) {
    RemoveAll();
    return;
  }
  other.ForEach([this](const CNVItem& item) { delete Remove(item.m_name); });
  m_top = -1;
}

CNVList operator-(const CNVList& a, const CNVList& b) {
  CNVList result(a);
  result.Subtract(b);
  return result;
}

bool CNVList::Save(const char* path) const {
  if (!path || !*path) return false;
  FILE* f = fopen(path, "wb");
  if (!f) return false;
  bool ok = true;
  ForEach([&](const CNVItem& item) {
    long nameLen = item.m_name.GetLength(), valueLen = item.m_value.GetLength();
    if (!ok || nameLen > kMaxRecordLength || valueLen > kMaxRecordLength) {
      ok = false;  // a record the header cannot describe would corrupt the file
      return;
    }
    ok = fprintf(f, "%08ld %08ld", nameLen, valueLen) == kHeaderSize &&
         fwrite(item.m_name.c_str(), 1, nameLen, f) == static_cast<size_t>(nameLen) &&
         fwrite(item.m_value.c_str(), 1, valueLen, f) == static_cast<size_t>(valueLen);
  });
  ok = fclose(f) == 0 && ok;
  return ok;
}

namespace {

// One record length of a header: blanks, then digits only, within what eight digits can say.
bool ParseLength(const char*& p, long& length) {
  while (*p == ' ') ++p;
  if (*p < '0' || *p > '9') return false;
  length = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    length = length * 10 + (*p - '0');
    if (length > kMaxRecordLength) return false;
  }
  return true;
}

}  // namespace

bool CNVList::Load(const char* path) {
  if (!path || !*path) return false;
  RemoveAll();
  FILE* f = fopen(path, "rb");
  if (!f) return false;
  fseek(f, 0, SEEK_END);
  long remaining = ftell(f);
  fseek(f, 0, SEEK_SET);

  bool ok = true;
  size_t bufferSize = 4096;
  char* buffer = static_cast<char*>(malloc(bufferSize + 1));
  char header[kHeaderSize + 1];
  while (buffer) {
    size_t got = fread(header, 1, kHeaderSize, f);
    if (got == 0) break;  // the end of the file, between records
    header[got] = '\0';
    remaining -= kHeaderSize;
    const char* p = header;
    long nameLen, valueLen;
    // The lengths come from the file: they must be well-formed and fit in what is left of it.
    if (got < static_cast<size_t>(kHeaderSize) || !ParseLength(p, nameLen) ||
        !ParseLength(p, valueLen) || *p != '\0' || nameLen + valueLen > remaining) {
      ok = false;
      break;
    }
    size_t need = static_cast<size_t>(nameLen > valueLen ? nameLen : valueLen);
    if (need > bufferSize) {
      char* bigger = static_cast<char*>(realloc(buffer, need + 1));
      if (!bigger) {
        ok = false;
        break;
      }
      buffer = bigger;
      bufferSize = need;
    }
    if (fread(buffer, 1, nameLen, f) != static_cast<size_t>(nameLen)) {
      ok = false;
      break;
    }
    CLibString name(buffer, buffer + nameLen - 1);
    if (fread(buffer, 1, valueLen, f) != static_cast<size_t>(valueLen)) {
      ok = false;
      break;
    }
    SetAt(name, CLibString(buffer, buffer + valueLen - 1));
    remaining -= nameLen + valueLen;
  }
  if (!buffer) ok = false;
  free(buffer);
  fclose(f);
  return ok;
}
