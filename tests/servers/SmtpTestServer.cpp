#include "tests/servers/SmtpTestServer.h"

#include <algorithm>
#include <cctype>

namespace zbtest {

namespace {

constexpr size_t kMaxCommandLine = 512;  // octets with CRLF
constexpr size_t kMaxTextLine = 1000;    // octets with CRLF
constexpr size_t kMaxRead = 1 << 20;     // past this a line ends the session

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && Upper(text.substr(0, prefix.size())) == prefix;
}

// "<address>" with optional parameters after a blank: the address, or false when the path is
// not in angle brackets or not a mailbox.
bool ParsePath(const std::string& text, bool mayBeEmpty, std::string& address) {
  if (text.empty() || text[0] != '<') return false;
  size_t close = text.find('>');
  if (close == std::string::npos || (close + 1 < text.size() && text[close + 1] != ' ')) {
    return false;
  }
  address = text.substr(1, close - 1);
  if (address.find_first_of("<> \t") != std::string::npos) return false;
  if (address.empty()) return mayBeEmpty;
  return address.find('@') != std::string::npos || Upper(address) == "POSTMASTER";
}

}  // namespace

// One client's dialogue, on the connection's thread.
class SmtpTestServer::Session {
 public:
  Session(SmtpTestServer& server, Connection& connection) : server_(server), c_(connection) {}
  void Run();

 private:
  enum class State { Start, Greeted, Mail, Rcpt };

  // Sends the step's reply, or the given default; returns the code sent.
  int Reply(SmtpStep step, int code, const std::string& text, const std::string& after);
  int Reply(int code, const std::string& text, const std::string& after);
  void Violation(const std::string& what) { server_.AddViolation(what); }
  void Command(const std::string& text);
  bool ReadData();

  SmtpTestServer& server_;
  Connection& c_;
  State state_ = State::Start;
  bool refused_ = false;  // greeted with a failure: only QUIT is welcome
  bool quit_ = false;
  std::string helo_;
  SmtpMessage message_;
};

int SmtpTestServer::Session::Reply(int code, const std::string& text, const std::string& after) {
  // A client must wait for each reply before it sends more (no PIPELINING is offered).
  if (c_.HasPending()) {
    Violation(after.empty() ? "client sent data before the greeting"
                            : "client sent more before the reply to \"" + after + "\"");
  }
  std::string out;
  size_t start = 0;
  for (;;) {
    size_t end = text.find('\n', start);
    bool last = end == std::string::npos;
    out += std::to_string(code) + (last ? " " : "-") + text.substr(start, end - start) + "\r\n";
    if (last) break;
    start = end + 1;
  }
  c_.Send(out);
  return code;
}

int SmtpTestServer::Session::Reply(SmtpStep step, int code, const std::string& text,
                                   const std::string& after) {
  if (server_.IsEndless(step)) {
    c_.SendRepeated("250-and more\r\n", 64u << 20);
    return 250;
  }
  auto reply = server_.ReplyFor(step, code, text);
  return Reply(reply.first, reply.second, after);
}

void SmtpTestServer::Session::Run() {
  int greeting = Reply(SmtpStep::Greeting, 220, server_.domain_ + " ESMTP test server ready", "");
  refused_ = greeting >= 400;
  while (!quit_) {
    std::string line;
    if (!c_.ReadLine(line, kMaxRead)) {
      if (!c_.Stopping()) Violation("connection closed without QUIT");
      return;
    }
    bool crlf = line.size() >= 2 && line[line.size() - 2] == '\r';
    std::string text = line.substr(0, line.size() - (crlf ? 2 : 1));
    server_.AddCommand(text);
    if (!crlf) {
      Violation("bare LF at the end of a command line");
      Reply(500, "5.5.2 Line must end with CRLF", text);
    } else if (text.find('\r') != std::string::npos) {
      Violation("bare CR in a command line");
      Reply(500, "5.5.2 Bare CR", text);
    } else if (line.size() > kMaxCommandLine) {
      Violation("command line longer than 512 octets");
      Reply(500, "5.5.2 Line too long", text);
    } else {
      Command(text);
    }
  }
}

