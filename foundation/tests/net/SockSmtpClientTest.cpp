#include "foundation/net/SockSmtpClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "foundation/tests/net/NetTestSupport.h"
#include "tests/servers/SmtpTestServer.h"

namespace {

using zbtest::SmtpStep;
using Commands = std::vector<std::string>;

std::string Str(const CLibString& s) {
  return s.c_str();
}

// Counts the calls of the client's own report hooks.
class ObservedSmtp : public CSockSmtpClient {
 public:
  std::vector<std::string> calls;

 protected:
  void OnGreeted() override { calls.push_back("greeted"); }
  void OnQuit() override { calls.push_back("quit"); }
  void OnGreetFailed() override { calls.push_back("greet failed"); }
  void OnCommandAccepted(const CLibString& c) override { calls.push_back("ok " + Word(c)); }
  void OnCommandRejected(const CLibString& c) override { calls.push_back("no " + Word(c)); }
  void OnSendStart() override { calls.push_back("start"); }
  void OnSendEnd() override { calls.push_back("end"); }

 private:
  static std::string Word(const CLibString& c) {
    std::string text = c.c_str();
    return text.substr(0, text.find_first_of(" :"));
  }
};

class SmtpClientTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(smtp.Start()); }
  CInetAddress Server() { return CInetAddress(0x7F000001u, smtp.Port()); }
  // The server's record of faults, empty when the client kept to the protocol.
  std::string Faults() {
    std::string all;
    for (const std::string& v : smtp.Violations()) all += v + "; ";
    return all;
  }

  nettest::ShortWaits waits;
  nettest::FakeNames names{{}, "client.test"};
  zbtest::SmtpTestServer smtp;
};

