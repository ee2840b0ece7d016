// nginx and tinyproxy as scripts/test starts them: they answer, serve what the tests expect, and
// the proxy asks for authorization. Without them these tests fail and say how to start them.
#include <gtest/gtest.h>

#include "tests/servers/HttpTestProxy.h"
#include "tests/servers/RealServers.h"
#include "tests/servers/tests/RawClient.h"

namespace {

using zbtest::Exchange;
using zbtest::Parse;

std::string Get(const std::string& target) {
  return "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
}

TEST(RealServersTest, NginxServesTheTestFiles) {
  unsigned short port = zbtest::NginxPort();
  ASSERT_NE(port, 0) << zbtest::RealServerMissing("ZB_NGINX_PORT");

  auto hello = Parse(Exchange(port, Get("/hello.txt")));
  EXPECT_EQ(hello.status, 200);
  EXPECT_EQ(hello.body, "Hello from nginx\n");
  EXPECT_EQ(hello.Header("Content-Type"), "text/plain");
  auto index = Parse(Exchange(port, Get("/index.html")));
  EXPECT_EQ(index.body, "<html><body>nginx test page</body></html>\n");
  EXPECT_EQ(Parse(Exchange(port, Get("/big.txt"))).body, std::string(200000, 'x'));
  auto redirect = Parse(Exchange(port, Get("/redirect")));
  EXPECT_EQ(redirect.status, 302);
  EXPECT_EQ(redirect.Header("Location"), "http://127.0.0.1:" + std::to_string(port) + "/hello.txt");
  auto cookie = Parse(Exchange(port, Get("/cookie")));
  EXPECT_EQ(cookie.body, "cookie set\n");
  EXPECT_EQ(cookie.Header("Set-Cookie"), "zbnginx=1; Path=/");
  EXPECT_EQ(Parse(Exchange(port, Get("/missing"))).status, 404);
}

TEST(RealServersTest, TinyproxyAsksForAuthorizationAndForwardsToNginx) {
  unsigned short nginx = zbtest::NginxPort();
  unsigned short proxy = zbtest::TinyproxyPort();
  ASSERT_NE(nginx, 0) << zbtest::RealServerMissing("ZB_NGINX_PORT");
  ASSERT_NE(proxy, 0) << zbtest::RealServerMissing("ZB_TINYPROXY_PORT");
  ASSERT_FALSE(zbtest::TinyproxyUser().empty()) << zbtest::RealServerMissing("ZB_TINYPROXY_USER");

  std::string line = "GET http://127.0.0.1:" + std::to_string(nginx) + "/hello.txt HTTP/1.0\r\n";
  auto refused = Parse(Exchange(proxy, line + "\r\n"));
  EXPECT_EQ(refused.status, 407);
  EXPECT_NE(refused.Header("Proxy-Authenticate").find("Basic"), std::string::npos);

  std::string credentials = zbtest::TinyproxyUser() + ":" + zbtest::TinyproxyPassword();
  auto page = Parse(Exchange(proxy, line + "Proxy-Authorization: Basic " +
                                        zbtest::HttpTestProxy::Base64(credentials) + "\r\n\r\n"));
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.body, "Hello from nginx\n");
}

}  // namespace
