// The country of a country-code top-level domain, by name in the user's language where the
// language module has the names, else in English.
#pragma once
#include <windows.h>

#include "framework/core/String.h"

struct CountryRow {
  const char* code;  // two letters, lower case
  const char* englishName;
  UINT stringId;  // the name in the language module's string table
};

// The table ordered by code; count receives its number of rows.
const CountryRow* GetCountryTable(int& count);

// The display name of a code (either case); empty for a code the table does not hold.
CString GetCountryName(const char* code);
