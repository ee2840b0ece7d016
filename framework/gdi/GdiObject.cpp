#include "framework/gdi/GdiObject.h"

#include <memory>

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

namespace {

// Never destroyed: wrappers that live until the process ends still find it.
CPermanentHandleMap<CGdiObject, HGDIOBJ>& Owners() {
  static auto* map = new CPermanentHandleMap<CGdiObject, HGDIOBJ>;
  return *map;
}

CTemporaryHandleMap<CGdiObject, HGDIOBJ>& Temporaries() {
  return CTemporaryHandleMap<CGdiObject, HGDIOBJ>::ForThisThread();
}

// The wrapper class that matches a handle's kind, so that a CPen* from FromHandle is truly a CPen.
CRuntimeClass* WrapperClassFor(HGDIOBJ hObject) {
  switch (::GetObjectType(hObject)) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
      return RUNTIME_CLASS(CPen);
    case OBJ_BRUSH:
      return RUNTIME_CLASS(CBrush);
    case OBJ_FONT:
      return RUNTIME_CLASS(CFont);
    case OBJ_BITMAP:
      return RUNTIME_CLASS(CBitmap);
    case OBJ_REGION:
      return RUNTIME_CLASS(CRgn);
    case OBJ_PAL:
      return RUNTIME_CLASS(CPalette);
    default:
      return RUNTIME_CLASS(CGdiObject);
  }
}

std::unique_ptr<CGdiObject> NewWrapper(const CRuntimeClass* pClass) {
  if (pClass == RUNTIME_CLASS(CPen)) return std::make_unique<CPen>();
  if (pClass == RUNTIME_CLASS(CBrush)) return std::make_unique<CBrush>();
  if (pClass == RUNTIME_CLASS(CFont)) return std::make_unique<CFont>();
  if (pClass == RUNTIME_CLASS(CBitmap)) return std::make_unique<CBitmap>();
  if (pClass == RUNTIME_CLASS(CRgn)) return std::make_unique<CRgn>();
  if (pClass == RUNTIME_CLASS(CPalette)) return std::make_unique<CPalette>();
  return std::make_unique<CGdiObject>();
}

}  // namespace

CGdiObject::~CGdiObject() {
  DeleteObject();
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) {
  if (hObject == nullptr) return nullptr;
  if (CGdiObject* pObject = Owners().Lookup(hObject)) return pObject;
  CRuntimeClass* pClass = WrapperClassFor(hObject);
  CGdiObject* pTemp = Temporaries().Lookup(hObject);
  // A handle value may come back for an object of another kind after the first was deleted.
  if (pTemp != nullptr && pTemp->GetRuntimeClass() == pClass) return pTemp;
  std::unique_ptr<CGdiObject> pNew = NewWrapper(pClass);
  pNew->m_hObject = hObject;
  return Temporaries().Add(hObject, std::move(pNew));
}

void PASCAL CGdiObject::DeleteTempMap() {
  Temporaries().DeleteAll();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (hObject == nullptr) return FALSE;
  if (hObject == m_hObject) return TRUE;
  if (!Owners().Enter(hObject, this)) return FALSE;  // never two owners of one handle
  DeleteObject();
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ hObject = m_hObject;
  if (hObject != nullptr && !m_bShared) Owners().Remove(hObject, this);
  m_hObject = nullptr;
  m_bShared = false;
  return hObject;
}

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  bool shared = m_bShared;
  HGDIOBJ hObject = Detach();
  return shared ? TRUE : ::DeleteObject(hObject);
}

BOOL CGdiObject::AttachShared(HGDIOBJ hObject) {
  if (hObject == nullptr) return FALSE;
  DeleteObject();
  m_hObject = hObject;
  m_bShared = true;
  return TRUE;
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
  return ::GetObjectA(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const {
  return m_hObject == nullptr ? 0 : static_cast<UINT>(::GetObjectType(m_hObject));
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
  return AttachShared(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject() {
  return ::UnrealizeObject(m_hObject);
}
