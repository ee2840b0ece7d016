#include "engines/parse/MetaRefresh.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GetMetaRefreshUrl, ReadsTheAddressOfTheRefreshTag) {
  const struct {
    const char* page;
    const char* address;
  } cases[] = {
      {"<meta http-equiv=\"refresh\" content=\"0;URL=http://a.example/r?x=1\">",
       "http://a.example/r?x=1"},
      {"<head><meta http-equiv=\"refresh\" content=\"5;URL=/results?q=2\"></head>", "/results?q=2"},
      {"<META HTTP-EQUIV=\"Refresh\" CONTENT=\"0;url=http://a.example/\">", "http://a.example/"},
      {"<meta http-equiv=refresh content=0;url=http://a.example/u>", "http://a.example/u"},
      // The common forms with a blank after the delay, "url" in either case, quotes around the
      // address, blanks around the "=".
      {"<meta http-equiv=\"refresh\" content=\"0; URL=http://a.example/b\">", "http://a.example/b"},
      {"<meta http-equiv=\"refresh\" content=\"0; url=http://a.example/b\">", "http://a.example/b"},
      {"<meta http-equiv=\"refresh\" content=\"0; URL='http://a.example/q'\">",
       "http://a.example/q"},
      {"<meta http-equiv=\"refresh\" content='0; url=\"http://a.example/q\"'>",
       "http://a.example/q"},
      {"<meta http-equiv=\"refresh\" content=\"0 ; url = http://a.example/s \">",
       "http://a.example/s"},
      {"<meta http-equiv=\"refresh\" content=\"URL=http://a.example/n\">", "http://a.example/n"},
      // The address keeps its own case and its "=" signs.
      {"<meta http-equiv=\"refresh\" content=\"0;URL=http://A.example/Go?a=B&c=D\">",
       "http://A.example/Go?a=B&c=D"},
      // A plain reload names no address.
      {"<meta http-equiv=\"refresh\" content=\"30\">", ""},
      {"<meta http-equiv=\"refresh\" content=\"0;\">", ""},
      {"<meta http-equiv=\"refresh\">", ""},
      // No refresh tag.
      {"<meta name=\"refresh\" content=\"0;URL=http://a.example/\">", ""},
      {"<meta http-equiv=\"content-type\" content=\"text/html\">", ""},
      {"", ""},
      // A tag cut off by the end of the page still yields what it holds.
      {"<meta http-equiv=\"refresh\" content=\"0;URL=http://a.example/t\"", "http://a.example/t"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::string(GetMetaRefreshUrl(c.page).c_str()), c.address) << c.page;
  }
}

}  // namespace
