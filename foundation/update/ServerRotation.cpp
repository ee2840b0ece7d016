#include "foundation/update/ServerRotation.h"

#include <algorithm>
#include <cstdio>

#include "foundation/update/UpdateCatalog.h"

namespace {

std::string ServerKey(long i) {
  char key[32];
  std::snprintf(key, sizeof key, "Server%ld", i);
  return key;
}

}  // namespace

void ServerRotation::Load() {
  loaded_ = true;
  count_ = std::clamp(store_.GetInt("Count", 1), 0L, kMaxServers);
  start_ = store_.GetInt("StartServer", 0);
  if (start_ < 0 || start_ >= count_) start_ = 0;
  for (long i = 0; i < count_ && !anyNamed_; ++i)
    anyNamed_ = !store_.GetString(ServerKey(i).c_str()).empty();
}

std::string ServerRotation::NextHost() {
  if (!loaded_) Load();
  if (!anyNamed_) {
    if (fallbackUsed_) return std::string();
    fallbackUsed_ = true;
    return kDefaultUpdateHost;
  }
  while (tries_ < count_) {
    long index = start_;
    ++tries_;
    start_ = (start_ + 1) % count_;
    store_.SetInt("StartServer", start_);
    std::string host = store_.GetString(ServerKey(index).c_str());
    if (!host.empty()) return host;
  }
  return std::string();
}

void ServerRotation::CopyServerList(ServerStore& store, const std::vector<std::string>& servers) {
  long n = std::min<long>(static_cast<long>(servers.size()), kMaxServers);
  store.SetInt("Count", n);
  for (long i = 0; i < n; ++i) store.SetString(ServerKey(i).c_str(), servers[i]);
}
