// AfxMessageBox: the one way code without a window of its own asks the user something. Unless the
// program turns real boxes on (an interactive run), and in every automated run, the box is not
// shown: its text goes to the debugger output and stderr and the default answer is returned, so
// nothing blocks.
#pragma once
#include <windows.h>

// Shows (or answers) the box; the handler gets the text and the MB_ flags.
using AfxMessageBoxHandler = int (*)(LPCSTR lpszText, UINT nType);

// Null restores the logging handler.
void AfxSetMessageBoxHandler(AfxMessageBoxHandler handler);
// TRUE shows real message boxes (owned by the calling thread's main window, captioned with the
// application's name); FALSE goes back to the logging handler. The program decides from its
// command line.
void AfxEnableMessageBoxWindows(BOOL bShow);
// The real box, as AfxEnableMessageBoxWindows(TRUE) installs it.
int AfxWindowMessageBox(LPCSTR lpszText, UINT nType);
int AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK);
// The text is the string of that id from the resource handle (the id itself when it is missing).
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK);
// The answer the logging handler gives: IDOK, IDNO for Yes/No boxes, IDCANCEL for OK/Cancel
// and Yes/No/Cancel, IDRETRY's safe side (IDCANCEL) for Retry/Cancel.
int AfxDefaultMessageBoxAnswer(UINT nType);
