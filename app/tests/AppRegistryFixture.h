// A test's view of the program's profile: an application object named like the program, and
// the program's keys (and the older root's) removed before and after each test, in the test
// run's own Wine prefix.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/app/WinApp.h"

class AppRegistryFixture : public ::testing::Test {
 protected:
  static constexpr const char* kProgramKey = "Software\\Orvandel Labs, Inc.\\ZBPro";
  static constexpr const char* kPropertiesKey = "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties";
  static constexpr const char* kOldRoot = "Software\\The Zub House";

  void SetUp() override {
    Clean();
    m_app = std::make_unique<CWinApp>("ZBPro");
    m_app->SetRegistryKey("Orvandel Labs, Inc.");
  }
  void TearDown() override {
    m_app.reset();
    Clean();
  }
  static void Clean() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProgramKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Orvandel Labs, Inc.");
    RegDeleteTreeA(HKEY_CURRENT_USER, kOldRoot);
    RegDeleteKeyA(HKEY_CURRENT_USER, kOldRoot);
  }

  static void SetText(const char* keyPath, const char* name, const char* value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(strlen(value) + 1));
    RegCloseKey(key);
  }
  static void SetNumber(const char* keyPath, const char* name, DWORD value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }
  // The text of a string value, of any length; false when it is missing.
  static bool GetText(const char* keyPath, const char* name, CString& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    std::vector<char> buffer(size + 1, '\0');
    if (rc == ERROR_SUCCESS)
      rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                            &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
    value = buffer.data();
    return true;
  }
  static bool GetNumber(const char* keyPath, const char* name, DWORD& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = sizeof value;
    LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
  }

  std::unique_ptr<CWinApp> m_app;
};
