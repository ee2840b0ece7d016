// The proxy of an HTTP client as the settings ask for it, and the scrambling of the proxy
// password that the settings store.
#pragma once
#include "framework/core/String.h"

class CSockHttpClient;

// Each character combined with 0x5A. A character that would become a zero byte ("Z") or the
// escape byte 0x7F ("%") is written as 0x7F and a code, so no password is cut short in the
// store; text without that pair reads as it always did.
CString ScrambleProxyPassword(const CString& plain);
CString UnscrambleProxyPassword(const CString& scrambled);

// From the section Properties of the program's key: UseProxy gives the stored proxy with its
// user and password; else AutoProxy (AutoDetect when AutoProxy is missing) takes the system's
// proxy of the current user, records it as the program's own and uses it without user and
// password; else the client connects directly.
void ApplyProxySettings(CSockHttpClient& client);
