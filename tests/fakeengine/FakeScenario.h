// What the fake search engine answers, set by each test: where the test site stands among the
// results, how many results there are and how they are paged, and how the engine behaves.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace zbtest {

// Forms of the meta refresh that the engine "Eta Meta" answers each search with.
enum class RefreshStyle {
  Plain,      // content="0;URL=http://..."
  Blank,      // content="0; URL=http://..." (a blank after the ";")
  LowerCase,  // http-equiv="Refresh" content="0; url=http://..."
  QuotedUrl,  // content="0; URL='http://...'"
  Unquoted,   // <meta http-equiv=refresh content=0;url=http://...>
  Delayed,    // content="3;URL=http://..."
  Relative,   // content="0;URL=/eta/results?..."
  None,       // no refresh page: the results come at once
};

// The verification image of the add-URL form of "Kappa".
enum class CaptchaImage {
  Jpg,  // /kappa/code/<code>.jpg: the file name is the code
  Gif,  // /kappa/code/img<n>.gif: the code must be read off the image (asked of the user)
};

struct FakeScenario {
  // The test site and where it stands: rank 1 is the first result of the first page; 0 leaves
  // it out. Every other result is a look-alike of it or an unrelated address.
  std::string site = "http://www.zb-testsite.com/";
  int rank = 7;
  // Ranks by search term, for engines that place the site differently per term: a request whose
  // query or form carries one of these terms as a whole field value gets that rank; any other
  // request gets the rank above.
  std::map<std::string, int> rankByTerm;
  int totalResults = 45;
  int perPage = 10;
  // Addresses for the results nearest the site's rank, nearest first; empty: made from the
  // site's host name (see FakeResults.h).
  std::vector<std::string> lookalikes;

  // A request for a page past the last result (or without search words) answers an empty body
  // instead of a page without results.
  bool emptyPastEnd = false;

  RefreshStyle refresh = RefreshStyle::Plain;
  // "Theta": redirects between its search request and the result page (1 to 10).
  int redirectHops = 2;

  // Add-URL forms accept the site (true) or refuse it with their failure text.
  bool submitSucceeds = true;
  std::string verificationCode = "K7Q2X";
  CaptchaImage captcha = CaptchaImage::Jpg;

  // "Yahoo": category pages are shown only after a sign-in, and the sign-in works.
  bool categoriesNeedSignIn = true;
  bool signInSucceeds = true;
};

}  // namespace zbtest
