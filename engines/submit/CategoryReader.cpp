// CSearchEngine: reading a directory's categories. The user walks the directory's category pages
// in the submission dialogs; each call lists one level (from the categories file for the top
// level, else from the category page) and tells whether the page offers adding a site there.
#include "engines/submit/CategoryReader.h"

#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "engines/db/EngineList.h"
#include "engines/parse/LinkParser.h"
#include "engines/parse/PageAddress.h"
#include "engines/query/PageCache.h"
#include "engines/query/RequestGeneration.h"
#include "engines/db/SearchEngine.h"
#include "engines/parse/TagAttributes.h"
#include "foundation/core/PatternList.h"
#include "foundation/net/Url.h"

namespace {

// ---- sign-in record ----

std::mutex& SignInLock() {
  static std::mutex lock;
  return lock;
}

std::map<std::string, std::string>& SignIns() {
  static std::map<std::string, std::string> signIns;
  return signIns;
}

// ---- category page scanner ----

constexpr uint16_t kIdMarker = 1;
constexpr uint16_t kIdStartOfPage = 10;
constexpr uint16_t kIdEndOfPage = 11;

// The category markers of one engine, placeholders filled in.
struct CCategoryMarkers {
  CLibString startOfPage;
  CLibString endOfPage[2];
  CLibString start[2];
  CLibString stop[2];
  bool include[2] = {};
  bool strip[2] = {};
  CLibString addUrlLink;
};

// One pass over a category page: category blocks, each naming one category by its link, and the
// link that adds a site in this category.
class CCategoryScanner {
 public:
  CCategoryScanner(CSearchEngine& engine, const CCategoryMarkers& markers, const char* page,
                   CNVList& list)
      : m_engine(engine), m_markers(markers), m_page(page), m_list(list) {}

  // Returns the add-URL link's href that the scan saw, or empty.
  CLibString Scan();

 private:
  enum Slot {
    kStartOfPage,
    kEndOfPage,
    kStart1,
    kStart2,
    kStop1,
    kStop2,
    kLinkOpen,
    kLinkClose,
    kAddUrl,
    kSlotCount
  };

  static void OnMatch(CPattern* pattern, void* context);
  void Arm(const CLibString& marker, uint16_t id, Slot slot);
  void ReadLinks(unsigned char byte);
  void Step();
  void Close();
  int BlockBegin(int after) const;
  void TakeCategory(int first, int last);
  bool AnyStart() const { return m_flags[kStart1] || m_flags[kStart2]; }
  bool AnyStop() const { return m_flags[kStop1] || m_flags[kStop2]; }
  void ClearBlockFlags() {
    m_flags[kStart1] = m_flags[kStart2] = m_flags[kStop1] = m_flags[kStop2] = 0;
  }

