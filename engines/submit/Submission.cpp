// CSearchEngine: submitting the user's site to an engine or directory, by mail or through the
// engine's add-URL forms, and the questions the run asks about an engine's submission fields.
#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "engines/db/EngineServices.h"
#include "engines/parse/FormParser.h"
#include "engines/submit/ImageCodeRequest.h"
#include "engines/parse/MetaRefresh.h"
#include "engines/db/ModuleString.h"
#include "engines/parse/PageAddress.h"
#include "engines/query/PageDump.h"
#include "engines/query/RequestGeneration.h"
#include "engines/db/SearchEngine.h"
#include "engines/parse/TagAttributes.h"
#include "foundation/core/Date.h"
#include "foundation/net/InetAddress.h"
#include "foundation/net/SockSmtpClient.h"
#include "foundation/net/Socklet.h"
#include "foundation/net/Url.h"
#include "foundation/core/UrlCoder.h"
#include "resources/resource.h"

namespace {

// The worker looks at the image-code request this often while the user reads the image.
constexpr unsigned kImageCodePoll = 2000;
// The user gets this long beyond the engine's own time-out before the worker gives up.
constexpr int kImageCodeGrace = 20;
// The verification image is small; an engine that cannot send it in this time will not take
// the form either.
constexpr int kImageTimeout = 8;

// Line ends of a multi-line field count as blanks between addresses.
CLibString BlanksForLineEnds(CLibString text) {
  text.Replace("\r\n", " ");
  text.Replace("\r", " ");
  text.Replace("\n", " ");
  return text;
}

// Cuts the next blank-separated word off the front of text; empty when none is left.
CLibString NextAddress(CLibString& text) {
  const char* p = text.c_str();
  while (*p == ' ' || *p == '\t') ++p;
  const char* end = p;
  while (*end && *end != ' ' && *end != '\t') ++end;
  CLibString word = end > p ? CLibString(p, end - 1) : CLibString();
  text = CLibString(end);
  return word;
}

bool IsNumberOne(const CLibString& text) {
  CLibString value = text;
  value.TrimLeft(' ').TrimRight(' ');
  return value.GetLength() > 0 && value.IsNumber() && atol(value.c_str()) == 1;
}

// The SMTP field may name a port ("mail.example.com:2525"); without one the mail port is used.
CInetAddress MailServer(const CLibString& field) {
  CLibString host = field;
  unsigned port = 0;
  int colon = host.ReverseFind(":");
  if (colon > 0) {
    CLibString number = host.Mid(colon + 1, host.GetLength() - colon - 1);
    if (number.GetLength() > 0 && number.IsNumber()) {
      port = static_cast<unsigned>(atol(number.c_str()));
      host.Truncate(colon);
    }
  }
  return CInetAddress(host, port);
}

CLibString LanguageString(unsigned id) {
  return LoadModuleString(GetLanguageModule(), id);
}

// A file name of the temporary folder for a downloaded image, new for this process.
CLibString NewImageFile(const CLibString& extension) {
  static std::atomic<unsigned> counter{0};
  char folder[MAX_PATH] = {};
  if (GetTempPathA(MAX_PATH, folder) == 0) return CLibString();
  CLibString name = "zbp_";
  name += CLibString(static_cast<unsigned long>(GetCurrentProcessId()));
  name += "_";
  name += CLibString(static_cast<unsigned long>(++counter));
  name += extension;
  return CLibString(folder) + name;
}

}  // namespace

int CSearchEngine::MarkSubmitted(bool submitted) {
  int today = CDate::Today();
  m_lastVisitDate = today;
  m_submitted = submitted ? 1 : 0;
  if (submitted) {
    ++m_submitCount;
    m_lastSubmitDate = today;
    if (m_firstSubmitDate == 0) m_firstSubmitDate = today;
  }
  return today;
}

CLibString CSearchEngine::GetSubmitText() const {
  CLibString text = " " + GetKey(".submit");
  for (int step = 2;; ++step) {
    CLibString value = GetKey((".submit" + CLibString(step)).c_str());
    if (value.GetLength() == 0) break;
    text += " " + value;
  }
  if (text.Find("mailto:") > 0) {
    CLibString body = GetKey(".submitmailtobody");
    text += body.GetLength() > 0 ? body : CLibString(" #URL_WITH_PREFIX#");
    text += " #SMTP# #EMAIL#";
  }
  return text;
}

