// Report mail through the stand-in mail library (tests/mapistub), which this test program loads
// in place of the system's: it records what MAPISendMail was given and answers as told.
#include "reports/MapiMail.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program/NQCommandLineInfo.h"
#include "framework/app/MessageBox.h"
#include "reports/EngineReports.h"
#include "reports/ReportCommands.h"
#include "reports/tests/ReportFixture.h"

using namespace reporttest;

namespace {

std::vector<std::string> g_boxes;
std::vector<std::string> g_log;
int g_sheetAnswer = IDOK;
int g_sheetShown = 0;

int RecordBox(LPCSTR text, UINT) {
  g_boxes.push_back(text);
  return IDOK;
}

class MapiMailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = folder_.File("mapi.txt");
    SetEnvironmentVariableA("ZB_MAPI_RECORD", record_.c_str());
    SetEnvironmentVariableA("ZB_MAPI_ANSWER", nullptr);
    g_boxes.clear();
    g_log.clear();
    g_sheetAnswer = IDOK;
    g_sheetShown = 0;
    SetCommandLineInfo(new NQCommandLineInfo(""));
    SetMailSheet([] {
      ++g_sheetShown;
      return g_sheetAnswer;
    });
    SetReportLog([](const char* line) { g_log.push_back(line); });
    report_ = fixture_.Folder().File("Summary.htm");
    WriteFile(report_, "<HTML></HTML>");
    fixture_.Doc().m_reportTo = "owner@mysite.example";
    fixture_.Doc().m_emailCc = "";
    fixture_.Doc().m_emailFrom = "";
    fixture_.Doc().m_emailSubject = "";
    fixture_.Doc().m_emailBody = "";
    // After the fixture: it installs a quiet box handler of its own.
    AfxSetMessageBoxHandler(RecordBox);
  }
  void TearDown() override {
    SetMailSheet(nullptr);
    SetReportLog(nullptr);
    SetCommandLineInfo(nullptr);
    AfxSetMessageBoxHandler(nullptr);
  }
  void Automated() { GetCommandLineInfo()->m_bAutomated = 1; }
  std::string Record() { return ReadFile(record_); }

  TempFolder folder_;
  std::string record_;
  ScratchRegistry registry_;
  FixtureDocument fixture_;
  std::string report_;
};

// What the message holds: recipients, sender, subject, the note with the attachment's blank.
TEST_F(MapiMailTest, MessageAsBuilt) {
  CZubrinDoc& doc = fixture_.Doc();
  doc.m_emailCc = "cc@mysite.example";
  doc.m_emailFrom = "me@mysite.example";
  doc.m_emailSubject = "Ranks";
  doc.m_emailBody = "Body text.";
  EXPECT_TRUE(MailReportFile(report_.c_str(), &doc));
  std::string expected = "session: 0\nwindow: 0\nflags: 1\nreserved: 0\nsubject: Ranks\n"
                         "note: [Body text. ]\nfrom: me@mysite.example\n"
                         "recipient: 1 owner@mysite.example\nrecipient: 2 cc@mysite.example\n"
                         "file: 10 " + report_ + " (null)\nend\n";
  EXPECT_EQ(Record(), expected);
  EXPECT_EQ(g_sheetShown, 1);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].find("mail system"), std::string::npos);
}

// Empty Cc, From, Subject and Body are left out of the message.
TEST_F(MapiMailTest, EmptyItemsLeftOut) {
  EXPECT_TRUE(MailReportFile(report_.c_str(), &fixture_.Doc()));
  std::string record = Record();
  EXPECT_NE(record.find("subject: (null)\nnote: [ ]\nfrom: (none)\n"), std::string::npos);
  EXPECT_EQ(record.find("recipient: 2"), std::string::npos);
}

TEST_F(MapiMailTest, TwoAttachmentsSitOnBlanksAtTheEnd) {
  CMapiMail mail;
  mail.AddTo("a@b.example");
  mail.SetNoteText("0123456789");
  mail.Attach("C:\\one.htm");
  mail.Attach("C:\\two.htm", "Two.htm");
  EXPECT_TRUE(mail.Send(0));
  std::string record = Record();
  EXPECT_NE(record.find("note: [0123456789  ]"), std::string::npos);
  EXPECT_NE(record.find("file: 10 C:\\one.htm (null)\nfile: 11 C:\\two.htm Two.htm\n"),
            std::string::npos);
}

// A user abort, a failed logon and any other error are not a sent mail.
TEST_F(MapiMailTest, FailuresAreNotSent) {
  struct AnswerCase {
    const char* answer;
    const char* box;  // a word of the box the user sees
  };
  const AnswerCase cases[] = {
      {"1", "not sent"},               // MAPI_USER_ABORT
      {"3", "not sent"},               // MAPI_E_LOGIN_FAILURE
      {"2", "could not send"},         // MAPI_E_FAILURE
      {"11", "could not send"},        // MAPI_E_ATTACHMENT_NOT_FOUND
  };
  for (const AnswerCase& c : cases) {
    g_boxes.clear();
    SetEnvironmentVariableA("ZB_MAPI_ANSWER", c.answer);
    EXPECT_FALSE(MailReportFile(report_.c_str(), &fixture_.Doc())) << c.answer;
    ASSERT_EQ(g_boxes.size(), 1u) << c.answer;
    EXPECT_NE(g_boxes[0].find(c.box), std::string::npos) << c.answer << ": " << g_boxes[0];
  }
}

