// The support mail about engines that no longer work: the site, the search terms and the
// selected engines with their last ranks, to the maker's support addresses.
#pragma once
#include <windows.h>

#include "framework/core/String.h"

class CZubrinDoc;

#define ZBPRO_SUPPORT_ADDRESS "support@orvandel-labs.example"
#define ZBPRO_SUPPORT_COPY "engines@orvandel-labs.example"
#define ZBPRO_SUPPORT_SUBJECT "Zubrin Support Request - Broken Engines"

// The mail's text: the site, the current search term, every search term, then one line per
// selected row of the engine list (name, rank, page, position and status columns).
CString SupportMailBody(const CZubrinDoc& doc, HWND engineList);
