#include "reports/MapiMail.h"

#include <atomic>

#include "app/program/NQCommandLineInfo.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineServices.h"
#include "framework/app/MessageBox.h"
#include "reports/EngineReports.h"
#include "resources/resource.h"

namespace {

// One library handle for the process: loaded by the first mail, freed by UnloadLibrary.
HMODULE g_library = nullptr;
std::atomic<MailSheetFn> g_sheet{nullptr};
std::atomic<HWND> g_owner{nullptr};

bool IsAutomated() {
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  return commandLine && commandLine->m_bAutomated;
}

void Tell(UINT id, UINT type) {
  AfxMessageBox(LoadResourceString(id).c_str(), type);
}

}  // namespace

CMapiMail::CMapiMail(bool quiet) : m_quiet(quiet) {
  if (!g_library) g_library = LoadLibraryA("MAPI32.DLL");
  if (!g_library) {
    Fail(kNoLibrary, AFX_IDP_FAILED_MAPI_LOAD);
    return;
  }
  m_sendMail = reinterpret_cast<LPMAPISENDMAIL>(
      reinterpret_cast<void*>(GetProcAddress(g_library, "MAPISendMail")));
  if (!m_sendMail) Fail(kNoSendMail, AFX_IDP_INVALID_MAPI_DLL);
}

CMapiMail::~CMapiMail() = default;

void CMapiMail::UnloadLibrary() {
  if (g_library) FreeLibrary(g_library);
  g_library = nullptr;
}

void CMapiMail::Fail(int error, UINT messageId) {
  m_error = error;
  if (m_quiet) ReportLog("Mail: %s", LoadResourceString(messageId).c_str());
  else Tell(messageId, MB_ICONEXCLAMATION);
}

bool CMapiMail::AddTo(const char* address) {
  m_recipients.push_back({MAPI_TO, address ? address : ""});
  return true;
}

bool CMapiMail::AddCc(const char* address) {
  m_recipients.push_back({MAPI_CC, address ? address : ""});
  return true;
}

void CMapiMail::SetFrom(const char* sender) {
  m_sender = sender ? sender : "";
}
void CMapiMail::SetSubject(const char* subject) {
  m_subject = subject ? subject : "";
}
void CMapiMail::SetNoteText(const char* text) {
  m_noteText = text ? text : "";
}

bool CMapiMail::Attach(const char* path, const char* fileName) {
  m_files.push_back({path ? path : "", fileName ? fileName : "", fileName != nullptr});
  return true;
}

bool CMapiMail::Send(ULONG flags, HWND owner) {
  if (m_error == kNoLibrary || m_error == kNoSendMail || !m_sendMail) return false;
  HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  // Every attachment sits on a blank of its own at the end of the note text.
  std::string note = m_noteText;
  const ULONG noteLength = static_cast<ULONG>(note.size());
  note.append(m_files.size(), ' ');

  std::vector<MapiRecipDesc> recipients(m_recipients.size());
  for (size_t i = 0; i < m_recipients.size(); ++i) {
    recipients[i].ulRecipClass = m_recipients[i].recipientClass;
    recipients[i].lpszName = const_cast<char*>(m_recipients[i].address.c_str());
  }
  std::vector<MapiFileDesc> files(m_files.size());
  for (size_t i = 0; i < m_files.size(); ++i) {
    files[i].nPosition = noteLength + static_cast<ULONG>(i);
    files[i].lpszPathName = const_cast<char*>(m_files[i].path.c_str());
    files[i].lpszFileName =
        m_files[i].hasFileName ? const_cast<char*>(m_files[i].fileName.c_str()) : nullptr;
  }
  MapiRecipDesc originator = {};
  originator.ulRecipClass = MAPI_ORIG;
  originator.lpszName = const_cast<char*>(m_sender.c_str());
  MapiMessage message = {};
  message.lpszSubject = m_subject.empty() ? nullptr : const_cast<char*>(m_subject.c_str());
  message.lpszNoteText = note.empty() ? nullptr : const_cast<char*>(note.c_str());
  message.lpOriginator = m_sender.empty() ? nullptr : &originator;
  message.nRecipCount = static_cast<ULONG>(recipients.size());
  message.lpRecips = recipients.empty() ? nullptr : recipients.data();
  message.nFileCount = static_cast<ULONG>(files.size());
  message.lpFiles = files.empty() ? nullptr : files.data();

  if (owner) EnableWindow(owner, FALSE);
  m_result = m_sendMail(0, reinterpret_cast<ULONG_PTR>(owner), &message,
                        flags | (m_quiet ? 0 : MAPI_LOGON_UI), 0);
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
    SetFocus(owner);
  }
  SetCursor(cursor);
  if (m_result == SUCCESS_SUCCESS) return true;
  if (m_result != MAPI_USER_ABORT && m_result != MAPI_E_LOGIN_FAILURE) {
    if (m_quiet) ReportLog("Mail: %s (%lu)", LoadResourceString(AFX_IDP_FAILED_MAPI_SEND).c_str(),
                           m_result);
    else Tell(AFX_IDP_FAILED_MAPI_SEND, MB_ICONEXCLAMATION);
  }
  return false;
}

