// Rank matching: cutting the site's URL list into tokens, matching one token against a result
// (www and non-www, sub-domains, paths, phrases, boundaries, ignore prefixes, the exact-match
// rule), finding rank, page and position in both match modes, and many workers matching at once.
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engines/db/EngineKeys.h"
#include "engines/sets/RankMatcher.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineKeysFixture.h"

using enginetest::DefinedEngine;

namespace {

// A result as the page parser leaves it: index in the list, page, position on the page, block.
void AddRecord(CSearchEngine& engine, int index, int page, int position, const std::string& text) {
  CSearchResult* record = new CSearchResult;
  record->m_index = index;
  record->m_page = page;
  record->m_position = position;
  record->m_text = text.c_str();
  engine.m_results.Append(new CListNode(record));
}

CSearchResult& RecordAt(CSearchEngine& engine, int index) {
  CListNode* node = engine.m_results.Head();
  while (index-- > 0) node = node->Next();
  return *static_cast<CSearchResult*>(node->Payload());
}

// A result block the way the simplified result pages look.
std::string Block(const std::string& href, const std::string& title = "A result") {
  return "<a href=\"" + href + "\">" + title + "</a> some description " + href;
}

class RankMatcherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetExactMatch(false);
    SetDumpResults(false);
    SetMatchRestrict(kMatchWholeResult);
  }
  void TearDown() override {
    SetExactMatch(false);
    SetDumpResults(true);
    SetMatchRestrict(kMatchWholeResult);
  }
};

TEST_F(RankMatcherTest, SplitsTheUrlListIntoTokens) {
  auto tokens = SplitUrlTokens(
      "  www.site.com, site.net\t\"a phrase, here\" 'x y' a&amp;b&lt;c&gt;,,d \"open");
  std::vector<std::string> got;
  for (const CLibString& token : *tokens) got.emplace_back(token.c_str());
  EXPECT_EQ(got, (std::vector<std::string>{"www.site.com", "site.net", "\"a phrase, here\"",
                                           "'x y'", "a&b<c>", "d", "\"open"}));
  EXPECT_TRUE(SplitUrlTokens("")->empty());
  EXPECT_TRUE(SplitUrlTokens(" , \t")->empty());
  // The same text gives the same cut tokens; another text gives its own.
  EXPECT_EQ(SplitUrlTokens("one two").get(), SplitUrlTokens("one two").get());
  EXPECT_EQ(SplitUrlTokens("three")->size(), 1u);
}

struct MatchCase {
  const char* url;
  const char* token;
  bool plain;  // with exact matching off
  bool exact;  // with exact matching on
};

