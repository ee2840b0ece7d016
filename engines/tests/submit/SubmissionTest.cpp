// Submitting a site through the fixture engines: add-URL forms in one and several steps, the
// verification code (read off the image's name or asked of the user), eligibility, several site
// addresses, and submission by mail to the SMTP test server.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engines/db/EngineKeys.h"
#include "engines/db/EngineList.h"
#include "engines/db/EngineServices.h"
#include "engines/submit/ImageCodeRequest.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineTestSupport.h"
#include "foundation/core/Date.h"
#include "foundation/net/Socklet.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/servers/SmtpTestServer.h"

namespace {

using zbtest::CaptchaImage;
using zbtest::FakeScenario;

// A clock that runs only while the worker sleeps, so that a wait of minutes passes at once.
std::atomic<uint32_t> g_fakeSeconds{0};
std::atomic<int> g_sleeps{0};
// Held still while a test's answer is on its way from another thread, however slow that is.
std::atomic<bool> g_clockFrozen{false};
uint32_t FakeTime() {
  return g_fakeSeconds.load();
}
void FakeSleep(unsigned ms) {
  ++g_sleeps;
  if (!g_clockFrozen) g_fakeSeconds += (ms + 999) / 1000;
  Sleep(1);  // lets a receiver on another thread run
}

// The run's side of the engine events: records them, and answers the image-code request the way
// the user interface does (on another thread, possibly late), keeping its own reference.
struct Receiver {
  enum class Mode { Answer, AnswerLate, Ignore, StopEngine };
  Mode mode = Mode::Answer;
  std::string code;
  CSearchEngine* engine = nullptr;
  std::mutex mutex;
  std::vector<std::pair<int, uintptr_t>> events;
  CImageCodeRequest* kept = nullptr;  // held past the event (late answer)
  std::string imagePath;
  int imageTimeout = 0;
  std::thread answering;

  ~Receiver() {
    if (answering.joinable()) answering.join();
    if (kept) kept->Release();
  }
  void Attach(CSearchEngine& e) {
    engine = &e;
    e.SetCallback(Callback, reinterpret_cast<uintptr_t>(this));
    e.SetCallbackRange(kEngineEventFirst, kEngineEventLast);
  }
  static bool Callback(CSock*, int code, uintptr_t data, uintptr_t user) {
    Receiver* self = reinterpret_cast<Receiver*>(user);
    {
      std::lock_guard<std::mutex> hold(self->mutex);
      if (code != kEngineIdle) self->events.emplace_back(code, data);
    }
    if (code == kEngineImageCodeWanted)
      self->OnImageCode(reinterpret_cast<CImageCodeRequest*>(data));
    return true;
  }
  void OnImageCode(CImageCodeRequest* request) {
    imagePath = request->GetImagePath().c_str();
    imageTimeout = request->GetTimeout();
    request->AddRef();
    switch (mode) {
      case Mode::Answer:
        answering = std::thread([request, this] {
          request->SetAnswer(code.c_str());
          request->Release();
        });
        break;
      case Mode::StopEngine:
        engine->SetStop(true);
        request->Release();
        break;
      case Mode::AnswerLate:
      case Mode::Ignore:
        kept = request;
        break;
    }
  }
  std::vector<int> Codes() {
    std::lock_guard<std::mutex> hold(mutex);
    std::vector<int> codes;
    // The submission's own events; the connection events of its requests are the client's.
    for (auto& e : events)
      if (e.first >= kEngineNoSubmitRequest) codes.push_back(e.first);
    return codes;
  }
  std::vector<uintptr_t> Data(int code) {
    std::lock_guard<std::mutex> hold(mutex);
    std::vector<uintptr_t> data;
    for (auto& e : events)
      if (e.first == code) data.push_back(e.second);
    return data;
  }
};

class SubmissionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_fakeSeconds = 1000;
    g_sleeps = 0;
    g_clockFrozen = false;
    SockletSetClock(&FakeTime, &FakeSleep);
    ASSERT_TRUE(fake.Start());
    std::string dir = folder.File("");
    dir.pop_back();
    ASSERT_TRUE(zbtest::WriteEngineFixtures(dir, fake.Port(), nullptr));
    // The mail outcome texts come from the language module, as the database load leaves it.
    ASSERT_NE(LoadLanguageModule(), nullptr);
    ASSERT_GT(engines.LoadEnginesFile(folder.File("engines.dat").c_str(), nullptr, nullptr), 0);
    profile.SetAt("URL_WITH_PREFIX", "http://www.zb-testsite.com/");
    profile.SetAt("EMAIL", "owner@zb-testsite.com");
    profile.SetAt("TITLE", "Blue Widgets");
    profile.SetAt("SHORTDESC", "Widgets of every blue");
    profile.SetAt("LONGDESC", "Widgets of every blue, made by hand.");
    profile.SetAt("FNAME", "Ann");
    profile.SetAt("LNAME", "Smith");
    profile.SetAt("SITE_TYPE", "business");
    profile.SetAt("ISTASMANIA", "1");
    profile.SetAt("SMTP", "");
  }
  void TearDown() override {
    engines.Free();
    EngineKeyList.RemoveAll();
    fake.Stop();
    SockletSetClock(nullptr, nullptr);
  }
  std::vector<zbtest::FakeSubmission> SubmissionsTo(const std::string& name, const char* step) {
    std::vector<zbtest::FakeSubmission> out;
    for (auto& s : fake.Submissions())
      if (s.engine == name && s.step == step) out.push_back(s);
    return out;
  }
  bool Submit(CSearchEngine& engine, const char* name) {
    engine.m_name = name;
    engine.m_timeout = 10;
    receiver.Attach(engine);
    return engine.Submit(profile);
  }

  nettest::ShortWaits waits;
  enginetest::TempFolder folder;
  zbtest::FakeSearchEngine fake;
  CEngineList engines;
  CNVList profile;
  Receiver receiver;  // after the engines' owners: it may hold a request past them
};

