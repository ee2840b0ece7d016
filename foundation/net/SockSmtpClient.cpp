#include "foundation/net/SockSmtpClient.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

namespace {

using std::string;

// A line end in an address or a subject would start a command or a header of its own.
string OneLine(const CLibString& text) {
  string out;
  for (const char* p = text.c_str(); *p; ++p)
    if (*p != '\r' && *p != '\n') out += *p;
  size_t start = out.find_first_not_of(" \t");
  if (start == string::npos) return string();
  size_t end = out.find_last_not_of(" \t");
  return out.substr(start, end - start + 1);
}

// The address as the envelope carries it: "<a@b.example>", whether it came with angle brackets
// ("<a@b>", "Name <a@b>") or without.
CLibString EnvelopeAddress(const CLibString& address) {
  string text = OneLine(address);
  size_t open = text.find('<');
  size_t close = text.find('>', open == string::npos ? 0 : open);
  if (open != string::npos && close != string::npos) text = text.substr(open + 1, close - open - 1);
  return ("<" + text + ">").c_str();
}

string JoinNames(const CNVList& list) {
  string joined;
  list.ForEach([&](const CNVItem& item) {
    if (!joined.empty()) joined += ", ";
    joined += item.m_name.c_str();
  });
  return joined;
}

// "Wed, 10 Dec 2025 13:57:00 +0000".
string MailDate() {
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  time_t now = time(nullptr);
  struct tm utc = {};
  if (const struct tm* t = gmtime(&now)) utc = *t;
  char text[64];
  snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d +0000", kDays[utc.tm_wday % 7],
           utc.tm_mday, kMonths[utc.tm_mon % 12], utc.tm_year + 1900, utc.tm_hour, utc.tm_min,
           utc.tm_sec);
  return text;
}

}  // namespace

CSockSmtpClient::CSockSmtpClient() {
  Reset();
}

CSockSmtpClient::~CSockSmtpClient() {
  if (m_connected) Quit();
}

void CSockSmtpClient::Reset() {
  m_work = CLibString();
  Clear();
}

void CSockSmtpClient::Clear() {
  m_from = CLibString();
  m_subject = CLibString();
  m_body = CLibString();
  m_to.RemoveAll();
  m_cc.RemoveAll();
  m_bcc.RemoveAll();
  m_extra.RemoveAll();
}

void CSockSmtpClient::AddTo(const CLibString& address) {
  string text = OneLine(address);
  if (!text.empty()) m_to.SetAt(text.c_str(), " ");
}

void CSockSmtpClient::AddCc(const CLibString& address) {
  string text = OneLine(address);
  if (!text.empty()) m_cc.SetAt(text.c_str(), " ");
}

void CSockSmtpClient::AddBcc(const CLibString& address) {
  string text = OneLine(address);
  if (!text.empty()) m_bcc.SetAt(text.c_str(), " ");
}

bool CSockSmtpClient::Connect(const CInetAddress& server) {
  Close();
  CInetAddress address = server;
  if (address.GetPort() == 0) address.SetPort(kDefaultPort);
  // Straight to the mail server: a proxy set for HTTP speaks no SMTP.
  ConnectDirect(address);
  return m_connected != 0;
}

void CSockSmtpClient::OnConnected() {
  int greeting = ReadReply();
  if (greeting != 220) {
    OnGreetFailed();
    // A server that answered at all is told goodbye before the connection closes.
    if (greeting != 0) Goodbye();
    Close();
    return;
  }
  // The name of our end of the connection; its address in brackets when it has no name.
  CInetAddress local = GetLocalAddress();
  CLibString name = local.GetHostName();
  if (name.GetLength() == 0 || name.FindChar(' ') > 0) name = "[" + local.Format('.') + "]";
  if (!Command("HELO " + name, 250)) {
    OnGreetFailed();
    if (m_connected) Goodbye();
    Close();
    return;
  }
  OnGreeted();
  SendMail();
}

bool CSockSmtpClient::HasRecipients() const {
  return m_to.GetCount() + m_cc.GetCount() + m_bcc.GetCount() > 0;
}

bool CSockSmtpClient::AddRecipient(const CLibString& address) {
  return Command("RCPT TO:" + EnvelopeAddress(address), 250);
}

