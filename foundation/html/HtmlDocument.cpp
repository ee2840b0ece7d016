#include "foundation/html/HtmlDocument.h"

#include <memory>
#include <new>
#include <ostream>

#include "foundation/cgi/CgiCookies.h"
#include "foundation/cgi/CgiEnvironment.h"

// Head and body

CHtmlHead::CHtmlHead() : CHtmlContainer("HEAD") {
  m_title.SetTag("TITLE", true);
  AddFixedPart(1, &m_title);
}

CHtmlHead::CHtmlHead(const CHtmlHead& other) : CHtmlContainer(other), m_title(other.m_title) {
  AddFixedPart(1, &m_title);
}

CHtmlElement* CHtmlHead::Clone() const {
  return new (std::nothrow) CHtmlHead(*this);
}

void CHtmlHead::WriteContents(std::ostream& os) const {
  if (*m_title.GetText().c_str()) {
    m_title.Write(os);
    os << '\n';
  }
  CHtmlContainer::WriteContents(os);
}

CHtmlElement* CHtmlBody::Clone() const {
  return new (std::nothrow) CHtmlBody(*this);
}

// Page

CHtmlDocument::CHtmlDocument(int fileMode) : CHtmlElement("HTML", true), m_fileMode(fileMode) {
  RegisterParts();
}

CHtmlDocument::CHtmlDocument(const CHtmlDocument& other)
    : CHtmlElement(other),
      m_fileMode(other.m_fileMode),
      m_head(other.m_head),
      m_body(other.m_body),
      m_framePart(other.m_framePart),
      m_prolog(other.m_prolog),
      m_noHtmlTags(other.m_noHtmlTags),
      m_noHead(other.m_noHead),
      m_frames(other.m_frames) {
  RegisterParts();
}

void CHtmlDocument::RegisterParts() {
  AddFixedPart(1, &m_head);
  AddFixedPart(2, &m_body);
  AddFixedPart(3, &m_framePart);
}

CHtmlElement* CHtmlDocument::Clone() const {
  return new (std::nothrow) CHtmlDocument(*this);
}

void CHtmlDocument::ReplaceSection(CHtmlContainer& section, const CHtmlElement& source) {
  // Through a copy: the source may be the section itself or lie inside it.
  std::unique_ptr<CHtmlElement> copy(source.Clone());
  if (!copy) return;
  section.SetAttributes(copy->GetAttributes());
  section.RemoveAll();
  if (const auto* children = dynamic_cast<const CHtmlContainer*>(copy.get()))
    for (unsigned i = 0; i < children->GetChildCount(); ++i) section.Add(*children->GetChild(i));
}

CHtmlDocument& CHtmlDocument::operator<<(const CHtmlElement& element) {
  if (element.HasTag("FRAMESET")) {
    m_framePart.Add(element);
    m_frames = 1;
  } else if (element.HasTag("BODY")) {
    ReplaceSection(m_body, element);
  } else if (element.HasTag("HEAD")) {
    ReplaceSection(m_head, element);
  } else {
    m_body.Add(element);
  }
  return *this;
}

void CHtmlDocument::Write(std::ostream& os) const {
  if (!m_fileMode) os << "Content-Type: text/html\n";
  if (m_environment) m_environment->GetCookies().WriteCookies(os);
  if (const char* prolog = m_prolog.c_str(); *prolog) {
    os << prolog;
    if (prolog[m_prolog.GetLength() - 1] != '\n') os << '\n';
  }
  os << '\n';
  if (!m_noHtmlTags) {
    WriteOpenTag(os);
    os << '\n';
  }
  if (!m_noHead) m_head.Write(os);
  m_framePart.Write(os);
  if (!m_frames) m_body.Write(os);
  if (!m_noHtmlTags) WriteCloseTag(os);
}
