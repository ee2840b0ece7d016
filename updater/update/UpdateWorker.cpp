#include "updater/update/UpdateWorker.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "foundation/codec/Crusher.h"
#include "updater/archive/ArchiveFiles.h"
#include "updater/archive/ArchiveLayer.h"
#include "updater/update/NQServer.h"
#include "updater/update/UpdateIds.h"

CUpdateWorker::CUpdateWorker(const UpdateSettings& settings, ServerStore& servers, UpdateUi& ui)
    : m_settings(settings), m_servers(servers), m_ui(ui) {}

void CUpdateWorker::Run() {
  RemoveLeftovers();
  m_ui.PostStatus(IDS_UPD_FETCHING);
  if (FetchCatalogue() && !m_cancel) RunAfterCatalogue();
  // A catalogue fetched just before a cancel was never read.
  DeleteFileA((m_settings.programFolder + "versions.ini").c_str());
  // The staging folder goes when nothing is kept in it.
  RemoveDirectoryA(StagingFolder().c_str());
  m_ui.PostStatus(IDS_UPD_READY);
  m_ui.Finish();
}

void CUpdateWorker::RunAfterCatalogue() {
  m_ui.PostStatus(IDS_UPD_READING);
  ReadCatalogue();
  bool deleteArchives = false;
  if (!m_cancel && SelectUpdates() && m_ui.ConfirmUpdates(m_table, m_selected)) {
    m_ui.PostStatus(IDS_UPD_DOWNLOADING);
    if (m_cancel) {
      // Nothing fetched yet.
    } else if (!DownloadArchives()) {
      if (!m_cancel) {
        m_ui.StopAnimation();
        m_ui.ShowMessage(IDS_UPD_DOWNLOAD_FAILED);
      }
    } else {
      m_ui.PostStatus(IDS_UPD_TESTING);
      // Every archive is tested before the first file is replaced, and a cancel up to the
      // install step installs nothing.
      bool sound = !m_cancel && TestArchives();
      if (sound && !m_cancel) {
        m_ui.PostStatus(IDS_UPD_INSTALLING);
        bool installed = InstallArchives();
        m_ui.StopAnimation();
        // A failed install keeps the archives for another try.
        m_ui.ShowMessage(installed ? IDS_UPD_INSTALLED : IDS_UPD_INSTALL_FAILED);
        deleteArchives = installed;
      } else if (!m_cancel) {
        m_ui.StopAnimation();
        m_ui.ShowMessage(IDS_UPD_TEST_FAILED);
      }
      if (m_cancel) deleteArchives = true;
    }
  }
  if (deleteArchives) {
    m_ui.StopAnimation();
    DeleteArchives();
  }
  m_ui.SetStatusOnly(IDS_UPD_DONE);
  Sleep(m_settings.finalPauseMs);
  FreeCatalogue();
}

void CUpdateWorker::FreeCatalogue() {
  m_table.clear();
  m_selected.clear();
}

// ---- catalogue ----

void CUpdateWorker::ApplyServerProxy(NQServer& server) const {
  if (m_settings.proxy.IsValid())
    server.SetTunnelProxy(m_settings.proxy, m_settings.proxyUser, m_settings.proxyPassword);
}

void CUpdateWorker::PrepareServer(NQServer& server) const {
  ApplyServerProxy(server);
  server.SetCallback(
      [](CSock* sock, int, uintptr_t, uintptr_t user) {
        // The cancel flag ends every wait of the socket.
        (void)sock;
        return !reinterpret_cast<const CUpdateWorker*>(user)->IsCancelled();
      },
      reinterpret_cast<uintptr_t>(this));
}

bool CUpdateWorker::FetchCatalogue() {
  NQServer server;
  server.SetTimeout(m_settings.timeoutSeconds);
  PrepareServer(server);
  ServerRotation rotation(m_servers);
  std::string path = m_settings.programFolder + "versions.ini";
  for (std::string url; !(url = NextServerUrl(rotation)).empty();) {
    long bytes = server.GetToFile(url + kCatalogueName, path, UpdateCatalog::kMaxCatalogueBytes);
    if (m_cancel) break;
    if (IsTransferComplete(server, bytes)) return true;
  }
  // Neither a partial catalogue nor one fetched just before a cancel stays behind.
  DeleteFileA(path.c_str());
  return false;
}

