// Shared bits of the HTTP and SMTP client tests: an event recorder for the socket callback and
// a fixture part that shortens the network layer's waits.
#pragma once

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/net/InetAddress.h"
#include "foundation/net/Sock.h"
#include "foundation/net/Socklet.h"

namespace nettest {

// Every event that reaches the callback, with the texts of the text events (118, 207, 208).
struct EventLog {
  std::mutex mutex;
  std::vector<int> codes;
  std::vector<std::pair<int, std::string>> texts;
  std::vector<std::pair<uint32_t, uint32_t>> progress;
  int abortOn = 0;  // the callback answers false to this code

  static bool Callback(CSock*, int code, uintptr_t data, uintptr_t user) {
    EventLog* self = reinterpret_cast<EventLog*>(user);
    std::lock_guard<std::mutex> lock(self->mutex);
    self->codes.push_back(code);
    if ((code == 118 || code == 207 || code == 208) && data)
      self->texts.emplace_back(code, reinterpret_cast<const char*>(data));
    if (code == 119) {
      const uint32_t* pair = reinterpret_cast<const uint32_t*>(data);
      self->progress.emplace_back(pair[0], pair[1]);
    }
    return code != self->abortOn;
  }
  void Attach(CSock& sock) { sock.SetCallback(Callback, reinterpret_cast<uintptr_t>(this)); }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex);
    codes.clear();
    texts.clear();
    progress.clear();
  }
  bool Has(int code) {
    std::lock_guard<std::mutex> lock(mutex);
    return std::find(codes.begin(), codes.end(), code) != codes.end();
  }
  int Count(int code) {
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<int>(std::count(codes.begin(), codes.end(), code));
  }
  // The codes without idle ticks, and with each run of one code folded into one entry.
  std::vector<int> Steps() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<int> steps;
    for (int code : codes)
      if (code != 110 && (steps.empty() || steps.back() != code)) steps.push_back(code);
    return steps;
  }
  std::vector<std::string> Texts(int code) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<std::string> out;
    for (const auto& t : texts)
      if (t.first == code) out.push_back(t.second);
    return out;
  }
};

// Waits of the network layer in steps of 20 ms instead of a second, so that a time-out of a few
// steps passes quickly; restored afterwards.
class ShortWaits {
 public:
  explicit ShortWaits(unsigned stepMs = 20) { SockletSetWaitStep(stepMs); }
  ~ShortWaits() { SockletSetWaitStep(0); }
};

// A name service that knows only the names of the table, all on loopback; reverse look-ups find
// the name given (or none). No real name is ever asked.
struct FakeNames {
  static std::vector<std::string>& Names() {
    static std::vector<std::string> names;
    return names;
  }
  static std::string& ReverseName() {
    static std::string name;
    return name;
  }
  static int& Lookups() {
    static int count = 0;
    return count;
  }
  static bool Lookup(const char* name, uint32_t& address) {
    ++Lookups();
    for (const std::string& known : Names())
      if (_stricmp(known.c_str(), name) == 0) {
        address = 0x7F000001u;
        return true;
      }
    return false;
  }
  static bool Reverse(uint32_t, CLibString& name) {
    if (ReverseName().empty()) return false;
    name = ReverseName().c_str();
    return true;
  }
  FakeNames(std::vector<std::string> names, std::string reverse = "") {
    Names() = std::move(names);
    ReverseName() = std::move(reverse);
    Lookups() = 0;
    CInetAddress::ResetShared();
    CInetAddress::SetNameService(Lookup, Reverse);
  }
  ~FakeNames() {
    CInetAddress::SetNameService(nullptr, nullptr);
    CInetAddress::ResetShared();
  }
};

}  // namespace nettest
