// The HTTP client against real servers: nginx, and tinyproxy in front of it, which scripts/test
// starts on loopback ports. Without them these tests fail and say how to start them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "foundation/net/SockHttpClient.h"
#include "tests/servers/RealServers.h"

namespace {

std::string Str(const CLibString& s) {
  return s.c_str();
}

class NginxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    port = zbtest::NginxPort();
    ASSERT_NE(port, 0) << zbtest::RealServerMissing("ZB_NGINX_PORT");
    CSockHttpClient::ClearCookieJar();
    client.SetTimeout(10);
  }
  void TearDown() override { CSockHttpClient::ClearCookieJar(); }
  CLibString Url(const std::string& path) const {
    return ("http://127.0.0.1:" + std::to_string(port) + path).c_str();
  }

  unsigned short port = 0;
  CSockHttpClient client;
};

TEST_F(NginxTest, FetchesPagesRedirectsCookiesAndErrors) {
  EXPECT_EQ(Str(client.GetPage(Url("/hello.txt"))), "Hello from nginx\n");
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(Str(client.GetResponseHeader("content-type")), "text/plain");
  EXPECT_EQ(Str(client.GetPage(Url("/index.html"))), "<html><body>nginx test page</body></html>\n");

  EXPECT_EQ(Str(client.GetPage(Url("/redirect"))), "Hello from nginx\n");
  EXPECT_EQ(Str(client.GetCurrentUrl().GetFile()), "hello.txt");

  EXPECT_EQ(Str(client.GetPage(Url("/cookie"))), "cookie set\n");
  EXPECT_EQ(CSockHttpClient::GetCookieJar().GetCount(), 1u);
  client.GetPage(Url("/hello.txt?with-cookie"));
  EXPECT_EQ(Str(client.GetRequestHeaders().GetValue("Cookie: zbnginx=1")), "");
  EXPECT_TRUE(client.GetRequestHeaders().Contains("Cookie: zbnginx=1"));

  EXPECT_EQ(Str(client.GetPage(Url("/missing.html"))), "");
  EXPECT_EQ(client.GetStatus(), 404);
  // nginx serves no POST to a file; the refusal is a status, not a page.
  EXPECT_EQ(Str(client.PostPage(Url("/hello.txt?a=1"))), "");
  EXPECT_EQ(client.GetStatus(), 405);
}

TEST_F(NginxTest, BigBodiesAreCappedInMemoryButNotInFiles) {
  CLibString page = client.GetPage(Url("/big.txt"));
  EXPECT_GT(page.GetLength(), CSockHttpClient::kMaxBodyInMemory);
  EXPECT_LT(page.GetLength(), 200000);

  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  client.SetDownloadFolder(temp);
  EXPECT_EQ(client.DownloadFile(Url("/big.txt"), "zb_nginx_big.txt"), 200000);
  std::string path = std::string(temp) + "zb_nginx_big.txt";
  CLibString file;
  file.ReadFromFile(path.c_str());
  EXPECT_EQ(file.GetLength(), 200000);
  DeleteFileA(path.c_str());
}

TEST_F(NginxTest, ThroughTinyproxyWithBasicAuthorization) {
  unsigned short proxy = zbtest::TinyproxyPort();
  ASSERT_NE(proxy, 0) << zbtest::RealServerMissing("ZB_TINYPROXY_PORT");
  client.SetProxy(CInetAddress(0x7F000001u, proxy), zbtest::TinyproxyUser().c_str(),
                  zbtest::TinyproxyPassword().c_str());
  EXPECT_EQ(Str(client.GetPage(Url("/hello.txt"))), "Hello from nginx\n");
  EXPECT_EQ(client.GetStatus(), 200);
  EXPECT_EQ(Str(client.GetPage(Url("/redirect"))), "Hello from nginx\n");

  CSockHttpClient refused;
  refused.SetTimeout(10);
  refused.SetProxy(CInetAddress(0x7F000001u, proxy), zbtest::TinyproxyUser().c_str(), "wrong");
  EXPECT_EQ(Str(refused.GetPage(Url("/hello.txt"))), "");
  // tinyproxy says 401 where the standard has 407; either way the page is refused.
  EXPECT_TRUE(refused.GetStatus() == 407 || refused.GetStatus() == 401) << refused.GetStatus();
}

}  // namespace
