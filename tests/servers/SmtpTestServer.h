// An SMTP server in the test's own process that holds clients to the protocol: replies as
// RFC 5321 has them, CRLF line ends only (a bare LF is a fault), HELO or EHLO first, then
// "MAIL FROM:<...>", "RCPT TO:<...>" (angle brackets, no blank after the colon), DATA with
// dot-stuffing, and QUIT before the client closes. It records every message it accepted and
// every fault it saw, and can be told to answer any step with another reply.
//
//   zbtest::SmtpTestServer smtp;
//   ASSERT_TRUE(smtp.Start());
//   smtp.SetReply(zbtest::SmtpStep::Greeting, 554, "no service");  // optional
//   ... client sends a mail to 127.0.0.1:smtp.Port() ...
//   ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
//   EXPECT_TRUE(smtp.Violations().empty()) << smtp.Violations()[0];
//   EXPECT_EQ(smtp.Messages()[0].recipients, (std::vector<std::string>{"a@x.test"}));
#pragma once
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "tests/servers/LoopbackServer.h"

namespace zbtest {

enum class SmtpStep { Greeting, Helo, Mail, Rcpt, Data, EndOfData, Quit };

struct SmtpMessage {
  std::string helo;                     // the client's HELO or EHLO argument
  std::string from;                     // envelope sender, without the angle brackets
  std::vector<std::string> recipients;  // accepted RCPT TO addresses, in order
  std::string data;  // after dot-unstuffing, CRLF line ends, without the final "." line
};

class SmtpTestServer : public LoopbackServer {
 public:
  explicit SmtpTestServer(std::string domain = "smtp.test");
  ~SmtpTestServer() override;

  // Answers a step with this reply from now on. A 4xx or 5xx code makes the step fail (a 554
  // greeting refuses the session: every command but QUIT then gets 503). Lines of the text
  // separated by "\n" make a multi-line reply ("250-first", "250 last").
  void SetReply(SmtpStep step, int code, const std::string& text);
  // Answers a step with "250-" lines that never end, until the client closes.
  void SetEndlessReply(SmtpStep step);
  // RCPT TO for this address is refused with the code.
  void RejectRecipient(const std::string& address, int code = 550);

  std::vector<SmtpMessage> Messages() const;
  // Every command line of every session, as received without its line end, in order.
  std::vector<std::string> Commands() const;
  // Every protocol fault of the clients, in words, in order.
  std::vector<std::string> Violations() const;
  int SessionsEnded() const;
  // Waits until at least `count` sessions have ended; false when the time ran out.
  bool WaitForSessionsEnded(int count, DWORD timeoutMs = 5000) const;

 protected:
  void Serve(Connection& connection) override;

 private:
  class Session;

  std::pair<int, std::string> ReplyFor(SmtpStep step, int code, const std::string& text) const;
  int RecipientRejection(const std::string& address) const;
  bool IsEndless(SmtpStep step) const;
  void AddViolation(const std::string& what);
  void AddCommand(const std::string& line);
  void AddMessage(const SmtpMessage& message);

  const std::string domain_;
  mutable std::mutex mutex_;
  std::map<SmtpStep, std::pair<int, std::string>> replies_;
  std::map<SmtpStep, bool> endless_;
  std::map<std::string, int> rejected_;
  std::vector<SmtpMessage> messages_;
  std::vector<std::string> commands_;
  std::vector<std::string> violations_;
  int sessionsEnded_ = 0;
};

}  // namespace zbtest