void SmtpTestServer::Session::Command(const std::string& text) {
  std::string verb = Upper(text.substr(0, text.find(' ')));
  std::string argument = text.size() > verb.size() + 1 ? text.substr(verb.size() + 1) : "";
  if (verb == "QUIT") {
    quit_ = true;
    Reply(SmtpStep::Quit, 221, "2.0.0 " + server_.domain_ + " closing", text);
    return;
  }
  if (refused_) {
    Violation("\"" + text + "\" after a refused greeting");
    Reply(503, "5.5.1 No service here, send QUIT", text);
    return;
  }
  if (verb == "HELO" || verb == "EHLO") {
    if (argument.empty() || argument.find(' ') != std::string::npos) {
      Violation(verb + " without exactly one domain");
      Reply(501, "5.5.4 Domain expected", text);
      return;
    }
    std::string normal = server_.domain_ + (verb == "EHLO" ? "\n8BITMIME\nHELP" : "");
    if (Reply(SmtpStep::Helo, 250, normal, text) < 400) {
      state_ = State::Greeted;
      helo_ = argument;
    }
  } else if (verb == "MAIL") {
    std::string from;
    if (state_ != State::Greeted) {
      Violation(state_ == State::Start ? "MAIL before HELO" : "MAIL inside a transaction");
      Reply(503, "5.5.1 Bad sequence of commands", text);
    } else if (!StartsWithNoCase(text, "MAIL FROM:") || !ParsePath(text.substr(10), true, from)) {
      Violation("bad MAIL command \"" + text + "\" (expected MAIL FROM:<address>)");
      Reply(501, "5.5.4 Syntax: MAIL FROM:<address>", text);
    } else if (Reply(SmtpStep::Mail, 250, "2.1.0 Sender OK", text) < 400) {
      state_ = State::Mail;
      message_ = SmtpMessage();
      message_.helo = helo_;
      message_.from = from;
    }
  } else if (verb == "RCPT") {
    std::string to;
    if (state_ != State::Mail && state_ != State::Rcpt) {
      Violation("RCPT before MAIL");
      Reply(503, "5.5.1 Bad sequence of commands", text);
    } else if (!StartsWithNoCase(text, "RCPT TO:") || !ParsePath(text.substr(8), false, to)) {
      Violation("bad RCPT command \"" + text + "\" (expected RCPT TO:<address>)");
      Reply(501, "5.5.4 Syntax: RCPT TO:<address>", text);
    } else if (int code = server_.RecipientRejection(to)) {
      Reply(code, "5.1.1 Recipient refused", text);
    } else if (Reply(SmtpStep::Rcpt, 250, "2.1.5 Recipient OK", text) < 400) {
      state_ = State::Rcpt;
      message_.recipients.push_back(to);
    }
  } else if (verb == "DATA") {
    if (state_ != State::Rcpt) {
      Violation(state_ == State::Mail ? "DATA without an accepted recipient" : "DATA before MAIL");
      Reply(503, "5.5.1 Bad sequence of commands", text);
    } else if (!argument.empty() || text.size() != 4) {
      Violation("DATA with an argument");
      Reply(501, "5.5.4 DATA takes no argument", text);
    } else if (Reply(SmtpStep::Data, 354, "End data with <CR><LF>.<CR><LF>", text) < 400) {
      ReadData();
    } else {
      state_ = State::Greeted;
    }
  } else if (verb == "RSET") {
    if (state_ != State::Start) state_ = State::Greeted;
    Reply(250, "2.0.0 OK", text);
  } else if (verb == "NOOP") {
    Reply(250, "2.0.0 OK", text);
  } else if (verb == "VRFY") {
    Reply(252, "2.1.5 Cannot verify, will try", text);
  } else if (verb == "HELP") {
    Reply(214, "2.0.0 HELO EHLO MAIL RCPT DATA RSET NOOP QUIT", text);
  } else if (text.empty()) {
    Violation("empty command line");
    Reply(500, "5.5.2 Empty command", text);
  } else {
    Violation("unknown command \"" + text + "\"");
    Reply(500, "5.5.2 Command unrecognized", text);
  }
}

