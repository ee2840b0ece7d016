// Every string id that the programs load from the language module, kept beside resource.h so
// that a new load is listed where its id is defined. The language module test loads each one
// from the built module and fails for an id without its text. Country names are not listed:
// the program falls back to English names when the module lacks them.
#pragma once
#include "resources/resource.h"

struct LanguageStringId {
  unsigned id;
  const char* name;
  const char* placeholder;  // a marker the text must hold for the code to fill in, or null
};

inline constexpr LanguageStringId kLanguageStringIds[] = {
    {IDR_MAINFRAME, "IDR_MAINFRAME", nullptr},
    {AFX_IDS_IDLEMESSAGE, "AFX_IDS_IDLEMESSAGE", nullptr},
    {ID_INDICATOR_ENGINES, "ID_INDICATOR_ENGINES", "%d"},
    {ID_INDICATOR_SELECTED, "ID_INDICATOR_SELECTED", "%d"},
    {ID_INDICATOR_ACTIVE, "ID_INDICATOR_ACTIVE", "%d"},
    {ID_INDICATOR_RATE, "ID_INDICATOR_RATE", nullptr},
    {ID_INDICATOR_ELAPSED, "ID_INDICATOR_ELAPSED", "%02d"},
    {IDS_ZBUPDATE_TITLE, "IDS_ZBUPDATE_TITLE", nullptr},
    {IDS_NO_ENGINES, "IDS_NO_ENGINES", nullptr},
    {IDS_DOC_READING, "IDS_DOC_READING", nullptr},
    {IDS_DOC_WRITING, "IDS_DOC_WRITING", nullptr},
    {IDP_DOC_DAMAGED, "IDP_DOC_DAMAGED", "%1"},
    {IDP_DOC_NEWER_VERSION, "IDP_DOC_NEWER_VERSION", nullptr},
    {IDP_DOC_OLD_VERSION, "IDP_DOC_OLD_VERSION", nullptr},
    {IDS_SUBMIT_NO_SMTP, "IDS_SUBMIT_NO_SMTP", nullptr},
    {IDS_SUBMIT_NO_EMAIL, "IDS_SUBMIT_NO_EMAIL", nullptr},
    {IDS_SUBMIT_MAIL_SENT, "IDS_SUBMIT_MAIL_SENT", nullptr},
    {IDS_SUBMIT_MAIL_FAILED, "IDS_SUBMIT_MAIL_FAILED", nullptr},
};
