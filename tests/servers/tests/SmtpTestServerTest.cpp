// The strict SMTP server: a correct dialogue, each protocol fault it must catch, and the replies
// a test can make it give.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/servers/SmtpTestServer.h"
#include "tests/servers/tests/RawClient.h"

namespace {

using zbtest::RawClient;
using zbtest::SmtpStep;
using zbtest::SmtpTestServer;

// A scripted SMTP client: each line goes out whole, then the full reply is read.
class Dialogue {
 public:
  explicit Dialogue(unsigned short port) {
    if (client_.Connect(port)) greeting_ = ReadReply();
  }
  int Greeting() const { return greeting_; }
  // Sends text as it stands (line ends included) and returns the reply's code.
  int Say(const std::string& text) { return client_.Send(text) ? ReadReply() : 0; }
  int ReadReply() {
    lines_.clear();
    for (;;) {
      std::string line = client_.ReadLine();
      if (line.size() < 6) return 0;
      lines_.push_back(line);
      if (line[3] == ' ') return std::atoi(line.c_str());
    }
  }
  const std::vector<std::string>& Lines() const { return lines_; }
  RawClient& Client() { return client_; }

 private:
  RawClient client_;
  int greeting_ = 0;
  std::vector<std::string> lines_;
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string all;
  for (const auto& line : lines) all += line + "\n";
  return all;
}

class SmtpTestServerTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.Start()); }
  SmtpTestServer server_;
};

TEST_F(SmtpTestServerTest, AcceptsACorrectDialogueAndRecordsTheUnstuffedMessage) {
  Dialogue d(server_.Port());
  EXPECT_EQ(d.Greeting(), 220);
  EXPECT_EQ(d.Say("EHLO client.test\r\n"), 250);
  EXPECT_EQ(d.Lines(),
            (std::vector<std::string>{"250-smtp.test\r\n", "250-8BITMIME\r\n", "250 HELP\r\n"}));
  EXPECT_EQ(d.Say("MAIL FROM:<me@client.test>\r\n"), 250);
  EXPECT_EQ(d.Say("RCPT TO:<a@x.test>\r\n"), 250);
  EXPECT_EQ(d.Say("rcpt to:<b@x.test>\r\n"), 250);
  EXPECT_EQ(d.Say("DATA\r\n"), 354);
  EXPECT_EQ(d.Say("Subject: hi\r\n\r\n..leading dot\r\n.\r\n"), 250);
  EXPECT_EQ(d.Say("MAIL FROM:<>\r\n"), 250);  // a second mail, with a null sender
  EXPECT_EQ(d.Say("RCPT TO:<postmaster>\r\n"), 250);
  EXPECT_EQ(d.Say("DATA\r\n"), 354);
  EXPECT_EQ(d.Say("\r\n.\r\n"), 250);
  EXPECT_EQ(d.Say("QUIT\r\n"), 221);
  EXPECT_TRUE(d.Client().ServerClosed(2000));

  ASSERT_TRUE(server_.WaitForSessionsEnded(1));
  EXPECT_TRUE(server_.Violations().empty()) << Joined(server_.Violations());
  auto messages = server_.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].helo, "client.test");
  EXPECT_EQ(messages[0].from, "me@client.test");
  EXPECT_EQ(messages[0].recipients, (std::vector<std::string>{"a@x.test", "b@x.test"}));
  EXPECT_EQ(messages[0].data, "Subject: hi\r\n\r\n.leading dot\r\n");
  EXPECT_EQ(messages[1].from, "");
  EXPECT_EQ(messages[1].data, "\r\n");
  EXPECT_EQ(server_.Commands().front(), "EHLO client.test");
  EXPECT_EQ(server_.Commands().back(), "QUIT");
}

