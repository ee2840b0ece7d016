// CUpdateWorker: the update program's steps, run on its worker thread: fetch the catalogue from
// the rotating server list, read it, select the files that need an update, let the user
// confirm, download one archive per file into a staging folder, test every archive, install
// them all or nothing, and report. It talks to the windows only through UpdateUi.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/net/InetAddress.h"
#include "foundation/update/FileInfo.h"
#include "foundation/update/ServerRotation.h"
#include "updater/update/UpdateUi.h"

class NQServer;

struct UpdateSettings {
  std::string programFolder;  // with a trailing backslash
  int timeoutSeconds = 30;    // the catalogue request's time-out
  CInetAddress proxy;         // invalid: no proxy
  std::string proxyUser;
  std::string proxyPassword;
  bool debug = false;            // decisions go to zbu_dbg.txt
  unsigned finalPauseMs = 3000;  // the pause on the last status before the dialog ends
  // The maker's page that takes the installed version of the main program.
  std::string versionReportUrl = "http://www.orvandel-labs.invalid/cgi-bin/version.cgi";
};

class CUpdateWorker {
 public:
  static constexpr const char* kServerPath = "/zubrin/latest/";
  static constexpr const char* kCatalogueName = "ZBPro.cat";
  // Where archives are downloaded and unpacked before anything is installed.
  static constexpr const char* kStagingFolder = "download\\";

  CUpdateWorker(const UpdateSettings& settings, ServerStore& servers, UpdateUi& ui);

  // The whole run; ends with UpdateUi::Finish.
  void Run();
  // From any thread: every step looks at it, and the transfer stops at once.
  void Cancel() { m_cancel = true; }
  bool IsCancelled() const { return m_cancel; }

  // The steps, each usable on its own.
  bool FetchCatalogue();
  bool ReadCatalogue();
  bool SelectUpdates();
  bool DownloadArchives();
  bool TestArchives();
  bool InstallArchives();
  void DeleteArchives();
  // Deletes every catalogue entry and the selection.
  void FreeCatalogue();

  const CFileInfoTable& Table() const { return m_table; }
  const std::vector<std::string>& Selected() const { return m_selected; }
  std::string StagingFolder() const { return m_settings.programFolder + kStagingFolder; }
  std::string ArchivePath(const CFileInfo& entry) const;
  uint64_t RunTotal() const { return m_runTotal; }
  uint64_t BytesDone() const { return m_bytesDone; }

  // Progress of the archive downloads: bytes so far of the current transfer (0 at its start).
  void OnTransferProgress(uint32_t bytes, uint64_t elapsedMs);

  // The bytes a run downloads for the names: the catalogue's sizes, a negative one as nothing.
  // The confirmation list shows the same total.
  static uint64_t TotalOf(const CFileInfoTable& table, const std::vector<std::string>& names);

  // Tells the maker's version page which version of the main program is installed; only for
  // the entry of "ZBPro.exe". The answer is not looked at; true when the page answered.
  bool ReportInstalledVersion(const CFileInfo& entry);

  // What an earlier run could not remove: old copies of replaced files ("OLDnnnnn.$$$") in the
  // program folder, partial downloads and unpacked files in the staging folder.
  void RemoveLeftovers();

 private:
  void RunAfterCatalogue();
  // The main program's proxy (read at start into the settings), through the tunnel.
  void ApplyServerProxy(NQServer& server) const;
  void PrepareServer(NQServer& server) const;
  const CFileInfo* Find(const std::string& name) const;
  bool DownloadOne(NQServer& server, const CFileInfo& entry);
  bool ReuseKeptArchive(const CFileInfo& entry);
  bool StageArchives(const std::string& folder);
  bool InstallArchive(const std::string& path, const std::string& folder);
  // "http://" + the next server's host + the server path, or empty when none is left; the
  // host becomes the current one and is shown.
  std::string NextServerUrl(ServerRotation& rotation);
  bool CommitStaged(const std::string& folder);
  void AppendDebugLog(const std::string& text) const;

  UpdateSettings m_settings;
  ServerStore& m_servers;
  UpdateUi& m_ui;
  std::atomic<bool> m_cancel{false};
  std::string m_host;
  CFileInfoTable m_table;
  std::vector<std::string> m_selected;
  uint64_t m_runTotal = 0;
  uint64_t m_bytesDone = 0;
  uint32_t m_lastCount = 0;
  int m_calls = 0;
};
