#include "toolkit/dialogs/TkTipOfTheDay.h"

#include <sys/stat.h>

#include <ctime>

#include "framework/gdi/Gdi.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/core/ToolkitData.h"

IMPLEMENT_DYNAMIC(CTkTipOfTheDay, CDialog)

BEGIN_MESSAGE_MAP(CTkTipOfTheDay, CDialog)
  ON_WM_PAINT()
  ON_COMMAND(IDC_TK_TIP_NEXT, OnNextTip)
END_MESSAGE_MAP()

namespace {
const char kSection[] = "Tip";
const char kStartUp[] = "StartUp";
const char kFilePos[] = "FilePos";
const char kTimeStamp[] = "TimeStamp";

// A read takes at most this many characters; a longer line comes in pieces.
constexpr int kLineBuffer = 1000;

// Layout of the drawing area, in the dialog's client pixels.
constexpr int kBandRight = 65;
constexpr int kRuleY = 60;
constexpr POINT kTipTextTopLeft{70, 72};
constexpr int kTipTextInset = 5;
constexpr POINT kPicture{25, 34};
constexpr int kPictureSize = 26;
constexpr POINT kHeading{71, 30};

int ProfileInt(LPCSTR entry, int fallback) {
  CWinApp* app = AfxGetApp();
  return app ? static_cast<int>(app->GetProfileInt(kSection, entry, fallback)) : fallback;
}
void WriteProfileInt(LPCSTR entry, int value) {
  if (CWinApp* app = AfxGetApp()) app->WriteProfileInt(kSection, entry, value);
}
CString ProfileString(LPCSTR entry) {
  CWinApp* app = AfxGetApp();
  return app ? app->GetProfileString(kSection, entry, "") : CString();
}
void WriteProfileString(LPCSTR entry, LPCSTR value) {
  if (CWinApp* app = AfxGetApp()) app->WriteProfileString(kSection, entry, value);
}
}  // namespace

CTkTipOfTheDay::CTkTipOfTheDay(LPCSTR lpszTipsFile, CWnd* pParent)
    : CDialog(IDD_TK_TIPOFTHEDAY, pParent) {
  SetTipsFilePath(lpszTipsFile);
  m_strHeading = TkLoadString(IDS_TK_TIP_HEADING);
  m_bStartup = ProfileInt(kStartUp, 0) == 0;
  // Binary, not text mode: the stored position must be the file's own byte offset whatever its
  // line ends are, and a damaged byte must be seen rather than taken for the file's end.
  m_pFile = fopen(m_strTipsFile, "rb");
  if (!m_pFile) {
    m_strTip = TkLoadString(IDS_TK_TIP_NOFILE);
    return;
  }
  SeekToStoredPosition();
  GetNextTipString(m_strTip);
}

CTkTipOfTheDay::~CTkTipOfTheDay() {
  if (m_pFile) {
    long pos = ftell(m_pFile);
    if (pos >= 0) WriteProfileInt(kFilePos, static_cast<int>(pos));
    fclose(m_pFile);
  }
  delete m_pHeadingFont;
  delete m_pTextFont;
}

void CTkTipOfTheDay::SetTipsFilePath(LPCSTR lpszPath) {
  DWORD attributes = lpszPath && *lpszPath ? ::GetFileAttributesA(lpszPath) : INVALID_FILE_ATTRIBUTES;
  bool isFile = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  m_strTipsFile = isFile ? lpszPath : "tips.txt";
}

void CTkTipOfTheDay::SetFonts(CFont* pHeadingFont, CFont* pTextFont) {
  if (pHeadingFont != m_pHeadingFont) delete m_pHeadingFont;
  if (pTextFont != m_pTextFont) delete m_pTextFont;
  m_pHeadingFont = pHeadingFont;
  m_pTextFont = pTextFont;
}

// --- the tips file ---

CString CTkTipOfTheDay::FileTimeStamp() const {
  struct _stat info = {};
  if (_stat(m_strTipsFile, &info) != 0) return CString();
  const char* text = ctime(&info.st_mtime);
  CString stamp(text ? text : "");
  stamp.TrimRight();
  return stamp;
}

void CTkTipOfTheDay::SeekToStoredPosition() {
  long pos = ProfileInt(kFilePos, 0);
  CString stamp = FileTimeStamp();
  if (stamp != ProfileString(kTimeStamp)) {
    // An edited file: its old positions mean nothing now.
    pos = 0;
    WriteProfileString(kTimeStamp, stamp);
  }
  // A position outside the file (a damaged value) starts at the top as well.
  if (fseek(m_pFile, 0, SEEK_END) == 0) {
    long size = ftell(m_pFile);
    if (pos < 0 || pos > size) pos = 0;
  }
  if (fseek(m_pFile, pos, SEEK_SET) != 0) {
    AfxMessageBox(TkLoadString(IDS_TK_TIP_SEEKFAIL), MB_OK);
    return;
  }
  // A position inside a line would show the line's tail as a tip: go on to the next line.
  if (pos > 0 && fseek(m_pFile, pos - 1, SEEK_SET) == 0) {
    int before = fgetc(m_pFile);
    if (before != '\n') {
      int ch;
      while ((ch = fgetc(m_pFile)) != EOF && ch != '\n') {
      }
    }
  }
}

BOOL CTkTipOfTheDay::ReadLine(CString& line) {
  char buffer[kLineBuffer];
  int length = 0;
  int ch = EOF;
  while (length < kLineBuffer - 1 && (ch = fgetc(m_pFile)) != EOF) {
    buffer[length++] = static_cast<char>(ch);
    if (ch == '\n') break;
  }
  if (length == 0) return FALSE;
  if (length >= 2 && buffer[length - 1] == '\n' && buffer[length - 2] == '\r') {
    buffer[length - 2] = '\n';
    --length;
  }
  // Kept as bytes: a NUL inside the line must stay visible to IsTipLine.
  line = CString(buffer, length);
  return TRUE;
}

