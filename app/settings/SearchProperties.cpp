#include "app/settings/SearchProperties.h"

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/settings/ProxySettings.h"
#include "engines/sets/RankMatcher.h"
#include "framework/app/WinApp.h"

IMPLEMENT_DYNAMIC(CSearchProperties, CObject)

volatile BYTE g_bExactMatch = 0;

namespace {

const char kSection[] = "Properties";
const int kMissing = -0x7fffffff;  // no such value in the store

const COLORREF kFewColors[CSearchProperties::ColorCount] = {
    RGB(0, 0, 0),   RGB(255, 255, 255), RGB(128, 128, 128), RGB(255, 255, 255), RGB(0, 0, 0),
    RGB(0, 0, 255), RGB(128, 0, 128),   RGB(255, 251, 240), RGB(0, 255, 0),     RGB(255, 255, 255),
    RGB(255, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(192, 192, 192)};
const COLORREF kManyColors[CSearchProperties::ColorCount] = {
    RGB(0, 0, 0),   RGB(255, 251, 240), RGB(128, 128, 128), RGB(255, 251, 240),
    RGB(0, 0, 0),   RGB(192, 220, 192), RGB(128, 0, 128),   RGB(255, 251, 240),
    RGB(0, 128, 0), RGB(255, 251, 240), RGB(255, 0, 0),     RGB(255, 251, 240),
    RGB(0, 0, 0),   RGB(192, 220, 192)};

int ReadInt(CWinApp* app, const char* name, int fallback) {
  return static_cast<int>(app->GetProfileInt(kSection, name, fallback));
}

CString ReadText(CWinApp* app, const char* name, const char* fallback = "") {
  return app->GetProfileString(kSection, name, fallback);
}

// A rate text as a positive number; anything else is 0.
double ParseRate(const CString& text) {
  double value = CSearchProperties::ParseThreadKB(text);
  return value > 0 ? value : 0;
}

}  // namespace

const char* const CSearchProperties::kColorNames[ColorCount] = {
    "NormalText",    "NormalBk",    "DisabledText", "DisabledBk",  "HighlightText",
    "HighlightBk",   "ZubrinText",  "ZubrinBk",     "MovedUpText", "MovedUpBk",
    "MovedDownText", "MovedDownBk", "ViewText",     "ViewBk"};

CSearchProperties::CSearchProperties() {
  for (int i = 0; i < ColorCount; ++i) m_colors[i] = kManyColors[i];
}

COLORREF CSearchProperties::DefaultColor(int index, bool fewColors) {
  if (index < 0 || index >= ColorCount) return 0;
  return fewColors ? kFewColors[index] : kManyColors[index];
}

void CSearchProperties::SetMaxThreads(int count) {
  m_nMaxThreads = count < kMinThreads ? kMinThreads : count > kMaxThreads ? kMaxThreads : count;
}

double CSearchProperties::ParseThreadKB(const char* text) {
  // Read by hand: the C library's reading follows the locale's decimal point.
  if (!text) return 0;
  while (*text == ' ' || *text == '\t') ++text;
  double value = 0;
  bool digits = false;
  for (; *text >= '0' && *text <= '9'; ++text, digits = true) value = value * 10 + (*text - '0');
  if (*text == '.' || *text == ',') {
    double scale = 0.1;
    for (++text; *text >= '0' && *text <= '9'; ++text, digits = true, scale /= 10)
      value += (*text - '0') * scale;
  }
  return digits ? value : 0;
}

CString CSearchProperties::FormatThreadKB(double kilobytes) {
  // Hundredths as a whole number, so that no locale puts a comma in.
  if (!(kilobytes > 0)) kilobytes = 0;
  if (kilobytes > 1e6) kilobytes = 1e6;  // far beyond any line; keeps the hundredths in an int
  int hundredths = static_cast<int>(kilobytes * 100 + 0.5);
  CString text;
  text.Format("%d.%02d", hundredths / 100, hundredths % 100);
  return text;
}

void CSearchProperties::SetThreadKB(double kilobytes) {
  // Zero, negative or not a number would stall every worker; the default rate takes its place.
  m_dThreadKB = kilobytes > 0 ? kilobytes : kDefaultThreadKB;
}

CString CSearchProperties::LoadReportsDir() {
  CWinApp* app = AfxGetApp();
  CString folder =
      app ? ReadText(app, "ReportsDir", GetReportsFolderPath()) : GetReportsFolderPath();
  if (!folder.IsEmpty() && folder[folder.GetLength() - 1] != '\\') folder += '\\';
  return folder;
}

void CSearchProperties::Load() {
  CWinApp* app = AfxGetApp();
  if (app) {
    // One name for the rate; the value that older versions wrote is read when it is missing.
    CString rate = ReadText(app, "ThreadKB");
    if (rate.IsEmpty()) rate = ReadText(app, "Bandwidth", "1.2");
    SetThreadKB(ParseRate(rate));
    m_nConnectionManagement = ReadInt(app, "ConnectionManagement", 1);
    m_nRestrict = ReadInt(app, "Restrict", 0);
    m_nExactMatch = ReadInt(app, "ExactMatch", 0);
    m_nDumpResults = ReadInt(app, "DumpResults", 1);
    m_nShowTitle = ReadInt(app, "ShowTitle", 1);
    m_nMaxResults = ReadInt(app, "MaxResults", 50);
    m_nTimeOut = ReadInt(app, "TimeOut", 60);
    m_nStopSearch = ReadInt(app, "StopSearch", 1);
    m_nIncludeNew = ReadInt(app, "IncludeNew", 1);
    SetMaxThreads(ReadInt(app, "MaxThreads", 4));
    m_nUseProxy = ReadInt(app, "UseProxy", 0);
    m_nProxyPort = ReadInt(app, "ProxyPort", 80);
    // Likewise one name for proxy detection, the one the proxy set-up reads.
    int autoProxy = ReadInt(app, "AutoProxy", kMissing);
    m_nAutoProxy = autoProxy != kMissing ? autoProxy : ReadInt(app, "AutoDetect", 0);
    m_strProxyServer = ReadText(app, "ProxyServer");
    m_strProxyUser = ReadText(app, "ProxyUser");
    m_strProxyPassword = UnscrambleProxyPassword(ReadText(app, "ProxyPassword"));
    m_strReportsDir = LoadReportsDir();
    m_nAppendDate = ReadInt(app, "AppendDate", 0);
    m_nUseHeader = ReadInt(app, "UseHeader", 0);
    m_strHeaderText = ReadText(app, "HeaderText");
    m_nUseFooter = ReadInt(app, "UseFooter", 0);
    m_strFooterText = ReadText(app, "FooterText");
    m_strZubrinPrompt = ReadText(app, "ZubrinPrompt", "Zubrin");
    m_nRemoveLogos = ReadInt(app, "RemoveLogos", 1);
    m_nHideZeroRankings = ReadInt(app, "HideZeroRankings", 0);
    m_nBannersOn = ReadInt(app, "BannersOn", 1);
    m_nRemindersOn = ReadInt(app, "RemindersOn", 1);
    m_nKeywordAlert = ReadInt(app, "KeywordAlert", 1);
    m_strKeywordIgnore = ReadText(app, "KeywordIgnore", ",;+");
    bool fewColors = GetDisplayDepthSquare() < 17;
    for (int i = 0; i < ColorCount; ++i)
      m_colors[i] = ReadProfileColor(kSection, kColorNames[i], DefaultColor(i, fewColors));
    m_nColAutoSave = ReadInt(app, "ColAutoSave", 1);
    m_strColWidths = ReadText(app, "ColWidths", kDefaultColWidths);
  }
  g_bExactMatch = m_nExactMatch != 0 ? 1 : 0;
  SetMatchRestrict(m_nRestrict);
  SetExactMatch(m_nExactMatch != 0);
  SetDumpResults(m_nDumpResults != 0);
}

void CSearchProperties::Save() const {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  app->WriteProfileString(kSection, "ThreadKB", FormatThreadKB(m_dThreadKB));
  auto writeInt = [app](const char* name, int value) {
    app->WriteProfileInt(kSection, name, value);
  };
  auto writeText = [app](const char* name, const CString& value) {
    app->WriteProfileString(kSection, name, value);
  };
  writeInt("ConnectionManagement", m_nConnectionManagement);
  writeInt("Restrict", m_nRestrict);
  writeInt("ExactMatch", m_nExactMatch);
  writeInt("DumpResults", m_nDumpResults);
  writeInt("ShowTitle", m_nShowTitle);
  writeInt("MaxResults", m_nMaxResults);
  writeInt("TimeOut", m_nTimeOut);
  writeInt("StopSearch", m_nStopSearch);
  writeInt("IncludeNew", m_nIncludeNew);
  writeInt("MaxThreads", m_nMaxThreads);
  writeInt("UseProxy", m_nUseProxy);
  writeInt("ProxyPort", m_nProxyPort);
  writeInt("AutoProxy", m_nAutoProxy);
  writeText("ProxyServer", m_strProxyServer);
  writeText("ProxyUser", m_strProxyUser);
  writeText("ProxyPassword", ScrambleProxyPassword(m_strProxyPassword));
  CString reports = m_strReportsDir;
  if (!reports.IsEmpty() && reports[reports.GetLength() - 1] != '\\') reports += '\\';
  writeText("ReportsDir", reports);
  writeInt("AppendDate", m_nAppendDate);
  writeInt("UseHeader", m_nUseHeader);
  writeText("HeaderText", m_strHeaderText);
  writeInt("UseFooter", m_nUseFooter);
  writeText("FooterText", m_strFooterText);
  writeText("ZubrinPrompt", m_strZubrinPrompt);
  writeInt("RemoveLogos", m_nRemoveLogos);
  writeInt("HideZeroRankings", m_nHideZeroRankings);
  writeInt("BannersOn", m_nBannersOn);
  writeInt("RemindersOn", m_nRemindersOn);
  writeInt("KeywordAlert", m_nKeywordAlert);
  writeText("KeywordIgnore", m_strKeywordIgnore);
  for (int i = 0; i < ColorCount; ++i) WriteProfileColor(kSection, kColorNames[i], m_colors[i]);
  writeInt("ColAutoSave", m_nColAutoSave);
  writeText("ColWidths", m_strColWidths);
}

CSearchProperties& GetSearchProperties() {
  static CSearchProperties properties;
  return properties;
}
