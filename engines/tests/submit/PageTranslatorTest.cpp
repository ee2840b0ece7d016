// The translator against the fake translation service, and its extraction of the answer.
#include <gtest/gtest.h>

#include <string>

#include "engines/submit/PageTranslator.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/fakeengine/FakeResults.h"
#include "tests/fakeengine/FakeTranslator.h"
#include "tests/servers/HttpTestServer.h"

namespace {

class PageTranslatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Start());
    zbtest::AddFakeTranslator(server);
    translator.SetServiceAddress(zbtest::FakeTranslatorAddress(server).c_str());
  }
  CLibString Run(const char* from, const char* to, const char* text) {
    EXPECT_TRUE(translator.SetSourceLanguage(from));
    EXPECT_TRUE(translator.SetTargetLanguage(to));
    translator.SetText(text);
    CLibString result = translator.Translate();
    EXPECT_EQ(translator.GetResult(), result);
    return result;
  }
  zbtest::FormData LastForm() const {
    zbtest::HttpRequest last = server.LastRequest();
    zbtest::FormData form(last.Query());
    form.Add(last.body);
    return form;
  }

  nettest::ShortWaits waits;
  zbtest::HttpTestServer server;
  CTranslator translator;
};

TEST_F(PageTranslatorTest, LanguageCodesAreTakenInAnyCaseAndOnlyWhole) {
  struct Case {
    const char* code;
    bool taken;
  } cases[] = {{"enu", true},   {"PtB", true}, {"XYZ", false},
               {"NU F", false}, {"EN", false}, {"", false}};
  for (const Case& c : cases) EXPECT_EQ(translator.SetSourceLanguage(c.code), c.taken) << c.code;
  // A refused code leaves the one stored before.
  EXPECT_EQ(CTranslator::LanguagePair("PTB", "ENU"), "pt_en");
  EXPECT_EQ(CTranslator::LanguagePair("ENU", "ESM"), "en_es");
  EXPECT_EQ(CTranslator::LanguagePair("FRA", "ITA"), "");
}

TEST_F(PageTranslatorTest, ATextIsTranslatedThroughTheServiceForm) {
  EXPECT_EQ(Run("enu", "fra", "Hello"), "bonjour");
  ASSERT_EQ(server.RequestCount(), 2u);
  zbtest::HttpRequest front = server.Requests()[0];
  EXPECT_EQ(front.Path(), "/babel/");
  zbtest::HttpRequest form = server.Requests()[1];
  EXPECT_EQ(form.method, "POST");
  EXPECT_EQ(form.Path(), "/babel/babelfish/tr");
  // The fields in name order.
  zbtest::FormData fields(form.body);
  std::string names;
  for (const auto& field : fields.Items()) names += field.first + "=" + field.second + "&";
  EXPECT_EQ(names, "Submit=Translate&doit=done&intl=1&lp=en_fr&tt=urltext&urltext=Hello&");
  EXPECT_EQ(form.Header("Connection"), "close");
  EXPECT_EQ(form.Header("Host").rfind("127.0.0.1", 0), 0u);
  // UTF-8 letters of Latin-1 come back as Latin-1; line ends and blanks around are dropped.
  EXPECT_EQ(Run("ENU", "FRA", "summer coffee"), "caf\xE9 d'\xE9t\xE9");
  EXPECT_EQ(Run("ENU", "DEU", "green meadow"), "gr\xFCne Wiese");
  EXPECT_EQ(Run("ENU", "ESM", "good morning"),
            "buenos  d\xED"
            "as");
}

TEST_F(PageTranslatorTest, EveryFailureGivesBackTheTextUntranslated) {
  // A pair the service does not translate is still sent, with an empty pair.
  EXPECT_EQ(Run("FRA", "ITA", "bonjour"), "bonjour");
  EXPECT_EQ(LastForm().Get("lp"), "");
  // An answer without the translation's marker.
  EXPECT_EQ(Run("ENU", "FRA", "unknown words"), "unknown words");
  // A front page that fails: the form is never sent.
  server.Route("/babel/", zbtest::HttpResponse::Text("busy", "text/html", 503));
  size_t before = server.RequestCount();
  EXPECT_EQ(Run("ENU", "FRA", "hello"), "hello");
  EXPECT_EQ(server.RequestCount(), before + 1);
  // No service at all.
  translator.SetServiceAddress("http://127.0.0.1:1");
  EXPECT_EQ(Run("ENU", "FRA", "hello"), "hello");
  // Nothing to translate or no language: nothing is asked.
  before = server.RequestCount();
  CTranslator idle;
  idle.SetText("hello");
  EXPECT_EQ(idle.Translate(), "hello");
  EXPECT_EQ(server.RequestCount(), before);
}

TEST(PageTranslatorExtract, TheTranslationIsCutFromItsDivisionOrCell) {
  struct Case {
    const char* page;
    const char* text;
  } cases[] = {
      {"<div style=\"padding:10px;\">Bonjour</div>", "Bonjour"},
      {"<td style=\"padding:10px;\" x>  a\r\nb </td></tr></table></div>", "a  b"},
      {"<div style=padding:10px;>caf\xC3\xA9 \xC3\x28 \xE2\x82\xAC</div>",
       "caf\xE9 \xC3\x28 \xE2\x82\xAC"},
      {"<div>no marker</div>", ""},
      {"<div style=\"padding:10px;\"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CTranslator::ExtractTranslation(c.page), c.text) << c.page;
}

}  // namespace