TEST_F(SubmissionTest, OneRequestSubmitsAndRecordsTheDates) {
  CSearchEngine engine;
  EXPECT_TRUE(Submit(engine, "Alpha Search"));
  auto adds = SubmissionsTo("alpha", "add");
  ASSERT_EQ(adds.size(), 1u);
  EXPECT_TRUE(adds[0].accepted);
  EXPECT_EQ(adds[0].fields.Get("url"), "http://www.zb-testsite.com/");
  EXPECT_EQ(receiver.Codes(), (std::vector<int>{kEngineSubmitStart, kEngineSubmitOutcome}));
  EXPECT_EQ(receiver.Data(kEngineSubmitOutcome), (std::vector<uintptr_t>{1}));
  int today = CDate::Today();
  EXPECT_EQ(engine.m_submitCount, 1);
  EXPECT_EQ(engine.m_firstSubmitDate, today);
  EXPECT_EQ(engine.m_lastSubmitDate, today);
  EXPECT_EQ(engine.m_lastVisitDate, today);
  EXPECT_EQ(engine.m_submitted, 1);
  EXPECT_NE(engine.m_responseText.Find("Thank you for submitting"), 0);

  // Once submitted, the engine's resubmission request is used.
  fake.ClearRecords();
  EXPECT_TRUE(engine.Submit(profile));
  adds = SubmissionsTo("alpha", "add");
  ASSERT_EQ(adds.size(), 1u);
  EXPECT_EQ(adds[0].fields.Get("update"), "1");
  EXPECT_EQ(engine.m_submitCount, 2);
}

TEST_F(SubmissionTest, ARefusedSubmissionIsAFailedAttempt) {
  FakeScenario scenario;
  scenario.submitSucceeds = false;
  fake.SetScenario("alpha", scenario);
  CSearchEngine engine;
  engine.m_firstSubmitDate = 5;
  EXPECT_FALSE(Submit(engine, "Alpha Search"));
  EXPECT_EQ(receiver.Data(kEngineSubmitOutcome), (std::vector<uintptr_t>{0}));
  EXPECT_EQ(engine.m_submitCount, 0);
  EXPECT_EQ(engine.m_submitted, 0);
  EXPECT_EQ(engine.m_firstSubmitDate, 5);
  EXPECT_EQ(engine.m_lastVisitDate, CDate::Today());
}