TEST_F(RankMatcherTest, MatchesSiteTokensAgainstResultTexts) {
  const MatchCase cases[] = {
      // www and non-www, in the token and in the result.
      {"http://www.site.com/", "www.site.com/", true, true},
      {"http://site.com/index.html", "www.site.com/", true, true},
      {"http://www.site.com/", "site.com", true, true},
      {"http://site.com/", "http://www.site.com/", true, true},
      {"https://www.site.com/", "https://www.site.com", true, true},
      {"http://site.com/", "HTTP://WWW.SITE.COM", true, true},
      {"http://site.com/", "site.com\\", true, true},
      {"http://site.com/", ".site.com", true, true},
      // An https token without www keeps its scheme and is looked for as it stands.
      {"http://site.com/", "https://site.com", false, false},
      {"<a href=\"https://site.com/\">", "https://site.com", true, true},
      // Sub-domains are the site; a longer name that only ends in it is not.
      {"http://blog.site.com/", "site.com", true, true},
      {"http://mysite.com/", "site.com", false, false},
      {"http://other.com/?u=site.com", "site.com", false, false},
      {"mail me at joe@site.com", "site.com", true, true},
      {"<b>site.com</b>", "site.com", true, true},
      // Paths.
      {"http://site.com/shop/item.html", "site.com/shop", true, true},
      {"http://site.com/shopping/", "http://www.site.com/shop/", true, true},
      {"http://site.com/blog/", "site.com/shop", false, false},
      // Phrases match wherever they stand.
      {"Great Widgets from us", "\"great widgets\"", true, true},
      {"xgreat widgetsx", "\"great widgets\"", true, true},
      {"great gadgets", "\"great widgets\"", false, false},
      // The exact rule: the token must end the host.
      {"http://site.com/", "site.co", true, false},
      {"http://site.community.org/", "site.com", true, false},
      {"http://site.com.au/", "site.com", true, false},
      {"http://site.com-shop.net/", "site.com", true, false},
      {"http://site.com./", "site.com", true, true},
      {"see site.com.", "site.com", true, true},
      {"http://site.com", "site.com", true, true},
      {"http://site.com:8080/", "site.com", true, true},
      {"http://site.com?x=1", "site.com", true, true},
      // A second occurrence may count where the first does not.
      {"http://site.community.org/ and http://site.com/", "site.com", true, true},
      {"xab.ab.ab", "ab.ab", true, true},
      // Tokens that are empty once undressed never match.
      {"http://site.com/", "", false, false},
      {"http://site.com/", "www.", false, false},
      {"http://site.com/", "/", false, false},
      {"http://site.com/", "\"\"", false, false},
  };
  for (const MatchCase& c : cases) {
    SetExactMatch(false);
    EXPECT_EQ(MatchSiteUrl(c.url, c.token, "NoSuchEngine"), c.plain)
        << c.url << " / " << c.token << " (plain)";
    SetExactMatch(true);
    EXPECT_EQ(MatchSiteUrl(c.url, c.token, "NoSuchEngine"), c.exact)
        << c.url << " / " << c.token << " (exact)";
  }
}

