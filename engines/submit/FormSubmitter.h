// CFormSubmitter: the HTTP client that every engine is built on. It turns the socket and HTTP
// hooks of one request into the engine events the run listens to (the run sets its callback range
// to the engine codes, so the socket and HTTP codes that the base hooks report never reach it),
// and it fills an engine's request texts with the values of the user's site profile.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"
#include "foundation/net/SockHttpClient.h"

class CSearchEngine;

// The events of an engine run, as the socket callback receives them. Data is 0 unless noted.
enum EngineEvent {
  kEngineIdle = 11000,              // idle tick of any wait loop
  kEngineBegin = 11001,             // the engine's run begins
  kEngineQueryStart = 11002,        // a query starts
  kEngineQueryEnd = 11003,          // a query ends; data: the connection-success flag
  kEngineGetRequest = 11004,        // a GET goes out; data: status text (const char*)
  kEngineResolving = 11005,         // connecting, the socket is ready
  kEngineConnected = 11006,         // connected
  kEngineConnectFailed = 11007,     // the connect failed (refused included)
  kEngineConnectionFailed = 11008,  // the connection failed (no code path raises it today)
  kEngineTimeout = 11009,           // time-out
  kEngineNoAddress = 11010,         // nothing to connect to
  kEngineRequestSent = 11011,       // the request is out
  kEngineReceiveProgress = 11012,   // body progress; data: const uint32_t[2] {so far, total}
  kEngineAbort = 11013,             // aborted
  kEnginePageFetched = 11014,       // a result page came; data: the page text (const char*)
  kEngineBeforeParse = 11015,       // a result page is about to be parsed
  kEngineResultFound = 11016,       // a result was found; data: the result record
  kEnginePageParsed = 11017,        // a result page was parsed
  kEngineReserved11018 = 11018,     // never raised
  kEngineReserved11019 = 11019,     // never raised
  kEngineNoSubmitRequest = 11020,   // the engine has no submission request
  kEngineSubmitStart = 11021,       // a submission starts (mail or web)
  kEngineSubmitOutcome = 11022,     // a submission's outcome; data: 1 submitted, 0 not
  kEngineEnd = 11023,               // the engine's run ends
  kEngineNotEligible = 11024,       // the site is not eligible for this engine
  kEngineImageCodeWanted = 11025,   // a code must be typed; data: the image-code request
  kEngineImageCodeOver = 11026,     // the wait for the image code is over
  kEngineRunFinished = 11027        // the whole run finished (raised by the run, not an engine)
};

// The range the run gives every engine's callback: the finish event is the run's own.
constexpr int kEngineEventFirst = kEngineIdle;
constexpr int kEngineEventLast = kEngineImageCodeOver;

class CFormSubmitter : public CSockHttpClient {
 public:
  static constexpr int kRedirectLimit = 8;

  CFormSubmitter();
  ~CFormSubmitter() override;

  // Writes the user's site values into a request text: every "#KEY#" of a profile field is
  // replaced by its value (see the .cpp for the localized fallbacks, length limits, category
  // groups and encoding). encode: 1 URL-encodes the values (requests), 0 leaves them (mail text).
  static void FillFormFields(const CSearchEngine* engine, const CNVList& profile,
                             CLibString& formText, int encode);

  bool IsStopped() const { return m_stop != 0; }
  void SetStop(bool stop) { m_stop = stop ? 1 : 0; }
  // 1 until any connect of this object failed, timed out or was aborted; never set back.
  int32_t GetConnectionSuccess() const { return m_connectionOk; }

 protected:
  // Hooks of the socket and the HTTP client that become engine events: the base hook runs first
  // (it reports the low code), then the engine event, unless noted.
  void OnNoAddress() override;
  void OnResolving() override;
  void OnConnected() override;
  void OnConnectFailed() override;
  // A refused connect is a failed connect like any other: it clears the success flag and
  // raises the connect-failure event.
  void OnConnectRefused() override;
  void OnAbort() override;
  void OnTimeout() override;
  void OnReceiveProgress(uint32_t soFar, uint32_t total) override;
  // Replaces the base hook: the status text "host:port/target".
  void OnGetRequest(const CLibString& target) override;
  void OnRequestSent() override;

  // Added by the form submitter.
  virtual void OnConnectionFailed();
  virtual void OnPageFetched(const CLibString& text);

  // Set to end the page loop before its next page.
  std::atomic<int32_t> m_stop{0};
  std::atomic<int32_t> m_connectionOk{1};
  std::unique_ptr<char[]> m_scratch;
};
