#include "tests/fakeengine/FakeTranslator.h"

#include <cctype>

#include "tests/fakeengine/FakeResults.h"

namespace zbtest {

namespace {

struct Phrase {
  const char* pair;
  const char* text;
  const char* translation;  // UTF-8
};

const Phrase kPhrases[] = {
    {"en_fr", "hello", "bonjour"},
    {"en_fr", "summer coffee", "caf\xC3\xA9 d'\xC3\xA9t\xC3\xA9"},
    {"en_de", "hello", "hallo"},
    {"en_de", "green meadow", "gr\xC3\xBCne Wiese"},
    {"fr_en", "bonjour", "hello"},
    // An answer that runs over lines, with blanks around it.
    {"en_es", "good morning",
     "\n  buenos\r\nd\xC3\xAD"
     "as  \n"},
};

const char kCookie[] = "babelsession";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string AnswerPage(const std::string& body) {
  return "<html><head><title>Translation</title></head><body>\n<table><tr><td>"
         "<form action=\"tr\" method=\"post\"><textarea name=\"urltext\"></textarea></form></td>"
         "</tr></table>\n" +
         body + "\n</body></html>";
}

HttpResponse Translate(const HttpRequest& request) {
  if (request.Header("Cookie").find(kCookie) == std::string::npos)
    return HttpResponse::Text(AnswerPage("<p>Your session has expired.</p>"));
  FormData form(request.Query());
  if (request.method == "POST") form.Add(request.body);
  if (form.Get("doit") != "done" || form.Get("tt") != "urltext")
    return HttpResponse::Text(AnswerPage("<p>Please use the form.</p>"));
  std::string text = Lower(form.Get("urltext"));
  for (const Phrase& phrase : kPhrases)
    if (form.Get("lp") == phrase.pair && text == phrase.text)
      return HttpResponse::Text(
          AnswerPage("<div style=\"padding:10px;\">" + std::string(phrase.translation) + "</div>"));
  return HttpResponse::Text(AnswerPage("<p>No translation.</p>"));
}

}  // namespace

void AddFakeTranslator(HttpTestServer& server, const std::string& prefix) {
  server.Route(prefix + "/", HttpResponse::Text("<html><body><h1>Translate</h1>"
                                                "<form action=\"babelfish/tr\"></form></body>"
                                                "</html>")
                                 .Header("Set-Cookie", std::string(kCookie) + "=1; path=/"));
  server.Route(prefix + "/babelfish/tr", Translate);
}

std::string FakeTranslatorAddress(const HttpTestServer& server, const std::string& prefix) {
  return server.Url(prefix);
}

}  // namespace zbtest
