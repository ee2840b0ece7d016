// CHtmlDocument: a whole page (head, body, frames), printed as a report file or, when not in
// file mode, as the output of a CGI program with its header lines. CHtmlHead and CHtmlBody are
// the page's two sections.
#pragma once

#include "foundation/html/HtmlContainer.h"

class CHtmlHead : public CHtmlContainer {
 public:
  CHtmlHead();
  CHtmlHead(const CHtmlHead& other);
  CHtmlElement* Clone() const override;

  // The title is data: it prints escaped.
  void SetTitle(const CLibString& title) { m_title.SetText(title); }
  const CLibString& GetTitle() const { return m_title.GetText(); }

 protected:
  // The title line, when there is a title, then the children.
  void WriteContents(std::ostream& os) const override;

 private:
  CHtmlString m_title;
};

class CHtmlBody : public CHtmlContainer {
 public:
  CHtmlBody() : CHtmlContainer("BODY") {}
  CHtmlElement* Clone() const override;

  void SetBgColor(uint32_t color) { SetColorAttribute("BGCOLOR", color); }
};

class CHtmlDocument : public CHtmlElement {
 public:
  // fileMode 0 prints the page as CGI output, headed by its Content-Type line.
  explicit CHtmlDocument(int fileMode = 1);
  CHtmlDocument(const CHtmlDocument& other);
  CHtmlElement* Clone() const override;
  void Write(std::ostream& os) const override;

  void SetTitle(const CLibString& title) { m_head.SetTitle(title); }
  void SetBodyColour(uint32_t color) { m_body.SetBgColor(color); }
  // A FRAMESET goes to the frame part (and the body is then left out); a BODY or a HEAD
  // replaces the attributes and children of the page's own; anything else is added to the body.
  CHtmlDocument& operator<<(const CHtmlElement& element);

  // Text printed before everything else (CGI header lines, a document type): markup.
  void SetProlog(const CLibString& prolog) { m_prolog = prolog; }
  void SetNoHtmlTags(bool on) { m_noHtmlTags = on; }
  void SetNoHead(bool on) { m_noHead = on; }
  void SetFrames(bool on) { m_frames = on; }

  CHtmlHead& GetHead() { return m_head; }
  CHtmlBody& GetBody() { return m_body; }
  CHtmlElementList& GetFramePart() { return m_framePart; }

 private:
  void RegisterParts();
  static void ReplaceSection(CHtmlContainer& section, const CHtmlElement& source);

  int m_fileMode;
  CHtmlHead m_head;
  CHtmlBody m_body;
  CHtmlElementList m_framePart;
  CLibString m_prolog;
  int m_noHtmlTags = 0;
  int m_noHead = 0;
  int m_frames = 0;
};