TEST_F(SmtpClientTest, SendsAMailThatAStrictServerTakes) {
  nettest::EventLog log;
  ObservedSmtp client;
  log.Attach(client);
  client.SetFrom("sender@site.test");
  client.AddTo("b@to.test");
  client.AddTo("a@to.test");
  client.AddCc("c@cc.test");
  client.AddBcc("hidden@bcc.test");
  client.SetSubject("New URL's");
  // Unix and old Mac line ends, and lines that begin with a dot, one of them alone.
  client.SetBody("http://www.site.test/\n.\n..two dots\r.start\r\nlast line");

  EXPECT_TRUE(client.Connect(Server()));
  EXPECT_EQ(client.GetStatus(), 250);
  EXPECT_TRUE(client.Quit());
  EXPECT_EQ(client.GetStatus(), 221);
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_EQ(Faults(), "");

  Commands expected = {"HELO client.test",
                       "MAIL FROM:<sender@site.test>",
                       "RCPT TO:<a@to.test>",
                       "RCPT TO:<b@to.test>",
                       "RCPT TO:<c@cc.test>",
                       "RCPT TO:<hidden@bcc.test>",
                       "DATA",
                       "QUIT"};
  EXPECT_EQ(smtp.Commands(), expected);
  ASSERT_EQ(smtp.Messages().size(), 1u);
  zbtest::SmtpMessage m = smtp.Messages()[0];
  EXPECT_EQ(m.from, "sender@site.test");
  EXPECT_EQ(m.recipients.size(), 4u);
  size_t blank = m.data.find("\r\n\r\n");
  ASSERT_NE(blank, std::string::npos);
  std::string head = m.data.substr(0, blank + 2);
  std::string body = m.data.substr(blank + 4);
  EXPECT_NE(head.find("From: sender@site.test\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("To: a@to.test, b@to.test\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("Cc: c@cc.test\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("Subject: New URL's\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("Date: "), std::string::npos) << head;
  EXPECT_EQ(head.find("hidden"), std::string::npos) << head;
  EXPECT_EQ(head.find("Bcc"), std::string::npos) << head;
  EXPECT_EQ(body, "http://www.site.test/\r\n.\r\n..two dots\r\n.start\r\nlast line\r\n");

  std::vector<std::string> calls = {"ok HELO", "greeted", "start",   "ok MAIL", "ok RCPT",
                                    "ok RCPT", "ok RCPT", "ok RCPT", "ok DATA", "ok .",
                                    "end",     "ok QUIT", "quit"};
  EXPECT_EQ(client.calls, calls);
  // The dialogue stands in for the connection report.
  EXPECT_FALSE(log.Has(104));
  EXPECT_TRUE(log.Has(103));
}

TEST_F(SmtpClientTest, AddressesGoOutInAngleBracketsOnce) {
  CSockSmtpClient client;
  client.SetFrom("<sender@site.test>");
  client.AddTo("Some One <one@to.test>");
  client.AddTo("  two@to.test\r\n");
  client.SetBody("x");
  EXPECT_TRUE(client.Connect(Server()));
  client.Quit();
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_EQ(Faults(), "");
  Commands commands = smtp.Commands();
  ASSERT_GE(commands.size(), 4u);
  EXPECT_EQ(commands[1], "MAIL FROM:<sender@site.test>");
  EXPECT_EQ(commands[2], "RCPT TO:<one@to.test>");
  EXPECT_EQ(commands[3], "RCPT TO:<two@to.test>");
}

TEST_F(SmtpClientTest, ARefusedGreetingGetsNoHelo) {
  smtp.SetReply(SmtpStep::Greeting, 554, "no service");
  ObservedSmtp client;
  client.SetFrom("s@site.test");
  client.AddTo("a@to.test");
  client.SetBody("x");
  EXPECT_FALSE(client.Connect(Server()));
  EXPECT_EQ(client.GetStatus(), 554);
  EXPECT_EQ(Str(client.GetStatusText()), "no service ");
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_EQ(smtp.Commands(), Commands{"QUIT"});
  EXPECT_EQ(Faults(), "");
  EXPECT_EQ(client.calls, (std::vector<std::string>{"greet failed"}));
}

TEST_F(SmtpClientTest, ARejectedHeloEndsTheDialogue) {
  smtp.SetReply(SmtpStep::Helo, 550, "not you");
  ObservedSmtp client;
  client.SetFrom("s@site.test");
  client.AddTo("a@to.test");
  client.SetBody("x");
  EXPECT_FALSE(client.Connect(Server()));
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_EQ(smtp.Commands(), (Commands{"HELO client.test", "QUIT"}));
  EXPECT_EQ(Faults(), "");
  EXPECT_TRUE(smtp.Messages().empty());
}

TEST_F(SmtpClientTest, AMultiLineReplyIsReadToItsLastLine) {
  smtp.SetReply(SmtpStep::Helo, 250, "smtp.test\nSIZE 1000\nHELP");
  smtp.SetReply(SmtpStep::Greeting, 220, "first\nsecond");
  CSockSmtpClient client;
  client.SetFrom("s@site.test");
  client.AddTo("a@to.test");
  client.SetBody("x");
  EXPECT_TRUE(client.Connect(Server()));
  client.Quit();
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  // The server notes any command sent before its reply was complete.
  EXPECT_EQ(Faults(), "");
  EXPECT_EQ(smtp.Messages().size(), 1u);
}

TEST_F(SmtpClientTest, NothingIsSentWithoutRecipientSenderOrBody) {
  CSockSmtpClient client;
  client.SetFrom("s@site.test");
  client.SetBody("x");
  EXPECT_TRUE(client.Connect(Server()));  // greeted, but no mail
  client.AddTo("a@to.test");
  client.SetFrom("");
  EXPECT_FALSE(client.SendMail());
  client.SetFrom("s@site.test");
  client.SetBody("");
  EXPECT_FALSE(client.SendMail());
  client.Quit();
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_EQ(smtp.Commands(), (Commands{"HELO client.test", "QUIT"}));
}

TEST_F(SmtpClientTest, ARefusedRecipientDoesNotStopTheOthers) {
  smtp.RejectRecipient("bad@to.test");
  CSockSmtpClient client;
  client.SetFrom("s@site.test");
  client.AddTo("bad@to.test");
  client.AddTo("good@to.test");
  client.SetBody("x");
  EXPECT_TRUE(client.Connect(Server()));
  EXPECT_EQ(client.GetStatus(), 250);
  client.Quit();
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  ASSERT_EQ(smtp.Messages().size(), 1u);
  EXPECT_EQ(smtp.Messages()[0].recipients, std::vector<std::string>{"good@to.test"});

  // With every recipient refused there is no DATA; the connection stays for QUIT.
  CSockSmtpClient lonely;
  lonely.SetFrom("s@site.test");
  lonely.AddTo("bad@to.test");
  lonely.SetBody("x");
  EXPECT_TRUE(lonely.Connect(Server()));
  EXPECT_NE(lonely.GetStatus(), 250);
  EXPECT_TRUE(lonely.Quit());
  ASSERT_TRUE(smtp.WaitForSessionsEnded(2));
  EXPECT_EQ(Faults(), "");
  EXPECT_EQ(smtp.Messages().size(), 1u);
}

TEST_F(SmtpClientTest, RejectedDataIsAFailure) {
  smtp.SetReply(SmtpStep::EndOfData, 554, "spam");
  CSockSmtpClient client;
  client.SetFrom("s@site.test");
  client.AddTo("a@to.test");
  client.SetBody("x");
  EXPECT_TRUE(client.Connect(Server()));
  EXPECT_EQ(client.GetStatus(), 554);
  client.Quit();
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_EQ(Faults(), "");
  EXPECT_TRUE(smtp.Messages().empty());
}

TEST_F(SmtpClientTest, TheMailServerIsReachedDirectlyEvenWithAProxySet) {
  CSockSmtpClient client;
  // Nothing listens at the proxy's port: a client that went there would fail.
  client.SetProxy(CInetAddress(0x7F000001u, 1), "user", "password");
  client.SetFrom("s@site.test");
  client.AddTo("a@to.test");
  client.SetBody("x");
  EXPECT_TRUE(client.Connect(Server()));
  client.Quit();
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_EQ(smtp.Messages().size(), 1u);
}

TEST_F(SmtpClientTest, WithoutANameTheHeloCarriesTheAddress) {
  nettest::FakeNames nameless({}, "");
  CSockSmtpClient client;
  client.SetFrom("s@site.test");
  client.AddTo("a@to.test");
  client.SetBody("x");
  EXPECT_TRUE(client.Connect(Server()));
  client.Quit();
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_EQ(smtp.Commands()[0], "HELO [127.0.0.1]");
  EXPECT_EQ(Faults(), "");
}

TEST_F(SmtpClientTest, AnOverlongReplyLineFailsCleanly) {
  smtp.SetReply(SmtpStep::Greeting, 220, std::string(70000, 'g'));
  CSockSmtpClient client;
  client.SetTimeout(5);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(client.Connect(Server()));
  EXPECT_EQ(client.GetStatus(), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(SmtpClientTest, AReplyWithoutEndFailsCleanly) {
  // "250-" lines that never stop: the client gives up after its bound instead of gathering
  // them for as long as the server sends.
  for (SmtpStep step : {SmtpStep::Greeting, SmtpStep::Helo}) {
    zbtest::SmtpTestServer endless;
    ASSERT_TRUE(endless.Start());
    endless.SetEndlessReply(step);
    CSockSmtpClient client;
    client.SetTimeout(5);
    client.SetFrom("me@client.test");
    client.AddTo("you@smtp.test");
    client.SetBody("text");
    EXPECT_FALSE(client.Connect(CInetAddress(0x7F000001u, endless.Port())));
    EXPECT_EQ(client.GetStatus(), 0);
    EXPECT_LE(client.GetStatusText().GetLength(), CSockSmtpClient::kMaxReplyBytes);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_TRUE(endless.Messages().empty());
  }
}

TEST_F(SmtpClientTest, APortOfZeroMeansTwentyFive) {
  CSockSmtpClient client;
  client.SetTimeout(2);
  client.Connect(CInetAddress(0x7F000001u, 0));
  EXPECT_EQ(client.GetDestination().GetPort(), 25u);
}

}  // namespace
