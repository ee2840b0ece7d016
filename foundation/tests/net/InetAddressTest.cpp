#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/net/InetAddress.h"
#include "foundation/net/Socklet.h"

namespace {

// A name service of the test's own: names ending in ".test" resolve to 10.0.x.y from a table
// the test fills; everything else fails. Counts every question.
std::mutex g_mutex;
std::map<std::string, uint32_t> g_names;
std::map<uint32_t, std::string> g_reverseNames;
std::atomic<int> g_lookups{0};
std::atomic<int> g_reverseLookups{0};
std::vector<unsigned> g_sleeps;

bool FakeLookup(const char* name, uint32_t& address) {
  ++g_lookups;
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_names.find(name);
  if (it == g_names.end()) return false;
  address = it->second;
  return true;
}

bool FakeReverse(uint32_t address, CLibString& name) {
  ++g_reverseLookups;
  std::lock_guard<std::mutex> lock(g_mutex);
  auto it = g_reverseNames.find(address);
  if (it == g_reverseNames.end()) return false;
  name = it->second.c_str();
  return true;
}

uint32_t FakeTime() {
  return 1000;
}

void FakeSleep(unsigned ms) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_sleeps.push_back(ms);
}

class InetAddressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CInetAddress::SetNameService(FakeLookup, FakeReverse);
    SockletSetClock(FakeTime, FakeSleep);
    CInetAddress::ResetShared();
    g_names = {{"www.example.test", 0x0A000102}, {"mail.example.test", 0x0A000103}};
    g_reverseNames = {{0x0A000102, "www.example.test"}, {0x7F000001, "loopback.test"}};
    g_lookups = 0;
    g_reverseLookups = 0;
    g_sleeps.clear();
  }
  void TearDown() override {
    CInetAddress::ResetShared();
    CInetAddress::SetNameService(nullptr, nullptr);
    SockletSetClock(nullptr, nullptr);
  }
};

TEST_F(InetAddressTest, DottedAddressesConvertWithoutLookup) {
  CInetAddress a("127.0.0.1", 8080);
  EXPECT_TRUE(a.IsValid());
  EXPECT_EQ(a.GetAddress(), 0x7F000001u);
  EXPECT_EQ(a.GetPort(), 8080u);
  EXPECT_STREQ(a.Format().c_str(), "127.0.0.1");
  EXPECT_STREQ(a.Format('-').c_str(), "127-0-0-1");
  // The URL's port is used when none is given; a given one wins.
  EXPECT_EQ(CInetAddress("http://10.1.2.3:8081/x.html", 0).GetPort(), 8081u);
  EXPECT_EQ(CInetAddress("http://10.1.2.3:8081/x.html", 99).GetPort(), 99u);
  EXPECT_EQ(CInetAddress("http://10.1.2.3:8081/x.html", 0).GetAddress(), 0x0A010203u);
  EXPECT_EQ(g_lookups, 0);

  struct {
    const char* text;
    bool valid;
  } cases[] = {{"255.255.255.254", true}, {"1.2.3", false},   {"1.2.3.4.5", false},
               {"256.1.1.1", false},      {"1.2.3.04", true}, {"", false}};
  for (const auto& c : cases) {
    uint32_t value = 0;
    EXPECT_EQ(CInetAddress::ParseDotted(c.text, value), c.valid) << c.text;
  }
  EXPECT_FALSE(CInetAddress().IsValid());
  EXPECT_FALSE(CInetAddress("", 80).IsValid());
}

TEST_F(InetAddressTest, NamesNoServiceKnowsAreNeverAskedFor) {
  // Addresses of other schemes and hosts with blanks or control characters would only spend
  // the budget of failed look-ups that switches name resolution off.
  const char* texts[] = {"mailto:someone@mail.example.test", "javascript:void(0)",
                         "http://bad\x01name.test/", "http://two words.test/",
                         "user@www.example.test"};
  for (const char* text : texts) {
    EXPECT_FALSE(CInetAddress(text, 80).IsValid()) << text;
  }
  EXPECT_EQ(g_lookups, 0);
  EXPECT_TRUE(CInetAddress::IsLookupName("www.example-site_1.test"));
  EXPECT_TRUE(CInetAddress("www.example.test", 80).IsValid());
}