bool CSockSmtpClient::SendMail() {
  if (!m_connected) return false;
  if (!HasRecipients()) return false;
  if (OneLine(m_from).empty() || (m_body.GetLength() == 0 && m_extra.GetCount() == 0)) return false;

  OnSendStart();
  bool sent = false;
  if (Command("MAIL FROM:" + EnvelopeAddress(m_from), 250)) {
    // Every recipient, blind copies included, is named to the server; a refused one does not
    // stop the others.
    int accepted = 0;
    for (const CNVList* list : {&m_to, &m_cc, &m_bcc}) {
      std::vector<CLibString> addresses;
      list->ForEach([&](const CNVItem& item) { addresses.push_back(item.m_name); });
      for (const CLibString& address : addresses)
        if (AddRecipient(address)) ++accepted;
    }
    // With nobody to deliver to there is no message to send.
    if (accepted > 0 && Command("DATA", 354)) {
      OnIdle();
      CLibString message = FormatMessage();
      int length = message.GetLength();
      if (m_connected && Send(message.c_str(), length) == length) {
        sent = ReadReply() == 250;
        if (sent)
          OnCommandAccepted(".");
        else
          OnCommandRejected(".");
      }
    }
  }
  OnSendEnd();
  return sent;
}

CLibString CSockSmtpClient::FormatMessage() const {
  string text;
  text += "Date: " + MailDate() + "\r\n";
  text += "From: " + OneLine(m_from) + "\r\n";
  if (m_to.GetCount() > 0) text += "To: " + JoinNames(m_to) + "\r\n";
  if (m_cc.GetCount() > 0) text += "Cc: " + JoinNames(m_cc) + "\r\n";
  string subject = OneLine(m_subject);
  if (!subject.empty()) text += "Subject: " + subject + "\r\n";
  text += "\r\n";

  // The body with CR LF line ends, a "." doubled at the start of a line so that no line of it
  // reads as the end of the data.
  const char* p = m_body.c_str();
  bool lineStart = true;
  while (*p) {
    if (lineStart && *p == '.') text += '.';
    lineStart = false;
    if (*p == '\r' || *p == '\n') {
      if (*p == '\r' && p[1] == '\n') ++p;
      text += "\r\n";
      lineStart = true;
    } else {
      text += *p;
    }
    ++p;
  }
  if (!lineStart) text += "\r\n";
  text += ".\r\n";
  return text.c_str();
}

void CSockSmtpClient::Goodbye() {
  // The refusal stays the status: it is what the caller needs to know.
  int status = m_status;
  CLibString text = m_statusText;
  if (m_connected && SendLine("QUIT") > 0) ReadReply();
  m_status = status;
  m_statusText = text;
}

bool CSockSmtpClient::Quit() {
  bool ok = Command("QUIT", 221);
  OnQuit();
  Close();
  return ok;
}

bool CSockSmtpClient::Command(const CLibString& text, int expected) {
  if (!m_connected) return false;
  if (SendLine(text) < 0) return false;
  int code = ReadReply();
  if (expected == 0) return false;
  if (code == expected) {
    OnCommandAccepted(text);
    return true;
  }
  OnCommandRejected(text);
  return false;
}

int CSockSmtpClient::ReadReply() {
  int code = 0;
  string collected;
  int lines = 0;
  while (m_connected) {
    string line = ReadLine().c_str();
    // A broken line, one cut off by the time-out, or a reply that never ends: no answer.
    if (IsBadLine() || (!IsLineEnded() && m_connected) || ++lines > kMaxReplyLines ||
        collected.size() + line.size() > static_cast<size_t>(kMaxReplyBytes)) {
      code = 0;
      collected.clear();
      Close();
      break;
    }
    size_t start = line.find_first_not_of(' ');
    if (start == string::npos) break;
    line = line.substr(start, line.find_last_not_of(' ') - start + 1);
    bool numbered = line.size() >= 3 && isdigit(static_cast<unsigned char>(line[0])) &&
                    isdigit(static_cast<unsigned char>(line[1])) &&
                    isdigit(static_cast<unsigned char>(line[2]));
    if (!numbered) break;
    if (code == 0) code = atoi(line.substr(0, 3).c_str());
    if (line.size() > 4) collected += line.substr(4) + " ";
    // "250-..." goes on; "250 ..." or a bare "250" is the last line.
    if (line.size() == 3 || line[3] != '-') break;
  }
  m_status = code;
  m_statusText = collected.c_str();
  OnReply();
  return code;
}