int CSearchEngine::GetNeededSiteFields(CNVList& list) const {
  CLibString text = GetSubmitText();
  const char* p = text.c_str();
  for (;;) {
    const char* open = strchr(p, '#');
    if (!open) break;
    const char* close = strchr(open + 1, '#');
    if (!close) break;
    CLibString name = close > open + 1 ? CLibString(open + 1, close - 1) : CLibString();
    if (name == "URL_WITHOUT_PREFIX") name = "URL_WITH_PREFIX";
    if (name.GetLength() > 0 && name != "RAGNO_CAT_NUMBER") list.SetAt(name, name);
    p = close + 1;
  }
  return static_cast<int>(list.GetCount());
}

int CSearchEngine::FindMissingSiteFields(const CNVList& profile, CNVList& missing) const {
  CNVList needed;
  GetNeededSiteFields(needed);
  int found = 0;
  profile.ForEach([&](const CNVItem& item) {
    if (item.m_name == "URL_WITHOUT_PREFIX" || item.m_name == "RAGNO_CAT_NUMBER") return;
    if (!needed.Contains(item.m_name) || item.m_value.GetLength() > 0) return;
    missing.SetAt(item.m_name, item.m_name);
    ++found;
  });
  return found;
}

CLibString CSearchEngine::GetSubmitImageCode(const CLibString& page) {
  CLibString marker = GetKey(".submitimage");
  if (marker.GetLength() == 0) return CLibString();
  int at = page.Find(marker);
  if (at == 0) return CLibString();
  CLibString tag = page.Mid(at - 1, page.GetLength() - at + 1);
  int close = tag.FindChar('>');
  if (close > 0) tag.Truncate(close);
  // The image's address comes from the page: it goes on the wire without control characters.
  CLibString source = CleanPageAddress(GetTagAttribute(tag, "src"));
  if (source.GetLength() == 0) return CLibString();
  // The image's address is read against the page it is on, as a browser reads it: a relative,
  // root-relative or absolute src all find the image (and its port).
  CUrl address = GetCurrentUrl();
  address.Parse(source);
  CLibString imageUrl = address.GetUrl();

  CLibString extension;
  int dot = source.ReverseFind(".");
  if (dot >= 0) extension = source.Mid(dot, 4);
  if (extension == ".jpg") {
    // Some engines name the image after its code.
    CLibString file = source;
    int slash = file.ReverseFind("/");
    if (slash >= 0) file = file.Mid(slash + 1, file.GetLength() - slash - 1);
    CLibString code = file.Left(file.GetLength() - 4);
    if (code.GetLength() > 0) return code;
  }

  // An image that is no web address ("javascript:", "data:" ...) cannot be fetched.
  if (!IsWebAddress(source)) return CLibString();
  CLibString path = NewImageFile(extension);
  if (path.GetLength() == 0) return CLibString();
  {
    CSockHttpClient client;
    CInetAddress proxy;
    CLibString user;
    CLibString password;
    GetProxy(proxy, user, password);
    if (proxy.IsValid()) client.SetProxy(proxy, user, password);
    client.GetRequestHeaders() = GetRequestHeaders();
    client.SetTimeout(kImageTimeout);
    CLibString folder = path;
    int slash = folder.ReverseFind("\\");
    CLibString name = folder.Mid(slash + 1, folder.GetLength() - slash - 1);
    folder.Truncate(slash + 1);
    client.SetDownloadFolder(folder);
    if (client.DownloadFile(imageUrl, name) <= 0) {
      DeleteFileA(path.c_str());
      return CLibString();
    }
  }

  // The worker's own reference lasts for its wait; a receiver that answers later keeps its own.
  CImageCodeRequest* request =
      new CImageCodeRequest(m_name, path, GetKeyInt(".submitimagetimeout"));
  RaiseEvent(kEngineImageCodeWanted, reinterpret_cast<uintptr_t>(request));
  const uint32_t started = SockletTime();
  const uint32_t limit = static_cast<uint32_t>(request->GetTimeout() + kImageCodeGrace);
  CLibString code;
  for (;;) {
    if (request->IsDone()) {
      code = request->GetAnswer();
      break;
    }
    if (IsStopped() || IsAborted() || SockletTime() - started > limit) {
      request->Abandon();
      RaiseEvent(kEngineImageCodeOver, 0);
      break;
    }
    SockletSleep(kImageCodePoll);
    // The run learns that the worker is alive, and may stop it.
    OnIdle();
  }
  request->Release();
  return code;
}

