// The built language module holds a text for every string id the programs load: a missing one
// shows the user a bare number, or asks a Yes/No question of it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/app/AfxResource.h"
#include "resources/StringIds.h"

namespace {

TEST(LanguageStringsTest, EveryLoadedStringIdHasItsText) {
  HINSTANCE module = AfxLoadResourceModule("ZBResENU.dll");
  ASSERT_NE(module, nullptr) << "ZBResENU.dll is built beside the tests";
  for (const LanguageStringId& entry : kLanguageStringIds) {
    SCOPED_TRACE(entry.name);
    char buffer[4100] = {};
    int length = LoadStringA(module, entry.id, buffer, sizeof buffer);
    EXPECT_GT(length, 0) << "string " << entry.id << " is missing from the language module";
    if (entry.placeholder) {
      EXPECT_NE(std::string(buffer).find(entry.placeholder), std::string::npos)
          << "string " << entry.id << " lacks " << entry.placeholder;
    }
  }
  FreeLibrary(module);
}

}  // namespace
