#include "foundation/html/HtmlTags.h"

#include <new>

// Image

CHtmlImage::CHtmlImage(const CLibString& source, const CLibString& alt)
    : CHtmlElement("IMG", false) {
  SetAttribute("SRC", source);
  if (*alt.c_str()) SetAttribute("ALT", alt);
}

CHtmlElement* CHtmlImage::Clone() const {
  return new (std::nothrow) CHtmlImage(*this);
}

void CHtmlImage::SetAlign(int code) {
  if (code >= kTop && code <= kBaseline)
    SetVAlign(code);
  else
    CHtmlElement::SetAlign(code);
}

// Font

CHtmlFont::CHtmlFont(const CLibString& face, int size, uint32_t color, bool relativeSize)
    : CHtmlFont(face.c_str(), size, color, relativeSize) {}

CHtmlFont::CHtmlFont(const char* face, int size, uint32_t color, bool relativeSize)
    : CHtmlContainer("FONT") {
  if (face && *face) SetFace(face);
  if (size != 0) SetSize(size, relativeSize);
  if (color != kNoColor) SetColor(color);
}

CHtmlElement* CHtmlFont::Clone() const {
  return new (std::nothrow) CHtmlFont(*this);
}

void CHtmlFont::SetSize(int size, bool relative) {
  if (!relative) {
    if (size == 0) {
      SetAttributeEmpty("SIZE");
      return;
    }
    SetAttribute("SIZE", size < 1 ? 1 : size > 7 ? 7 : size);
    return;
  }
  if (size == 0) return;
  size = size < -7 ? -7 : size > 7 ? 7 : size;
  SetAttribute("SIZE", CLibString().Format("%s%d", size > 0 ? "+" : "", size));
}

void CHtmlFont::SetContent(const CHtmlElement& element) {
  RemoveAll();
  Add(element);
}

void CHtmlFont::SetContent(const CLibString& text) {
  RemoveAll();
  AddText(text);
}

// Paragraph, bold, centre

CHtmlParagraph::CHtmlParagraph(int align) : CHtmlContainer("P") {
  if (align) SetAlign(align);
}

CHtmlElement* CHtmlParagraph::Clone() const {
  return new (std::nothrow) CHtmlParagraph(*this);
}

CHtmlElement* CHtmlBold::Clone() const {
  return new (std::nothrow) CHtmlBold(*this);
}

CHtmlElement* CHtmlCenter::Clone() const {
  return new (std::nothrow) CHtmlCenter(*this);
}

// Links

CHtmlAnchor::CHtmlAnchor(const CLibString& link, const CLibString& text,
                         const CLibString& localAnchor, const CLibString& target)
    : CHtmlContainer("A") {
  SetUrl(link, localAnchor);
  if (*target.c_str()) SetTarget(target);
  AddText(text);
}

CHtmlAnchor::CHtmlAnchor(const CLibString& link, const CHtmlElement& child,
                         const CLibString& localAnchor, const CLibString& target)
    : CHtmlContainer("A") {
  SetUrl(link, localAnchor);
  if (*target.c_str()) SetTarget(target);
  Add(child);
}

CHtmlElement* CHtmlAnchor::Clone() const {
  return new (std::nothrow) CHtmlAnchor(*this);
}

void CHtmlAnchor::SetUrl(const CLibString& link, const CLibString& localAnchor) {
  if (*localAnchor.c_str())
    SetAttribute("HREF", link + "#" + localAnchor);
  else
    SetAttribute("HREF", link);
}

CHtmlNamedAnchor::CHtmlNamedAnchor(const CLibString& name) : CHtmlContainer("A") {
  SetAttribute("NAME", name);
}

CHtmlElement* CHtmlNamedAnchor::Clone() const {
  return new (std::nothrow) CHtmlNamedAnchor(*this);
}

// Image map

CHtmlMap::CHtmlMap(const CLibString& name) : CHtmlContainer("MAP") {
  if (*name.c_str()) SetAttribute("NAME", name);
}

CHtmlElement* CHtmlMap::Clone() const {
  return new (std::nothrow) CHtmlMap(*this);
}

CHtmlElement* CHtmlMap::AddArea(const CLibString& shape, const CLibString& coords,
                                const CLibString& link, const CLibString& alt) {
  CHtmlElement* area = new (std::nothrow) CHtmlElement("AREA", false);
  if (!area) return nullptr;
  area->SetAttribute("SHAPE", shape);
  area->SetAttribute("COORDS", coords);
  area->SetAttribute("HREF", link);
  if (*alt.c_str()) area->SetAttribute("ALT", alt);
  return AddOwned(area);
}

// Caption

CHtmlElement* CHtmlCaption::Clone() const {
  return new (std::nothrow) CHtmlCaption(*this);
}
