// Numeric ids of the resources in the language modules (ZBResENU.dll and its siblings).
// Both programs address every text, dialog, menu, bitmap and cursor by these ids.
#pragma once

// Main program
#define IDR_MAINFRAME 128  // main window title

// Framework texts
#define AFX_IDS_IDLEMESSAGE 57345  // status text of an idle program

// Update program
#define IDS_ZBUPDATE_TITLE 599  // window title of the update program
