// CHtmlElement: one node of the HTML element tree that the reports are built from and printed in
// one pass, and the leaf kinds: a text run, a text element, the line break and rule, a form field.
//
// Data and markup: attribute values are always data and are printed escaped (&, <, >, "), so a
// site name or a result title cannot break out of its attribute. Text is data when it goes in
// through AddText or a CHtmlString with its escape flag set (the default); it is markup, printed
// as it stands, when it goes in through AddHtml, a CHtmlString with the flag cleared, or a
// CHtmlTextElement. Only text that the program composes as HTML on purpose should take the
// markup road.
#pragma once

#include <atomic>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "foundation/html/HtmlPool.h"
#include "foundation/core/LibString.h"
#include "foundation/core/LinkedList.h"
#include "foundation/core/NVList.h"

class CCgiEnvironment;

class CHtmlElement {
 public:
  // Alignment codes of SetAlign (1-4) and SetVAlign (5-9).
  enum Align {
    kLeft = 1,
    kCenter = 2,
    kRight = 3,
    kJustify = 4,
    kTop = 5,
    kTextTop = 6,
    kMiddle = 7,
    kBottom = 8,
    kBaseline = 9
  };
  // Colours are 0xRRGGBB; this one means "no colour" and stores an empty attribute.
  static constexpr uint32_t kNoColor = 0xFF000000u;

  CHtmlElement();
  CHtmlElement(const CLibString& tag, bool withClosing);
  CHtmlElement(const char* tag, bool withClosing);
  // Copies tag, names, attributes and the environment pointer; the copy has no parent. Fixed
  // parts are members of the derived class, which registers its own.
  CHtmlElement(const CHtmlElement& other);
  CHtmlElement& operator=(const CHtmlElement&) = delete;

  virtual ~CHtmlElement();

  // Elements live in the HTML pool; the destructor is virtual, so deleting through the base
  // gives back the size of the element's own class.
  static void* operator new(size_t size);
  static void* operator new(size_t size, const std::nothrow_t&) noexcept;
  static void operator delete(void* element, size_t size) noexcept;
  // The descendant whose element name is name (with directOnly, among the direct ones only).
  virtual CHtmlElement* FindByName(const CLibString& name, bool directOnly) const;
  virtual CLibString ToText() const;
  // Replaces every descendant so named by a copy of element; returns how many were replaced.
  virtual int ReplaceByName(const CLibString& name, const CHtmlElement& element, bool directOnly);
  // A new heap copy with attributes and children; null when memory runs out.
  virtual CHtmlElement* Clone() const;
  virtual void Write(std::ostream& os) const;

  void SetAttribute(const CLibString& name, const CLibString& value);
  void SetAttribute(const CLibString& name, int value);
  // The same for names and values the program spells out, without a string object each.
  void SetAttribute(const char* name, const CLibString& value);
  void SetAttribute(const char* name, const char* value);
  void SetAttribute(const char* name, int value);
  void SetAttributeEmpty(const CLibString& name);
  CLibString GetAttribute(const CLibString& name) const;
  void RemoveAttribute(const CLibString& name);
  // A name/value list of the attributes as they are now; later changes to the element are not
  // seen in it until it is asked for again.
  const CNVList& GetAttributes() const;
  void SetAttributes(const CNVList& attributes);
  // The shared setter rules: a negative number, or kNoColor, stores an empty attribute.
  void SetNumberAttribute(const CLibString& name, int value);
  void SetColorAttribute(const CLibString& name, uint32_t color);
  void SetNumberAttribute(const char* name, int value);
  void SetColorAttribute(const char* name, uint32_t color);
  // The text, or the text and "%" for a percentage; an empty text stores an empty attribute.
  void SetWidthAttribute(const CLibString& name, const CLibString& width, bool percent);

  void SetTag(const CLibString& tag, bool withClosing);
  void SetTag(const char* tag, bool withClosing);
  const CLibString& GetTag() const { return *m_tag; }
  const CLibString& GetClosingTag() const;
  void SetAlign(int code);
  void SetVAlign(int code);

  // The element name is an identifier for FindByName and ReplaceByName; it is never printed.
  void SetName(const CLibString& name) { m_name = name; }
  const CLibString& GetName() const { return m_name; }
  CHtmlElement* GetParent() const { return m_parent; }
  void SetParent(CHtmlElement* parent) { m_parent = parent; }
  // The form-values environment; it counts on the root of a tree only.
  void SetEnvironment(CCgiEnvironment* environment) { m_environment = environment; }
  CCgiEnvironment* GetEnvironment() const { return m_environment; }

