// The accelerator manager: key names and shortcut texts, editing the table, the catalogue built
// from a menu, the table stored in the profile (a scratch application key in the test's Wine
// prefix, removed afterwards), what is saved when, and the failures of saving and applying.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/services/TkAccelManager.h"
#include "toolkit/services/TkProfileStore.h"
#include "toolkit/tests/services/AccelTestIds.h"

namespace {

const char kCompany[] = "Orvandel Labs, Inc.";

ACCEL Accel(BYTE fVirt, WORD key, WORD cmd = 1) { return ACCEL{fVirt, key, cmd}; }

class AccelManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_appName.Format("TkAccelTest-%lu", GetCurrentProcessId());
    m_app = std::make_unique<CWinApp>(m_appName);
    m_app->SetRegistryKey(kCompany);
    ToolkitData().m_strIniFile.Empty();
  }
  void TearDown() override {
    m_frame.m_hAccelTable = nullptr;
    ::RegDeleteTreeA(HKEY_CURRENT_USER, AppPath());
    m_app.reset();
  }
  CString AppPath() const { return CString("Software\\") + kCompany + "\\" + m_appName; }
  // The stored block of a table name, read past the manager; empty when there is none.
  std::vector<BYTE> Stored(LPCSTR table) const {
    HKEY key;
    std::vector<BYTE> bytes;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, AppPath() + "\\Settings", 0, KEY_READ, &key) != 0) {
      return bytes;
    }
    CString entry = CString("kbdAccel_") + table;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, entry, nullptr, &type, nullptr, &size) == 0 &&
        type == REG_BINARY) {
      bytes.resize(size);
      ::RegQueryValueExA(key, entry, nullptr, &type, bytes.data(), &size);
    }
    ::RegCloseKey(key);
    return bytes;
  }
  void Store(LPCSTR table, const void* data, UINT size) {
    CTkProfileStore store(HKEY_CURRENT_USER);
    ASSERT_TRUE(store.WriteProfileBinary("Settings", CString("kbdAccel_") + table,
                                         static_cast<const BYTE*>(data), size));
  }
  std::vector<CString> Catalogue(const CTkAccelManager& manager) const {
    std::vector<CString> names;
    POSITION pos = manager.GetFirstCommandPosition();
    while (pos) {
      UINT id;
      CString name;
      manager.GetNextCommand(pos, id, name);
      names.push_back(name);
    }
    return names;
  }

  CString m_appName;
  std::unique_ptr<CWinApp> m_app;
  CFrameWnd m_frame;  // only its accelerator table is used
};

}  // namespace

TEST(AccelNamesTest, RecordsReadAsModifiersAndAKeyName) {
  struct Case {
    ACCEL accel;
    const char* text;
    const char* why;
  };
  const Case cases[] = {
      {Accel(FCONTROL | FVIRTKEY, 'S'), "Ctrl+S", "the common case"},
      {Accel(FSHIFT | FCONTROL, VK_DELETE), "Shift+Ctrl+DELETE", "modifiers in table order"},
      {Accel(FALT, VK_F1), "Alt+F1", "without FVIRTKEY the key is still a key code"},
      {Accel(FALT | FCONTROL | FSHIFT | FVIRTKEY, VK_F12), "Shift+Ctrl+Alt+F12", "all three"},
      {Accel(FCONTROL | FALT, 0), "", "key 0 yields nothing, whatever the flags"},
      {Accel(FCONTROL, 0xBA), "Ctrl+", "a key without a name leaves the plus"},
      {Accel(FVIRTKEY, VK_NUMPAD7), "NUMPAD7", "no modifiers"},
      {Accel(FVIRTKEY, VK_OEM_CLEAR), "OEM_CLEAR", "the last row"},
      {Accel(FVIRTKEY, '0'), "0", "digits by their character"},
  };
  for (const Case& c : cases) {
    CString text = "stale";
    CTkAccelManager::FormatAccel(c.accel, text);
    EXPECT_EQ(text, c.text) << c.why;
  }
  // Keys are looked up among the keys only: 0x04 is the middle button, not Shift's flag.
  EXPECT_STREQ(CTkAccelManager::GetKeyName(0x04), "MIDDLEBUTTON");
  EXPECT_STREQ(CTkAccelManager::GetKeyName(VK_SHIFT), "SHIFT");
  EXPECT_STREQ(CTkAccelManager::GetKeyName(VK_PRIOR), "PREVIOUS");
  EXPECT_STREQ(CTkAccelManager::GetKeyName(0xBA), "");
  EXPECT_STREQ(CTkAccelManager::GetKeyName(0), "");
}