  CSearchEngine& m_engine;
  const CCategoryMarkers& m_markers;
  const char* m_page;
  CNVList& m_list;
  CPatternList m_patterns{&CCategoryScanner::OnMatch, this};
  uint16_t m_flags[kSlotCount] = {};
  int m_ends[kSlotCount] = {};  // where each marker last ended
  int m_pos = 0;
  int m_state = 0;  // 0 outside a block, 1 in a block, 2 a closing marker seen
  int m_blockStart = -1;
  bool m_inLink = false;
  int m_linkStart = -1;  // the "<" of the current link
  // The current link, tag and text, without line ends; built by length, as a link that is never
  // closed runs to the end of the page.
  std::string m_linkText;
  bool m_linkTagClosed = false;  // its tag's ">" has been read
  bool m_linkHrefRead = false;   // its address has been looked at for the add-URL request
  size_t m_length = 0;           // of the page, measured once
  CLibString m_request;
};

void CCategoryScanner::OnMatch(CPattern* pattern, void* context) {
  CCategoryScanner* self = static_cast<CCategoryScanner*>(context);
  self->m_ends[pattern->target - self->m_flags] = self->m_pos;
}

void CCategoryScanner::Arm(const CLibString& marker, uint16_t id, Slot slot) {
  if (marker.GetLength() > 0) m_patterns.AddPattern(id, marker.c_str(), 0, &m_flags[slot]);
}

CLibString CCategoryScanner::Scan() {
  Arm(m_markers.startOfPage, kIdStartOfPage, kStartOfPage);
  if (m_markers.startOfPage.GetLength() == 0) m_flags[kStartOfPage] = kIdStartOfPage;
  for (const char* opening : {"<a", "<A"}) Arm(opening, kIdMarker, kLinkOpen);
  for (const char* closing : {"</a>", "</A>"}) Arm(closing, kIdMarker, kLinkClose);
  Arm(m_markers.addUrlLink, kIdMarker, kAddUrl);
  m_length = strlen(m_page);

  for (m_pos = 0;; ++m_pos) {
    if (m_flags[kEndOfPage] || m_engine.IsAborted()) break;
    if (m_flags[kStartOfPage]) {
      // The categories begin: from here on the block and end markers count.
      m_flags[kStartOfPage] = 0;
      while (m_patterns.RemovePattern(kIdStartOfPage) == CPatternList::kDone) {
      }
      for (int i = 0; i < 2; ++i) {
        Arm(m_markers.endOfPage[i], kIdEndOfPage, kEndOfPage);
        Arm(m_markers.start[i], kIdMarker, static_cast<Slot>(kStart1 + i));
        Arm(m_markers.stop[i], kIdMarker, static_cast<Slot>(kStop1 + i));
      }
    }
    unsigned char byte = static_cast<unsigned char>(m_page[m_pos]);
    if (!byte) break;
    m_patterns.Feed(byte);
    ReadLinks(byte);
    Step();
  }
  // A block whose closing marker was the last text read is closed; one still open where the scan
  // ends is dropped, as its end is unknown.
  if (m_state == 2 && !m_engine.IsAborted()) Close();
  return m_request;
}

void CCategoryScanner::ReadLinks(unsigned char byte) {
  if (m_inLink && byte != '\r' && byte != '\n') {
    m_linkText += static_cast<char>(byte);
    if (byte == '>') m_linkTagClosed = true;
  }
  if (m_flags[kLinkOpen]) {
    m_flags[kLinkOpen] = 0;
    // An anchor, not "<abbr>" or "<address>".
    char after = m_page[m_pos + 1];
    if (after == ' ' || after == '\t' || after == '\r' || after == '\n' || after == '>') {
      m_inLink = true;
      m_linkStart = m_pos - 1;
      m_linkText.assign(m_page + m_pos - 1, 2);
      m_linkTagClosed = false;
      m_linkHrefRead = false;
    }
  }
  if (m_flags[kLinkClose]) {
    m_flags[kLinkClose] = 0;
    m_inLink = false;
  }
  if (m_flags[kAddUrl]) {
    m_flags[kAddUrl] = 0;
    // Only the link the text stands in: outside any link the last link seen is some other one.
    // Seen inside the tag itself, the address is not complete yet; the search by address after
    // the scan finds that link.
    if (m_request.GetLength() == 0 && m_inLink && m_linkTagClosed && !m_linkHrefRead) {
      // A link's address is read once, from its tag: a link that is never closed grows with the
      // page, and the text may stand in it many times.
      m_linkHrefRead = true;
      size_t tagEnd = FindTagEnd(m_page, m_length, static_cast<size_t>(m_linkStart));
      CLibString href = ExtractHref(CLibString(m_page + m_linkStart, m_page + tagEnd));
      if (IsWebAddress(href)) m_request = href;
    }
  }
}

// The same three states as the result parser's blocks.
void CCategoryScanner::Step() {
  switch (m_state) {
    case 0:
      if (AnyStart()) {
        m_blockStart = BlockBegin(m_pos + 1);
        m_state = 1;
      }
      ClearBlockFlags();
      break;
    case 1:
      if (AnyStart() || AnyStop()) m_state = 2;  // closed at the next byte
      break;
    default:
      Close();
      break;
  }
}

int CCategoryScanner::BlockBegin(int after) const {
  for (int i = 0; i < 2; ++i)
    if (m_flags[kStart1 + i] && m_markers.include[i])
      return m_ends[kStart1 + i] - m_markers.start[i].GetLength() + 1;
  return after;
}

void CCategoryScanner::Close() {
  int end = -1;
  bool byStart = false;
  for (int i = 0; i < 2 && end < 0; ++i)
    if (m_flags[kStart1 + i]) {
      end = m_ends[kStart1 + i] - m_markers.start[i].GetLength() + 1;
      byStart = true;
    }
  if (end < 0) {
    end = m_pos;
    for (int i = 0; i < 2; ++i)
      if (m_flags[kStop1 + i] && m_markers.strip[i]) {
        end = m_ends[kStop1 + i] - m_markers.stop[i].GetLength() + 1;
        break;
      }
  }
  if (end <= m_blockStart) {  // nothing in it: wait for the next marker, flags kept
    m_state = 1;
    return;
  }
  TakeCategory(m_blockStart, end);
  if (byStart) {
    m_blockStart = BlockBegin(m_pos);
    m_state = 1;
  } else {
    m_blockStart = -1;
    m_state = 0;
  }
  ClearBlockFlags();
}

// A block names the category of the link in it; a block without a link of its own names none.
void CCategoryScanner::TakeCategory(int first, int last) {
  if (m_linkStart < first || m_linkStart >= last) return;
  CLibString href, text;
  SplitLinkText(m_linkText.c_str(), href, text);
  // A mail or script link names no category page.
  if (href.GetLength() == 0 || text.GetLength() == 0 || !IsWebAddress(href)) return;
  CUrl address = m_engine.GetCurrentUrl();
  address.Parse(href);
  m_list.SetAt(text, address.GetUrl());
}

// The href of the first anchor of the page whose address holds the text. A tag that is never
// closed ends where the next one begins.
CLibString FindLinkByAddress(const CLibString& page, const CLibString& text) {
  const char* start = page.c_str();
  const size_t length = strlen(start);
  const char* p = start;
  while ((p = strchr(p, '<')) != nullptr) {
    if ((p[1] == 'a' || p[1] == 'A') &&
        (p[2] == ' ' || p[2] == '\t' || p[2] == '\r' || p[2] == '\n')) {
      size_t end = FindTagEnd(start, length, static_cast<size_t>(p - start));
      CLibString href = ExtractHref(CLibString(p, start + end));
      if (href.Find(text) > 0 && IsWebAddress(href)) return href;
    }
    ++p;
  }
  return CLibString();
}

}  // namespace