bool SmtpTestServer::Session::ReadData() {
  std::string data;
  std::string fault;
  for (;;) {
    std::string line;
    if (!c_.ReadLine(line, kMaxRead)) {
      if (!c_.Stopping()) Violation("connection closed inside DATA");
      quit_ = true;
      return false;
    }
    bool crlf = line.size() >= 2 && line[line.size() - 2] == '\r';
    std::string text = line.substr(0, line.size() - (crlf ? 2 : 1));
    if (!crlf && fault.empty()) fault = "bare LF in the message data";
    if (text.find('\r') != std::string::npos && fault.empty())
      fault = "bare CR in the message data";
    if (line.size() > kMaxTextLine && fault.empty()) fault = "text line longer than 1000 octets";
    // A lone "." ends the data even after a bare LF, so that a faulty client is not left
    // waiting; the fault is recorded and the message refused all the same.
    if (text == ".") break;
    if (!text.empty() && text[0] == '.') text.erase(0, 1);
    data += text + "\r\n";
  }
  state_ = State::Greeted;
  if (!fault.empty()) {
    Violation(fault);
    Reply(554, "5.6.0 Message refused: " + fault, ".");
    return true;
  }
  message_.data = data;
  if (Reply(SmtpStep::EndOfData, 250, "2.0.0 Message accepted", ".") < 400) {
    server_.AddMessage(message_);
  }
  return true;
}

SmtpTestServer::SmtpTestServer(std::string domain) : domain_(std::move(domain)) {}

SmtpTestServer::~SmtpTestServer() {
  Stop();
}

void SmtpTestServer::SetReply(SmtpStep step, int code, const std::string& text) {
  std::lock_guard<std::mutex> lock(mutex_);
  replies_[step] = {code, text};
}

void SmtpTestServer::SetEndlessReply(SmtpStep step) {
  std::lock_guard<std::mutex> lock(mutex_);
  endless_[step] = true;
}

bool SmtpTestServer::IsEndless(SmtpStep step) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return endless_.count(step) > 0;
}

void SmtpTestServer::RejectRecipient(const std::string& address, int code) {
  std::lock_guard<std::mutex> lock(mutex_);
  rejected_[address] = code;
}

std::vector<SmtpMessage> SmtpTestServer::Messages() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

std::vector<std::string> SmtpTestServer::Commands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::vector<std::string> SmtpTestServer::Violations() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return violations_;
}

int SmtpTestServer::SessionsEnded() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return sessionsEnded_;
}

bool SmtpTestServer::WaitForSessionsEnded(int count, DWORD timeoutMs) const {
  for (DWORD start = GetTickCount();; Sleep(5)) {
    if (SessionsEnded() >= count) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
  }
}

std::pair<int, std::string> SmtpTestServer::ReplyFor(SmtpStep step, int code,
                                                     const std::string& text) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = replies_.find(step);
  return it != replies_.end() ? it->second : std::make_pair(code, text);
}

int SmtpTestServer::RecipientRejection(const std::string& address) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = rejected_.find(address);
  return it != rejected_.end() ? it->second : 0;
}

void SmtpTestServer::AddViolation(const std::string& what) {
  std::lock_guard<std::mutex> lock(mutex_);
  violations_.push_back(what);
}

void SmtpTestServer::AddCommand(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  commands_.push_back(line);
}

void SmtpTestServer::AddMessage(const SmtpMessage& message) {
  std::lock_guard<std::mutex> lock(mutex_);
  messages_.push_back(message);
}

void SmtpTestServer::Serve(Connection& connection) {
  Session(*this, connection).Run();
  std::lock_guard<std::mutex> lock(mutex_);
  ++sessionsEnded_;
}

}  // namespace zbtest
