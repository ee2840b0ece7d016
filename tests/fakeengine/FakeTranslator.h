// The fake translation service: a tiny phrase book served by a test server in the shape of the
// service the program's translator drives. Its front page sets a cookie; its form
// ("<prefix>/babelfish/tr", fields doit, tt, intl, urltext, lp, Submit) answers with the
// translation in a "padding:10px;" division, in UTF-8. A phrase it does not know, a pair it does
// not translate or a form without the cookie gets a page without that division.
//
//   zbtest::FakeSearchEngine fake;  // or any HttpTestServer
//   zbtest::AddFakeTranslator(fake);
//   translator.SetServiceAddress(zbtest::FakeTranslatorAddress(fake).c_str());
#pragma once

#include <string>

#include "tests/servers/HttpTestServer.h"

namespace zbtest {

constexpr char kFakeTranslatorPrefix[] = "/babel";

// Adds the service's routes under the prefix.
void AddFakeTranslator(HttpTestServer& server, const std::string& prefix = kFakeTranslatorPrefix);
// "http://127.0.0.1:<port><prefix>": what the translator is given as its service address.
std::string FakeTranslatorAddress(const HttpTestServer& server,
                                  const std::string& prefix = kFakeTranslatorPrefix);

}  // namespace zbtest
