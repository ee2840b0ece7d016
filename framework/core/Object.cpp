#include "framework/core/Object.h"

#include <cstring>

namespace {
// Constant-initialised, so classes registered from other translation units' static
// initialisers never see it unset.
CRuntimeClass* g_firstClass = nullptr;
}  // namespace

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass) {
    if (p == pBaseClass) return TRUE;
  }
  return FALSE;
}

const CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  for (const CRuntimeClass* p = g_firstClass; p; p = p->m_pNextClass) {
    if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0) return p;
  }
  if (std::strcmp(lpszClassName, "CObject") == 0) return &CObject::classCObject;
  return nullptr;
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
  pNewClass->m_pNextClass = g_firstClass;
  g_firstClass = pNewClass;
}

CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF,
                                       nullptr,   nullptr,         nullptr};

CRuntimeClass* CObject::GetRuntimeClass() const {
  return &CObject::classCObject;
}

void CObject::Serialize(CArchive&) {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const {
  return GetRuntimeClass()->m_wSchema != 0xFFFF;
}
