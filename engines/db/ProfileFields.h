// The site-profile field table: the fixed submission fields that the document's site profile
// holds and the submission forms are filled from, general ones and those of single engines.
#pragma once

// One row: the owner is "Common" for a general field, else the display name of the one engine
// that needs it (Latin-1 text). Control types: "EDIT", "MULTIEDIT", "HIDDEN", "PICK",
// "DYNAPICK", "YESNO". The ids are strings of the language module.
struct SiteProfileField {
  const char* owner;
  const char* type;
  const char* key;
  unsigned labelId;
  unsigned helpId;
};

// The 75 rows, in their fixed order, followed by a row of nulls and zeros.
const SiteProfileField* GetProfileFieldNames();
// The number of rows before the closing empty one.
constexpr int kSiteProfileFieldCount = 75;