CLibString GetCategorySignIn(const CLibString& engineName) {
  std::lock_guard<std::mutex> guard(SignInLock());
  auto found = SignIns().find(engineName.c_str());
  return found == SignIns().end() ? CLibString() : CLibString(found->second.c_str());
}

void SetCategorySignIn(const CLibString& engineName, const CLibString& request) {
  std::lock_guard<std::mutex> guard(SignInLock());
  SignIns()[engineName.c_str()] = request.c_str();
}

void ClearCategorySignIns() {
  std::lock_guard<std::mutex> guard(SignInLock());
  SignIns().clear();
}

int CSearchEngine::CategoryDrillDown(const CLibString& address, CNVList& list, int32_t& addUrlFound,
                                     const CNVList& profile) {
  list.RemoveAll();
  addUrlFound = 0;
  if (GetKeyInt(".categorydrilldown") != 1) return 0;

  // A directory that shows its categories to members only: sign in once per distinct sign-in
  // request, and again next time when the answer did not say it worked.
  CLibString signIn = GetKey(".categorysignin");
  if (signIn.GetLength() > 0) {
    FillFormFields(this, profile, signIn, 1);
    CLibString url, method;
    SplitRequest(signIn, &url, &method);
    if (url != GetCategorySignIn(m_name)) {
      CLibString answer;
      SendForm(answer, url, method.c_str(), CLibString());
      CLibString success = GetKey(".categorysigninsuccess");
      if (success.GetLength() > 0 && answer.Find(success) > 0) SetCategorySignIn(m_name, url);
    }
  }

  if (address.GetLength() == 0) {
    CLibString section = m_name.Upper();
    section.Replace(" ", "_");
    section += "_CATEGORY";
    CEngineList::LoadCategoriesFile(nullptr, nullptr, list, section);
    return static_cast<int>(list.GetCount());
  }

  CLibString page = FetchPageCached(*this, address);
  if (page.GetLength() == 0) return 0;
  CLibString request;
  ReadCategoryPage(page, list, request);
  if (request.GetLength() == 0) return static_cast<int>(list.GetCount());
  CLibString supported = GetKey(".categoryaddurlsupported");
  if (supported.GetLength() == 0) {
    addUrlFound = 1;
  } else {
    // The add page is only looked at; the category page stays the base of what follows.
    CUrl last = GetCurrentUrl();
    CUrl target = last;
    target.Parse(request);
    CLibString addPage = FetchPageCached(*this, target.GetUrl());
    SetCurrentUrl(last);
    addUrlFound = addPage.Find(supported) > 0 ? 1 : 0;
  }
  return static_cast<int>(list.GetCount());
}

int CSearchEngine::ReadCategoryPage(const CLibString& page, CNVList& list, CLibString& request) {
  request = CLibString();
  CCategoryMarkers markers;
  markers.startOfPage = GetKey(".categorystartofpage");
  SubstitutePlaceholders(markers.startOfPage, true);
  for (int i = 0; i < 2; ++i) {
    CLibString n(i + 1);
    markers.endOfPage[i] = GetKey((".categoryendofpage" + n).c_str());
    markers.start[i] = GetKey((".categoryhlinkstartmarker" + n).c_str());
    markers.stop[i] = GetKey((".categoryhlinkstopmarker" + n).c_str());
    SubstitutePlaceholders(markers.endOfPage[i], true);
    SubstitutePlaceholders(markers.start[i], true);
    SubstitutePlaceholders(markers.stop[i], true);
    markers.include[i] = GetKeyInt((".categoryhlinkincludestart" + n).c_str()) != 0;
    markers.strip[i] = GetKeyInt((".categoryhlinkstripstop" + n).c_str()) != 0;
  }
  markers.addUrlLink = GetKey(".categoryaddurllink");
  if (markers.addUrlLink.FindChar('#') > 0) SubstitutePlaceholders(markers.addUrlLink, true);

  CCategoryScanner scanner(*this, markers, page.c_str(), list);
  request = scanner.Scan();
  if (request.GetLength() == 0 && markers.addUrlLink.GetLength() > 0)
    request = FindLinkByAddress(page, markers.addUrlLink);
  return static_cast<int>(list.GetCount());
}
