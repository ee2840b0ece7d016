// The banner of the search form: the servers it asks, the last reply's headers, and the two
// addresses it builds. The form's own banner members and handlers are in SearchForm.h.
#pragma once
#include <windows.h>

#include "foundation/core/NVList.h"
#include "framework/core/String.h"

// Posted by the banner's worker to the form when a fetch failed: the form's own thread sets the
// timer of the next try (a timer belongs to the thread of its window).
constexpr UINT WM_ZB_BANNER_RETRY = WM_APP + 0x150;

// The banner servers, "Server0", "Server1", ... each a base address ending with "/".
CNVList& GetBannerServers();
// Reads the list anew from the section "Banner Servers" of the program's profile ("Count",
// default 1, and "Server%d", default the maker's site).
void LoadBannerServers();
// A copy of the response headers of the last banner that came whole.
CNVList& GetBannerHeaders();
// "zbban.gif" in the program's folder, where the banner is downloaded to.
const CString& GetBannerFilePath();

// server + "cgi-bin/getbanner.cgi?" + the query of "cl", "kw" and "lang", their values
// scrambled with the banner request's key.
CString MakeBannerRequestUrl(const CString& server, const CString& language, const CString& term,
                             const CString& mode);
// server + "cgi-bin/clickbanner.cgi?banner_id=" + the id. The id comes from the server and goes
// to the browser's command line, so it is URL-encoded: it cannot end the argument, add another
// query variable or carry a blank or a quote.
CString MakeBannerClickUrl(const CString& server, const CString& bannerId);

// Opens a banner's click-through address; the browser by default. Tests put their own function
// here; null restores the browser. Returns the previous function.
using BannerOpenFunction = BOOL (*)(LPCSTR lpszUrl);
BannerOpenFunction SetBannerOpenFunction(BannerOpenFunction function);
