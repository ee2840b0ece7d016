// Reading the attributes of one HTML tag the way a browser does: names are matched without regard
// to case, a value may be quoted with either quote (and then holds blanks and ">"), unquoted
// values end at white space or ">", and a name without "=" (such as "checked") is an attribute
// with an empty value.
#pragma once

#include <cstddef>

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"

// Where the tag that opens at start (its "<") ends: at its ">" outside quoted values (a value
// quoted after "=" may hold ">" and "<"). A tag that is never closed ends just before the next
// "<" outside quoted values, or with the text; a quote that is never closed counts as a plain
// character. So a page of unclosed tags is read in one pass, each tag up to the next one, rather
// than each to the end of the page. Returns the position of the tag's last character; closed,
// when given, tells whether that is its ">". The text must be at least start + 1 bytes long.
size_t FindTagEnd(const char* text, size_t length, size_t start, bool* closed = nullptr);

// The value of the first attribute of that name in a tag text ("<a href=x>"; the leading "<" may
// be missing), as written; empty when the tag ends first. The first word is the tag name.
CLibString GetTagAttribute(const CLibString& tag, const CLibString& name);

// Empties the list and fills it with lower-case name -> value for every attribute of the tag
// (a later attribute of the same name wins). Values lose blanks at both ends, line ends, and
// "&amp;" becomes "&". Returns the number of entries.
int ParseTagAttributes(const CLibString& tag, CNVList& attributes);

// Files one <input> tag of a form by its type: hidden fields into the hidden list, image buttons
// into the image list, check boxes and radio buttons into the visible list only when checked,
// every other named input into the visible list. An input without a name is not sent and is
// ignored.
void ClassifyInput(const CLibString& inputTag, CNVList& visible, CNVList& hidden, CNVList& image);
