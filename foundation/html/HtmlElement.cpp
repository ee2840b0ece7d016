#include "foundation/html/HtmlElement.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <new>
#include <ostream>
#include <sstream>

#include "foundation/cgi/CgiEnvironment.h"

std::atomic<long> CHtmlElement::s_constructed{0};
std::atomic<long> CHtmlElement::s_alive{0};

namespace {

// Letters folded the way toupper folds them in the "C" locale: only a to z.
char UpperAscii(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualNoCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (UpperAscii(*a) != UpperAscii(*b)) return false;
  return *a == *b;
}

// Where an element's tag puts line ends: after the whole element (BR, HR, P, rows, cells, lists
// and items); after the opening and the closing tag (TABLE); after the opening tag, before the
// closing one and after it (BODY, HEAD); after a MAP, which prints nothing when it is empty.
enum class Layout { kInline, kLineAfter, kTable, kSection, kMap };

Layout LayoutOf(const char* text) {
  static const struct {
    const char* tag;
    Layout layout;
  } kLayouts[] = {
      {"BR", Layout::kLineAfter}, {"HR", Layout::kLineAfter}, {"P", Layout::kLineAfter},
      {"TR", Layout::kLineAfter}, {"TD", Layout::kLineAfter}, {"TH", Layout::kLineAfter},
      {"OL", Layout::kLineAfter}, {"UL", Layout::kLineAfter}, {"LI", Layout::kLineAfter},
      {"TABLE", Layout::kTable},  {"BODY", Layout::kSection}, {"HEAD", Layout::kSection},
      {"MAP", Layout::kMap},
  };
  if (!*text) return Layout::kInline;
  for (const auto& entry : kLayouts)
    if (EqualNoCase(text, entry.tag)) return entry.layout;
  return Layout::kInline;
}

// Text with the four characters that could end an attribute value or open a tag written as
// entities; with keepBlankRuns, a blank followed by another blank becomes &nbsp; so that runs of
// blanks survive in page text. Everything else is copied in runs.
void WriteWithEntities(std::ostream& os, const char* text, size_t length, bool keepBlankRuns) {
  const char* run = text;
  const char* end = text + length;
  for (const char* p = text; p < end; ++p) {
    const char* entity;
    switch (*p) {
      case ' ':
        if (!keepBlankRuns || p + 1 >= end || p[1] != ' ') continue;
        entity = "&nbsp;";
        break;
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        entity = "&quot;";
        break;
      default:
        continue;
    }
    os.write(run, p - run);
    os.write(entity, static_cast<std::streamsize>(strlen(entity)));
    run = p + 1;
  }
  os.write(run, end - run);
}

// An attribute value between double quotes.
void WriteAttributeValue(std::ostream& os, const char* text, size_t length) {
  WriteWithEntities(os, text, length, false);
}

template <class String>
size_t TrimmedLength(const String& value) {
  size_t length = value.size();
  while (length > 0 && value[length - 1] == ' ') --length;
  return length;
}

void WriteColor(char* text, size_t size, uint32_t color) {
  // Only the 24 colour bits: a stray high byte would make a seven-digit, invalid colour.
  snprintf(text, size, "#%06lx", static_cast<unsigned long>(color & 0xFFFFFFu));
}

void WriteText(std::ostream& os, const char* text) {
  os.write(text, static_cast<std::streamsize>(strlen(text)));
}

// The shared text of a tag spelled as the program spells its own, else null.
const CLibString* SharedTag(const char* tag) {
  static const char* const kTags[] = {
      "",     "A",     "AREA", "B",     "BODY",  "BR",    "CAPTION", "CENTER", "FONT",
      "HEAD", "HR",    "HTML", "IMG",   "INPUT", "LI",    "MAP",     "OL",     "P",
      "TABLE", "TD",   "TH",   "TITLE", "TR",    "UL",    "FRAMESET"};
  constexpr size_t kCount = sizeof kTags / sizeof kTags[0];
  // Made once and never freed: elements in static storage may outlive any ordinary static.
  static const CLibString* const texts = [] {
    CLibString* made = new CLibString[kCount];
    for (size_t i = 0; i < kCount; ++i) made[i] = kTags[i];
    return made;
  }();
  for (size_t i = 0; i < kCount; ++i)
    if (kTags[i][0] == tag[0] && strcmp(kTags[i], tag) == 0) return &texts[i];
  return nullptr;
}

CHtmlElement* PartOf(const CListNode* node) {
  return reinterpret_cast<CHtmlElement*>(CPairList::PairOf(node)->value);
}

}  // namespace

