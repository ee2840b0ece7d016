// ZBFakeEngine.exe as the demo script drives it: the port on the first line of its output,
// the engine files in the folder, the demo's ranks served, a clean end when its input closes,
// and a clear refusal of a command line it cannot serve.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "tests/servers/tests/RawClient.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TempFolder.h"

namespace {

std::string DemoPath() {
  std::string source = ZB_SOURCE_DIR;
  if (!source.empty() && source[0] == '/') source = "Z:" + source;
  return source + "/tests/fixtures/demo/demo.txt";
}

// The program with its three standard handles on pipes of this test.
class Program {
 public:
  explicit Program(const std::string& arguments) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE inRead, outWrite, errWrite;
    CreatePipe(&inRead, &input_, &inherit, 0);
    CreatePipe(&output_, &outWrite, &inherit, 0);
    CreatePipe(&errors_, &errWrite, &inherit, 0);
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errors_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = inRead;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    std::string exe = zbtest::BinFolder() + "ZBFakeEngine.exe";
    std::string command = "\"" + exe + "\" " + arguments;
    started_ = CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                              nullptr, &si, &info_);
    CloseHandle(inRead);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
  }
  ~Program() {
    CloseInput();
    if (started_) {
      if (WaitForSingleObject(info_.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(info_.hProcess, 255);
      CloseHandle(info_.hProcess);
      CloseHandle(info_.hThread);
    }
    CloseHandle(output_);
    CloseHandle(errors_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Started() const { return started_; }
  // The first line of the output, without its line end; empty when none came in time.
  std::string FirstLine(DWORD timeoutMs) {
    std::string text;
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs;) {
      text += ReadAvailable(output_);
      size_t end = text.find('\n');
      if (end != std::string::npos) {
        text.erase(end);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        return text;
      }
      Sleep(20);
    }
    return std::string();
  }
  void CloseInput() {
    if (input_) CloseHandle(input_);
    input_ = nullptr;
  }
  // The exit code once the program ended within the time; STILL_ACTIVE otherwise.
  DWORD WaitForExit(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0)
      GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  std::string Errors() { return ReadAvailable(errors_); }

 private:
  static std::string ReadAvailable(HANDLE pipe) {
    std::string text;
    DWORD available = 0;
    while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
      char buffer[4096];
      DWORD got = 0;
      if (!ReadFile(pipe, buffer, available < sizeof buffer ? available : sizeof buffer, &got,
                    nullptr) || got == 0)
        break;
      text.append(buffer, got);
    }
    return text;
  }

  PROCESS_INFORMATION info_ = {};
  bool started_ = false;
  HANDLE input_ = nullptr, output_ = nullptr, errors_ = nullptr;
};

std::string Get(unsigned short port, const std::string& path) {
  zbtest::RawClient client;
  if (!client.Connect(port)) return std::string();
  client.Send("GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
  return client.ReadAll();
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class FakeEngineProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  }
  void TearDown() override { WSACleanup(); }
  zbtest::TempFolder folder_;
};

TEST_F(FakeEngineProgramTest, ServesTheDemoUntilItsInputCloses) {
  std::string folder = folder_.Path();
  folder.pop_back();
  Program program("\"" + DemoPath() + "\" \"" + folder + "\"");
  ASSERT_TRUE(program.Started());
  std::string line = program.FirstLine(30000);
  int port = atoi(line.c_str());
  ASSERT_GT(port, 0) << "first line: \"" << line << "\" " << program.Errors();
  EXPECT_EQ(line, std::to_string(port));
  EXPECT_TRUE(Exists(folder_.File("engines.dat")));
  EXPECT_TRUE(Exists(folder_.File("categories.dat")));

  const std::string site = "http://www.lakeside-pottery.example/";
  struct Case {
    const char* path;
    bool listsSite;
  } cases[] = {
      {"/alpha/search?q=handmade+pottery&n=10&start=0", true},  // rank 3
      {"/beta/search?q=handmade+pottery&first=11", true},       // rank 14, page 2
      {"/beta/search?q=handmade+pottery&first=1", false},
      {"/gamma/search?q=handmade+pottery&s=0", false},  // absent
      {"/kappa/search?q=handmade+pottery", false},      // not a demo engine
      // Every term has ranks of its own.
      {"/beta/search?q=stoneware+mugs&first=1", true},   // rank 2
      {"/gamma/search?q=pottery+classes&s=0", false},    // rank 12, page 2
      {"/gamma/search?q=pottery+classes&s=10", true},
  };
  for (const Case& c : cases) {
    std::string answer = Get(static_cast<unsigned short>(port), c.path);
    EXPECT_EQ(answer.rfind("HTTP/1.", 0), 0u) << c.path;
    EXPECT_EQ(answer.find(site) != std::string::npos, c.listsSite) << c.path;
  }

  program.CloseInput();
  EXPECT_EQ(program.WaitForExit(10000), 0u);
}

// A demo that cannot run must say why at once, never serve something else or wait.
TEST_F(FakeEngineProgramTest, RefusesWhatItCannotServe) {
  struct Case {
    std::string arguments;
    DWORD code;
    const char* message;
  } cases[] = {
      {"", 2, "usage: ZBFakeEngine"},
      {"\"" + DemoPath() + "\"", 2, "usage: ZBFakeEngine"},
      {"\"" + folder_.File("missing.txt") + "\" \"" + folder_.Path() + "\"", 1, "cannot read"},
      {"\"" + DemoPath() + "\" \"" + folder_.File("no-such-folder") + "\"", 1,
       "cannot write the engine files"},
  };
  for (const Case& c : cases) {
    Program program(c.arguments);
    ASSERT_TRUE(program.Started());
    program.CloseInput();
    EXPECT_EQ(program.WaitForExit(30000), c.code) << c.arguments;
    EXPECT_NE(program.Errors().find(c.message), std::string::npos) << c.arguments;
  }
}

}  // namespace
