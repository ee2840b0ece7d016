// Real servers for the tests, started natively by scripts/test before the tests run (see
// start_test_servers in scripts/common.sh) on free loopback ports, and found here through the
// environment:
//   ZB_NGINX_PORT      nginx on 127.0.0.1, serving
//                        /hello.txt   "Hello from nginx\n" (text/plain)
//                        /index.html  "<html><body>nginx test page</body></html>\n"
//                        /big.txt     200000 bytes of "x" (text/plain)
//                        /redirect    302 to /hello.txt
//                        /cookie      200 "cookie set\n" with "Set-Cookie: zbnginx=1; Path=/"
//                        anything else 404
//   ZB_TINYPROXY_PORT  tinyproxy on 127.0.0.1 in front of it, Basic authorization required
//   ZB_TINYPROXY_USER, ZB_TINYPROXY_PASSWORD  its credentials
// A test that needs them fails with RealServerMissing() when they are not there:
//
//   unsigned short nginx = zbtest::NginxPort();
//   ASSERT_NE(nginx, 0) << zbtest::RealServerMissing("ZB_NGINX_PORT");
#pragma once
#include <string>

namespace zbtest {

unsigned short NginxPort();      // 0 when not started
unsigned short TinyproxyPort();  // 0 when not started
std::string TinyproxyUser();
std::string TinyproxyPassword();

// Why a real server is missing and how to start it.
std::string RealServerMissing(const char* variable);

}  // namespace zbtest