CHtmlElement::CHtmlElement() : m_tag(SharedTag("")) {
  ++s_constructed;
  ++s_alive;
}

CHtmlElement::CHtmlElement(const CLibString& tag, bool withClosing) {
  ++s_constructed;
  ++s_alive;
  SetTag(tag, withClosing);
}

CHtmlElement::CHtmlElement(const char* tag, bool withClosing) {
  ++s_constructed;
  ++s_alive;
  SetTag(tag, withClosing);
}

CHtmlElement::CHtmlElement(const CHtmlElement& other)
    : m_environment(other.m_environment),
      m_tag(other.m_tag),
      m_ownTag(other.m_ownTag),
      m_name(other.m_name),
      m_attributes(other.m_attributes),
      m_closing(other.m_closing),
      m_layout(other.m_layout) {
  if (other.m_tag == &other.m_ownTag) m_tag = &m_ownTag;
  ++s_constructed;
  ++s_alive;
}

CHtmlElement::~CHtmlElement() {
  --s_alive;
}

void* CHtmlElement::operator new(size_t size) {
  void* element = CHtmlPool::Allocate(size);
  if (!element) throw std::bad_alloc();
  return element;
}

void* CHtmlElement::operator new(size_t size, const std::nothrow_t&) noexcept {
  return CHtmlPool::Allocate(size);
}

void CHtmlElement::operator delete(void* element, size_t size) noexcept {
  CHtmlPool::Free(element, size);
}

CHtmlElement* CHtmlElement::FindByName(const CLibString& name, bool directOnly) const {
  for (const CListNode* node = m_fixedParts.Head(); node; node = node->Next()) {
    CHtmlElement* part = PartOf(node);
    if (part->m_name == name) return part;
    if (!directOnly)
      if (CHtmlElement* found = part->FindByName(name, false)) return found;
  }
  return nullptr;
}

CLibString CHtmlElement::ToText() const {
  // Printed into a stream first: appending piece by piece to a CLibString would measure the
  // whole text again at every piece.
  std::ostringstream os;
  Write(os);
  return CLibString(os.str().c_str());
}

int CHtmlElement::ReplaceByName(const CLibString& name, const CHtmlElement& element,
                                bool directOnly) {
  // Fixed parts are members held by value: they are searched, never replaced themselves.
  int replaced = 0;
  if (directOnly) return 0;
  for (const CListNode* node = m_fixedParts.Head(); node; node = node->Next())
    replaced += PartOf(node)->ReplaceByName(name, element, false);
  return replaced;
}

CHtmlElement* CHtmlElement::Clone() const {
  return new (std::nothrow) CHtmlElement(*this);
}

void CHtmlElement::Write(std::ostream& os) const {
  Layout layout = static_cast<Layout>(m_layout);
  if (layout == Layout::kMap && GetChildCount() == 0) return;
  bool hasTag = *m_tag->c_str() != '\0';
  WriteOpenTag(os);
  if (hasTag && (layout == Layout::kTable || layout == Layout::kSection)) os << '\n';
  WriteContents(os);
  if (layout == Layout::kSection) os << '\n';
  WriteCloseTag(os);
  if (layout != Layout::kInline) os << '\n';
}

const CHtmlElement* CHtmlElement::Root() const {
  const CHtmlElement* root = this;
  while (root->m_parent) root = root->m_parent;
  return root;
}

