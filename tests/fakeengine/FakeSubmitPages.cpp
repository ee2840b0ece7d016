// The add-URL, sign-in and category pages of the fake engines and directories.
#include <algorithm>
#include <cctype>

#include "tests/fakeengine/FakePages.h"

namespace zbtest {

namespace {

bool IsHome(const FakeCall& call) {
  return call.path == "/" + call.engine || call.path == "/" + call.engine + "/";
}

HttpResponse Answer(FakeCall& call, const std::string& step, bool accepted, const std::string& text,
                    const std::string& title) {
  FakeSubmission submission;
  submission.engine = call.engine;
  submission.step = step;
  submission.fields = call.params;
  submission.accepted = accepted;
  submission.answer = text;
  call.state.Record(submission);
  return HttpResponse::Text(Page(title, "<p>" + HtmlEscape(text) + "</p>"));
}

// An address as a user would type it: not empty and more than the bare scheme.
bool HasUrl(const std::string& url) {
  return !url.empty() && url != "http://" && url != "https://";
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

// --- Directory ("Yahoo"): a small category tree ---

struct Category {
  const char* path;  // "arts/music/"
  const char* name;
  int sites;
};

const Category kCategories[] = {
    {"arts/", "Arts", 310},
    {"arts/music/", "Music", 120},
    {"arts/music/jazz/", "Jazz", 12},
    {"arts/music/rock/", "Rock", 31},
    {"arts/painting/", "Painting", 44},
    {"business/", "Business & Economy", 502},
    {"business/companies/", "Companies", 420},
    {"business/jobs/", "Jobs", 82},
    {"computers/", "Computers & Internet", 277},
    {"computers/internet/", "Internet", 150},
    {"computers/internet/searching/", "Searching", 9},
    {"computers/software/", "Software", 127},
    {"recreation/", "Recreation & Sports", 199},
    {"recreation/sports/", "Sports", 140},
    {"recreation/travel/", "Travel", 59},
};

const Category* FindCategory(const std::string& path) {
  for (const Category& c : kCategories)
    if (path == c.path) return &c;
  return nullptr;
}

bool IsChild(const std::string& parent, const std::string& path) {
  if (path.size() <= parent.size() || path.compare(0, parent.size(), parent) != 0) return false;
  std::string rest = path.substr(parent.size());
  return std::count(rest.begin(), rest.end(), '/') == 1;
}

// "Arts > Music" for "arts/music/".
std::string Trail(const std::string& path) {
  std::string trail;
  for (size_t end = path.find('/'); end != std::string::npos; end = path.find('/', end + 1)) {
    const Category* c = FindCategory(path.substr(0, end + 1));
    if (!c) continue;
    if (!trail.empty()) trail += " > ";
    trail += c->name;
  }
  return trail;
}

int Depth(const std::string& path) {
  return static_cast<int>(std::count(path.begin(), path.end(), '/'));
}

HttpResponse CategoryPage(FakeCall& call, const std::string& path) {
  if (!path.empty() && !FindCategory(path)) return NotFound();
  if (call.scenario.categoriesNeedSignIn && call.Cookie("dirauth").empty())
    return HttpResponse::Text(
        Page("Yahoo",
             "<div id=\"nocats\">Please <a href=\"/dir/signin\">sign in</a> to browse "
             "the categories.</div>"));
  std::string trail = path.empty() ? "Top" : Trail(path);
  // The add-URL link stands in the header, before the category list.
  std::string body = "<div id=\"top\"><a href=\"/dir/\">Yahoo</a> | <a href=\"" + call.base +
                     "/dir/suggest?cat=" + path + "\">Suggest a Site</a></div>\n";
  body += "<h1>" + HtmlEscape(trail) + "</h1>\n<ul class=\"cats\">\n";
  for (const Category& c : kCategories) {
    if (!(path.empty() ? Depth(c.path) == 1 : IsChild(path, c.path))) continue;
    bool fresh = c.sites < 40;
    body += std::string(fresh ? "<li class=\"new\">" : "<li>") + "<a href=\"/dir/cat/" + c.path +
            "\">" + HtmlEscape(c.name) + "</a> (" + std::to_string(c.sites) + ")" +
            (fresh ? " <img src=\"/dir/img/new.gif\" alt=\"new\">" : "") + "</li>\n";
  }
  body += "</ul>\n<p>Sites in " + HtmlEscape(trail) + " are listed below.</p>";
  return HttpResponse::Text(Page("Yahoo: " + trail, body));
}

HttpResponse SuggestPage(FakeCall& call) {
  std::string path = call.params.Get("cat");
  const Category* category = FindCategory(path);
  if (!category) return HttpResponse::Text(Page("Yahoo", "<p>Unknown category.</p>"));
  if (Depth(path) < 2)
    return HttpResponse::Text(Page("Yahoo", "<p>Please choose a more specific category than " +
                                                HtmlEscape(Trail(path)) + ".</p>"));
  std::string body = "<h1>Suggest a Site to " + HtmlEscape(Trail(path)) +
                     "</h1>\n<div id=\"suggest\"><form method=\"post\" "
                     "action=\"" +
                     call.base +
                     "/dir/suggest/add\">\n<input type=\"hidden\" name=\"cat\" value=\"" + path +
                     "\">\n<input type=\"text\" name=\"url\" value=\"\">\n<input type=\"text\" "
                     "name=\"title\">\n<input type=\"text\" name=\"desc\">\n<input type=\"text\" "
                     "name=\"email\">\n<input type=\"submit\" name=\"go\" value=\"Suggest\">\n"
                     "</form></div>";
  return HttpResponse::Text(Page("Yahoo: suggest a site", body));
}

HttpResponse DirectorySearch(FakeCall& call) {
  std::string q = call.params.Get("p");
  FakeResults results(call.scenario);
  int last = std::min(std::max(1, call.scenario.perPage), results.Count());
  if (q.empty() || last < 1) {
    if (call.scenario.emptyPastEnd) return HttpResponse::Text("");
    return HttpResponse::Text(Page("Yahoo", "<p>No sites found.</p>"));
  }
  std::string body = "<h2>Sites</h2>\n<ol class=\"sites\">\n";
  for (int i = 1; i <= last; ++i)
    body += "<li class=\"site\"><a href=\"" + results.Url(i) + "\">" + results.Title(i) +
            "</a> - " + results.Snippet(i, q) + "</li>\n";
  body += "</ol>";
  return HttpResponse::Text(Page("Yahoo: " + q, body));
}

}  // namespace

// --- Alpha Search: one GET adds or updates ---

HttpResponse AlphaAddUrl(FakeCall& call) {
  if (call.path == "/alpha/addurl.html")
    return HttpResponse::Text(Page(
        "Alpha Search: add URL",
        "<form method=\"get\" action=\"/alpha/addurl\">URL <input type=\"text\" name=\"url\"> "
        "E-mail <input type=\"text\" name=\"email\"><input type=\"submit\" value=\"Add\"></form>"));
  if (call.path != "/alpha/addurl") return NotFound();
  std::string url = call.params.Get("url");
  if (!HasUrl(url) || call.params.Get("email").empty())
    return Answer(call, "add", false, "Please give the address of the site and your e-mail.",
                  "Alpha Search");
  if (!call.scenario.submitSucceeds)
    return Answer(call, "add", false, "We could not accept " + url + " at this time.",
                  "Alpha Search");
  if (call.params.Get("update") == "1")
    return Answer(call, "add", true, "Your listing has been updated: " + url, "Alpha Search");
  return Answer(call, "add", true, "Thank you for submitting " + url + ".", "Alpha Search");
}

// --- Kappa: a cookie page, then the add form with a verification image ---

HttpResponse KappaAddUrl(FakeCall& call) {
  if (IsHome(call)) {
    HttpResponse home = HttpResponse::Text(Page("Kappa", "<h1>Kappa</h1>"));
    home.Header("Set-Cookie", "kc=1; path=/");
    return home;
  }
  if (call.path.compare(0, 12, "/kappa/code/") == 0) return Gif();
  if (call.path == "/kappa/add.html") {
    if (call.Cookie("kc").empty())
      return HttpResponse::Text(Page("Kappa", "<p>Please enable cookies to add a site.</p>"));
    std::string image =
        call.scenario.captcha == CaptchaImage::Jpg
            ? "/kappa/code/" + call.scenario.verificationCode + ".jpg"
            : "/kappa/code/img" + std::to_string(call.state.Next("kappa-image")) + ".gif";
    // The search form is left open, so the add form is the second form after the marker.
    std::string body =
        "<div id=\"content\">\n"
        "<form method=\"get\" action=\"/kappa/search\"><input type=\"text\" name=\"q\">"
        "<input type=\"submit\" value=\"Search\">\n"
        "<h2>Add your site</h2>\n"
        "<form method=\"post\" action=\"" +
        call.base +
        "/kappa/add\">\n"
        "<input type=\"hidden\" name=\"token\" value=\"KT-5521\">\n"
        "URL: <input type=\"text\" name=\"url\" value=\"http://\">\n"
        "E-mail: <input type=\"text\" name=\"email\">\n"
        "Title: <input type=\"text\" name=\"title\" maxlength=\"40\">\n"
        "Description: <input type=\"text\" name=\"desc\" size=\"60\">\n"
        "Code: <img id=\"vcode\" src=\"" +
        image +
        "\" alt=\"code\"> <input type=\"text\" name=\"code\">\n"
        "<input type=\"submit\" name=\"add\" value=\"Add URL\">\n"
        "</form>\n"
        "</div>";
    return HttpResponse::Text(Page("Kappa: add your site", body));
  }
  if (call.path != "/kappa/add") return NotFound();
  std::string url = call.params.Get("url");
  if (call.Cookie("kc").empty() || call.params.Get("token") != "KT-5521")
    return Answer(call, "add", false, "Your session has expired.", "Kappa");
  if (call.params.Get("code") != call.scenario.verificationCode)
    return Answer(call, "add", false, "Invalid verification code. Please try again.", "Kappa");
  if (!HasUrl(url) || call.params.Get("email").empty())
    return Answer(call, "add", false, "Please fill in the address and your e-mail.", "Kappa");
  if (!call.scenario.submitSucceeds)
    return Answer(call, "add", false, "Sorry, we cannot accept new sites at the moment.", "Kappa");
  if (call.state.Remember("kappa", url))
    return Answer(call, "add", true, "This URL is already in our queue.", "Kappa");
  return Answer(call, "add", true, "Your site has been received and will be reviewed shortly.",
                "Kappa");
}

// --- Lambda Directory: terms, details, confirmation, then a refresh to the outcome ---

HttpResponse LambdaPages(FakeCall& call) {
  const std::string sid = "L-77";
  if (IsHome(call))
    return HttpResponse::Text(
        Page("Lambda Directory", "<a href=\"/lambda/suggest\">Suggest a site</a>"));
  if (call.path == "/lambda/suggest")
    return HttpResponse::Text(Page(
        "Lambda Directory: suggest a site",
        "<div id=\"terms\"><p>By suggesting a site you accept our terms.</p>\n"
        "<form method=\"post\" action=\"" +
            call.base +
            "/lambda/suggest/terms\">\n"
            "<input type=\"hidden\" name=\"sid\" value=\"" +
            sid +
            "\">\n"
            "<input type=\"checkbox\" name=\"agree\" value=\"yes\" checked> I accept the terms\n"
            "<input type=\"submit\" name=\"next\" value=\"Continue\">\n</form></div>"));
  if (call.path == "/lambda/suggest/terms") {
    if (call.params.Get("agree") != "yes" || call.params.Get("sid") != sid)
      return Answer(call, "terms", false, "Please accept the terms first.", "Lambda Directory");
    call.state.Record({call.engine, "terms", call.params, true, "terms accepted"});
    return HttpResponse::Text(Page(
        "Lambda Directory: your site",
        "<div id=\"details\"><form method=\"post\" action=\"" + call.base +
            "/lambda/suggest/details\">\n"
            "<input type=\"hidden\" name=\"sid\" value=\"" +
            sid +
            "\">\n"
            "<input type=\"hidden\" name=\"step\" value=\"2\">\n"
            "URL <input type=\"text\" name=\"url\">\nTitle <input type=\"text\" name=\"title\">\n"
            "Description <input type=\"text\" name=\"description\">\n"
            "Contact <input type=\"text\" name=\"contact\">\nE-mail <input type=\"text\" "
            "name=\"email\">\n<select name=\"region\"><option value=\"na\">North America</option>"
            "<option value=\"eu\" selected>Europe</option></select>\n"
            "<input type=\"submit\" value=\"Next\">\n</form></div>"));
  }
  if (call.path == "/lambda/suggest/details") {
    if (call.params.Get("sid") != sid || !HasUrl(call.params.Get("url")) ||
        call.params.Get("title").empty() || call.params.Get("email").empty())
      return Answer(call, "details", false, "Some fields are missing.", "Lambda Directory");
    std::string ticket = "TK-" + std::to_string(call.state.Next("lambda-ticket"));
    call.state.SaveTicket(ticket, call.params);
    call.state.Record({call.engine, "details", call.params, true, ticket});
    return HttpResponse::Text(
        Page("Lambda Directory: confirm",
             "<div id=\"confirm\"><p>Please confirm your suggestion of " +
                 HtmlEscape(call.params.Get("url")) + ".</p>\n<form method=\"post\" action=\"" +
                 call.base +
                 "/lambda/suggest/confirm\">\n"
                 "<input type=\"hidden\" name=\"sid\" value=\"" +
                 sid +
                 "\">\n"
                 "<input type=\"hidden\" name=\"ticket\" value=\"" +
                 ticket +
                 "\">\n"
                 "<input type=\"submit\" name=\"ok\" value=\"Confirm\">\n</form></div>"));
  }
  if (call.path == "/lambda/suggest/confirm") {
    std::string ticket = call.params.Get("ticket");
    FormData details;
    bool known = call.params.Get("sid") == sid && call.state.FindTicket(ticket, details);
    bool accepted = known && call.scenario.submitSucceeds;
    call.state.Record({call.engine, "confirm", call.params, accepted, ticket});
    std::string outcome =
        call.base + (accepted ? "/lambda/thanks?ticket=" : "/lambda/sorry?ticket=") + ticket;
    return HttpResponse::Text(
        Page("Lambda Directory", "<p>Processing your suggestion ...</p>",
             "<meta http-equiv=\"refresh\" content=\"1;URL=" + outcome + "\">\n"));
  }
  if (call.path == "/lambda/thanks")
    return HttpResponse::Text(Page("Lambda Directory", "<p>Thank you! Your suggestion " +
                                                           HtmlEscape(call.params.Get("ticket")) +
                                                           " has been queued for review.</p>"));
  if (call.path == "/lambda/sorry")
    return HttpResponse::Text(
        Page("Lambda Directory", "<p>We are sorry: your suggestion was not accepted.</p>"));
  return NotFound();
}

// --- Tasmania Online: one POST; the answer refreshes to the home page ---

HttpResponse TasPages(FakeCall& call) {
  if (IsHome(call))
    return HttpResponse::Text(Page("Tasmania Online", "<h1>Welcome to Tasmania Online</h1>"));
  if (call.path == "/tas/add.html")
    return HttpResponse::Text(Page("Tasmania Online: add", "<p>Tasmanian sites only.</p>"));
  if (call.path != "/tas/add") return NotFound();
  bool accepted = call.scenario.submitSucceeds && !call.params.Get("url").empty() &&
                  !call.params.Get("email").empty() && Lower(call.params.Get("type")) != "adult";
  std::string text = accepted ? "Listing received. Thank you." : "Listing refused.";
  call.state.Record({call.engine, "add", call.params, accepted, text});
  return HttpResponse::Text(
      Page("Tasmania Online", "<p>" + text + "</p>",
           "<meta http-equiv=\"refresh\" content=\"0;URL=" + call.base + "/tas/\">\n"));
}

// --- Biwe: one POST with a password and a location code ---

HttpResponse BiwePages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Page("Biwe", "<h1>Biwe</h1>"));
  if (call.path == "/biwe/alta.html")
    return HttpResponse::Text(Page("Biwe: alta", "<p>Formulario de alta.</p>"));
  if (call.path != "/biwe/alta") return NotFound();
  std::string url = call.params.Get("url");
  if (call.params.Get("clave").empty())
    return Answer(call, "add", false, "Error: clave incorrecta.", "Biwe");
  if (!HasUrl(url) || call.params.Get("titulo").empty())
    return Answer(call, "add", false, "Error: faltan datos.", "Biwe");
  if (!call.scenario.submitSucceeds)
    return Answer(call, "add", false, "Error: alta rechazada.", "Biwe");
  if (call.state.Remember("biwe", url))
    return Answer(call, "add", true, "La URL ya estaba dada de alta.", "Biwe");
  if (call.params.Get("loc").empty())
    return Answer(call, "add", true, "Alta pendiente de revision.", "Biwe");
  return Answer(call, "add", true, "Alta realizada correctamente.", "Biwe");
}