TEST_F(AccelManagerTest, AFreshManagerIsEmptyAndLeavesTheProfileAlone) {
  const ACCEL kept[] = {Accel(FVIRTKEY, VK_F2, 7)};
  Store("", kept, sizeof kept);
  {
    CTkAccelManager manager;
    EXPECT_FALSE(manager.IsInitialized());
    EXPECT_EQ(manager.GetCount(), 0);
    CString text;
    manager.GetShortcutText(ID_TEST_OPEN, text);
    EXPECT_EQ(text, "");
  }
  EXPECT_EQ(Stored("").size(), sizeof kept) << "destruction wrote and deleted nothing";
}

TEST_F(AccelManagerTest, TheTableIsEditedAndNamedPerCommand) {
  CTkAccelManager manager;
  manager.SetSaveOnDestroy(FALSE);
  EXPECT_TRUE(manager.AddAccel(10, FVIRTKEY, VK_F5));
  EXPECT_TRUE(manager.IsModified());
  EXPECT_FALSE(manager.IsDefault());
  manager.AddAccel(11, FVIRTKEY | FCONTROL, 'X');
  manager.AddAccel(10, FVIRTKEY | FCONTROL, 'R');

  CString text = "Open";
  manager.GetShortcutText(10, text);
  EXPECT_EQ(text, "Open, F5, Ctrl+R") << "appended, joined by commas";
  text.Empty();
  manager.GetShortcutText(12, text);
  EXPECT_EQ(text, "");

  int pos = 0;
  BYTE fVirt = 0;
  WORD key = 0;
  std::vector<CString> found;
  while (manager.EnumAccel(pos, 10, text, fVirt, key)) found.push_back(text);
  EXPECT_EQ(found, (std::vector<CString>{"F5", "Ctrl+R"}));

  UINT id = 0;
  // Only the modifier bits count when finding or removing: FVIRTKEY may differ.
  EXPECT_TRUE(manager.FindCommand(FCONTROL, 'X', id));
  EXPECT_EQ(id, 11u);
  EXPECT_FALSE(manager.FindCommand(FVIRTKEY, 'X', id)) << "Ctrl is missing";
  EXPECT_FALSE(manager.RemoveAccel(FVIRTKEY | FALT, 'R'));
  EXPECT_TRUE(manager.RemoveAccel(FCONTROL, 'R'));
  EXPECT_EQ(manager.GetCount(), 2);
  EXPECT_FALSE(manager.FindCommand(FCONTROL, 'R', id));
  EXPECT_TRUE(manager.FindCommand(0, VK_F5, id));
  EXPECT_EQ(id, 10u);
}

TEST_F(AccelManagerTest, InitBuildsTheCatalogueFromTheMenu) {
  CTkAccelManager manager;
  manager.SetSaveOnDestroy(FALSE);
  manager.AddReplacementCommand(ID_TEST_PLACEHOLDER, 4001, "First tool");
  manager.AddLeaveOutCommand(ID_TEST_HIDDEN);
  manager.AddExtraCommand("file", 4100, "Print Preview");
  manager.AddExtraCommand("Nowhere", 4200, "Lost");
  ASSERT_TRUE(manager.Init(&m_frame, IDR_TEST_ACCEL, IDR_TEST_ACCEL, "Main window", "Main"));
  EXPECT_TRUE(manager.IsInitialized());
  EXPECT_EQ(manager.GetDescription(), "Main window");

  EXPECT_EQ(Catalogue(manager),
            (std::vector<CString>{"File\\Open", "File\\Recent\\One", "File\\Exit",
                                  "File\\Print Preview", "Edit\\Copy", "Edit\\First tool"}));
  struct Category {
    UINT id;
    const char* category;
  };
  const Category categories[] = {{ID_TEST_OPEN, "File"}, {ID_TEST_RECENT_ONE, "File"},
                                 {4100, "File"},         {ID_TEST_COPY, "Edit"},
                                 {4001, "Edit"}};
  for (const Category& c : categories) {
    CString category;
    EXPECT_TRUE(manager.GetCommandCategory(c.id, category)) << c.id;
    EXPECT_EQ(category, c.category) << c.id;
    EXPECT_TRUE(manager.IsCommandInCategory(c.id, c.category));
  }
  CString name;
  EXPECT_FALSE(manager.GetCommandCategory(ID_TEST_HIDDEN, name)) << "left out";
  EXPECT_FALSE(manager.GetCommandCategory(ID_TEST_PLACEHOLDER, name)) << "replaced";
  EXPECT_FALSE(manager.GetCommandCategory(ID_TEST_HELP, name)) << "a top-level command";
  EXPECT_FALSE(manager.GetCommandName(4200, name)) << "its category is no menu";
  EXPECT_FALSE(manager.IsCommandInCategory(ID_TEST_OPEN, "file")) << "exact text";
  EXPECT_TRUE(manager.GetCommandName(ID_TEST_RECENT_ONE, name));
  EXPECT_EQ(name, "File\\Recent\\One");

  // Nothing stored yet: the resource's table, applied to the frame.
  EXPECT_TRUE(manager.IsDefault());
  EXPECT_FALSE(manager.IsModified());
  EXPECT_EQ(manager.GetCount(), 4);
  ASSERT_NE(m_frame.m_hAccelTable, nullptr);
  EXPECT_EQ(::CopyAcceleratorTableA(m_frame.m_hAccelTable, nullptr, 0), 4);
  CString text;
  manager.GetShortcutText(ID_TEST_EXIT, text);
  EXPECT_EQ(text, "Shift+Ctrl+DELETE");
}