void SetMailSheet(MailSheetFn sheet) {
  g_sheet = sheet;
}

void SetMailOwner(HWND owner) {
  g_owner = owner;
}

bool MailReportFile(const char* path, CZubrinDoc* document) {
  if (!document) document = CZubrinDoc::GetDocument();
  const bool automated = IsAutomated();
  // A report that was not written has no path: there is nothing new to send.
  if (!path || !*path || !document) {
    if (automated) ReportLog("Mail: no report file to send.");
    return false;
  }
  if (!automated) {
    MailSheetFn sheet = g_sheet.load();
    if (sheet && sheet() == IDCANCEL) return false;
  }
  const HWND owner = automated ? nullptr : g_owner.load();
  if (document->m_reportTo.IsEmpty()) {
    if (automated) {
      ReportLog("Mail: %s was not sent: the project names no report recipient.", path);
      return false;
    }
    // The mail program asks for the recipient, as a mail of the file from the framework does.
    // Whether the message then goes out is the mail program's affair and the user's: saying
    // that the report was sent would claim what nobody here knows.
    CMapiMail mail(false);
    mail.Attach(path);
    bool sent = mail.Send(MAPI_DIALOG, owner);
    if (sent) {
      Tell(IDS_REPORT_MAIL_UNADDRESSED, MB_ICONINFORMATION);
    } else if (mail.GetResult() == MAPI_USER_ABORT || mail.GetResult() == MAPI_E_LOGIN_FAILURE) {
      Tell(IDS_REPORT_MAIL_FAILED, MB_ICONINFORMATION);
    }
    return sent;
  }
  CMapiMail mail(automated);
  mail.AddTo(document->m_reportTo);
  if (!document->m_emailCc.IsEmpty()) mail.AddCc(document->m_emailCc);
  if (!document->m_emailFrom.IsEmpty()) mail.SetFrom(document->m_emailFrom);
  if (!document->m_emailSubject.IsEmpty()) mail.SetSubject(document->m_emailSubject);
  if (!document->m_emailBody.IsEmpty()) mail.SetNoteText(document->m_emailBody);
  mail.Attach(path);
  const bool sent = mail.Send(0, owner);
  if (automated) {
    ReportLog(sent ? "Mail: %s was sent to %s." : "Mail: %s was not sent to %s.", path,
              document->m_reportTo.GetString());
    return sent;
  }
  if (sent) {
    MessageBeep(MB_ICONINFORMATION);
    Tell(IDS_REPORT_MAILED, MB_ICONINFORMATION);
  } else if (mail.GetResult() == MAPI_USER_ABORT || mail.GetResult() == MAPI_E_LOGIN_FAILURE) {
    Tell(IDS_REPORT_MAIL_FAILED, MB_ICONINFORMATION);
  }
  return sent;
}