TEST_F(MapiMailTest, CancelledSheetSendsNothing) {
  g_sheetAnswer = IDCANCEL;
  EXPECT_FALSE(MailReportFile(report_.c_str(), &fixture_.Doc()));
  EXPECT_EQ(Record(), "");
}

// Interactive without recipient: the mail program asks for one (its dialog), file attached. The
// user hears what became of the report, never that it was sent: the mail program took it
// unaddressed, or it was not sent.
TEST_F(MapiMailTest, InteractiveWithoutRecipientAsksTheMailProgram) {
  fixture_.Doc().m_reportTo = "";
  struct Case {
    const char* answer;  // the mail library's result
    bool result;
    const char* box;  // a phrase of the one box the user sees
  };
  const Case cases[] = {
      {"0", true, "without one"},       // SUCCESS_SUCCESS: the mail program has it
      {"1", false, "not sent"},         // MAPI_USER_ABORT
      {"3", false, "not sent"},         // MAPI_E_LOGIN_FAILURE
      {"2", false, "could not send"},   // MAPI_E_FAILURE
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    g_boxes.clear();
    DeleteFileA(record_.c_str());
    SetEnvironmentVariableA("ZB_MAPI_ANSWER", c.answer);
    EXPECT_EQ(MailReportFile(report_.c_str(), &fixture_.Doc()), c.result);
    std::string record = Record();
    EXPECT_NE(record.find("flags: 9\n"), std::string::npos);  // MAPI_DIALOG | MAPI_LOGON_UI
    EXPECT_EQ(record.find("recipient:"), std::string::npos);
    EXPECT_NE(record.find("file: 0 " + report_), std::string::npos);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_NE(g_boxes[0].find(c.box), std::string::npos) << g_boxes[0];
    EXPECT_EQ(g_boxes[0].find("handed to your mail system"), std::string::npos) << g_boxes[0];
  }
}

// Automated: no sheet, no box, no logon box; no recipient means no mail and a log line.
TEST_F(MapiMailTest, AutomatedRunShowsNothing) {
  Automated();
  EXPECT_TRUE(MailReportFile(report_.c_str(), &fixture_.Doc()));
  EXPECT_NE(Record().find("flags: 0\n"), std::string::npos);
  SetEnvironmentVariableA("ZB_MAPI_ANSWER", "3");
  EXPECT_FALSE(MailReportFile(report_.c_str(), &fixture_.Doc()));
  SetEnvironmentVariableA("ZB_MAPI_ANSWER", "2");
  EXPECT_FALSE(MailReportFile(report_.c_str(), &fixture_.Doc()));
  DeleteFileA(record_.c_str());
  fixture_.Doc().m_reportTo = "";
  EXPECT_FALSE(MailReportFile(report_.c_str(), &fixture_.Doc()));
  EXPECT_EQ(Record(), "");
  EXPECT_EQ(g_sheetShown, 0);
  EXPECT_TRUE(g_boxes.empty());
  ASSERT_FALSE(g_log.empty());
  EXPECT_NE(g_log.back().find("no report recipient"), std::string::npos);
}

// A report that failed to be written is never mailed.
TEST_F(MapiMailTest, UnwrittenReportIsNotMailed) {
  EXPECT_FALSE(MailReportFile("", &fixture_.Doc()));
  EXPECT_EQ(Record(), "");
}

// The end of an automated run writes and mails the reports its switches name.
TEST_F(MapiMailTest, AutomatedReportsAndCsv) {
  SetCommandLineInfo(new NQCommandLineInfo(
      ("/r2 /r6_email /csv_to \"" + fixture_.Folder().File("auto.csv") + "\"").c_str()));
  ResetReportFailures();
  EXPECT_TRUE(RunAutomatedReports(&fixture_.Doc()));
  EXPECT_FALSE(ReadFile(fixture_.ReportsFolder() + "Summary.htm").empty());
  EXPECT_FALSE(ReadFile(fixture_.Folder().File("auto.csv")).empty());
  std::string record = Record();
  EXPECT_NE(record.find(fixture_.ReportsFolder() + "KeywordStat.htm"), std::string::npos);
  EXPECT_TRUE(g_boxes.empty());
  // A mail that fails makes the run fail, without a box.
  SetEnvironmentVariableA("ZB_MAPI_ANSWER", "2");
  EXPECT_FALSE(RunAutomatedReports(&fixture_.Doc()));
  EXPECT_TRUE(g_boxes.empty());
}

}  // namespace
