#include "framework/wnd/CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

// The message and the 16-bit code an OnCmdMsg code stands for.
void SplitCode(int nCode, UINT* pMessage, UINT* pCode) {
  if (nCode == CN_UPDATE_COMMAND_UI) {
    *pMessage = WM_COMMAND;
    *pCode = 0xFFFF;
    return;
  }
  UINT high = HIWORD(static_cast<UINT>(nCode));
  *pMessage = high ? high : WM_COMMAND;
  *pCode = LOWORD(static_cast<UINT>(nCode));
}

bool IsCommandFamily(UINT nMessage) {
  return nMessage == WM_COMMAND || nMessage == WM_NOTIFY ||
         nMessage == WM_REFLECT_BASE + WM_COMMAND || nMessage == WM_REFLECT_BASE + WM_NOTIFY;
}

bool Matches(const AFX_MSGMAP_ENTRY& e, UINT nMessage, UINT nCode, UINT nID) {
  if (e.pnRegistered) return *e.pnRegistered == nMessage;
  if (e.nMessage != nMessage) return false;
  if (!IsCommandFamily(nMessage)) return true;
  if (LOWORD(e.nCode) != nCode) return false;
  return nMessage >= WM_REFLECT_BASE || (nID >= e.nID && nID <= e.nLastID);
}

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
  return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                              UINT nID) {
  for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->nMessage; ++e) {
      if (Matches(*e, nMessage, nCode, nID)) return e;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::DispatchCmdMsg(UINT nMessage, UINT nCode, UINT nID, void* pExtra,
                                AFX_CMDHANDLERINFO* pHandlerInfo) {
  const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), nMessage, nCode, nID);
  if (!e) return FALSE;
  if (pHandlerInfo) {
    pHandlerInfo->pTarget = this;
    return TRUE;
  }
  AFX_MSGCALL call = {nMessage, 0, 0, 0, nID, pExtra};
  return e->pfn(this, call);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  UINT message = 0;
  UINT code = 0;
  SplitCode(nCode, &message, &code);
  return DispatchCmdMsg(message, code, nID, pExtra, pHandlerInfo);
}

void CCmdTarget::BeginWaitCursor() {
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
}

void CCmdTarget::EndWaitCursor() {
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

void CCmdTarget::RestoreWaitCursor() {
  BeginWaitCursor();
}
