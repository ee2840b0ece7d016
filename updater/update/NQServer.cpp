#include "updater/update/NQServer.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "foundation/core/Base64.h"

namespace {

struct UrlParts {
  std::string host;
  unsigned port = 80;
  std::string path = "/";
};

bool ParseHttpUrl(const std::string& url, UrlParts& parts) {
  const std::string scheme = "http://";
  if (url.size() <= scheme.size() || _strnicmp(url.c_str(), scheme.c_str(), scheme.size()) != 0)
    return false;
  size_t hostStart = scheme.size();
  size_t slash = url.find('/', hostStart);
  std::string authority =
      url.substr(hostStart, slash == std::string::npos ? std::string::npos : slash - hostStart);
  if (slash != std::string::npos) parts.path = url.substr(slash);
  size_t colon = authority.rfind(':');
  if (colon != std::string::npos) {
    long port = std::strtol(authority.c_str() + colon + 1, nullptr, 10);
    if (port <= 0 || port > 65535) return false;
    parts.port = static_cast<unsigned>(port);
    authority.resize(colon);
  }
  parts.host = authority;
  return !parts.host.empty();
}

}  // namespace

NQServer::NQServer() : CSockHttpClient(8) {}

NQServer::~NQServer() {
  Close();
}

void NQServer::SetTunnelProxy(const CInetAddress& proxy, const std::string& user,
                              const std::string& password) {
  m_tunnelProxy = proxy;
  m_proxyUserName = user;
  m_proxyPass = password;
}

bool NQServer::ConnectTarget(CInetAddress target) {
  if (!target.IsValid()) {
    OnNoAddress();
    return false;
  }
  return HasTunnelProxy() ? ConnectTunnel(target) : ConnectDirect(target);
}

bool NQServer::ConnectTunnel(CInetAddress target) {
  if (!target.IsValid()) {
    OnNoAddress();
    return false;
  }
  if (!ConnectDirect(m_tunnelProxy)) return false;
  CLibString host = target.GetHostName();
  if (host.GetLength() == 0) host = target.Format();
  std::string request = std::string("CONNECT ") + host.c_str() + ":" +
                        std::to_string(target.GetPort()) + " HTTP/1.0\r\n";
  if (!m_proxyUserName.empty()) {
    CLibString encoded;
    std::string credentials = m_proxyUserName + ":" + m_proxyPass;
    Base64().Encode(encoded, credentials.data(), static_cast<long>(credentials.size()));
    std::string padded = encoded.c_str();
    while (padded.size() % 4) padded += '=';
    request += "Proxy-Authorization: Basic " + padded + "\r\n";
  }
  request += "\r\n";
  Send(request.c_str(), static_cast<int>(request.size()));
  // The answer is read with the socket's time-out per line, and bounded in lines and length.
  int status = 0;
  for (int lines = 0; lines < kMaxProxyLines && IsConnected(); ++lines) {
    CLibString raw = ReadUntil('\n');
    // Without its line feed the line was cut by the time-out, the close or the length bound.
    if (IsBadLine() || raw.GetLength() == 0 || raw.c_str()[raw.GetLength() - 1] != '\n' ||
        raw.GetLength() > kMaxProxyLine)
      break;
    std::string line = raw.c_str();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.empty()) {
      if (status == 200) return true;
      break;
    }
    if (line.compare(0, 4, "HTTP") == 0) {
      size_t blank = line.find(' ');
      status = blank == std::string::npos ? 0 : std::atoi(line.c_str() + blank + 1);
    }
  }
  Close();
  return false;
}

void NQServer::OnReceiveProgress(uint32_t soFar, uint32_t total) {
  CSockHttpClient::OnReceiveProgress(soFar, total);
  if (onProgress) onProgress(soFar);
}

long NQServer::ReceiveBody(void* file) {
  CLibString lengthText = GetResponseHeader("content-length");
  long expected = lengthText.GetLength() > 0 ? std::atol(lengthText.c_str()) : -1;
  if (m_maxBytes >= 0 && expected > m_maxBytes) {
    m_overLimit = true;
    return -1;
  }
  std::vector<char> buffer(8192);
  long total = 0;
  OnReceiveProgress(0, static_cast<uint32_t>(std::max(expected, 0L)));
  while (expected < 0 || total < expected) {
    if (m_abort) {
      OnAbort();
      break;
    }
    int want = static_cast<int>(buffer.size());
    if (expected >= 0) want = static_cast<int>(std::min<long>(want, expected - total));
    int got = Recv(buffer.data(), want);
    if (got <= 0) break;
    if (m_maxBytes >= 0 && got > m_maxBytes - total) {
      m_overLimit = true;
      return -1;
    }
    DWORD put = 0;
    if (!WriteFile(file, buffer.data(), static_cast<DWORD>(got), &put, nullptr) ||
        put != static_cast<DWORD>(got))
      return -1;
    total += got;
    OnReceiveProgress(static_cast<uint32_t>(total), static_cast<uint32_t>(std::max(expected, 0L)));
    if (got < want) break;
  }
  return total;
}

long NQServer::FetchOnce(const std::string& url, const std::string& path, std::string& location) {
  location.clear();
  UrlParts parts;
  if (!ParseHttpUrl(url, parts)) return -1;
  Close();
  if (!ConnectTarget(CInetAddress(parts.host.c_str(), parts.port))) return -1;
  std::string host = parts.host + (parts.port == 80 ? "" : ":" + std::to_string(parts.port));
  std::string request = "GET " + parts.path + " HTTP/1.0\r\nHost: " + host +
                        "\r\nAccept: text/html, text/plain, */*\r\nConnection: close\r\n\r\n";
  if (Send(request.c_str(), static_cast<int>(request.size())) < static_cast<int>(request.size()))
    return -1;
  SetStatus(0);
  ReadResponseHead();
  int status = GetStatus();
  if (status == 301 || status == 302 || status == 303 || status == 307) {
    location = GetResponseHeader("location").c_str();
    if (!location.empty() && location[0] == '/') location = "http://" + host + location;
    return -1;
  }
  if (status != 200) return -1;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  long bytes = ReceiveBody(file);
  CloseHandle(file);
  // Nothing of a body that failed stays on disk.
  if (bytes < 0) DeleteFileA(path.c_str());
  return bytes;
}

long NQServer::GetToFile(const std::string& url, const std::string& path, int64_t maxBytes) {
  m_maxBytes = maxBytes;
  m_overLimit = false;
  std::string next = url, location;
  long result = -1;
  for (int hops = 0; hops <= kMaxRedirects; ++hops) {
    result = FetchOnce(next, path, location);
    if (location.empty() || m_abort) break;
    next = location;
  }
  Close();
  return result;
}

bool IsTransferComplete(NQServer& server, long bytes) {
  if (server.GetStatus() != 200 || bytes < 0) return false;
  long length = std::atol(server.GetResponseHeader("content-length").c_str());
  return length <= 0 || length <= bytes;
}