TEST_F(SubmissionTest, FormsInSeveralStepsAndTheRefreshedOutcomePage) {
  CSearchEngine engine;
  EXPECT_TRUE(Submit(engine, "Lambda Directory"));
  EXPECT_EQ(SubmissionsTo("lambda", "terms").size(), 1u);
  auto details = SubmissionsTo("lambda", "details");
  ASSERT_EQ(details.size(), 1u);
  EXPECT_EQ(details[0].fields.Get("contact"), "Ann Smith");
  EXPECT_EQ(SubmissionsTo("lambda", "confirm").size(), 1u);
  EXPECT_NE(engine.m_responseText.Find("has been queued for review"), 0);
}

TEST_F(SubmissionTest, ADirectoryIsReachedThroughItsCategoryPage) {
  FakeScenario scenario;
  scenario.categoriesNeedSignIn = false;
  fake.SetScenario("dir", scenario);
  profile.SetAt("YAHOO_CATEGORY", (fake.Base() + "/dir/cat/arts/music/").c_str());
  CSearchEngine engine;
  // A query that ended earlier leaves the engine's stop flag set; the submission is its own.
  engine.SetStop(true);
  EXPECT_TRUE(Submit(engine, "Yahoo"));
  auto adds = SubmissionsTo("dir", "suggest");
  ASSERT_EQ(adds.size(), 1u);
  EXPECT_EQ(adds[0].fields.Get("url"), "http://www.zb-testsite.com/");
  EXPECT_NE(engine.m_responseText.Find("Thank you for suggesting"), 0);
}

TEST_F(SubmissionTest, EligibilityAndTheRefreshThatIsNotFollowed) {
  CSearchEngine engine;
  EXPECT_TRUE(Submit(engine, "Tasmania Online"));
  auto adds = SubmissionsTo("tas", "add");
  ASSERT_EQ(adds.size(), 1u);
  EXPECT_EQ(adds[0].fields.Get("url"), "www.zb-testsite.com/");
  // The answer refreshes to the home page, which this engine does not want followed.
  EXPECT_NE(engine.m_responseText.Find("Listing received"), 0);

  struct Case {
    const char* field;
    const char* value;
  } cases[] = {{"ISTASMANIA", "0"}, {"ISTASMANIA", ""}, {"SITE_TYPE", "Adult"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + "=" + c.value);
    CNVList saved = profile;
    profile.SetAt(c.field, c.value);
    fake.ClearRecords();
    CSearchEngine other;
    Receiver local;
    other.m_name = "Tasmania Online";
    local.Attach(other);
    EXPECT_FALSE(other.Submit(profile));
    EXPECT_EQ(local.Codes(), (std::vector<int>{kEngineNotEligible}));
    EXPECT_TRUE(fake.Submissions().empty());
    profile = saved;
  }
}

TEST_F(SubmissionTest, AnEngineWithoutRequestSaysSo) {
  CSearchEngine engine;
  EXPECT_FALSE(Submit(engine, "Beta Seek"));
  EXPECT_EQ(receiver.Codes(), (std::vector<int>{kEngineNoSubmitRequest}));
}

TEST_F(SubmissionTest, AJpgVerificationImageNamesTheCode) {
  CSearchEngine engine;
  EXPECT_TRUE(Submit(engine, "Kappa"));
  auto adds = SubmissionsTo("kappa", "add");
  ASSERT_EQ(adds.size(), 1u);
  EXPECT_EQ(adds[0].fields.Get("code"), "K7Q2X");
  EXPECT_EQ(adds[0].fields.Get("token"), "KT-5521");
  EXPECT_TRUE(receiver.Data(kEngineImageCodeWanted).empty());
}

