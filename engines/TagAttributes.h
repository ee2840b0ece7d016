// Reading the attributes of one HTML tag the way a browser does: names are matched without regard
// to case, a value may be quoted with either quote (and then holds blanks and ">"), unquoted
// values end at white space or ">", and a name without "=" (such as "checked") is an attribute
// with an empty value.
#pragma once

#include "foundation/LibString.h"
#include "foundation/NVList.h"

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