TEST_F(AccelManagerTest, AStoredTableWinsOverTheResourceAndRoundTrips) {
  const ACCEL stored[] = {Accel(FVIRTKEY | FALT, 'Q', ID_TEST_EXIT),
                          Accel(FVIRTKEY, VK_F3, ID_TEST_OPEN)};
  Store("Main", stored, sizeof stored);
  {
    CTkAccelManager manager;
    manager.Init(&m_frame, IDR_TEST_ACCEL, IDR_TEST_ACCEL, "Main window", "Main");
    EXPECT_FALSE(manager.IsDefault());
    EXPECT_EQ(manager.GetCount(), 2);
    EXPECT_EQ(::CopyAcceleratorTableA(m_frame.m_hAccelTable, nullptr, 0), 2);
    CString text;
    manager.GetShortcutText(ID_TEST_EXIT, text);
    EXPECT_EQ(text, "Alt+Q");
    manager.AddAccel(ID_TEST_COPY, FVIRTKEY | FCONTROL, 'C');
  }
  // Destruction saved the changed table: six bytes a record, in the ACCEL layout.
  std::vector<BYTE> bytes = Stored("Main");
  ASSERT_EQ(bytes.size(), 18u);
  const BYTE third[6] = {FVIRTKEY | FCONTROL, 0, 'C', 0, ID_TEST_COPY & 0xFF, ID_TEST_COPY >> 8};
  EXPECT_EQ(std::vector<BYTE>(bytes.begin() + 12, bytes.end()),
            std::vector<BYTE>(third, third + 6));

  CTkAccelManager reader;
  reader.SetSaveOnDestroy(FALSE);
  EXPECT_TRUE(reader.LoadAndApply("Main", FALSE));
  EXPECT_EQ(reader.GetCount(), 3);
  EXPECT_FALSE(reader.LoadAndApply("Other", FALSE)) << "nothing stored under it";
  EXPECT_EQ(reader.GetCount(), 0);
}

TEST_F(AccelManagerTest, ATrailingPartRecordIsIgnoredOnLoad) {
  BYTE block[13] = {};
  const ACCEL records[] = {Accel(FVIRTKEY, VK_F1, 1), Accel(FVIRTKEY, VK_F2, 2)};
  std::memcpy(block, records, 12);
  block[12] = 0x7F;
  Store("Odd", block, sizeof block);
  CTkAccelManager manager;
  manager.SetSaveOnDestroy(FALSE);
  EXPECT_TRUE(manager.Load("Odd"));
  EXPECT_EQ(manager.GetCount(), 2);
  EXPECT_EQ(manager.GetTable()[1].key, VK_F2);
}