TEST_F(RankMatcherTest, IgnorePrefixesSkipOccurrences) {
  DefinedEngine defined("PrefixEngine");
  defined.Set(".ignorematchprefix1", "CACHE:");
  defined.Set(".ignorematchprefix3", "result%n:");
  const struct {
    const char* url;
    bool match;
  } cases[] = {
      {"cache:site.com/page", false}, {"cache:site.com/page then http://site.com/", true},
      {"result12:site.com", false},   {"result7:site.com", false},
      {"result:site.com", true},                           // no digits: not the prefix
      {"resultx1:site.com", true},    {"site.com", true},  // nothing before the occurrence
      {"e:site.com", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchSiteUrl(c.url, "site.com", "PrefixEngine"), c.match) << c.url;
  // Another engine has no prefixes.
  EXPECT_TRUE(MatchSiteUrl("cache:site.com/page", "site.com", "NoSuchEngine"));
}

TEST_F(RankMatcherTest, FindsRankPageAndPositionOfTheFirstMatch) {
  CSearchEngine engine;
  engine.m_name = "RankEngine";
  for (int i = 0; i < 14; ++i) {
    std::string href = "http://other" + std::to_string(i) + ".com/";
    if (i == 11) href = "http://www.site.com/products/";
    if (i == 13) href = "http://site.com/";
    AddRecord(engine, i, i / 10, i % 10, Block(href));
  }
  const CLibString sites = "www.shop-site.net, site.com/";

  int32_t rank = -1, page = -1, position = -1;
  GetEngineRankPagePos(engine, sites, rank, page, position);
  EXPECT_EQ(rank, 12);
  EXPECT_EQ(page, 2);
  EXPECT_EQ(position, 2);
  EXPECT_EQ(GetEngineRank(engine, sites), 12);

  // Every result was tested: both matching ones carry the flag and the token that matched.
  CSearchResult found;
  ASSERT_EQ(FindMatchingResult(engine, found, sites, kMatchWholeResult), 1);
  EXPECT_EQ(found.m_index, 11);
  EXPECT_EQ(RecordAt(engine, 11).m_matched, 1u);
  EXPECT_EQ(RecordAt(engine, 13).m_matched, 1u);
  EXPECT_STREQ(RecordAt(engine, 13).m_matchedText.c_str(), "site.com/");
  EXPECT_EQ(RecordAt(engine, 0).m_matched, 0u);
  // Without dumping, results that did not match keep their text.
  EXPECT_GT(RecordAt(engine, 0).m_text.GetLength(), 0);

  GetEngineRankPagePos(engine, "nowhere.org", rank, page, position);
  EXPECT_EQ(rank, 0);
  EXPECT_EQ(page, 0);
  EXPECT_EQ(position, 0);
  EXPECT_EQ(GetEngineRank(engine, "nowhere.org"), 0);
  EXPECT_EQ(FindMatchingResult(engine, found, "", kMatchWholeResult), 0);
}

TEST_F(RankMatcherTest, DumpingEmptiesResultsThatNeverMatched) {
  SetDumpResults(true);
  CSearchEngine engine;
  engine.m_name = "DumpEngine";
  AddRecord(engine, 0, 0, 0, Block("http://other.com/"));
  AddRecord(engine, 1, 0, 1, Block("http://site.com/"));
  AddRecord(engine, 2, 0, 2, Block("http://third.com/"));
  RecordAt(engine, 2).m_matched = 1;  // matched in an earlier test against the site

  // An empty URL list matches nothing and leaves every result as it was.
  CSearchResult found;
  EXPECT_EQ(FindMatchingResult(engine, found, " ,, ", kMatchWholeResult), 0);
  EXPECT_GT(RecordAt(engine, 0).m_text.GetLength(), 0);

  EXPECT_EQ(FindMatchingResult(engine, found, "site.com", kMatchWholeResult), 1);
  EXPECT_EQ(RecordAt(engine, 0).m_text.GetLength(), 0);
  EXPECT_GT(RecordAt(engine, 1).m_text.GetLength(), 0);
  EXPECT_GT(RecordAt(engine, 2).m_text.GetLength(), 0);
}

TEST_F(RankMatcherTest, LinkModeLooksAtTheResultLinkOnly) {
  CSearchEngine engine;
  engine.m_name = "LinkEngine";
  // The site is named in the description, but the link leads elsewhere.
  AddRecord(engine, 0, 0, 0,
            "<a href=\"http://directory.org/entry\">Entry</a> about http://site.com/ and more");
  AddRecord(engine, 1, 0, 1, "<a href=\"http://www.site.com/\">Our site</a> description");

  CSearchResult found;
  ASSERT_EQ(FindMatchingResult(engine, found, "site.com", kMatchWholeResult), 1);
  EXPECT_EQ(found.m_index, 0);
  RecordAt(engine, 0).m_matched = 0;
  ASSERT_EQ(FindMatchingResult(engine, found, "site.com", kMatchResultLink), 1);
  EXPECT_EQ(found.m_index, 1);

  // The settings' restrict mode is the one the rank functions use.
  SetMatchRestrict(kMatchResultLink);
  RecordAt(engine, 0).m_matched = 0;
  EXPECT_EQ(GetEngineRank(engine, "site.com"), 2);
  EXPECT_STREQ(GetMatchedUrl(engine, "site.com").c_str(), "http://www.site.com/");
  EXPECT_STREQ(GetMatchedUrl(engine, "nowhere.org").c_str(), "");
}

// Workers of a run match at the same time; each one's answer must stay its own while the others
// change the URL list under it.
TEST_F(RankMatcherTest, ManyWorkersMatchAtOnce) {
  const char* const lists[] = {"site-a.com", "www.site-b.com, other.org",
                               "\"phrase c\" site-c.net/"};
  const int expected[] = {3, 5, 7};
  const int kThreads = 8, kRounds = 1000;
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      CSearchEngine engine;
      engine.m_name = "ThreadEngine";
      for (int i = 0; i < 8; ++i) {
        std::string href = "http://filler" + std::to_string(i) + ".com/";
        if (i == 2) href = "http://site-a.com/";
        if (i == 4) href = "http://site-b.com/";
        if (i == 6) href = "http://site-c.net/page";
        AddRecord(engine, i, 0, i, Block(href));
      }
      for (int round = 0; round < kRounds; ++round) {
        int which = (t + round) % 3;
        for (CListNode* node = engine.m_results.Head(); node; node = node->Next())
          static_cast<CSearchResult*>(node->Payload())->m_matched = 0;
        if (GetEngineRank(engine, lists[which]) != expected[which]) ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
