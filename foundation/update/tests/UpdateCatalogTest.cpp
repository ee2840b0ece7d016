#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "foundation/update/IniText.h"
#include "foundation/update/ServerRotation.h"
#include "foundation/update/UpdateCatalog.h"

namespace {

const char* const kCatalogue =
    "; published catalogue\r\n"
    "[File List]\r\n"
    "Count=5\r\n"
    "File0=ZBPro.exe\r\n"
    "File1=zbresdeu.dll\r\n"
    "File2=..\\..\\Windows\\evil.exe\r\n"
    "File3=engines.dat\r\n"
    "file4 = \"ZBPRO.EXE\"\r\n"
    "[ZBPro.exe]\r\n"
    "Description=Main program\r\n"
    "Version=7.0.1.2\r\n"
    "Size=123456\r\n"
    "HttpPath=/zubrin/latest/ZBPro.arq\r\n"
    "[zbpro.exe]\r\n"
    "Description=ignored: the first section of that name counts\r\n"
    "[zbresdeu.dll]\r\n"
    "IsResource=1\r\n"
    "Version=7.0.0.0\r\n"
    "[engines.dat]\r\n"
    "DateTime=12/24/2026 10:30:00\r\n"
    "Size=12abc\r\n"
    "[FTP Servers]\r\n"
    "Count=2\r\n"
    "Server0=127.0.0.1:8080\r\n";

// Every value a reader relies on, and every default where the catalogue says nothing.
TEST(UpdateCatalog, ReadsEntriesWithTheirDefaults) {
  UpdateCatalog c = ParseUpdateCatalog(kCatalogue);
  ASSERT_EQ(c.entries.size(), 3u);
  // The later listing of the same name (any case) replaces the earlier one.
  EXPECT_EQ(c.entries[0].name, "zbresdeu.dll");
  EXPECT_EQ(c.entries[1].name, "engines.dat");
  EXPECT_EQ(c.entries[2].name, "ZBPRO.EXE");
  const CatalogueEntry& exe = c.entries[2];
  EXPECT_EQ(exe.description, "Main program");
  EXPECT_EQ(exe.version, "7.0.1.2");
  EXPECT_EQ(exe.size, 123456);
  EXPECT_EQ(exe.httpPath, "/zubrin/latest/ZBPro.arq");
  EXPECT_EQ(exe.isResource, 0);
  const CatalogueEntry& dll = c.entries[0];
  EXPECT_EQ(dll.description, "No Description");
  EXPECT_EQ(dll.size, 1000);
  EXPECT_EQ(dll.httpPath, "/update/");
  EXPECT_TRUE(dll.IsOptional());
  const CatalogueEntry& dat = c.entries[1];
  EXPECT_EQ(dat.version, "0.0.0.0");
  EXPECT_EQ(dat.RemoteVersionText(), "12/24/2026 10:30:00");
  EXPECT_EQ(dat.size, 12);
  ASSERT_EQ(c.refused.size(), 1u);
  EXPECT_EQ(c.refused[0], "..\\..\\Windows\\evil.exe");
  ASSERT_TRUE(c.hasServerList);
  ASSERT_EQ(c.servers.size(), 2u);
  EXPECT_EQ(c.servers[0], "127.0.0.1:8080");
  EXPECT_EQ(c.servers[1], kDefaultUpdateHost);
}

TEST(UpdateCatalog, EmptyOrHostileCatalogues) {
  struct Case {
    const char* what;
    std::string text;
    size_t entries;
  } cases[] = {
      {"no file list", "[Other]\nCount=3\n", 0},
      {"count 0", "[File List]\nCount=0\nFile0=a.exe\n", 0},
      {"negative count", "[File List]\nCount=-5\nFile0=a.exe\n", 0},
      {"huge count, one name", "[File List]\nCount=2147483647\nFile0=a.exe\n", 1},
      {"names missing", "[File List]\nCount=3\n", 0},
      {"keys before any section", "Count=1\nFile0=a.exe\n", 0},
      {"unsafe names only", "[File List]\nCount=3\nFile0=C:\\a.exe\nFile1=CON\nFile2=/x\n", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ParseUpdateCatalog(c.text).entries.size(), c.entries) << c.what;
  UpdateCatalog none = ParseUpdateCatalog("[File List]\nCount=1\nFile0=a.exe\n");
  EXPECT_FALSE(none.hasServerList);
  UpdateCatalog many = ParseUpdateCatalog("[FTP Servers]\nCount=100000\n");
  EXPECT_EQ(many.servers.size(), static_cast<size_t>(UpdateCatalog::kMaxServers));
}

TEST(IniText, ValuesAreCutAndTrimmedLikeTheProfileFunctions) {
  IniText ini("[S]\nlong=" + std::string(400, 'x') + "\n  Key  =  spaced value  \nq='a b'\n" +
              "n=  42abc\nbig=99999999999\nneg=-7\n");
  EXPECT_EQ(ini.GetString("s", "LONG", "").size(), IniText::kMaxValue);
  EXPECT_EQ(ini.GetString("S", "key", ""), "spaced value");
  EXPECT_EQ(ini.GetString("S", "q", ""), "a b");
  EXPECT_EQ(ini.GetString("S", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.GetInt("S", "n", 0), 42);
  EXPECT_EQ(ini.GetInt("S", "big", 0), 2147483647);
  EXPECT_EQ(ini.GetInt("S", "neg", 0), -7);
  EXPECT_EQ(ini.GetInt("S", "missing", 5), 5);
}

// The decision is the version comparison, except that a missing optional file stays missing.
TEST(UpdateCatalog, NeedsUpdateRules) {
  CatalogueEntry plain, optional;
  optional.isResource = 1;
  CatalogueEntry two;
  two.isResource = 2;  // only 1 marks a file as optional
  struct Case {
    const CatalogueEntry* entry;
    bool installed, older, expected;
  } cases[] = {{&plain, true, true, true},    {&plain, true, false, false},
               {&plain, false, true, true},   {&optional, false, true, false},
               {&optional, true, true, true}, {&optional, true, false, false},
               {&two, false, true, true}};
  for (const Case& c : cases)
    EXPECT_EQ(CatalogueNeedsUpdate(*c.entry, c.installed, c.older), c.expected)
        << c.entry->isResource << c.installed << c.older;
}

TEST(UpdateCatalog, ArchiveNamesFromServerPaths) {
  struct Case {
    const char* path;
    const char* name;
    bool downloadable;
  } cases[] = {{"/zubrin/latest/Pack1.ARQ", "pack1.arq", true},
               {"/zubrin/latest/", "latest", false},
               {"/update/", "update", false},
               {"", "", false},
               {"///", "", false},
               {"pack.arq", "pack.arq", true},
               {"/a/\"x/y.arq\"", "x/y.arq", false},
               {"/a/..\\..\\evil.arq", "..\\..\\evil.arq", false},
               {"/a/c:evil.arq", "c:evil.arq", false},
               {"/a/nul.arq", "nul.arq", false},
               {"/a/.arq", ".arq", false},
               {"/a/zbpro.exe", "zbpro.exe", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(LocalArchiveName(c.path), c.name) << c.path;
    EXPECT_EQ(IsDownloadableArchiveName(LocalArchiveName(c.path)), c.downloadable) << c.path;
  }
}

TEST(UpdateCatalog, EngineDataFiles) {
  EXPECT_TRUE(IsEngineDataFile("Engines.DAT"));
  EXPECT_TRUE(IsEngineDataFile("categories.dat"));
  EXPECT_FALSE(IsEngineDataFile("engines.dat.bak"));
  EXPECT_FALSE(IsEngineDataFile("data\\engines.dat"));
}

class MapStore : public ServerStore {
 public:
  long GetInt(const char* name, long fallback) override {
    auto it = values.find(name);
    return it == values.end() ? fallback : std::stol(it->second);
  }
  void SetInt(const char* name, long value) override { values[name] = std::to_string(value); }
  std::string GetString(const char* name) override {
    auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
  }
  void SetString(const char* name, const std::string& value) override { values[name] = value; }
  std::map<std::string, std::string> values;
};

std::vector<std::string> Tries(MapStore& store) {
  ServerRotation rotation(store);
  std::vector<std::string> hosts;
  for (std::string h; !(h = rotation.NextHost()).empty();) hosts.push_back(h);
  return hosts;
}

TEST(ServerRotation, EachServerOnceStartingAfterTheLastTried) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> profile;
    std::vector<std::string> hosts;
    std::string startAfter;
  } cases[] = {
      {"start 2 of 3",
       {{"Count", "3"}, {"StartServer", "2"}, {"Server0", "a"}, {"Server1", "b"}, {"Server2", "c"}},
       {"c", "a", "b"},
       "2"},
      {"stale entries above the count are never tried",
       {{"Count", "2"}, {"Server0", "a"}, {"Server1", "b"}, {"Server2", "stale"}},
       {"a", "b"},
       "0"},
      {"start beyond the count wraps to the first",
       {{"Count", "2"}, {"StartServer", "7"}, {"Server0", "a"}, {"Server1", "b"}},
       {"a", "b"},
       "0"},
      {"negative start",
       {{"Count", "2"}, {"StartServer", "-1"}, {"Server0", "a"}, {"Server1", "b"}},
       {"a", "b"},
       "0"},
      {"an empty entry is passed over",
       {{"Count", "3"}, {"Server0", "a"}, {"Server2", "c"}},
       {"a", "c"},
       "0"},
      {"empty list: the default host once",
       {{"Count", "0"}, {"Server0", "stale"}},
       {kDefaultUpdateHost},
       ""},
      {"nothing stored: the default host once", {}, {kDefaultUpdateHost}, ""},
  };
  for (Case& c : cases) {
    MapStore store;
    store.values = c.profile;
    EXPECT_EQ(Tries(store), c.hosts) << c.what;
    EXPECT_EQ(store.GetString("StartServer"),
              c.startAfter.empty() ? store.GetString("StartServer") : c.startAfter)
        << c.what;
  }
}

TEST(ServerRotation, StartIndexIsWrittenAtEveryTry) {
  MapStore store;
  store.values = {
      {"Count", "3"}, {"StartServer", "2"}, {"Server0", "a"}, {"Server1", "b"}, {"Server2", "c"}};
  ServerRotation rotation(store);
  const char* expected[][2] = {{"c", "0"}, {"a", "1"}, {"b", "2"}};
  for (auto& e : expected) {
    EXPECT_EQ(rotation.NextHost(), e[0]);
    EXPECT_EQ(store.values["StartServer"], e[1]);
  }
  EXPECT_EQ(rotation.NextHost(), "");
}

TEST(ServerRotation, CopyServerListReplacesCountAndNames) {
  MapStore store;
  store.values = {{"Count", "3"},
                  {"StartServer", "2"},
                  {"Server0", "old0"},
                  {"Server1", "old1"},
                  {"Server2", "old2"}};
  ServerRotation::CopyServerList(store, {"new0", "new1"});
  EXPECT_EQ(store.values["Count"], "2");
  EXPECT_EQ(store.values["Server0"], "new0");
  EXPECT_EQ(store.values["Server1"], "new1");
  EXPECT_EQ(store.values["StartServer"], "2");
  // The stale third entry stays in the profile but is never tried again.
  EXPECT_EQ(Tries(store), (std::vector<std::string>{"new0", "new1"}));
}

}  // namespace