TEST_F(SubmissionTest, TheUserTypesTheCodeOfAnImage) {
  FakeScenario scenario;
  scenario.captcha = CaptchaImage::Gif;
  scenario.verificationCode = "W4RP9";
  fake.SetScenario("kappa", scenario);
  receiver.code = "W4RP9";
  g_clockFrozen = true;
  CSearchEngine engine;
  EXPECT_TRUE(Submit(engine, "Kappa"));
  ASSERT_EQ(receiver.Data(kEngineImageCodeWanted).size(), 1u);
  EXPECT_EQ(receiver.imageTimeout, 30);
  EXPECT_NE(receiver.imagePath.find("zbp_"), std::string::npos);
  EXPECT_EQ(receiver.imagePath.substr(receiver.imagePath.size() - 4), ".gif");
  // Both sides are done with the request, and the temporary image went with it.
  receiver.answering.join();
  EXPECT_EQ(GetFileAttributesA(receiver.imagePath.c_str()), INVALID_FILE_ATTRIBUTES);
  // The image came from the page's own server (its src is root-relative).
  bool fetched = false;
  for (auto& r : fake.RequestsTo("kappa"))
    if (r.target.find("/kappa/code/img") != std::string::npos) fetched = true;
  EXPECT_TRUE(fetched);
  auto adds = SubmissionsTo("kappa", "add");
  ASSERT_EQ(adds.size(), 1u);
  EXPECT_EQ(adds[0].fields.Get("code"), "W4RP9");
  EXPECT_TRUE(adds[0].accepted);
}

TEST_F(SubmissionTest, NoCodeInTimeFailsTheAttemptAndALateAnswerIsSafe) {
  FakeScenario scenario;
  scenario.captcha = CaptchaImage::Gif;
  fake.SetScenario("kappa", scenario);
  receiver.mode = Receiver::Mode::AnswerLate;
  {
    CSearchEngine engine;
    EXPECT_FALSE(Submit(engine, "Kappa"));
    EXPECT_EQ(receiver.Data(kEngineImageCodeOver), (std::vector<uintptr_t>{0}));
    // Reported once when the code is missing and once at the end.
    EXPECT_EQ(receiver.Data(kEngineSubmitOutcome), (std::vector<uintptr_t>{0, 0}));
    EXPECT_TRUE(SubmissionsTo("kappa", "add").empty());
    // 30 seconds and 20 more, in 2-second polls.
    EXPECT_GE(g_sleeps.load(), 25);
    EXPECT_LE(g_sleeps.load(), 27);
  }
  // The engine is gone; the user answers now, through the receiver's own reference.
  ASSERT_NE(receiver.kept, nullptr);
  EXPECT_TRUE(receiver.kept->IsAbandoned());
  receiver.kept->SetAnswer("LATE");
  EXPECT_EQ(receiver.kept->GetAnswer(), "LATE");
}

TEST_F(SubmissionTest, AStopEndsTheWaitForTheCode) {
  FakeScenario scenario;
  scenario.captcha = CaptchaImage::Gif;
  fake.SetScenario("kappa", scenario);
  receiver.mode = Receiver::Mode::StopEngine;
  CSearchEngine engine;
  EXPECT_FALSE(Submit(engine, "Kappa"));
  EXPECT_LE(g_sleeps.load(), 1);
  EXPECT_EQ(receiver.Data(kEngineImageCodeOver).size(), 1u);
  EXPECT_TRUE(SubmissionsTo("kappa", "add").empty());
}

TEST_F(SubmissionTest, SeveralAddressesGoInWhileEachSucceeds) {
  // The second address is one the engine refuses (it has no host).
  profile.SetAt("URL_WITH_PREFIX",
                "http://www.zb-testsite.com/\r\nhttps://\nhttp://third.example/");
  CSearchEngine engine;
  // The first address went in, so the site counts as submitted.
  EXPECT_TRUE(Submit(engine, "Kappa"));
  auto adds = SubmissionsTo("kappa", "add");
  ASSERT_EQ(adds.size(), 2u);
  EXPECT_TRUE(adds[0].accepted);
  EXPECT_FALSE(adds[1].accepted);
  EXPECT_EQ(engine.m_submitted, 1);
  EXPECT_EQ(engine.m_submitCount, 1);
  EXPECT_EQ(receiver.Data(kEngineSubmitOutcome), (std::vector<uintptr_t>{1}));

  // A refused first address ends the run of addresses.
  FakeScenario scenario;
  scenario.submitSucceeds = false;
  fake.SetScenario("kappa", scenario);
  fake.ClearRecords();
  CSearchEngine again;
  EXPECT_FALSE(Submit(again, "Kappa"));
  EXPECT_EQ(SubmissionsTo("kappa", "add").size(), 1u);
}

