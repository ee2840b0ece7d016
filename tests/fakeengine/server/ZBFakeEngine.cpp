// ZBFakeEngine: the fake search engine as a program of its own, for the demo (never installed
// with the product). It serves the demo's ranks on 127.0.0.1, writes engines.dat and
// categories.dat for its port into a folder, prints the port on a line of its own and serves
// until its standard input ends (or it is killed).
//
//   ZBFakeEngine DEMOFILE FOLDER
//
// Exit code 0 after a clean end; 1 with a message on standard error when it cannot start.
#include <windows.h>

#include <cstdio>
#include <string>

#include "engines/db/EngineDataKey.h"
#include "foundation/net/Socklet.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/fakeengine/server/DemoScenario.h"
#include "tools/makedoc/DemoData.h"

namespace {

int Fail(const std::string& message) {
  fprintf(stderr, "ZBFakeEngine: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: ZBFakeEngine DEMOFILE FOLDER\n");
    return 2;
  }
  zbdemo::DemoData data;
  std::string error;
  if (!zbdemo::ReadDemoData(argv[1], data, error)) return Fail(std::string(argv[1]) + ": " + error);
  SockletStartup();
  zbtest::FakeSearchEngine fake;
  if (!fake.Start()) return Fail("cannot listen on 127.0.0.1");
  zbtest::ApplyDemoScenario(fake, data);
  // Scrambled as an installed copy holds them, so the program reads them as it reads its own.
  if (!zbtest::WriteEngineFixtures(argv[2], fake.Port(), BuildEngineDataKey().c_str()))
    return Fail(std::string("cannot write the engine files into ") + argv[2]);
  printf("%u\n", static_cast<unsigned>(fake.Port()));
  fflush(stdout);
  // The caller ends the server by closing our input.
  while (fgetc(stdin) != EOF) {
  }
  fake.Stop();
  return 0;
}