TEST_F(AccelManagerTest, WhatIsSavedWhen) {
  const ACCEL old[] = {Accel(FVIRTKEY, VK_F9, 9)};
  struct Case {
    const char* why;
    void (*change)(CTkAccelManager&);
    size_t storedSize;  // afterwards; 6 = untouched
  };
  const Case cases[] = {
      {"unchanged: nothing written", [](CTkAccelManager&) {}, 6},
      {"changed: the stored record and two more saved",
       [](CTkAccelManager& m) {
         m.AddAccel(1, FVIRTKEY, VK_F1);
         m.AddAccel(2, FVIRTKEY, VK_F2);
       },
       18},
      {"the resource's table: the stored one deleted",
       [](CTkAccelManager& m) { EXPECT_TRUE(m.LoadDefault()); }, 0},
  };
  for (const Case& c : cases) {
    Store("T", old, sizeof old);
    CTkAccelManager manager;
    manager.Init(&m_frame, IDR_TEST_ACCEL, IDR_TEST_ACCEL, "", "T");
    c.change(manager);
    EXPECT_TRUE(manager.SaveState()) << c.why;
    EXPECT_FALSE(manager.IsModified()) << c.why;
    EXPECT_EQ(Stored("T").size(), c.storedSize) << c.why;
    manager.SetSaveOnDestroy(FALSE);
  }
}

TEST_F(AccelManagerTest, AFailedSaveIsReportedAndTheChangeStaysUnsaved) {
  // Without a company key the profile cannot be written.
  m_app = std::make_unique<CWinApp>(m_appName);
  CTkAccelManager manager;
  manager.SetSaveOnDestroy(FALSE);
  manager.AddAccel(1, FVIRTKEY, VK_F1);
  const ACCEL table[] = {Accel(FVIRTKEY, VK_F1, 1)};
  EXPECT_FALSE(manager.Save("T", table, 1));
  EXPECT_FALSE(manager.SaveState());
  EXPECT_TRUE(manager.IsModified()) << "a later save may still succeed";

  m_app->SetRegistryKey(kCompany);
  EXPECT_TRUE(manager.SaveState());
  EXPECT_FALSE(manager.IsModified());
}

namespace {
std::vector<HACCEL> g_destroyed;
int g_destroyCalls = 0;
HACCEL g_stuck = nullptr;
BOOL WINAPI DestroyUnlessStuck(HACCEL hAccel) {
  ++g_destroyCalls;
  if (hAccel == g_stuck) return FALSE;
  g_destroyed.push_back(hAccel);
  return ::DestroyAcceleratorTable(hAccel);
}
HACCEL g_created = nullptr;
HACCEL WINAPI CreateAndRemember(LPACCEL table, int count) {
  g_created = ::CreateAcceleratorTableA(table, count);
  return g_created;
}
}  // namespace

TEST_F(AccelManagerTest, ATableThatCannotBeInstalledIsDestroyed) {
  TkAccelTableCalls saved = TkGetAccelTableCalls();
  TkGetAccelTableCalls() = {CreateAndRemember, DestroyUnlessStuck};
  CTkAccelManager manager;
  manager.SetSaveOnDestroy(FALSE);
  manager.Init(&m_frame, IDR_TEST_ACCEL, IDR_TEST_ACCEL, "", "Stuck");
  HACCEL first = m_frame.m_hAccelTable;
  ASSERT_NE(first, nullptr);

  // The frame's table will not go: the new one is given up, and not leaked.
  g_stuck = first;
  g_destroyCalls = 0;
  g_destroyed.clear();
  manager.AddAccel(5, FVIRTKEY, VK_F6);
  EXPECT_FALSE(manager.Apply());
  EXPECT_EQ(m_frame.m_hAccelTable, first) << "the frame keeps its table";
  EXPECT_EQ(g_destroyCalls, 11) << "ten attempts on the old table, then the new one";
  EXPECT_EQ(g_destroyed, std::vector<HACCEL>{g_created});

  // Once the old table goes, the new one is installed.
  g_stuck = nullptr;
  g_destroyed.clear();
  EXPECT_TRUE(manager.Apply());
  EXPECT_EQ(g_destroyed, std::vector<HACCEL>{first});
  EXPECT_EQ(m_frame.m_hAccelTable, g_created);
  EXPECT_EQ(::CopyAcceleratorTableA(m_frame.m_hAccelTable, nullptr, 0), 5);
  TkGetAccelTableCalls() = saved;
}

TEST_F(AccelManagerTest, AMenuWithoutATableLeavesTheTableEmpty) {
  CTkAccelManager manager;
  manager.SetSaveOnDestroy(FALSE);
  manager.Init(&m_frame, IDR_TEST_NO_ACCEL, IDR_TEST_NO_ACCEL, "", "None");
  EXPECT_EQ(manager.GetCount(), 0);
  EXPECT_FALSE(manager.IsDefault());
  EXPECT_EQ(m_frame.m_hAccelTable, nullptr);
  EXPECT_EQ(Catalogue(manager), std::vector<CString>{"Tools\\Run"});
  EXPECT_FALSE(manager.Reset());
}