bool CSearchEngine::Submit(const CNVList& profile) {
  CLibString request = GetKey(".submit");
  CLibString okText[3] = {GetKey(".submitok"), GetKey(".submitok2"), GetKey(".submitok3")};
  CLibString resubmit = GetKey(".resubmit");
  bool quest = m_name == "QuestFinder" && profile.GetValue("QUESTFINDER_PASSWORD").GetLength() > 0;
  if ((m_firstSubmitDate != 0 && resubmit.GetLength() > 0) || quest) {
    request = resubmit;
    okText[0] = GetKey(".resubmitok");
  }
  CLibString method;
  SplitRequest(request, nullptr, &method);
  method.MakeLower();

  // Eligibility.
  bool eligible = true;
  CLibString eligibility = GetKey(".eligible");
  if (eligibility.GetLength() > 0) {
    FillFormFields(this, profile, eligibility, 1);
    if (!IsNumberOne(eligibility)) eligible = false;
  }
  if (GetKeyInt(".denyadultcontent") == 1) {
    CLibString siteType = "#SITE_TYPE#";
    FillFormFields(this, profile, siteType, 1);
    if (siteType.Lower() == "adult") eligible = false;
  }
  if (!eligible) {
    RaiseEvent(kEngineNotEligible);
    return false;
  }
  if (request.GetLength() == 0) {
    RaiseEvent(kEngineNoSubmitRequest);
    return false;
  }
  RaiseEvent(kEngineSubmitStart);
  // The stop flag is the worker's for this call: a query of this engine that ended by it earlier
  // must not end the submission.
  m_stop = 0;

  if (request.Lower().Find("mailto:") > 0) {
    CLibString recipient = request.Lower();
    recipient.Replace("mailto:", "");
    recipient.TrimLeft(' ').TrimRight(' ');
    m_responseText = CLibString();
    CLibString smtp = profile.GetValue("SMTP");
    CLibString email = profile.GetValue("EMAIL");
    if (smtp.GetLength() == 0) m_responseText += LanguageString(IDS_SUBMIT_NO_SMTP);
    if (email.GetLength() == 0) m_responseText += LanguageString(IDS_SUBMIT_NO_EMAIL);
    bool sent = false;
    if (smtp.GetLength() > 0 && email.GetLength() > 0) {
      CLibString body = GetKey(".submitmailtobody");
      if (body.GetLength() > 0) {
        FillFormFields(this, profile, body, 0);
      } else {
        CLibString addresses = BlanksForLineEnds(profile.GetValue("URL_WITH_PREFIX"));
        for (CLibString one = NextAddress(addresses); one.GetLength() > 0;
             one = NextAddress(addresses))
          body += one + "\n";
      }
      CLibString subject = GetKey(".submitmailtosubject");
      if (subject.GetLength() == 0) subject = "New URL's";
      // The mail goes straight to the mail server: the engine's proxy is an HTTP proxy.
      CSockSmtpClient mail;
      mail.SetFrom("<" + email + ">");
      mail.AddTo(recipient);
      mail.SetSubject(subject);
      mail.SetBody(body);
      mail.SetTimeout(m_timeout);
      mail.Connect(MailServer(smtp));
      sent = mail.GetStatus() == 250;
      MarkSubmitted(sent);
      if (sent) {
        m_responseText += LanguageString(IDS_SUBMIT_MAIL_SENT);
      } else {
        m_responseText += LanguageString(IDS_SUBMIT_MAIL_FAILED);
        m_responseText += " (" + CLibString(mail.GetStatus()) + ") " + mail.GetStatusText();
      }
    }
    RaiseEvent(kEngineSubmitOutcome, sent ? 1 : 0);
    return sent;
  }

  const bool drillDown = GetKey(".categorydrilldown") == "1";
  const bool multi = GetKeyInt(".multisubmit") != 0;
  const CLibString charset = GetKey(".charset");
  CLibString addresses = BlanksForLineEnds(profile.GetValue("URL_WITH_PREFIX"));
  CLibString address = NextAddress(addresses);
  bool success = true;
  bool anySucceeded = false;
  CLibString page;
  while (address.GetLength() > 0 && success) {
    success = false;
    CLibString withPrefix = address;
    CLibString withoutPrefix = address;
    withoutPrefix.Remove("http://");
    withoutPrefix.Remove("https://");
    UrlEncode(withPrefix, charset);
    UrlEncode(withoutPrefix, charset);
    CLibString text = request;
    CLibString how = method;
    SetTimeout(m_timeout);

    CLibString preliminary = GetKey(".preliminary");
    if (preliminary.GetLength() > 0) {
      SendForm(page, preliminary, nullptr, CLibString());
      if (m_debug) WritePageDump(m_name, ".Preliminary.1.htm", page);
    }
    page = CLibString();
    CLibString addPage = GetKey(".addpage");
    if (addPage.GetLength() > 0) SendForm(page, addPage, nullptr, CLibString());
    if (m_debug) WritePageDump(m_name, ".AddPageDocument.1.htm", page);
    if (IsAborted() || IsStopped()) break;

    if (!drillDown) {
      text.Replace("#URL_WITH_PREFIX#", withPrefix);
      text.Replace("#URL_WITHOUT_PREFIX#", withoutPrefix);
      FillFormFields(this, profile, text, 1);
    } else {
      FillFormFields(this, profile, text, 1);
      static const char* const kDecoded[][2] = {{"%3f", "?"},  {"%26", "&"}, {"%3d", "="},
                                                {"%3a", ":"},  {"%2f", "/"}, {"%5f", "_"},
                                                {"%0d", "\r"}, {"%0a", "\n"}};
      for (const auto& pair : kDecoded) text.Replace(pair[0], pair[1]);
      int lastLine = text.ReverseFind("\n");
      if (lastLine >= 0) text = text.Mid(lastLine + 1, text.GetLength() - lastLine - 1);
      if (m_debug) WritePageDump(m_name, ".2.SelectedCategory.txt", text);
      CLibString categoryUrl;
      SplitRequest(text, &categoryUrl, nullptr);
      SendForm(page, categoryUrl, how.c_str(), CLibString());
      if (m_debug) WritePageDump(m_name, ".2.SelectedCategory.htm", page);
      CNVList categories;
      ReadCategoryPage(page, categories, text);
      how = "get";
    }

    CLibString formStart = GetKey(".submitformstart");
    if (formStart.GetLength() > 0) {
      ParseForm(*this, formStart, GetKeyInt(".submitformposition"), page, m_forms->Main(),
                CNVList());
      SubstitutePlaceholders(text, true);
    }

    if (GetKey(".submitimage").GetLength() > 0) {
      CLibString code = GetSubmitImageCode(page);
      if (code.GetLength() == 0) {
        RaiseEvent(kEngineSubmitOutcome, 0);
        MarkSubmitted(false);
        break;
      }
      text.Replace("#IMAGE_CODE#", code);
    }

    // A category page gives a plain link; otherwise the request names its method itself (a
    // parsed form's "#FORMNEXT#" brings the form's).
    CLibString url = text;
    if (!drillDown) SplitRequest(text, &url, &how);
    if (m_debug) {
      WritePageDump(m_name, ".3.MainSubmitPage_url.txt", url);
      WritePageDump(m_name, ".3.MainSubmitPage_method.txt", how);
    }
    SendForm(page, url, how.c_str(), CLibString());
    if (m_debug) WritePageDump(m_name, ".3.MainSubmitPage.htm", page);

    for (int step = 2; !IsAborted() && !IsStopped(); ++step) {
      CLibString next = GetKey((".submit" + CLibString(step)).c_str());
      if (next.GetLength() == 0) break;
      next.Replace("#URL_WITH_PREFIX#", withPrefix);
      next.Replace("#URL_WITHOUT_PREFIX#", withoutPrefix);
      FillFormFields(this, profile, next, 1);
      CLibString stepForm = GetKey((".submitformstart" + CLibString(step)).c_str());
      if (stepForm.GetLength() > 0) {
        ParseForm(*this, stepForm, GetKeyInt((".submitformposition" + CLibString(step)).c_str()),
                  page, m_forms->Main(), CNVList());
        SubstitutePlaceholders(next, true);
      }
      next.Replace("%2f", "/");
      CLibString dump = "." + CLibString(step + 2);
      if (m_debug) WritePageDump(m_name, dump + ".txt", next);
      SendForm(page, next, nullptr, CLibString());
      if (m_debug) WritePageDump(m_name, dump + ".htm", page);
    }
    if (IsAborted() || IsStopped()) break;

    m_responseText = page;
    if (GetKey(".submitfollowmetarefresh") != "0") {
      CLibString target = GetMetaRefreshUrl(m_responseText);
      if (target.GetLength() > 0) {
        if (m_debug) WritePageDump(m_name, ".Refresh.txt", target);
        m_responseText = GetPage(target);
        if (m_debug) WritePageDump(m_name, ".Refresh.htm", m_responseText);
      }
    }
    for (const CLibString& ok : okText)
      if (ok.GetLength() > 0 && m_responseText.Find(ok) > 0) success = true;
    if (success) anySucceeded = true;

    address = multi ? NextAddress(addresses) : CLibString();
  }

  // A site whose first address went in is submitted, whatever became of the addresses after it.
  MarkSubmitted(anySucceeded);
  RaiseEvent(kEngineSubmitOutcome, anySucceeded ? 1 : 0);
  return anySucceeded;
}
