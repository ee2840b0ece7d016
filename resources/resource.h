// Numeric ids of the resources in the language modules (ZBResENU.dll and its siblings).
// Both programs address every text, dialog, menu, bitmap and cursor by these ids.
#pragma once

// Main program
#define IDR_MAINFRAME 128  // main window title

// Framework texts
#define AFX_IDS_IDLEMESSAGE 57345  // status text of an idle program

// Document: progress captions and the messages of a file that cannot be read
#define IDS_DOC_READING 271        // progress caption while a document is read
#define IDS_DOC_WRITING 272        // progress caption while a document is saved
#define IDP_DOC_DAMAGED 284        // the file is damaged or not a document; %1 is its path
#define IDP_DOC_NEWER_VERSION 285  // Yes/No: written by a newer version, start the update?
#define IDP_DOC_OLD_VERSION 297    // written by a version too old to be read

// Update program
#define IDS_ZBUPDATE_TITLE 599  // window title of the update program

// Engine core
#define IDS_NO_ENGINES 273  // the engine database holds no engine (engines.dat missing or empty)

// Outcomes of a submission by mail (the engine's response text)
#define IDS_SUBMIT_NO_SMTP 3001      // the site profile names no mail server
#define IDS_SUBMIT_NO_EMAIL 3002     // the site profile names no e-mail address
#define IDS_SUBMIT_MAIL_SENT 3004    // the mail was accepted
#define IDS_SUBMIT_MAIL_FAILED 3005  // the mail was not accepted; the server's reply follows
