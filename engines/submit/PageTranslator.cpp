#include "engines/submit/PageTranslator.h"

#include <cstring>
#include <string>

#include "foundation/cgi/CgiEnvironment.h"
#include "foundation/core/PatternList.h"
#include "foundation/net/Url.h"

namespace {

constexpr int kTranslatorRedirectLimit = 8;
const char kDefaultService[] = "http://babelfish.zbpro.example";
const char kLanguageCodes[] = "ENU FRA DEU ESM ITA PTB";

struct LanguagePairName {
  const char* source;
  const char* target;
  const char* pair;
};

const LanguagePairName kPairs[] = {
    {"ENU", "FRA", "en_fr"}, {"ENU", "DEU", "en_de"}, {"ENU", "ITA", "en_it"},
    {"ENU", "PTB", "en_pt"}, {"ENU", "ESM", "en_es"}, {"FRA", "ENU", "fr_en"},
    {"FRA", "DEU", "fr_de"}, {"DEU", "ENU", "de_en"}, {"DEU", "FRA", "de_fr"},
    {"ITA", "ENU", "it_en"}, {"PTB", "ENU", "pt_en"}, {"ESM", "ENU", "es_en"},
};

// Markers of the service's answer page: the translation stands in the element whose style ends
// in "padding:10px;", up to the end of that division or table cell.
const char kStartMarker[] = "ing:10px;";
const char kDivisionEnd[] = "</div>";
const char kCellEnd[] = "</td>";
constexpr uint16_t kIdStart = 1;
constexpr uint16_t kIdEnd = 2;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

CLibString TrimBlanks(const CLibString& text) {
  const char* first = text.c_str();
  const char* last = first + text.GetLength();
  while (first < last && IsBlank(*first)) ++first;
  while (last > first && IsBlank(last[-1])) --last;
  return last > first ? CLibString(first, last - 1) : CLibString();
}

// The service answers in UTF-8; the program's texts are Latin-1. Only the two-byte forms of the
// Latin-1 letters (lead bytes C0 to C3) are folded; every other byte stays as it is.
CLibString FoldLatin1(const CLibString& text) {
  std::string out;  // built by length: the answer may run to the end of a large page
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text.c_str());
  for (; *p; ++p) {
    if (p[0] >= 0xC0 && p[0] <= 0xC3 && p[1] >= 0x80) {
      out += static_cast<char>(((p[0] & 0x03) << 6) | (p[1] & 0x3F));
      ++p;
    } else {
      out += static_cast<char>(*p);
    }
  }
  return CLibString(out.c_str());
}

}  // namespace

CTranslator::CTranslator()
    : CSockHttpClient(kTranslatorRedirectLimit), m_service(kDefaultService) {}

CTranslator::~CTranslator() = default;

bool CTranslator::SetLanguage(CLibString& field, const CLibString& code) {
  CLibString upper = code.Upper();
  // Whole codes only: "NU F" occurs in the list too.
  if (upper.GetLength() != 3 || upper.FindChar(' ') > 0 ||
      CLibString(kLanguageCodes).Find(upper) == 0)
    return false;
  field = upper;
  return true;
}

bool CTranslator::SetSourceLanguage(const CLibString& code) {
  return SetLanguage(m_sourceLanguage, code);
}

bool CTranslator::SetTargetLanguage(const CLibString& code) {
  return SetLanguage(m_targetLanguage, code);
}

CLibString CTranslator::LanguagePair(const CLibString& source, const CLibString& target) {
  for (const LanguagePairName& entry : kPairs)
    if (source == entry.source && target == entry.target) return entry.pair;
  return CLibString();
}

void CTranslator::SetServiceHeaders() {
  CUrl service(m_service);
  CLibString host = service.GetHost();
  if (service.GetPort() != 0 && service.GetPort() != 80)
    host += ":" + CLibString(service.GetPort());
  SetRequestHeader("Host", host);
  SetRequestHeader("Connection", "close");
}

CLibString CTranslator::Translate() {
  m_result = m_text;
  if (m_sourceLanguage.GetLength() == 0 || m_targetLanguage.GetLength() == 0 ||
      m_text.GetLength() == 0)
    return m_result;

  SetServiceHeaders();
  GetPage(m_service + "/");
  if (GetStatus() != 200) return m_result;

  CCgiEnvironment form;
  form.SetAt("doit", "done");
  form.SetAt("tt", "urltext");
  form.SetAt("intl", "1");
  form.SetAt("urltext", m_text);
  form.SetAt("lp", LanguagePair(m_sourceLanguage, m_targetLanguage));
  form.SetAt("Submit", "Translate");
  SetServiceHeaders();
  CLibString answer = PostPage(m_service + "/babelfish/tr?" + form.BuildQuery());
  if (GetStatus() != 200) return m_result;

  CLibString translated = TrimBlanks(ExtractTranslation(answer));
  if (translated.GetLength() > 0) m_result = translated;
  return m_result;
}

CLibString CTranslator::ExtractTranslation(const CLibString& page) {
  uint16_t startSeen = 0;
  uint16_t endSeen = 0;
  CPatternList patterns;
  patterns.AddPattern(kIdStart, kStartMarker, 0, &startSeen);
  const char* text = page.c_str();
  const char* p = text;
  for (; *p && !startSeen; ++p) patterns.Feed(static_cast<unsigned char>(*p));
  if (!startSeen) return CLibString();
  const char* open = strchr(p, '>');
  if (!open) return CLibString();

  patterns.AddPattern(kIdEnd, kDivisionEnd, 0, &endSeen);
  patterns.AddPattern(kIdEnd, kCellEnd, 0, &endSeen);
  const char* first = open + 1;
  const char* q = first;
  for (; *q && !endSeen; ++q) patterns.Feed(static_cast<unsigned char>(*q));
  // Without a closing tag the translation runs to the end of the page.
  const char* end = q;
  if (endSeen) {
    // q is one past the tag's last byte; the two closing tags have the same length.
    end = q - (sizeof kDivisionEnd - 1);
  }
  // Line ends read as blanks, in one pass.
  std::string cut(first, end > first ? end : first);
  for (char& c : cut)
    if (c == '\r' || c == '\n') c = ' ';
  return FoldLatin1(TrimBlanks(CLibString(cut.c_str())));
}
