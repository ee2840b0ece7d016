// The tag classes of the reports: image, font, paragraph, bold, centre, links and named anchors,
// image map and table caption. Texts given to their constructors are data and print escaped;
// markup goes in as an element (CHtmlString with its escape flag cleared, CHtmlTextElement).
#pragma once

#include "foundation/html/HtmlContainer.h"

class CHtmlImage : public CHtmlElement {
 public:
  // The alternative text is set only when it is not empty.
  explicit CHtmlImage(const CLibString& source, const CLibString& alt = CLibString());
  CHtmlElement* Clone() const override;

  void SetBorder(int border) { SetNumberAttribute("BORDER", border); }
  // Codes 1 to 4 set ALIGN, 5 to 9 VALIGN; any other an empty ALIGN.
  void SetAlign(int code);
};

class CHtmlFont : public CHtmlContainer {
 public:
  // Leaves out FACE when the face is empty, SIZE when the size is 0 and COLOR for kNoColor.
  explicit CHtmlFont(const CLibString& face = CLibString(), int size = 0, uint32_t color = kNoColor,
                     bool relativeSize = true);
  // The same for a face the program spells out (most fonts of a report share one).
  explicit CHtmlFont(const char* face, int size = 0, uint32_t color = kNoColor,
                     bool relativeSize = true);
  CHtmlElement* Clone() const override;

  void SetFace(const CLibString& face) { SetAttribute("FACE", face); }
  void SetFace(const char* face) { SetAttribute("FACE", face); }
  // Absolute: 0 stores an empty SIZE, others are limited to 1..7. Relative: limited to -7..7
  // and written with its sign ("+2", "-3"); 0 stores nothing.
  void SetSize(int size, bool relative = true);
  void SetColor(uint32_t color) { SetColorAttribute("COLOR", color); }
  // Replaces all children by the one given.
  void SetContent(const CHtmlElement& element);
  void SetContent(const CLibString& text);
};

class CHtmlParagraph : public CHtmlContainer {
 public:
  explicit CHtmlParagraph(int align = 0);
  CHtmlElement* Clone() const override;
};

class CHtmlBold : public CHtmlContainer {
 public:
  CHtmlBold() : CHtmlContainer("B") {}
  explicit CHtmlBold(const CLibString& text) : CHtmlBold() { AddText(text); }
  explicit CHtmlBold(const CHtmlElement& child) : CHtmlBold() { Add(child); }
  CHtmlElement* Clone() const override;
};

class CHtmlCenter : public CHtmlContainer {
 public:
  CHtmlCenter() : CHtmlContainer("CENTER") {}
  explicit CHtmlCenter(const CHtmlElement& child) : CHtmlCenter() { Add(child); }
  CHtmlElement* Clone() const override;
};

// A link: HREF is the link, followed by "#" and the local anchor when there is one.
class CHtmlAnchor : public CHtmlContainer {
 public:
  CHtmlAnchor(const CLibString& link, const CLibString& text,
              const CLibString& localAnchor = CLibString(),
              const CLibString& target = CLibString());
  CHtmlAnchor(const CLibString& link, const CHtmlElement& child,
              const CLibString& localAnchor = CLibString(),
              const CLibString& target = CLibString());
  CHtmlElement* Clone() const override;

  void SetUrl(const CLibString& link, const CLibString& localAnchor = CLibString());
  void SetTarget(const CLibString& target) { SetAttribute("TARGET", target); }
};

// The target of a local link: <A NAME="...">.
class CHtmlNamedAnchor : public CHtmlContainer {
 public:
  explicit CHtmlNamedAnchor(const CLibString& name);
  CHtmlElement* Clone() const override;
};

// A client-side image map; it prints nothing until it has an area.
class CHtmlMap : public CHtmlContainer {
 public:
  explicit CHtmlMap(const CLibString& name = CLibString());
  CHtmlElement* Clone() const override;

  CHtmlElement* AddArea(const CLibString& shape, const CLibString& coords, const CLibString& link,
                        const CLibString& alt = CLibString());
};

class CHtmlCaption : public CHtmlContainer {
 public:
  explicit CHtmlCaption(const CLibString& text = CLibString()) : CHtmlContainer("CAPTION") {
    AddText(text);
  }
  CHtmlElement* Clone() const override;
};
