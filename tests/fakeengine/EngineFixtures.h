// The engine data fixtures of tests/fixtures, as the tests use them: the checked-in files are
// copied beside the test programs ("fixtures" folder) when the build is configured, and copies
// for a running fake search engine are written with its port in place of "@PORT@".
#pragma once

#include <string>

namespace zbtest {

// Full path of a fixture file ("engines.src.dat", "engines.dat", "categories.src.dat",
// "categories.dat"): beside the test program, else in the source tree.
std::string FixturePath(const std::string& name);
// The bytes of a fixture file; empty when it cannot be read.
std::string ReadFixture(const std::string& name);

// Writes engines.dat and categories.dat into `folder` (which must exist) from the readable
// fixtures with "@PORT@" replaced by `port`: scrambled with `key` line by line as the program
// reads them (comments and empty lines left plain), or plain when `key` is null. False when a
// file could not be read or written.
bool WriteEngineFixtures(const std::string& folder, unsigned short port, const char* key);

// The text of a readable fixture with "@PORT@" replaced.
std::string FixtureForPort(const std::string& name, unsigned short port);

}  // namespace zbtest
