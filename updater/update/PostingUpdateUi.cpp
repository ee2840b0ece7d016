#include "updater/update/PostingUpdateUi.h"

#include <algorithm>

#include "updater/update/UpdateIds.h"

std::string TakePostedText(LPARAM lParam) {
  std::string* text = reinterpret_cast<std::string*>(lParam);
  if (!text) return std::string();
  std::string copy = std::move(*text);
  delete text;
  return copy;
}

CPostingUpdateUi::CPostingUpdateUi(HWND dialog, ConfirmFunction confirm, MessageFunction message,
                                   std::function<void()> stopAnimation)
    : m_dialog(dialog),
      m_confirm(std::move(confirm)),
      m_message(std::move(message)),
      m_stopAnimation(std::move(stopAnimation)) {}

void CPostingUpdateUi::PostStatus(int stringId) {
  PostMessageA(m_dialog, WM_UPD_STATUS, static_cast<WPARAM>(stringId), 0);
  PostMessageA(m_dialog, WM_UPD_DETAIL, IDS_UPD_READY, 0);
}

void CPostingUpdateUi::SetStatusOnly(int stringId) {
  PostMessageA(m_dialog, WM_UPD_STATUS, static_cast<WPARAM>(stringId), 0);
}

void CPostingUpdateUi::PostText(UINT message, const std::string& text) {
  std::string* copy = new std::string(text);
  // A message that could not be posted never reaches a handler to free its text.
  if (!PostMessageA(m_dialog, message, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

void CPostingUpdateUi::ShowCurrentFile(const std::string& path) {
  PostText(WM_UPD_FILE, path);
}

void CPostingUpdateUi::SetProgress(int percent) {
  PostMessageA(m_dialog, WM_UPD_PROGRESS, static_cast<WPARAM>(std::clamp(percent, 0, 100)), 0);
}

void CPostingUpdateUi::SetTransferRate(uint32_t bytesPerSecond, uint32_t secondsLeft) {
  PostMessageA(m_dialog, WM_UPD_RATE, 0, static_cast<LPARAM>(bytesPerSecond));
  PostMessageA(m_dialog, WM_UPD_TIME_LEFT, 0, static_cast<LPARAM>(secondsLeft));
}

void CPostingUpdateUi::ShowHost(const std::string& host) {
  PostText(WM_UPD_HOST, host);
}

bool CPostingUpdateUi::ConfirmUpdates(const CFileInfoTable& table,
                                      const std::vector<std::string>& names) {
  return m_confirm && m_confirm(table, names);
}

void CPostingUpdateUi::ShowMessage(int stringId) {
  MessageBeep(MB_ICONINFORMATION);
  if (m_message) m_message(stringId);
}

void CPostingUpdateUi::StopAnimation() {
  if (m_stopAnimation) m_stopAnimation();
}

void CPostingUpdateUi::Finish() {
  PostMessageA(m_dialog, WM_UPD_FINISH, 0, 0);
}
