// CSockSmtpClient: sends one plain-text mail over SMTP. The caller fills in sender, recipients,
// subject and body and connects; the whole dialogue (greeting, HELO, the mail) runs inside the
// connect, which returns once the mail is through or has failed. The last reply's code and text
// are the socket's status code and status text. The mail server is always reached directly: a
// proxy set on the socket is for HTTP and is not used here.
#pragma once

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"
#include "foundation/net/Sock.h"

class CSockSmtpClient : public CSock {
 public:
  static constexpr unsigned kDefaultPort = 25;
  // Bounds of one reply: a server that sends "250-" lines without end is not answering, and
  // the reply counts as none (code 0, connection closed).
  static constexpr int kMaxReplyLines = 100;
  static constexpr int kMaxReplyBytes = 65536;

  CSockSmtpClient();
  // Quits politely when still connected.
  ~CSockSmtpClient() override;

  // Empties the work text and the message.
  void Reset();
  // Sender, subject and body emptied; every recipient list emptied.
  void Clear();

  // An address with or without angle brackets; either way it goes out in them.
  void SetFrom(const CLibString& address) { m_from = address; }
  void SetSubject(const CLibString& subject) { m_subject = subject; }
  void SetBody(const CLibString& body) { m_body = body; }
  void AddTo(const CLibString& address);
  void AddCc(const CLibString& address);
  // Blind copies get the mail but appear in no header.
  void AddBcc(const CLibString& address);

  // Connects to the server (port 25 when the address has none); the mail is sent during the
  // connect. True when the connection still stands afterwards.
  bool Connect(const CInetAddress& server);
  // Sends the message over the open connection; true when the server accepted the data.
  bool SendMail();
  // "QUIT", then closes; true when the server answered 221.
  bool Quit();
  // Sends one command line and reads the reply; true when its code is the expected one.
  bool Command(const CLibString& text, int expected);
  // Reads one reply, single- or multi-line; returns its code (0 when none came).
  int ReadReply();

  // The message as it goes out after DATA: header lines, an empty line, the dot-stuffed body
  // with CR LF line ends, and the end-of-data line.
  CLibString FormatMessage() const;

 protected:
  // The dialogue: greeting, HELO, then the mail. Replaces the socket's report of code 104.
  void OnConnected() override;

  // Reported by nothing in the base class; derived classes listen here.
  virtual void OnGreeted() {}
  virtual void OnQuit() {}
  virtual void OnGreetFailed() {}
  virtual void OnCommandAccepted(const CLibString& /*command*/) {}
  virtual void OnCommandRejected(const CLibString& /*command*/) {}
  virtual void OnReply() {}
  virtual void OnSendStart() {}
  virtual void OnSendEnd() {}

  CLibString m_work;
  CLibString m_from;
  CLibString m_subject;
  CLibString m_body;
  CNVList m_to;
  CNVList m_cc;
  CNVList m_bcc;
  // Never filled by the program; a message with an empty body counts as having content only
  // while this list has entries.
  CNVList m_extra;

 private:
  bool HasRecipients() const;
  // QUIT without the reports of Quit, for a dialogue that ended before it began.
  void Goodbye();
  // The RCPT for one address; false when the server refused it.
  bool AddRecipient(const CLibString& address);
};