TEST_F(SmtpTestServerTest, RefusesAndRecordsEachProtocolFault) {
  struct Case {
    const char* name;
    std::vector<std::string> before;  // accepted steps first
    std::string line;
    int code;
    const char* violation;
  };
  const std::vector<std::string> helo = {"HELO c.test\r\n"};
  const std::vector<std::string> mail = {"HELO c.test\r\n", "MAIL FROM:<a@c.test>\r\n"};
  const Case cases[] = {
      {"bare LF", {}, "HELO c.test\n", 500, "bare LF at the end of a command line"},
      {"bare CR", {}, "HELO c.\rtest\r\n", 500, "bare CR in a command line"},
      {"HELO without domain", {}, "HELO\r\n", 501, "HELO without exactly one domain"},
      {"MAIL before HELO", {}, "MAIL FROM:<a@c.test>\r\n", 503, "MAIL before HELO"},
      {"MAIL without brackets", helo, "MAIL FROM:a@c.test\r\n", 501, "bad MAIL command"},
      {"MAIL blank after colon", helo, "MAIL FROM: <a@c.test>\r\n", 501, "bad MAIL command"},
      {"MAIL twice", mail, "MAIL FROM:<a@c.test>\r\n", 503, "MAIL inside a transaction"},
      {"RCPT before MAIL", helo, "RCPT TO:<b@c.test>\r\n", 503, "RCPT before MAIL"},
      {"RCPT without brackets", mail, "RCPT TO:b@c.test\r\n", 501, "bad RCPT command"},
      {"RCPT not a mailbox", mail, "RCPT TO:<nobody>\r\n", 501, "bad RCPT command"},
      {"DATA without recipient", mail, "DATA\r\n", 503, "DATA without an accepted recipient"},
      {"unknown command", helo, "SEND FROM:<a@c.test>\r\n", 500, "unknown command"},
      {"empty line", helo, "\r\n", 500, "empty command line"},
      {"long line", helo, "NOOP " + std::string(600, 'x') + "\r\n", 500, "longer than 512"},
  };
  for (const Case& c : cases) {
    SmtpTestServer server;
    ASSERT_TRUE(server.Start());
    Dialogue d(server.Port());
    for (const auto& step : c.before) ASSERT_LT(d.Say(step), 400) << c.name << ": " << step;
    EXPECT_EQ(d.Say(c.line), c.code) << c.name;
    EXPECT_EQ(d.Say("QUIT\r\n"), 221) << c.name;
    ASSERT_TRUE(server.WaitForSessionsEnded(1)) << c.name;
    auto violations = server.Violations();
    ASSERT_EQ(violations.size(), 1u) << c.name << ": " << Joined(violations);
    EXPECT_NE(violations[0].find(c.violation), std::string::npos)
        << c.name << ": " << violations[0];
  }
}

TEST_F(SmtpTestServerTest, RefusesMessagesWithFaultyDataAndCatchesUnpairedCommands) {
  struct Case {
    const char* name;
    std::string data;
    int code;
    std::vector<std::string> violations;
  } cases[] = {
      {"bare LF in data", "line one\nline two\r\n.\r\n", 554, {"bare LF in the message data"}},
      {"long text line",
       std::string(1001, 'x') + "\r\n.\r\n",
       554,
       {"text line longer than 1000 octets"}},
      // An extra line after the end of data: the next reply would pair with the wrong command.
      {"line after the end",
       "body\r\n.\r\n\r\n",
       250,
       {"client sent more before the reply to \".\"", "empty command line"}},
  };
  for (const Case& c : cases) {
    SmtpTestServer server;
    ASSERT_TRUE(server.Start());
    Dialogue d(server.Port());
    ASSERT_EQ(d.Say("HELO c.test\r\n"), 250);
    ASSERT_EQ(d.Say("MAIL FROM:<a@c.test>\r\n"), 250);
    ASSERT_EQ(d.Say("RCPT TO:<b@c.test>\r\n"), 250);
    ASSERT_EQ(d.Say("DATA\r\n"), 354);
    EXPECT_EQ(d.Say(c.data), c.code) << c.name;
    d.Client().Close();
    ASSERT_TRUE(server.WaitForSessionsEnded(1)) << c.name;
    auto violations = server.Violations();
    ASSERT_GE(violations.size(), c.violations.size()) << c.name;
    for (size_t i = 0; i < c.violations.size(); ++i) EXPECT_EQ(violations[i], c.violations[i]);
    // And the client closed without QUIT.
    EXPECT_EQ(violations.back(), "connection closed without QUIT") << c.name;
    EXPECT_EQ(server.Messages().size(), c.code == 250 ? 1u : 0u) << c.name;
  }
}