std::string CUpdateWorker::NextServerUrl(ServerRotation& rotation) {
  std::string host = rotation.NextHost();
  if (host.empty()) return std::string();
  m_host = host;
  m_ui.ShowHost(host);
  return "http://" + host + kServerPath;
}

bool CUpdateWorker::ReadCatalogue() {
  std::string path = m_settings.programFolder + "versions.ini";
  UpdateCatalog parsed;
  bool ok = ReadCatalogueFile(path, m_settings.programFolder, m_table, &parsed);
  DeleteFileA(path.c_str());
  // A catalogue without a server list leaves the stored one alone.
  if (ok && parsed.hasServerList) ServerRotation::CopyServerList(m_servers, parsed.servers);
  return ok;
}

bool CUpdateWorker::SelectUpdates() {
  m_selected.clear();
  m_runTotal = 0;
  for (const auto& entry : m_table) {
    bool needed = entry->NeedsUpdate();
    if (m_settings.debug) AppendDebugLog(entry->DescribeDecision());
    if (!needed) continue;
    m_selected.push_back(entry->m_name);
  }
  m_runTotal = TotalOf(m_table, m_selected);
  return !m_selected.empty();
}

uint64_t CUpdateWorker::TotalOf(const CFileInfoTable& table,
                                const std::vector<std::string>& names) {
  uint64_t total = 0;
  for (const std::string& name : names)
    for (const auto& entry : table)
      if (entry->m_name == name) {
        total += static_cast<uint64_t>(std::max(entry->m_size, 0L));
        break;
      }
  return total;
}

void CUpdateWorker::AppendDebugLog(const std::string& text) const {
  std::string path = m_settings.programFolder + "zbu_dbg.txt";
  HANDLE f = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD put = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  CloseHandle(f);
}

const CFileInfo* CUpdateWorker::Find(const std::string& name) const {
  for (const auto& entry : m_table)
    if (entry->m_name == name) return entry.get();
  return nullptr;
}

std::string CUpdateWorker::ArchivePath(const CFileInfo& entry) const {
  return StagingFolder() + LocalArchiveName(entry.m_httpPath);
}

// ---- downloads ----

void CUpdateWorker::OnTransferProgress(uint32_t bytes, uint64_t elapsedMs) {
  if (bytes == 0) {
    m_lastCount = 0;  // a new transfer starts
    return;
  }
  if (bytes > m_lastCount) m_bytesDone += bytes - m_lastCount;
  m_lastCount = bytes;
  // The catalogue's sizes may be wrong: the bar stays within 0..100 and the time left is never
  // a wrapped negative number.
  uint64_t percent = m_runTotal ? std::min<uint64_t>(m_bytesDone * 100 / m_runTotal, 100) : 0;
  m_ui.SetProgress(static_cast<int>(percent));
  if (++m_calls % 3 != 0) return;
  uint64_t rate = elapsedMs ? m_bytesDone * 1000 / elapsedMs : 0;
  uint64_t left = m_runTotal > m_bytesDone ? m_runTotal - m_bytesDone : 0;
  uint64_t seconds = rate ? left / rate : 0;
  m_ui.SetTransferRate(static_cast<uint32_t>(std::min<uint64_t>(rate, 0xFFFFFFFFu)),
                       static_cast<uint32_t>(std::min<uint64_t>(seconds, 0xFFFFFFFFu)));
}