bool CTkTipOfTheDay::IsTipLine(const CString& line) {
  if (line.IsEmpty()) return false;
  char first = line[0];
  if (first == ' ' || first == '\t' || first == '\n' || first == '\r' || first == ';') return false;
  // Control bytes (a NUL, a stray escape...) mean a damaged or binary file: such a line would
  // be shown as garbage, so it is no tip.
  for (int i = 0; i < line.GetLength(); ++i) {
    auto ch = static_cast<unsigned char>(line[i]);
    if (ch < 0x20 && ch != '\t' && ch != '\n' && ch != '\r') return false;
  }
  return true;
}

BOOL CTkTipOfTheDay::GetNextTipString(CString& strNext) {
  strNext.Empty();
  if (!m_pFile) return FALSE;
  bool wrapped = false;
  CString line;
  for (;;) {
    if (!ReadLine(line)) {
      // Once round the whole file without a tip is enough: there is none.
      if (wrapped) return FALSE;
      if (fseek(m_pFile, 0, SEEK_SET) != 0) {
        AfxMessageBox(TkLoadString(IDS_TK_TIP_SEEKFAIL), MB_OK);
        return FALSE;
      }
      wrapped = true;
      continue;
    }
    if (IsTipLine(line)) {
      strNext = line;
      return TRUE;
    }
  }
}

// --- the dialog ---

void CTkTipOfTheDay::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_TK_TIP_STARTUP, m_bStartup);
}

BOOL CTkTipOfTheDay::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* heading = new CFont;
  heading->CreateFont(22, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Times");
  auto* text = new CFont;
  text->CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, "Arial");
  SetFonts(heading, text);
  // Nothing to go on to without a file or without a tip in it.
  ::EnableWindow(::GetDlgItem(m_hWnd, IDC_TK_TIP_NEXT), m_pFile && !m_strTip.IsEmpty());
  ComputeLayout();
  for (int id : {IDOK, IDC_TK_TIP_STARTUP, IDC_TK_TIP_NEXT}) {
    ::SendDlgItemMessageA(m_hWnd, id, WM_SETFONT,
                          reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()), TRUE);
  }
  return TRUE;
}

void CTkTipOfTheDay::ComputeLayout() {
  HWND frame = ::GetDlgItem(m_hWnd, IDC_TK_TIP_FRAME);
  if (!frame) return;
  CRect rect;
  ::GetWindowRect(frame, &rect);
  ScreenToClient(&rect);
  rect.bottom -= 1;
  m_rcDraw = rect;
  CRect inside(rect);
  inside.InflateRect(-1, -1);
  m_rcBand = CRect(inside.left, inside.top, kBandRight, inside.bottom);
  m_rcTipArea = CRect(kBandRight, inside.top, inside.right, inside.bottom);
  m_rcTipText = CRect(kTipTextTopLeft.x, kTipTextTopLeft.y, m_rcTipArea.right - kTipTextInset,
                      m_rcTipArea.bottom - kTipTextInset);
}

void CTkTipOfTheDay::OnPaint() {
  CPaintDC dc(this);
  COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), window = ::GetSysColor(COLOR_WINDOW);
  dc.Draw3dRect(&m_rcDraw, shadow, window);
  dc.FillSolidRect(&m_rcBand, shadow);
  dc.FillSolidRect(&m_rcTipArea, window);
  CRect rule(kBandRight, kRuleY, m_rcTipArea.right, kRuleY + 1);
  dc.FillSolidRect(&rule, shadow);

  HINSTANCE module = TkResourceModule();
  auto picture = static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(IDB_TK_TIP_LIGHT),
                                                   IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  if (picture) {
    HDC memory = ::CreateCompatibleDC(dc.m_hDC);
    HGDIOBJ old = ::SelectObject(memory, picture);
    BITMAP info = {};
    ::GetObjectA(picture, sizeof info, &info);
    ::StretchBlt(dc.m_hDC, kPicture.x, kPicture.y, kPictureSize, kPictureSize, memory, 0, 0,
                 info.bmWidth, info.bmHeight, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(picture);
  }

  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
  HGDIOBJ oldFont = ::SelectObject(dc.m_hDC, m_pHeadingFont ? static_cast<HFONT>(*m_pHeadingFont)
                                                            : ToolkitData().GetBarFont());
  dc.TextOut(kHeading.x, kHeading.y, m_strHeading);
  ::SelectObject(dc.m_hDC, m_pTextFont ? static_cast<HFONT>(*m_pTextFont) : ToolkitData().GetBarFont());
  CRect text(m_rcTipText);
  ::DrawTextA(dc.m_hDC, m_strTip, m_strTip.GetLength(), &text, DT_WORDBREAK | DT_END_ELLIPSIS);
  ::SelectObject(dc.m_hDC, oldFont);
}

void CTkTipOfTheDay::OnNextTip() {
  // The controls are refreshed from the members below: take the user's check box first, so
  // that asking for another tip does not undo it.
  UpdateData(TRUE);
  GetNextTipString(m_strTip);
  InvalidateRect(&m_rcTipText);
  UpdateData(FALSE);
}

void CTkTipOfTheDay::OnOK() {
  if (!UpdateData(TRUE)) return;
  WriteProfileInt(kStartUp, m_bStartup ? 0 : 1);
  CDialog::OnOK();
}
