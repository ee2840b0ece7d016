#include "ui/dialogs/fields/ModifyNV.h"

#include <cstdlib>
#include <memory>

#include "app/services/AppPaths.h"
#include "app/settings/ProxySettings.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineList.h"
#include "engines/submit/PageTranslator.h"
#include "framework/threads/CriticalSection.h"
#include "framework/threads/WinThread.h"
#include "framework/gdi/WaitCursor.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/project/ProjectShared.h"

// The field's target language while the dialog runs (one field editor at a time).
CString CountryLanguage;
// The translator of the translation under way, or none. The worker deletes it while the
// window's thread may be stopping it: both take the lock, so a stop never reaches a freed
// translator.
CTranslator* ActiveTranslator = nullptr;

namespace {

CCriticalSection g_translatorLock;
CString g_service;

struct TranslationJob {
  CTranslator* translator;
  HWND dialog;
};

UINT TranslationWorker(LPVOID param) {
  std::unique_ptr<TranslationJob> job(static_cast<TranslationJob*>(param));
  CTranslator* translator = job->translator;
  ApplyProxySettings(*translator);
  translator->Translate();
  CString* text = translator->IsAborted() ? nullptr : new CString(translator->GetResult().c_str());
  g_translatorLock.Lock();
  if (ActiveTranslator == translator) ActiveTranslator = nullptr;
  g_translatorLock.Unlock();
  delete translator;
  // A window that is gone cannot take the text over.
  if (!::PostMessageA(job->dialog, WM_FIELD_TRANSLATED, reinterpret_cast<WPARAM>(text), text ? 1 : 0))
    delete text;
  return 0;
}

bool IsPlainDescription(const CString& key) {
  return key == "ONELINEDESC" || key == "SHORTDESC" || key == "LONGDESC";
}

}  // namespace

BEGIN_MESSAGE_MAP(CModifyNV, CDialog)
  ON_BN_CLICKED(IDC_NV_TRANSLATE, OnTranslate)
  ON_EN_CHANGE(IDC_NV_EDIT, OnTextChange)
  ON_EN_CHANGE(IDC_NV_MULTIEDIT, OnTextChange)
  ON_MESSAGE(WM_FIELD_TRANSLATED, OnTranslated)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CModifyNV::CModifyNV(CWnd* pParent) : CDialog(IDD_MODIFY_NV, pParent) {}

CModifyNV::~CModifyNV() = default;

CModifyNV::Translation CModifyNV::TranslationFor(const CString& key, const CString& uiLanguage) {
  CString suffix;
  if (key.GetLength() >= 3 && key[key.GetLength() - 3] == '_')
    suffix = key.Right(2);
  else if (IsPlainDescription(key))
    suffix = key;
  Translation result;
  if (suffix.IsEmpty() ||
      CString("BR FR DE IT MX ONELINEDESC SHORTDESC LONGDESC").Find(suffix) < 0)
    return result;
  CString field = suffix == "BR" ? "ptb"
                  : suffix == "FR" ? "fra"
                  : suffix == "DE" ? "deu"
                  : suffix == "IT" ? "ita"
                  : suffix == "MX" ? "esm"
                                   : "enu";
  const bool englishUi = uiLanguage.CompareNoCase("enu") == 0;
  if (englishUi && field != "enu") {
    result.offered = true;
    result.source = "enu";
    result.target = field;
  } else if (!englishUi && IsPlainDescription(key)) {
    result.offered = true;
    result.source = uiLanguage;
    result.target = "enu";
  }
  return result;
}

bool CModifyNV::IsTranslating() {
  g_translatorLock.Lock();
  bool running = ActiveTranslator != nullptr;
  g_translatorLock.Unlock();
  return running;
}

void CModifyNV::SetTranslationService(const char* address) { g_service = address ? address : ""; }

int CModifyNV::ValueEditId() const {
  return m_strKind == "MULTIEDIT" ? IDC_NV_MULTIEDIT : IDC_NV_EDIT;
}

BOOL CModifyNV::OnInitDialog() {
  CDialog::OnInitDialog();
  CWaitCursor wait;
  SetDlgItemText(IDC_NV_LABEL, m_strLabel);
  SetDlgItemText(IDC_NV_DESCRIPTION, m_strDescription);
  m_animation.SubclassDlgItem(IDC_NV_ANIMATION, this);

  Translation translation = TranslationFor(m_strKey, GetLanguageCode());
  m_bOffered = translation.offered;
  CountryLanguage = translation.target;
  m_strSource = translation.source;

  CNVList picks;
  if (CEngineList::LoadCategoriesFile(nullptr, nullptr, picks, CLibString(m_strKey)) > 0) {
    m_bPickList = true;
    CWnd* list = GetDlgItem(IDC_NV_LIST);
    picks.ForEach([list](const CNVItem& item) {
      list->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.m_name.c_str()));
    });
    int at = static_cast<int>(list->SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(static_cast<LPCSTR>(m_strValue))));
    list->SendMessage(CB_SETCURSEL, at >= 0 ? at : static_cast<WPARAM>(-1));
    list->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_NV_EDIT)->ShowWindow(SW_HIDE);
  } else if (m_strKind == "MULTIEDIT") {
    SetDlgItemText(IDC_NV_MULTIEDIT, m_strValue);
    GetDlgItem(IDC_NV_MULTIEDIT)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_NV_EDIT)->ShowWindow(SW_HIDE);
  } else if (m_strKind == "YESNO") {
    GetDlgItem(IDC_NV_EDIT)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_NV_NO)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_NV_YES)->ShowWindow(SW_SHOW);
    CheckRadioButton(IDC_NV_NO, IDC_NV_YES, std::atoi(m_strValue) == 1 ? IDC_NV_YES : IDC_NV_NO);
  }
  SetDlgItemText(IDC_NV_EDIT, m_strValue);
  if (m_bOffered) {
    GetDlgItem(IDC_NV_TRANSLATE)->ShowWindow(SW_SHOW);
    GetDlgItem(IDC_NV_TRANSLATE)->EnableWindow(!m_strValue.IsEmpty());
  }
  return TRUE;
}

