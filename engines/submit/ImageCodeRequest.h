// CImageCodeRequest: a verification code that a worker needs the user to read off an image. The
// worker raises the image-code event with the record; whoever shows the image to the user writes
// the code into it. The two sides run on different threads and either may finish first (the
// worker gives up after its time-out or when the run stops it; the user may answer later still),
// so the record is shared and counted: the worker holds one reference for as long as it waits,
// and a receiver that keeps the record past the event call takes its own with AddRef. The last
// Release frees the record and removes the downloaded image file.
#pragma once

#include <windows.h>

#include <atomic>

#include "foundation/core/LibString.h"

class CImageCodeRequest {
 public:
  // What a user gets when the engine names no time-out of its own.
  static constexpr int kDefaultTimeout = 120;

  // The new record holds one reference, the creator's. timeoutSeconds below 1 means the default.
  CImageCodeRequest(const CLibString& engineName, const CLibString& imagePath, int timeoutSeconds);
  CImageCodeRequest(const CImageCodeRequest&) = delete;
  CImageCodeRequest& operator=(const CImageCodeRequest&) = delete;

  void AddRef();
  // Frees the record with its last reference.
  void Release();

  const CLibString& GetEngineName() const { return m_engineName; }
  const CLibString& GetImagePath() const { return m_imagePath; }
  int GetTimeout() const { return m_timeout; }

  // The receiver's side: writes the code, then sets the done flag (the first answer counts).
  void SetAnswer(const CLibString& code);
  bool IsDone() const { return m_done.load() != 0; }
  // The answer once done, else empty.
  CLibString GetAnswer() const;

  // The worker's side: it no longer waits (timed out or stopped); a late answer is ignored, and
  // a receiver may close its prompt.
  void Abandon() { m_abandoned = 1; }
  bool IsAbandoned() const { return m_abandoned.load() != 0; }

 private:
  ~CImageCodeRequest();

  CLibString m_engineName;
  CLibString m_imagePath;
  int m_timeout;
  CLibString m_answer;
  std::atomic<int> m_done{0};
  std::atomic<int> m_abandoned{0};
  std::atomic<long> m_references{1};
  mutable CRITICAL_SECTION m_lock;
};
