// A proxy that answers CONNECT requests, in the test's own process: it asks for Basic
// authorization when given a user, opens a tunnel to origins on 127.x only, and relays one
// request and its response. Faults on demand: a fixed answer instead of the tunnel, or an
// answer that never ends.
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "tests/servers/LoopbackServer.h"

namespace zbtest {

class TunnelTestProxy : public LoopbackServer {
 public:
  explicit TunnelTestProxy(std::string user = "", std::string password = "")
      : user_(std::move(user)), password_(std::move(password)) {}
  ~TunnelTestProxy() override { Stop(); }

  // Sent instead of opening the tunnel (empty: open it).
  void SetAnswer(const std::string& raw) {
    std::lock_guard<std::mutex> lock(mutex_);
    answer_ = raw;
  }
  // The request heads it got, exactly as they came.
  std::vector<std::string> Heads() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return heads_;
  }
  int TunnelCount() const { return tunnels_; }

 protected:
  void Serve(Connection& client) override;

 private:
  void Relay(Connection& client, const std::string& target);
  const std::string user_;
  const std::string password_;
  mutable std::mutex mutex_;
  std::string answer_;
  std::vector<std::string> heads_;
  std::atomic<int> tunnels_{0};
};

}  // namespace zbtest