void CHtmlElement::WriteOpenTag(std::ostream& os) const {
  if (!*m_tag->c_str()) return;
  os.put('<');
  WriteText(os, m_tag->c_str());

  // A field named in the page's form-values environment shows the environment's value.
  CLibString formValue;
  bool useForm = false;
  if (const CCgiEnvironment* environment = Root()->m_environment) {
    CLibString field = GetAttribute("NAME");
    if (*field.c_str() && environment->GetValue(field, formValue) && *formValue.c_str()) {
      useForm = true;
      if (HasTag("INPUT") && EqualNoCase(GetAttribute("TYPE").c_str(), "HIDDEN")) {
        int length = formValue.GetLength();
        char* coded = environment->GetCoder().Encode(formValue.c_str(), length);
        // Without its coded form the value stays out: the plain text is what it protects.
        useForm = coded != nullptr;
        if (coded) {
          formValue = length > 0 ? CLibString(coded, coded + length - 1) : CLibString();
          FreeCoderBuffer(coded);
        }
      }
    }
  }

  bool valueWritten = false;
  for (const Attribute& item : m_attributes) {
    os.put(' ');
    os.write(item.name.data(), static_cast<std::streamsize>(item.name.size()));
    const char* value = item.value.c_str();
    size_t length;
    if (useForm && item.name == "VALUE") {
      value = formValue.c_str();
      length = strlen(value);
      valueWritten = true;
    } else {
      length = TrimmedLength(item.value);
    }
    if (length) {
      os.write("=\"", 2);
      WriteAttributeValue(os, value, length);
      os.put('"');
    }
  }
  if (useForm && !valueWritten) {
    os << " VALUE=\"";
    WriteAttributeValue(os, formValue.c_str(), strlen(formValue.c_str()));
    os << '"';
  }
  os.put('>');
}

void CHtmlElement::WriteCloseTag(std::ostream& os) const {
  if (!m_closing || !*m_tag->c_str()) return;
  os.write("</", 2);
  WriteText(os, m_tag->c_str());
  os.put('>');
}

const CLibString& CHtmlElement::GetClosingTag() const {
  static const CLibString kNone;
  return m_closing ? *m_tag : kNone;
}

void CHtmlElement::AddFixedPart(uint32_t slot, CHtmlElement* part) {
  part->m_parent = this;
  m_fixedParts.SetAt(slot, reinterpret_cast<uintptr_t>(part));
}

void CHtmlElement::SetAttribute(const CLibString& name, const CLibString& value) {
  PutAttribute(name.c_str(), value.c_str());
}

void CHtmlElement::SetAttribute(const CLibString& name, int value) {
  SetAttribute(name.c_str(), value);
}

void CHtmlElement::SetAttribute(const char* name, const CLibString& value) {
  PutAttribute(name, value.c_str());
}

void CHtmlElement::SetAttribute(const char* name, const char* value) {
  PutAttribute(name, value);
}

void CHtmlElement::SetAttribute(const char* name, int value) {
  char text[16];
  snprintf(text, sizeof text, "%d", value);
  PutAttribute(name, text);
}

void CHtmlElement::SetAttributeEmpty(const CLibString& name) {
  PutAttribute(name.c_str(), "");
}

CLibString CHtmlElement::GetAttribute(const CLibString& name) const {
  const Attribute* found = FindAttribute(name.c_str());
  return found ? CLibString(found->value.c_str()) : CLibString();
}

void CHtmlElement::RemoveAttribute(const CLibString& name) {
  if (const Attribute* found = FindAttribute(name.c_str()))
    m_attributes.erase(m_attributes.begin() + (found - m_attributes.data()));
}

const CNVList& CHtmlElement::GetAttributes() const {
  if (!m_attributeList) m_attributeList.reset(new (std::nothrow) CNVList);
  if (!m_attributeList) {
    static const CNVList kEmpty;
    return kEmpty;
  }
  m_attributeList->RemoveAll();
  for (const Attribute& item : m_attributes)
    m_attributeList->SetAt(item.name.c_str(), item.value.c_str());
  return *m_attributeList;
}

void CHtmlElement::SetAttributes(const CNVList& attributes) {
  // Replaces the attributes. The list may be this element's own GetAttributes, a copy apart.
  m_attributes.clear();
  attributes.ForEach(
      [this](const CNVItem& item) { PutAttribute(item.m_name.c_str(), item.m_value.c_str()); });
}

const CHtmlElement::Attribute* CHtmlElement::FindAttribute(const char* name) const {
  for (const Attribute& item : m_attributes)
    if (item.name == name) return &item;
  return nullptr;
}

void CHtmlElement::PutAttribute(const char* name, const char* value) {
  if (!*name) return;
  // A failed allocation leaves the attributes as they were, as the library's strings do.
  try {
    size_t at = 0;
    while (at < m_attributes.size() && strcmp(m_attributes[at].name.c_str(), name) < 0) ++at;
    if (at < m_attributes.size() && m_attributes[at].name == name) {
      m_attributes[at].value = value;
      return;
    }
    // Most elements get a few attributes: one allocation for them all.
    if (m_attributes.capacity() == 0) m_attributes.reserve(4);
    m_attributes.insert(m_attributes.begin() + static_cast<std::ptrdiff_t>(at),
                        Attribute{name, value});
  } catch (const std::bad_alloc&) {
  }
}