HttpResponse MailDirectPages(FakeCall& call) {
  if (IsHome(call))
    return HttpResponse::Text(
        Page("Mail Direct", "<p>Send your site to AddURL@Mail-Direct.Example.</p>"));
  return NotFound();
}

// --- Yahoo: sign-in, category pages, suggestions ---

HttpResponse DirectoryPages(FakeCall& call) {
  if (IsHome(call))
    return HttpResponse::Text(
        Page("Yahoo",
             "<h1>Yahoo</h1>\n<form action=\"/dir/search\"><input type=\"text\" "
             "name=\"p\"><input type=\"submit\" value=\"Search\"></form>\n<a "
             "href=\"/dir/cat/\">Browse the categories</a>"));
  if (call.path == "/dir/search") return DirectorySearch(call);
  if (call.path == "/dir/img/new.gif") return Gif();
  if (call.path == "/dir/signin") {
    if (!call.IsPost())
      return HttpResponse::Text(
          Page("Yahoo: sign in",
               "<form method=\"post\" action=\"/dir/signin\"><input type=\"text\" "
               "name=\"login\"><input type=\"submit\" value=\"Sign in\"></form>"));
    std::string login = call.params.Get("login");
    if (login.empty() || !call.scenario.signInSucceeds)
      return Answer(call, "signin", false, "Sign-in failed: unknown e-mail address.", "Yahoo");
    HttpResponse response =
        Answer(call, "signin", true, "You are signed in as " + login + ".", "Yahoo");
    response.Header("Set-Cookie", "dirauth=" + UrlEncode(login) + "; path=/");
    return response;
  }
  if (call.path.compare(0, 9, "/dir/cat/") == 0) return CategoryPage(call, call.path.substr(9));
  if (call.path == "/dir/cat") return CategoryPage(call, "");
  if (call.path == "/dir/suggest") return SuggestPage(call);
  if (call.path == "/dir/suggest/add") {
    std::string url = call.params.Get("url");
    const Category* category = FindCategory(call.params.Get("cat"));
    if (!category || !HasUrl(url))
      return Answer(call, "suggest", false, "Please give the address of the site.", "Yahoo");
    if (!call.scenario.submitSucceeds)
      return Answer(call, "suggest", false, "Sorry, this category takes no suggestions now.",
                    "Yahoo");
    if (call.state.Remember("dir", url))
      return Answer(call, "suggest", false, "We already list " + url + ".", "Yahoo");
    return Answer(call, "suggest", true,
                  "Thank you for suggesting " + url + " to " + Trail(category->path) + ".",
                  "Yahoo");
  }
  return NotFound();
}

}  // namespace zbtest
