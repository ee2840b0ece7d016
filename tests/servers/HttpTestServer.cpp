#include "tests/servers/HttpTestServer.h"

namespace zbtest {

HttpTestServer::~HttpTestServer() {
  Stop();
}

void HttpTestServer::Route(const std::string& path, HttpResponse response) {
  Route(path, [response](const HttpRequest&) { return response; });
}

void HttpTestServer::Route(const std::string& path, Handler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  routes_[path] = std::move(handler);
}

void HttpTestServer::SetFallback(Handler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  fallback_ = std::move(handler);
}

std::string HttpTestServer::Url(const std::string& path) const {
  return "http://" + Address() + ":" + std::to_string(Port()) + path;
}

std::vector<HttpRequest> HttpTestServer::Requests() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

size_t HttpTestServer::RequestCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.size();
}

HttpRequest HttpTestServer::LastRequest() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_.empty() ? HttpRequest() : requests_.back();
}

bool HttpTestServer::WaitForRequests(size_t count, DWORD timeoutMs) const {
  for (DWORD start = GetTickCount();; Sleep(5)) {
    if (RequestCount() >= count) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
  }
}

void HttpTestServer::ClearRequests() {
  std::lock_guard<std::mutex> lock(mutex_);
  requests_.clear();
}

HttpResponse HttpTestServer::Answer(const HttpRequest& request) {
  Handler handler;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(request);
    auto it = routes_.find(request.target);
    if (it == routes_.end()) it = routes_.find(request.Path());
    if (it == routes_.end()) {
      size_t best = 0;
      std::string path = request.Path();
      for (auto r = routes_.begin(); r != routes_.end(); ++r) {
        const std::string& key = r->first;
        if (!key.empty() && key.back() == '*' && key.size() > best &&
            path.compare(0, key.size() - 1, key, 0, key.size() - 1) == 0) {
          best = key.size();
          it = r;
        }
      }
    }
    handler = it != routes_.end() ? it->second : fallback_;
  }
  // Handlers run without the lock: they may be slow, and may look at the requests themselves.
  if (handler) return handler(request);
  return HttpResponse::Text("<html><body>Not found</body></html>", "text/html", 404);
}

void HttpTestServer::Serve(Connection& connection) {
  for (;;) {
    HttpRequest request;
    ReadStatus status = ReadHttpRequest(connection, request);
    if (status == ReadStatus::Closed) return;
    if (status == ReadStatus::Bad) {
      connection.Send(HttpResponse::Text("Bad request\n", "text/plain", 400).Wire());
      return;
    }
    HttpResponse response = Answer(request);
    if (!SendHttpResponse(connection, response, request.method == "HEAD") ||
        !response.KeepsConnection()) {
      return;
    }
  }
}

}  // namespace zbtest
