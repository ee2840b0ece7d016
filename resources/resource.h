// Numeric ids of the resources in the language modules (ZBResENU.dll and its siblings).
// Both programs address every text, dialog, menu, bitmap and cursor by these ids.
#pragma once

// Main program
#define IDR_MAINFRAME 128  // main window title

// Framework texts
#define AFX_IDS_IDLEMESSAGE 57345  // status text of an idle program

// Update program
#define IDS_ZBUPDATE_TITLE 599  // window title of the update program

// Engine core
#define IDS_NO_ENGINES 273  // the engine database holds no engine (engines.dat missing or empty)

// Outcomes of a submission by mail (the engine's response text)
#define IDS_SUBMIT_NO_SMTP 3001      // the site profile names no mail server
#define IDS_SUBMIT_NO_EMAIL 3002     // the site profile names no e-mail address
#define IDS_SUBMIT_MAIL_SENT 3004    // the mail was accepted
#define IDS_SUBMIT_MAIL_FAILED 3005  // the mail was not accepted; the server's reply follows