TEST_F(SubmissionTest, NeededAndMissingSiteFields) {
  CSearchEngine engine;
  engine.m_name = "Tasmania Online";
  CNVList needed;
  EXPECT_EQ(engine.GetNeededSiteFields(needed), 3);
  EXPECT_TRUE(needed.Contains("URL_WITH_PREFIX"));  // asked as URL_WITHOUT_PREFIX
  EXPECT_TRUE(needed.Contains("EMAIL"));
  EXPECT_TRUE(needed.Contains("SITE_TYPE"));

  CSearchEngine mail;
  mail.m_name = "Mail Direct";
  EXPECT_NE(mail.GetSubmitText().Find("#SMTP# #EMAIL#"), 0);
  CNVList missing;
  EXPECT_EQ(mail.FindMissingSiteFields(profile, missing), 1);  // SMTP is empty
  EXPECT_EQ(missing.GetValue("SMTP"), "SMTP");
}

class MailSubmissionTest : public SubmissionTest {
 protected:
  void SetUp() override {
    SubmissionTest::SetUp();
    ASSERT_TRUE(smtp.Start());
    profile.SetAt("SMTP", ("127.0.0.1:" + std::to_string(smtp.Port())).c_str());
  }
  zbtest::SmtpTestServer smtp;
};

TEST_F(MailSubmissionTest, MailGoesToTheLowerCasedAddressStraightToTheServer) {
  CSearchEngine engine;
  // The engine's HTTP proxy listens nowhere; the mail must not try it.
  engine.SetProxy(CInetAddress("127.0.0.1", 1), "", "");
  EXPECT_TRUE(Submit(engine, "Mail Direct"));
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  EXPECT_TRUE(smtp.Violations().empty());
  auto messages = smtp.Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].recipients, (std::vector<std::string>{"addurl@mail-direct.example"}));
  EXPECT_EQ(messages[0].from, "owner@zb-testsite.com");
  EXPECT_NE(messages[0].data.find("Subject: Site suggestion"), std::string::npos);
  EXPECT_NE(messages[0].data.find("URL: http://www.zb-testsite.com/"), std::string::npos);
  EXPECT_NE(messages[0].data.find("Ann Smith"), std::string::npos);
  EXPECT_EQ(receiver.Data(kEngineSubmitOutcome), (std::vector<uintptr_t>{1}));
  EXPECT_EQ(engine.m_submitCount, 1);
  EXPECT_EQ(engine.m_responseText, "The submission was mailed.");
}

TEST_F(MailSubmissionTest, DefaultSubjectAndBodyAndARefusedMail) {
  // An engine of the test's own with neither subject nor body.
  EngineKeyList.SetAt("Plain Mail.submit", "mailto:Sites@Plain.Example");
  smtp.SetReply(zbtest::SmtpStep::EndOfData, 554, "rejected as spam");
  profile.SetAt("URL_WITH_PREFIX", "http://one.example/\r\nhttp://two.example/ ");
  CSearchEngine engine;
  EXPECT_FALSE(Submit(engine, "Plain Mail"));
  EXPECT_EQ(receiver.Data(kEngineSubmitOutcome), (std::vector<uintptr_t>{0}));
  EXPECT_NE(engine.m_responseText.Find("(554) rejected as spam"), 0);
  EXPECT_EQ(engine.m_submitCount, 0);
  ASSERT_TRUE(smtp.WaitForSessionsEnded(1));
  auto commands = smtp.Commands();
  EXPECT_NE(std::find(commands.begin(), commands.end(), "RCPT TO:<sites@plain.example>"),
            commands.end());
}

TEST_F(MailSubmissionTest, MissingServerOrAddressSendsNothing) {
  struct Case {
    const char* smtp;
    const char* email;
    const char* text;
  } cases[] = {{"", "owner@zb-testsite.com", "No mail server"}, {"keep", "", "No e-mail address"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    CNVList local = profile;
    if (std::string(c.smtp) != "keep") local.SetAt("SMTP", c.smtp);
    local.SetAt("EMAIL", c.email);
    CSearchEngine engine;
    Receiver events;
    engine.m_name = "Mail Direct";
    events.Attach(engine);
    EXPECT_FALSE(engine.Submit(local));
    EXPECT_NE(engine.m_responseText.Find(c.text), 0);
    EXPECT_EQ(events.Data(kEngineSubmitOutcome), (std::vector<uintptr_t>{0}));
  }
  EXPECT_TRUE(smtp.Messages().empty());
}

}  // namespace