void CModifyNV::OnTextChange() {
  if (!m_bOffered || m_bTranslating) return;
  CWnd* edit = GetDlgItem(ValueEditId());
  GetDlgItem(IDC_NV_TRANSLATE)->EnableWindow(edit && edit->GetWindowTextLength() > 0);
}

void CModifyNV::OnOK() {
  if (m_bTranslating) return;
  CString text;
  // The list is the field's only editor when it is shown; without one a pick field is a line.
  if (m_bPickList) {
    // A value the list does not hold (an older list's) stays unless another entry is chosen.
    if (SendDlgItemMessage(IDC_NV_LIST, CB_GETCURSEL) == CB_ERR)
      text = m_strValue;
    else
      GetDlgItemText(IDC_NV_LIST, text);
  } else if (m_strKind == "MULTIEDIT") {
    GetDlgItemText(IDC_NV_MULTIEDIT, text);
  } else if (m_strKind == "YESNO") {
    text.Format("%d", IsDlgButtonChecked(IDC_NV_YES) ? 1 : 0);
  } else {
    GetDlgItemText(IDC_NV_EDIT, text);
  }
  m_strValue = text;
  CDialog::OnOK();
}

void CModifyNV::SetBusy(bool busy) {
  GetDlgItem(IDOK)->EnableWindow(!busy);
  GetDlgItem(IDC_NV_TRANSLATE)->EnableWindow(!busy);
  GetDlgItem(ValueEditId())->EnableWindow(!busy);
  if (busy) {
    m_animation.ShowWindow(SW_SHOW);
    m_animation.Open(IDR_FIELDS_CLIP);
    m_animation.Play(0, static_cast<UINT>(-1), static_cast<UINT>(-1));
  } else {
    m_animation.Close();
    m_animation.ShowWindow(SW_HIDE);
  }
}

void CModifyNV::OnTranslate() {
  if (m_bTranslating || !m_bOffered) return;
  CString text;
  GetDlgItemText(ValueEditId(), text);
  auto* translator = new CTranslator;
  if (!g_service.IsEmpty()) translator->SetServiceAddress(CLibString(g_service.GetString()));
  translator->SetText(CLibString(text.GetString()));
  translator->SetSourceLanguage(CLibString(m_strSource.GetString()));
  translator->SetTargetLanguage(CLibString(CountryLanguage.GetString()));
  g_translatorLock.Lock();
  bool busy = ActiveTranslator != nullptr;
  if (!busy) ActiveTranslator = translator;
  g_translatorLock.Unlock();
  if (busy) {
    delete translator;
    ::MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  auto* job = new TranslationJob{translator, m_hWnd};
  m_bTranslating = true;
  SetBusy(true);
  if (!AfxBeginThread(TranslationWorker, job)) {
    g_translatorLock.Lock();
    ActiveTranslator = nullptr;
    g_translatorLock.Unlock();
    delete translator;
    delete job;
    m_bTranslating = false;
    SetBusy(false);
  }
}

LRESULT CModifyNV::OnTranslated(WPARAM wParam, LPARAM lParam) {
  std::unique_ptr<CString> text(reinterpret_cast<CString*>(wParam));
  m_bTranslating = false;
  if (text && lParam == 1) SetDlgItemText(ValueEditId(), *text);
  SetBusy(false);
  OnTextChange();
  return 0;
}

void CModifyNV::OnCancel() {
  if (m_bTranslating) {
    g_translatorLock.Lock();
    if (ActiveTranslator) ActiveTranslator->Abort();
    g_translatorLock.Unlock();
    return;
  }
  CDialog::OnCancel();
}

LRESULT CModifyNV::OnHelpMessage(WPARAM, LPARAM lParam) {
  return projectui::AnswerContextHelp(lParam);
}

// A window destroyed while its worker runs stops the worker, which then frees its own report.
void CModifyNV::OnDestroy() {
  if (m_bTranslating) {
    g_translatorLock.Lock();
    if (ActiveTranslator) ActiveTranslator->Abort();
    g_translatorLock.Unlock();
  }
  MSG msg;
  while (::PeekMessageA(&msg, m_hWnd, WM_FIELD_TRANSLATED, WM_FIELD_TRANSLATED, PM_REMOVE))
    delete reinterpret_cast<CString*>(msg.wParam);
  m_bTranslating = false;
  CountryLanguage.Empty();
  CDialog::OnDestroy();
}
