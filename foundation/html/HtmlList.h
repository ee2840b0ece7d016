// CHtmlList and CHtmlListItem: bulleted (UL) and numbered (OL) lists, which hold only items and
// nested lists.
#pragma once

#include "foundation/html/HtmlContainer.h"

class CHtmlList : public CHtmlContainer {
 public:
  enum Kind { kBulleted = 1, kNumbered = 2 };
  // Type codes of SetType: "1", "A", "a", "I", "i", "DISC", "CIRCLE", "SQUARE".
  enum Type {
    kNumbers = 1,
    kUpperLetters,
    kLowerLetters,
    kUpperRoman,
    kLowerRoman,
    kDisc,
    kCircle,
    kSquare
  };

  // UL for kind 1, OL for any other.
  explicit CHtmlList(int kind = kBulleted);
  CHtmlElement* Clone() const override;
  // Items and nested lists go in as they are; anything else is wrapped in a new item.
  CHtmlElement* AddOwned(CHtmlElement* element) override;

  // COMPACT is a bare word; clearing it removes it.
  void SetCompact(bool compact);
  void SetType(int code);

  // The "TYPE" value of a type code; empty for an unknown code.
  static CLibString TypeText(int code);
};

class CHtmlListItem : public CHtmlContainer {
 public:
  CHtmlListItem() : CHtmlContainer("LI") {}
  explicit CHtmlListItem(const CHtmlElement& child) : CHtmlListItem() { Add(child); }
  CHtmlElement* Clone() const override;

  void SetType(int code) { SetAttribute("TYPE", CHtmlList::TypeText(code)); }
};
