#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "foundation/cgi/CgiProgram.h"
#include "foundation/html/HtmlDocument.h"
#include "foundation/html/HtmlTags.h"
#include "foundation/core/ScrambleCoder.h"

namespace {

std::string Value(const CNVList& list, const char* name) {
  return list.GetValue(name).c_str();
}

// An environment whose process variables come from a table.
class CFakeEnvironment : public CCgiEnvironment {
 public:
  CLibString GetEnv(const CLibString& name) const override {
    auto it = m_vars.find(name.c_str());
    return it == m_vars.end() ? CLibString() : CLibString(it->second.c_str());
  }
  std::map<std::string, std::string> m_vars;
};

TEST(CgiEnvironment, BuildQuery) {
  CCgiEnvironment query;
  EXPECT_STREQ(query.BuildQuery().c_str(), "");
  query.SetAt("b", "x&y");
  query.SetAt("a", "1 2");
  EXPECT_STREQ(query.BuildQuery().c_str(), "a=1+2&b=x%26y");
  query.SetAt("c d", "");
  query.SetAt("Z", "=/?");
  EXPECT_STREQ(query.BuildQuery().c_str(), "Z=%3d%2f%3f&a=1+2&b=x%26y&c+d=");
}

TEST(CgiEnvironment, CodedValuesTravelUnderAPrefixedName) {
  CScrambleCoder coder("engine key");
  CCgiEnvironment out;
  out.SetCoder(&coder);
  out.SetAt("pass", "open sesame & more");
  std::string query = out.BuildQuery().c_str();
  EXPECT_EQ(query.rfind("%2a02pass=", 0), 0u) << query;
  EXPECT_EQ(query.find("sesame"), std::string::npos);

  CCgiEnvironment in;
  in.SetCoder(&coder);
  EXPECT_EQ(in.ParseQuery(query.c_str()), 1);
  EXPECT_EQ(Value(in, "pass"), "open sesame & more");
  EXPECT_FALSE(in.Contains("*02pass"));

  // Another key fails the check: nothing is stored rather than garbage.
  CScrambleCoder other("other key");
  CCgiEnvironment wrong;
  wrong.SetCoder(&other);
  EXPECT_EQ(wrong.ParseQuery(query.c_str()), 0);
  EXPECT_EQ(wrong.GetCount(), 0u);

  // Without a coder the prefix is still taken off and the value passes through.
  CCgiEnvironment plain;
  EXPECT_EQ(plain.ParseQuery("%2a07name=value"), 1);
  EXPECT_EQ(Value(plain, "name"), "value");
}

TEST(CgiEnvironment, ParseQuery) {
  struct {
    const char* query;
    int added;
    std::map<std::string, std::string> expected;
  } cases[] = {
      {"a=1&a=2", 2, {{"a", "1\r\n2"}}},
      {"a=1+2&b=x%26y", 2, {{"a", "1 2"}, {"b", "x&y"}}},
      {"a&b=&=c&d=4", 1, {{"d", "4"}}},
      {"&&x=1&&&y=2&&", 2, {{"x", "1"}, {"y", "2"}}},
      {"%41%42=%43", 1, {{"AB", "C"}}},
      {"k=a=b", 1, {{"k", "a=b"}}},
      {"k=%", 1, {{"k", "%"}}},
      {"k=%00&j=1", 1, {{"j", "1"}}},
      {"*0=x&*1a=y", 2, {{"*0", "x"}, {"*1a", "y"}}},
      {"*12=x", 0, {}},
      {"", 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    CCgiEnvironment env;
    EXPECT_EQ(env.ParseQuery(c.query), c.added);
    EXPECT_EQ(env.GetCount(), c.expected.size());
    for (const auto& [name, value] : c.expected) EXPECT_EQ(Value(env, name.c_str()), value);
  }
  // Values already held are extended, not replaced.
  CCgiEnvironment env;
  env.SetAt("a", "0");
  env.ParseQuery("a=1");
  EXPECT_EQ(Value(env, "a"), "0\r\n1");
}

// Query strings and cookie headers come from outside: no input may crash or overrun.
TEST(CgiEnvironment, HostileInputStaysInBounds) {
  std::mt19937 random(7);
  const char alphabet[] = "=&;% *0123456789abAZ+\"\r\n\x80\xff";
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    int length = static_cast<int>(random() % 64);
    for (int i = 0; i < length; ++i) text += alphabet[random() % (sizeof alphabet - 1)];
    CScrambleCoder coder("k");
    CCgiEnvironment env;
    if (round % 2) env.SetCoder(&coder);
    env.ParseQuery(text.c_str());
    CCgiCookies cookies(text.c_str());
    std::ostringstream os;
    cookies.WriteCookies(os);
    std::string header = os.str();
    if (!header.empty()) {
      EXPECT_EQ(header.find('\r'), std::string::npos);
      EXPECT_EQ(header.find('\n'), header.size() - 1) << "one header line only";
    }
    env.BuildQuery();
  }
}

TEST(CgiCookies, ParseAndWrite) {
  CCgiCookies cookies("a=1; b=x=y; flag; =nameless; ; c=");
  EXPECT_EQ(cookies.GetCount(), 4u);
  EXPECT_EQ(Value(cookies, "a"), "1");
  EXPECT_EQ(Value(cookies, "b"), "x=y");
  EXPECT_TRUE(cookies.Contains("flag"));
  EXPECT_TRUE(cookies.Contains("c"));

  struct {
    const char* header;
    const char* line;
  } cases[] = {
      {"", ""},
      {"sid=abc", "Set-Cookie: sid=abc\n"},
      {"secure; domain=.x.org; sid=abc; path=/; expires=Fri, 01-Jan-2027 00:00:00 GMT; lang=de",
       "Set-Cookie: lang=de; sid=abc; expires=Fri, 01-Jan-2027 00:00:00 GMT; path=/; "
       "domain=.x.org; secure\n"},
      {"path=; domain=; sid=1", "Set-Cookie: sid=1\n"},
      {"secure", "Set-Cookie: secure\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    std::ostringstream os;
    CCgiCookies(c.header).WriteCookies(os);
    EXPECT_EQ(os.str(), c.line);
  }

  // A value set by the program cannot start a header line of its own.
  CCgiCookies injected;
  injected.RemoveAll();
  injected.SetAt("sid", "1\r\nLocation: http://evil/");
  std::ostringstream os;
  injected.WriteCookies(os);
  EXPECT_EQ(os.str(), "Set-Cookie: sid=1Location: http://evil/\n");
}

TEST(CgiEnvironment, RequestVariablesLoadOnDemand) {
  CFakeEnvironment env;
  env.m_vars = {{"REQUEST_METHOD", " post  "},
                {"QUERY_STRING", "a=1"},
                {"SERVER_PORT", "80"},
                {"CONTENT_LENGTH", "42"}};
  env.LoadRequestVariables();
  EXPECT_STREQ(env.GetRequestVariable(CCgiEnvironment::kRequestMethod).c_str(), " POST");
  EXPECT_STREQ(env.GetRequestVariable(CCgiEnvironment::kQueryString).c_str(), "a=1");
  EXPECT_STREQ(env.GetRequestVariable(CCgiEnvironment::kRemoteAddr).c_str(), "");
  EXPECT_EQ(env.GetContentLength(), 42);
  EXPECT_STREQ(CCgiEnvironment::GetRequestVariableName(CCgiEnvironment::kHttpAccept),
               "HTTP_ACCEPT");

  // Loaded values stay; empty ones are looked up again.
  env.m_vars["QUERY_STRING"] = "b=2";
  env.m_vars["REMOTE_ADDR"] = "127.0.0.1";
  EXPECT_STREQ(env.GetRequestVariable(CCgiEnvironment::kQueryString).c_str(), "a=1");
  EXPECT_STREQ(env.GetRequestVariable(CCgiEnvironment::kRemoteAddr).c_str(), "127.0.0.1");

  struct {
    const char* text;
    int32_t length;
  } lengths[] = {{"-5", 0}, {"99999999999999999999", INT32_MAX}, {"12abc", 12}, {"", 0}};
  for (const auto& c : lengths) {
    SCOPED_TRACE(c.text);
    CFakeEnvironment e;
    e.m_vars["CONTENT_LENGTH"] = c.text;
    EXPECT_EQ(e.GetContentLength(), c.length);
  }

  CCgiEnvironment real;
  EXPECT_STREQ(real.GetEnv("ZB_SURELY_NOT_SET_ANYWHERE").c_str(), "");
  EXPECT_STRNE(real.GetEnv("PATH").c_str(), "");
}

TEST(CgiEnvironment, HelpersAndProgram) {
  EXPECT_STREQ(CCgiEnvironment::UrlEncodeValue("a b&c").c_str(), "a+b%26c");
  EXPECT_STREQ(CCgiEnvironment::UrlDecodeValue("a+b%26c").c_str(), "a b&c");

  CLibString first = CCgiEnvironment::TempFileName();
  CLibString second = CCgiEnvironment::TempFileName();
  EXPECT_STRNE(first.c_str(), "");
  EXPECT_STRNE(first.c_str(), second.c_str());
  remove(first.c_str());
  remove(second.c_str());

  std::istringstream in("posted body");
  std::ostringstream out;
  CCgiProgram program(&in, &out);
  char buffer[32] = {};
  EXPECT_EQ(program.Read(buffer, 6), 6);
  EXPECT_STREQ(buffer, "posted");
  EXPECT_EQ(program.Read(buffer, 32), 5);
  EXPECT_EQ(program.Read(buffer, 32), 0);

  program.GetCookies().RemoveAll();
  program.GetCookies().SetAt("sid", "7");
  CHtmlDocument page(0);
  page.SetEnvironment(&program);
  page << CHtmlBold("hi");
  program.Write(page);
  EXPECT_EQ(out.str(),
            "Content-Type: text/html\nSet-Cookie: sid=7\n\n<HTML>\n<HEAD>\n\n</HEAD>\n"
            "<BODY>\n<B>hi</B>\n</BODY>\n</HTML>");

  CCgiProgram detached(nullptr, nullptr);
  EXPECT_EQ(detached.Read(buffer, 4), 0);
  detached.Write(page);  // nothing to write to: nothing happens
}

}  // namespace
