// Import of a web page's title, description and keywords: the dialog, its controls and texts.
#pragma once

#define IDD_IMPORT_PROPERTIES 340
#define IDC_IMPORT_URL 1202       // the page's address
#define IDC_IMPORT_START 1203     // starts the fetch
#define IDC_IMPORT_STATUS 1204    // what the fetch is doing
#define IDS_IMPORT_TERMS_CAPTION 109  // the dialog's caption when the search-term list opens it
#define IDS_IMPORT_NO_KEYWORDS 110    // the page gave no keywords to add as search terms
#define IDS_IMPORT_READING 207        // status while the page is fetched
#define IDS_IMPORT_FAILED 208         // the page could not be fetched