void CHtmlElement::SetNumberAttribute(const CLibString& name, int value) {
  SetNumberAttribute(name.c_str(), value);
}

void CHtmlElement::SetColorAttribute(const CLibString& name, uint32_t color) {
  SetColorAttribute(name.c_str(), color);
}

void CHtmlElement::SetNumberAttribute(const char* name, int value) {
  if (value < 0)
    PutAttribute(name, "");
  else
    SetAttribute(name, value);
}

void CHtmlElement::SetColorAttribute(const char* name, uint32_t color) {
  if (color == kNoColor) {
    PutAttribute(name, "");
    return;
  }
  char text[16];
  WriteColor(text, sizeof text, color);
  PutAttribute(name, text);
}

void CHtmlElement::SetWidthAttribute(const CLibString& name, const CLibString& width,
                                     bool percent) {
  if (!*width.c_str())
    SetAttributeEmpty(name);
  else
    SetAttribute(name, percent ? width + "%" : width);
}

void CHtmlElement::SetTag(const CLibString& tag, bool withClosing) {
  SetTag(tag.c_str(), withClosing);
}

void CHtmlElement::SetTag(const char* tag, bool withClosing) {
  if (const CLibString* shared = SharedTag(tag)) {
    m_tag = shared;
    m_ownTag = "";
  } else {
    // Through a copy: the text may be this element's own tag.
    m_ownTag = CLibString(tag);
    m_tag = &m_ownTag;
  }
  m_closing = withClosing;
  m_layout = static_cast<uint8_t>(LayoutOf(m_tag->c_str()));
}

void CHtmlElement::SetAlign(int code) {
  static const char* const kNames[] = {"LEFT", "CENTER", "RIGHT", "JUSTIFY"};
  SetAttribute("ALIGN", code >= kLeft && code <= kJustify ? kNames[code - kLeft] : "");
}

void CHtmlElement::SetVAlign(int code) {
  static const char* const kNames[] = {"TOP", "TEXTTOP", "MIDDLE", "BOTTOM", "BASELINE"};
  SetAttribute("VALIGN", code >= kTop && code <= kBaseline ? kNames[code - kTop] : "");
}

CLibString CHtmlElement::ColorText(uint32_t color) {
  char text[16];
  WriteColor(text, sizeof text, color);
  return CLibString(text);
}

bool CHtmlElement::HasTag(const char* tag) const {
  return EqualNoCase(m_tag->c_str(), tag);
}

// CHtmlString

CHtmlElement* CHtmlString::Clone() const {
  return new (std::nothrow) CHtmlString(*this);
}

void CHtmlString::WriteContents(std::ostream& os) const {
  if (m_escape)
    WriteEscaped(os, m_text.c_str());
  else
    os << m_text.c_str();
}

void CHtmlString::WriteEscaped(std::ostream& os, const char* text) {
  WriteWithEntities(os, text, strlen(text), true);
}

CLibString CHtmlString::Escape(const CLibString& text) {
  std::ostringstream os;
  WriteEscaped(os, text.c_str());
  return CLibString(os.str().c_str());
}

// CHtmlTextElement

CHtmlTextElement::CHtmlTextElement(const CLibString& text, const CLibString& tag) : m_text(text) {
  if (*tag.c_str()) SetTag(tag, true);
}

CHtmlElement* CHtmlTextElement::Clone() const {
  return new (std::nothrow) CHtmlTextElement(*this);
}

void CHtmlTextElement::WriteContents(std::ostream& os) const {
  os << m_text.c_str();
}

// Line break, rule and form field

CHtmlElement* CHtmlTagElement::Clone() const {
  return new (std::nothrow) CHtmlTagElement(*this);
}

CHtmlElement* CHtmlRule::Clone() const {
  return new (std::nothrow) CHtmlRule(*this);
}

CHtmlInput::CHtmlInput(const CLibString& type, const CLibString& name, const CLibString& value)
    : CHtmlElement("INPUT", false) {
  if (*type.c_str()) SetAttribute("TYPE", type);
  if (*name.c_str()) SetAttribute("NAME", name);
  if (*value.c_str()) SetAttribute("VALUE", value);
}

CHtmlElement* CHtmlInput::Clone() const {
  return new (std::nothrow) CHtmlInput(*this);
}
