#include "tests/servers/RealServers.h"

#include <cstdlib>

namespace zbtest {

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

unsigned short PortFrom(const char* name) {
  std::string text = Environment(name);
  if (text.empty() || text.size() > 5 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return 0;
  }
  unsigned long port = std::strtoul(text.c_str(), nullptr, 10);
  return port <= 65535 ? static_cast<unsigned short>(port) : 0;
}

}  // namespace

unsigned short NginxPort() {
  return PortFrom("ZB_NGINX_PORT");
}
unsigned short TinyproxyPort() {
  return PortFrom("ZB_TINYPROXY_PORT");
}
std::string TinyproxyUser() {
  return Environment("ZB_TINYPROXY_USER");
}
std::string TinyproxyPassword() {
  return Environment("ZB_TINYPROXY_PASSWORD");
}

std::string RealServerMissing(const char* variable) {
  return std::string(variable) +
         " is not set: nginx and tinyproxy were not started. Run the tests through scripts/test, "
         "or start them by hand with: source scripts/common.sh && start_test_servers "
         "(it prints the variables to export), then run ctest";
}

}  // namespace zbtest