bool CUpdateWorker::DownloadOne(NQServer& server, const CFileInfo& entry) {
  std::string name = LocalArchiveName(entry.m_httpPath);
  // Only a plain archive name is ever written, and only into the staging folder.
  if (!IsDownloadableArchiveName(name)) return false;
  std::string temp = MakeTempName(StagingFolder(), "DL");
  if (temp.empty()) return false;
  std::string path = entry.m_httpPath;
  if (path.empty() || path[0] != '/') path = "/" + path;
  m_ui.ShowCurrentFile(entry.m_path);
  CatalogueEntry listed;
  listed.size = entry.m_size;
  listed.sizeListed = entry.m_sizeListed;
  // Past the catalogue's size the download fails, and its partial file is deleted.
  long bytes = server.GetToFile("http://" + m_host + path, temp, ArchiveDownloadLimit(listed));
  bool complete = !m_cancel && IsTransferComplete(server, bytes);
  // A short or failed body is never taken for the archive: the old copy, if any, stays.
  if (complete)
    complete = MoveFileExA(temp.c_str(), (StagingFolder() + name).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  DeleteFileA(temp.c_str());
  return complete;
}

bool CUpdateWorker::DownloadArchives() {
  if (!MakeFolders(StagingFolder())) return false;
  NQServer server;
  PrepareServer(server);
  uint64_t started = GetTickCount64();
  server.onProgress = [this, started](uint32_t bytes) {
    OnTransferProgress(bytes, GetTickCount64() - started);
  };
  for (const std::string& name : m_selected) {
    if (m_cancel) return true;
    const CFileInfo* entry = Find(name);
    if (!entry) continue;
    if (ReuseKeptArchive(*entry)) continue;
    if (!DownloadOne(server, *entry)) return false;
  }
  return true;
}

// An archive kept from an earlier run (its install or test failed) is used again when it has
// exactly the catalogue's size and every member's checksum holds; otherwise it goes, and the
// archive is downloaded anew.
bool CUpdateWorker::ReuseKeptArchive(const CFileInfo& entry) {
  std::string path = ArchivePath(entry);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  int64_t size = ArchiveFileSize(f);
  CloseHandle(f);
  bool same = entry.m_sizeListed && size == entry.m_size;
  if (same && CrusherArchiveInit() == CRUSHER_OK) {
    same = TestArchive(path.c_str()) == ARQ_OK;
    CrusherArchiveShutdown();
  } else {
    same = false;
  }
  if (!same) {
    DeleteFileA(path.c_str());
    return false;
  }
  m_ui.ShowCurrentFile(entry.m_path);
  m_bytesDone += static_cast<uint64_t>(size);
  uint64_t percent = m_runTotal ? std::min<uint64_t>(m_bytesDone * 100 / m_runTotal, 100) : 0;
  m_ui.SetProgress(static_cast<int>(percent));
  return true;
}

// ---- test and install ----

bool CUpdateWorker::TestArchives() {
  if (CrusherArchiveInit() != CRUSHER_OK) return false;
  bool sound = true;
  size_t k = 0, n = m_selected.size();
  for (const std::string& name : m_selected) {
    if (m_cancel) break;
    const CFileInfo* entry = Find(name);
    if (!entry) {
      sound = false;
    } else {
      m_ui.ShowCurrentFile(entry->m_path);
      bool good = TestArchive(ArchivePath(*entry).c_str()) == ARQ_OK;
      // A damaged archive could never be used again; the sound ones stay for the next run.
      if (!good) DeleteFileA(ArchivePath(*entry).c_str());
      sound = good && sound;
    }
    m_ui.SetProgress(static_cast<int>(100 * ++k / n));
  }
  m_ui.SetProgress(0);
  CrusherArchiveShutdown();
  return sound;
}

bool CUpdateWorker::StageArchives(const std::string& folder) {
  if (!MakeFolders(folder)) return false;
  bool ok = true;
  for (const std::string& name : m_selected) {
    const CFileInfo* entry = Find(name);
    if (!entry) continue;
    m_ui.ShowCurrentFile(entry->m_path);
    ok = InstallArchive(ArchivePath(*entry), folder) && ok;
  }
  return ok;
}

// One archive's members, each under its file name alone, into the staging folder; the program
// folder takes them all together afterwards.
bool CUpdateWorker::InstallArchive(const std::string& path, const std::string& folder) {
  int status = OpenArchive(path.c_str(), ARCHIVE_READ_ONLY);
  if (status == ARQ_OK) {
    status = SelectExtract("*", folder.c_str());
    if (status == ARQ_OK) status = ProcessArchive();
    int closed = CloseArchive();
    if (status == ARQ_OK) status = closed;
  }
  return status == ARQ_OK;
}

namespace {

struct Swap {
  std::string target;
  std::string backup;  // empty when there was no old file
};

void RollBack(const std::vector<Swap>& done, const std::string& folder) {
  for (auto it = done.rbegin(); it != done.rend(); ++it) {
    std::string name = it->target.substr(it->target.find_last_of('\\') + 1);
    MoveFileExA(it->target.c_str(), (folder + name).c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!it->backup.empty()) MoveFileExA(it->backup.c_str(), it->target.c_str(), 0);
  }
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return names;
}

// prefix + five digits + ".$$$": a name MakeTempName gave out.
bool IsTempName(const std::string& name, const char* prefix) {
  size_t n = std::strlen(prefix);
  if (name.size() != n + 9 || _strnicmp(name.c_str(), prefix, n) != 0) return false;
  for (size_t i = n; i < n + 5; ++i)
    if (name[i] < '0' || name[i] > '9') return false;
  return name.compare(n + 5, 4, ".$$$") == 0;
}

// Members stored without the write bit would come out read-only, and the next update could not
// replace them: installed files are always writable.
void MakeWritable(const std::string& folder) {
  for (const std::string& name : FilesIn(folder)) {
    DWORD attributes = GetFileAttributesA((folder + name).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA((folder + name).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
}

void RemoveFolder(const std::string& folder) {
  for (const std::string& name : FilesIn(folder)) {
    SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((folder + name).c_str());
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

// Each old file is moved aside and the new one moved into its place, each in one step; when
// any move fails, every file done so far is put back, so the program folder is either wholly
// updated or as it was.
bool CUpdateWorker::CommitStaged(const std::string& folder) {
  std::vector<Swap> done;
  for (const std::string& name : FilesIn(folder)) {
    Swap swap{m_settings.programFolder + name, std::string()};
    if (GetFileAttributesA(swap.target.c_str()) != INVALID_FILE_ATTRIBUTES) {
      swap.backup = MakeTempName(m_settings.programFolder, "OLD");
      if (swap.backup.empty() || !MoveFileExA(swap.target.c_str(), swap.backup.c_str(), 0)) {
        RollBack(done, folder);
        return false;
      }
    }
    if (!MoveFileExA((folder + name).c_str(), swap.target.c_str(), 0)) {
      if (!swap.backup.empty()) MoveFileExA(swap.backup.c_str(), swap.target.c_str(), 0);
      RollBack(done, folder);
      return false;
    }
    done.push_back(swap);
  }
  for (const Swap& swap : done)
    if (!swap.backup.empty()) DeleteFileA(swap.backup.c_str());
  return true;
}

bool CUpdateWorker::InstallArchives() {
  if (CrusherArchiveInit() != CRUSHER_OK) return false;
  std::string folder = StagingFolder() + "files\\";
  RemoveFolder(folder);
  bool ok = StageArchives(folder);
  if (ok) MakeWritable(folder);
  ok = ok && CommitStaged(folder);
  RemoveFolder(folder);
  CrusherArchiveShutdown();
  m_ui.SetProgress(0);
  return ok;
}

void CUpdateWorker::DeleteArchives() {
  for (const std::string& name : m_selected)
    if (const CFileInfo* entry = Find(name)) DeleteFileA(ArchivePath(*entry).c_str());
  RemoveDirectoryA(StagingFolder().c_str());
}

void CUpdateWorker::RemoveLeftovers() {
  // A replaced file still in use when its old copy was to go (a running program file) is
  // free by now.
  for (const std::string& name : FilesIn(m_settings.programFolder))
    if (IsTempName(name, "OLD")) {
      std::string path = m_settings.programFolder + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
  for (const std::string& name : FilesIn(StagingFolder()))
    if (IsTempName(name, "DL")) DeleteFileA((StagingFolder() + name).c_str());
  RemoveFolder(StagingFolder() + "files\\");
  RemoveDirectoryA(StagingFolder().c_str());
}

bool CUpdateWorker::ReportInstalledVersion(const CFileInfo& entry) {
  std::string name = entry.m_name.substr(entry.m_name.find_last_of("\\/") + 1);
  if (lstrcmpiA(name.c_str(), "ZBPro.exe") != 0) return false;
  NQServer server;
  PrepareServer(server);
  std::string url = m_settings.versionReportUrl + "?product_id=3&contact_id=&software_version=" +
                    static_cast<LPCSTR>(entry.m_localVersion.Format());
  // The page's answer is read into a scratch file only to end the request cleanly.
  std::string scratch = MakeTempName(m_settings.programFolder, "VR");
  if (scratch.empty()) return false;
  long bytes = server.GetToFile(url, scratch, 64 * 1024);
  DeleteFileA(scratch.c_str());
  return bytes >= 0;
}
