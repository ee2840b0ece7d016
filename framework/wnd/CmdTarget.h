// CCmdTarget: an object that takes commands and messages through a message map. A class's map
// lists the messages, commands and notifications it handles; a message the class's own map does
// not list is looked up in its base class's map, and so on up to CCmdTarget.
#pragma once
#include <windows.h>

#include "framework/core/Object.h"

class CCmdTarget;
class CCmdUI;

// The notification codes of command routing (the high word of a code says which message carried
// it: 0 for WM_COMMAND, WM_NOTIFY for notifications, the reflected forms for reflection).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (static_cast<int>(0xFFFFFFFF))
// Messages reflected from a parent back to the control that caused them carry this offset.
#define WM_REFLECT_BASE 0xBC00
// WM_CTLCOLOR stands for every WM_CTLCOLORxxx message in a map; nCtlColor tells which.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// One call through a map entry: the message and where the handler's result goes.
struct AFX_MSGCALL {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
  UINT nID;       // commands and notifications: the control or command id
  void* pExtra;   // CCmdUI* for updates, AFX_NOTIFY* for notifications
};

// The argument of a notification routed through OnCmdMsg.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// Filled by OnCmdMsg when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
};

// Calls the handler; FALSE means "not handled after all" (the _EX forms) so routing goes on.
using AFX_PMSG = BOOL (*)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;              // 0 ends the map
  UINT nCode;                 // commands: the notification code (low 16 bits compared)
  UINT nID;                   // commands: first id
  UINT nLastID;               // commands: last id (ranges)
  const UINT* pnRegistered;   // ON_REGISTERED_MESSAGE: the registered message's variable
  AFX_PMSG pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                      \
 protected:                                        \
  static const AFX_MSGMAP* GetThisMessageMap();    \
  const AFX_MSGMAP* GetMessageMap() const override;

// The entries are lambdas inside a member function of the class, so handlers may be protected
// or private and the compiler checks each handler's signature.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                    \
  const AFX_MSGMAP* theClass::GetMessageMap() const {             \
    return GetThisMessageMap();                                   \
  }                                                               \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {               \
    using ThisClass [[maybe_unused]] = theClass;                  \
    using TheBaseClass = baseClass;                               \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                      \
  {0, 0, 0, 0, nullptr, nullptr}};                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,      \
                                        &_messageEntries[0]};                  \
  return &messageMap;                                                          \
  }

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)
 public:
  CCmdTarget() = default;
  ~CCmdTarget() override = default;

  // Routes a command, an update request or a notification to this object's handler.
  // nCode: CN_COMMAND or a control notification code, CN_UPDATE_COMMAND_UI (pExtra is the
  // CCmdUI), or MAKELONG(code, WM_NOTIFY) (pExtra is an AFX_NOTIFY). With pHandlerInfo the
  // handler is only looked for, not called. TRUE when handled.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // Hourglass for a long command (the application's wait cursor).
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  // The first entry, in this class's map or its bases', that takes the message (for the
  // command family: the message, code and id). Null when none does.
  static const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                           UINT nID);

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  // Calls the entries for a command code in map order; TRUE when one handled it.
  BOOL DispatchCmdMsg(UINT nMessage, UINT nCode, UINT nID, void* pExtra,
                      AFX_CMDHANDLERINFO* pHandlerInfo);
  friend class CWnd;
};