TEST_F(SmtpTestServerTest, AnswersEachStepAsItIsTold) {
  struct Case {
    SmtpStep step;
    int code;
    int stopsAt;  // index of the line below that gets the code
  } cases[] = {
      {SmtpStep::Helo, 550, 0}, {SmtpStep::Mail, 451, 1},      {SmtpStep::Rcpt, 550, 2},
      {SmtpStep::Data, 554, 3}, {SmtpStep::EndOfData, 452, 4},
  };
  const char* lines[] = {"HELO c.test\r\n", "MAIL FROM:<a@c.test>\r\n", "RCPT TO:<b@c.test>\r\n",
                         "DATA\r\n", "text\r\n.\r\n"};
  for (const Case& c : cases) {
    SmtpTestServer server;
    ASSERT_TRUE(server.Start());
    server.SetReply(c.step, c.code, "told so");
    Dialogue d(server.Port());
    for (int i = 0; i <= c.stopsAt; ++i) {
      int code = d.Say(lines[i]);
      EXPECT_EQ(code, i == c.stopsAt ? c.code : (i == 3 ? 354 : 250)) << lines[i];
    }
    EXPECT_EQ(d.Lines().back(), std::to_string(c.code) + " told so\r\n");
    EXPECT_EQ(d.Say("QUIT\r\n"), 221);
    ASSERT_TRUE(server.WaitForSessionsEnded(1));
    EXPECT_TRUE(server.Messages().empty());
    EXPECT_TRUE(server.Violations().empty()) << Joined(server.Violations());
  }
}

TEST_F(SmtpTestServerTest, RefusedGreetingAllowsOnlyQuit) {
  server_.SetReply(SmtpStep::Greeting, 554, "no service");
  Dialogue d(server_.Port());
  EXPECT_EQ(d.Greeting(), 554);
  EXPECT_EQ(d.Say("HELO c.test\r\n"), 503);
  EXPECT_EQ(d.Say("QUIT\r\n"), 221);
  ASSERT_TRUE(server_.WaitForSessionsEnded(1));
  EXPECT_EQ(server_.Violations(),
            (std::vector<std::string>{"\"HELO c.test\" after a refused greeting"}));
}

TEST_F(SmtpTestServerTest, GivesMultiLineRepliesAndRefusesChosenRecipients) {
  server_.SetReply(SmtpStep::Helo, 250, "first\nsecond\nlast");
  server_.RejectRecipient("no@x.test");
  Dialogue d(server_.Port());
  EXPECT_EQ(d.Say("HELO c.test\r\n"), 250);
  EXPECT_EQ(d.Lines(),
            (std::vector<std::string>{"250-first\r\n", "250-second\r\n", "250 last\r\n"}));
  EXPECT_EQ(d.Say("MAIL FROM:<a@c.test>\r\n"), 250);
  EXPECT_EQ(d.Say("RCPT TO:<no@x.test>\r\n"), 550);
  EXPECT_EQ(d.Say("RCPT TO:<yes@x.test>\r\n"), 250);
  EXPECT_EQ(d.Say("DATA\r\n"), 354);
  EXPECT_EQ(d.Say("x\r\n.\r\n"), 250);
  EXPECT_EQ(d.Say("QUIT\r\n"), 221);
  ASSERT_TRUE(server_.WaitForSessionsEnded(1));
  ASSERT_EQ(server_.Messages().size(), 1u);
  EXPECT_EQ(server_.Messages()[0].recipients, std::vector<std::string>{"yes@x.test"});
  EXPECT_TRUE(server_.Violations().empty()) << Joined(server_.Violations());
}

TEST_F(SmtpTestServerTest, AnEndlessReplyKeepsSendingContinuationLines) {
  server_.SetEndlessReply(SmtpStep::Greeting);
  RawClient client;
  ASSERT_TRUE(client.Connect(server_.Port()));
  for (int i = 0; i < 5000; ++i) {
    std::string line = client.ReadLine();
    ASSERT_EQ(line, "250-and more\r\n") << i;
  }
  client.Close();
  EXPECT_TRUE(server_.WaitForSessionsEnded(1));
}

TEST_F(SmtpTestServerTest, CatchesAClientThatDoesNotWaitForReplies) {
  Dialogue d(server_.Port());
  ASSERT_EQ(d.Greeting(), 220);
  EXPECT_EQ(d.Say("HELO c.test\r\nMAIL FROM:<a@c.test>\r\n"), 250);
  EXPECT_EQ(d.ReadReply(), 250);
  EXPECT_EQ(d.Say("QUIT\r\n"), 221);
  ASSERT_TRUE(server_.WaitForSessionsEnded(1));
  EXPECT_EQ(server_.Violations(),
            (std::vector<std::string>{"client sent more before the reply to \"HELO c.test\""}));
}

}  // namespace