TEST_F(InetAddressTest, NamesAreLookedUpOnceAndCached) {
  CInetAddress a("www.example.test", 80);
  EXPECT_EQ(a.GetAddress(), 0x0A000102u);
  EXPECT_STREQ(a.GetHostName().c_str(), "www.example.test");
  CInetAddress b("http://www.example.test/page.html", 0);
  EXPECT_EQ(b.GetAddress(), 0x0A000102u);
  EXPECT_EQ(b.GetPort(), 0u);
  EXPECT_EQ(g_lookups, 1) << "the second address comes from the cache";
  EXPECT_EQ(CInetAddress::GetCacheCount(false), 1u);

  EXPECT_TRUE(a == b);
  EXPECT_TRUE(a == 0x0A000102u);
  EXPECT_TRUE(a == CLibString("www.example.test"));
  EXPECT_FALSE(a == CLibString("mail.example.test"));
  EXPECT_FALSE(CInetAddress() == CLibString("nowhere.test")) << "no address equals none";
}

TEST_F(InetAddressTest, FailedLookupIsRetriedOnceAfterASecond) {
  CInetAddress a("nowhere.test", 80);
  EXPECT_FALSE(a.IsValid());
  EXPECT_EQ(g_lookups, 2);
  ASSERT_EQ(g_sleeps.size(), 1u);
  EXPECT_EQ(g_sleeps[0], 1000u);
  EXPECT_EQ(CInetAddress::GetFailedLookups(), 1);
  // A success resets the count of failures in a row.
  CInetAddress b("mail.example.test", 25);
  EXPECT_TRUE(b.IsValid());
  EXPECT_EQ(CInetAddress::GetFailedLookups(), 0);
}

TEST_F(InetAddressTest, TwentyFailuresInARowStopAllLookups) {
  CInetAddress cached("www.example.test", 80);
  for (int i = 0; i < CInetAddress::kMaxFailedLookups; ++i)
    EXPECT_FALSE(CInetAddress("nowhere.test", 80).IsValid());
  EXPECT_EQ(g_lookups, 1 + 2 * CInetAddress::kMaxFailedLookups);

  g_lookups = 0;
  EXPECT_FALSE(CInetAddress("mail.example.test", 80).IsValid()) << "no look-up is made any more";
  EXPECT_EQ(g_lookups, 0);
  EXPECT_TRUE(CInetAddress("127.0.0.1", 80).IsValid()) << "dotted addresses still convert";
  EXPECT_TRUE(CInetAddress("www.example.test", 80).IsValid()) << "cached names still resolve";
}

TEST_F(InetAddressTest, ReverseLookupIsCached) {
  CInetAddress a(0x7F000001u, 25);
  EXPECT_STREQ(a.GetHostName().c_str(), "loopback.test");
  CInetAddress b(0x7F000001u, 80);
  EXPECT_STREQ(b.GetHostName().c_str(), "loopback.test");
  EXPECT_EQ(g_reverseLookups, 1);
  EXPECT_EQ(CInetAddress::GetCacheCount(true), 1u);
  // An address without a name stays without one, and a failure is not cached.
  CInetAddress c(0x0A0A0A0Au, 80);
  EXPECT_STREQ(c.GetHostName().c_str(), "");
  EXPECT_STREQ(c.GetHostName().c_str(), "");
  EXPECT_EQ(g_reverseLookups, 3);
  // SetAddress forgets the old name.
  a.SetAddress(0x0A000102u, 80);
  EXPECT_STREQ(a.GetHostName().c_str(), "www.example.test");
}

TEST_F(InetAddressTest, CachesAreBounded) {
  const unsigned limit = CInetAddress::kCacheLimit;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    for (unsigned i = 0; i <= limit; ++i) {
      char name[32];
      snprintf(name, sizeof name, "h%04u.test", i);
      g_names[name] = 0x0B000000u + i;
      g_reverseNames[0x0B000000u + i] = name;
    }
  }
  for (unsigned i = 0; i <= limit; ++i) {
    char name[32];
    snprintf(name, sizeof name, "h%04u.test", i);
    ASSERT_TRUE(CInetAddress(name, 80).IsValid());
    ASSERT_STRNE(CInetAddress(0x0B000000u + i, 80).GetHostName().c_str(), "");
  }
  EXPECT_EQ(CInetAddress::GetCacheCount(false), limit);
  EXPECT_EQ(CInetAddress::GetCacheCount(true), limit);
  // The first name in order made room for the last; it is asked again, the last is not.
  g_lookups = 0;
  CInetAddress("h0000.test", 80);
  EXPECT_EQ(g_lookups, 1);
  CInetAddress("h0002.test", 80);
  EXPECT_EQ(g_lookups, 1);
}

}  // namespace