  static CLibString ColorText(uint32_t color);
  // Whether the tag is the given name, in any letter case.
  bool HasTag(const char* tag) const;

  // Children of a container; a leaf has none.
  virtual unsigned GetChildCount() const { return 0; }

  static long GetConstructedCount() { return s_constructed.load(); }
  static long GetAliveCount() { return s_alive.load(); }

 protected:
  // What stands between the opening and the closing tag.
  virtual void WriteContents(std::ostream&) const {}
  void WriteOpenTag(std::ostream& os) const;
  void WriteCloseTag(std::ostream& os) const;
  // Fixed parts are member elements of the derived class (the page's head and body, the head's
  // title), registered by slot so that finding, replacing and form values reach into them.
  void AddFixedPart(uint32_t slot, CHtmlElement* part);

  CCgiEnvironment* m_environment = nullptr;
  // The tags the program uses all the time are shared by every element that has them; any other
  // is the element's own, in m_ownTag.
  const CLibString* m_tag;
  CLibString m_ownTag;
  CLibString m_name;
  CHtmlElement* m_parent = nullptr;
  CPairList m_fixedParts;

 private:
  // Attributes in ascending name order (byte-wise), the order they are printed in. Plain
  // strings in one array: an element costs no allocation per attribute for the short names and
  // values that make up nearly all of them, where a name/value list costs several.
  using PoolString = std::basic_string<char, std::char_traits<char>, CHtmlPool::Allocator<char>>;
  struct Attribute {
    PoolString name;
    PoolString value;
  };

  const CHtmlElement* Root() const;
  void PutAttribute(const char* name, const char* value);
  const Attribute* FindAttribute(const char* name) const;
  void WriteAttributes(std::ostream& os) const;

  std::vector<Attribute, CHtmlPool::Allocator<Attribute>> m_attributes;
  // Made only when GetAttributes asks for it.
  mutable std::unique_ptr<CNVList> m_attributeList;
  bool m_closing = false;
  // How the tag places line ends (see LayoutOf), worked out when the tag is set.
  uint8_t m_layout = 0;

  static std::atomic<long> s_constructed;
  static std::atomic<long> s_alive;
};

// A run of text with no tag of its own (the page title gives it one). Escaped by default; with
// the flag cleared the text is markup and is printed as it stands.
class CHtmlString : public CHtmlElement {
 public:
  explicit CHtmlString(const CLibString& text = CLibString(), int16_t escape = 1)
      : m_text(text), m_escape(escape) {}
  CHtmlElement* Clone() const override;

  void SetText(const CLibString& text) { m_text = text; }
  const CLibString& GetText() const { return m_text; }
  void SetEscape(int16_t escape) { m_escape = escape; }
  int16_t GetEscape() const { return m_escape; }

  // The text-escaping rule: in a run of blanks all but the last become "&nbsp;"; ", &, < and >
  // become their entities.
  static CLibString Escape(const CLibString& text);
  static void WriteEscaped(std::ostream& os, const char* text);

 protected:
  void WriteContents(std::ostream& os) const override;

 private:
  CLibString m_text;
  int16_t m_escape;
};

// An element whose text is markup, printed unchanged between its tags (the user's own header and
// footer HTML, for example).
class CHtmlTextElement : public CHtmlElement {
 public:
  explicit CHtmlTextElement(const CLibString& text = CLibString(),
                            const CLibString& tag = CLibString());
  CHtmlElement* Clone() const override;

  void SetText(const CLibString& text) { m_text = text; }
  const CLibString& GetText() const { return m_text; }

 protected:
  void WriteContents(std::ostream& os) const override;

 private:
  CLibString m_text;
};

// A tag without closing tag or contents, followed by a line end: the line break by default.
class CHtmlTagElement : public CHtmlElement {
 public:
  explicit CHtmlTagElement(const CLibString& tag = "BR") : CHtmlElement(tag, false) {}
  CHtmlElement* Clone() const override;
};

class CHtmlRule : public CHtmlTagElement {
 public:
  CHtmlRule() : CHtmlTagElement("HR") {}
  CHtmlElement* Clone() const override;
};

// A form field. Its opening tag takes its VALUE from the page's form-values environment, as any
// element with a NAME does; a HIDDEN one has the value encoded with the environment's coder.
class CHtmlInput : public CHtmlElement {
 public:
  CHtmlInput(const CLibString& type = CLibString(), const CLibString& name = CLibString(),
             const CLibString& value = CLibString());
  CHtmlElement* Clone() const override;
};
