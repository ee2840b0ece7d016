// Ids of the toolkit's owner-drawn menus: where the recently used commands are kept.
#pragma once

// The profile section of the recently used commands and the format of its entry names (one
// number, 1 for the most recent).
#define IDS_TK_MENU_USAGE_SECTION 4539
#define IDS_TK_MENU_USAGE_ENTRY 4540
