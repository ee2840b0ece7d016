// ServerRotation: which update server to ask next. The list lives in the update program's
// profile ("FTP Servers": "Count", "StartServer", "Server%d"); a run tries each listed server at
// most once, starting after the one tried last, and every try moves the stored start on at once
// so the next run begins with the next server.
//
// Only the entries within the stored count are used: entries above a smaller count, left from
// an older list, are never tried. A start index outside the list wraps to the first entry. The
// default host stands in only when the list names no server at all.
#pragma once

#include <string>
#include <vector>

class ServerStore {
 public:
  virtual ~ServerStore() = default;
  virtual long GetInt(const char* name, long fallback) = 0;
  virtual void SetInt(const char* name, long value) = 0;
  // Empty when the value is missing.
  virtual std::string GetString(const char* name) = 0;
  virtual void SetString(const char* name, const std::string& value) = 0;
};

class ServerRotation {
 public:
  static constexpr long kMaxServers = 64;
  explicit ServerRotation(ServerStore& store) : store_(store) {}

  // The next host to try, or the empty text when every server has been tried in this run.
  std::string NextHost();
  // Copies a catalogue's server list into the store (the count and every listed name); the
  // start index stays.
  static void CopyServerList(ServerStore& store, const std::vector<std::string>& servers);

 private:
  void Load();
  ServerStore& store_;
  bool loaded_ = false;
  long count_ = 0;
  long start_ = 0;
  long tries_ = 0;
  bool fallbackUsed_ = false;
  bool anyNamed_ = false;
};
