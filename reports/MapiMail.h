// CMapiMail: one mail message through Simple MAPI, the mail library loaded by name at run time;
// and MailReportFile, which mails a written report with the document's mail settings.
#pragma once

#include <windows.h>

#include <mapi.h>

#include <string>
#include <vector>

class CZubrinDoc;

class CMapiMail {
 public:
  enum Error { kNone = 0, kNoLibrary = 1, kNoSendMail = 2, kToFailed = 3, kCcFailed = 4,
               kAttachFailed = 5 };

  // Loads the mail library (once per process) and finds MAPISendMail. Quiet: no message box
  // (a run without windows); the failure goes to the report log instead.
  explicit CMapiMail(bool quiet = false);
  virtual ~CMapiMail();
  CMapiMail(const CMapiMail&) = delete;
  CMapiMail& operator=(const CMapiMail&) = delete;

  bool AddTo(const char* address);
  bool AddCc(const char* address);
  // Empty texts leave the item out of the message.
  void SetFrom(const char* sender);
  void SetSubject(const char* subject);
  void SetNoteText(const char* text);
  bool Attach(const char* path, const char* fileName = nullptr);

  // Sends the message as built: MAPI_LOGON_UI is added unless quiet (no logon box in a run
  // without windows). True only when the mail system took the message: a user abort or a
  // failed logon is not a sent mail.
  bool Send(ULONG flags, HWND owner = nullptr);
  int GetError() const { return m_error; }
  ULONG GetResult() const { return m_result; }

  // Forgets the process-wide library handle (tests load a different stand-in).
  static void UnloadLibrary();

 private:
  void Fail(int error, UINT messageId);

  // Copies of the caller's texts; the MAPI records are made from them at the send.
  struct Recipient {
    ULONG recipientClass;
    std::string address;
  };
  struct Attachment {
    std::string path, fileName;
    bool hasFileName;
  };
  std::vector<Recipient> m_recipients;
  std::vector<Attachment> m_files;
  int m_error = kNone;
  std::string m_noteText, m_subject, m_sender;
  LPMAPISENDMAIL m_sendMail = nullptr;
  ULONG m_result = 0;
  bool m_quiet = false;
};

// The project sheet on its mail page; IDCANCEL stops the mail. The window side installs it;
// without one the mail goes on.
using MailSheetFn = int (*)();
void SetMailSheet(MailSheetFn sheet);
// The owner window of mail dialogs (null: none).
void SetMailOwner(HWND owner);

// Mails the report file: interactive runs show the mail page of the project sheet first and, when
// the document names no recipient, let the mail program ask for one; an automated run shows
// nothing and skips a report without recipient, saying so in the report log. True when sent.
bool MailReportFile(const char* path, CZubrinDoc* document = nullptr);
