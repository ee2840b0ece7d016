// CObject, the root of the framework's classes, and CRuntimeClass, the record that lets an object
// tell its class, test its ancestry, be created by class name and be written to and read back
// from an archive.
#pragma once
#include <windows.h>

class CArchive;
class CObject;

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                     // 0xFFFF: not serialisable
  CObject* (*m_pfnCreateObject)();    // null: no dynamic creation
  const CRuntimeClass* m_pBaseClass;  // null only for CObject
  CRuntimeClass* m_pNextClass;        // chain of the classes known by name

  // A new object of the class, or null when the class cannot be created dynamically.
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
  // The registered class of that exact name, or null.
  static const CRuntimeClass* FromName(LPCSTR lpszClassName);
};

// Enters a class into the name chain; the IMPLEMENT_ macros make one static instance per class.
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

class CObject {
 public:
  static CRuntimeClass classCObject;

  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;
  virtual void Serialize(CArchive& ar);

  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const;

 protected:
  CObject() = default;
  // Copying is for derived classes that define it; a bare CObject is never copied or sliced.
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

// DECLARE_ in the class, IMPLEMENT_ in one source file (one that includes framework/files/Archive.h
// for IMPLEMENT_SERIAL, which defines the class's archive extraction operator).
#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)       \
 public:                                  \
  static CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) \
  DECLARE_DYNCREATE(class_name)    \
  friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                  \
  CRuntimeClass class_name::class##class_name = {                                                 \
      #class_name, sizeof(class_name), wSchema, pfnNew, RUNTIME_CLASS(base_class_name), nullptr}; \
  static AFX_CLASSINIT afxClassInit##class_name(&class_name::class##class_name);                  \
  CRuntimeClass* class_name::GetRuntimeClass() const {                                            \
    return RUNTIME_CLASS(class_name);                                                             \
  }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
  CObject* class_name::CreateObject() {                  \
    return new class_name;                               \
  }                                                      \
  AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                               \
  CObject* class_name::CreateObject() {                                                      \
    return new class_name;                                                                   \
  }                                                                                          \
  AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
  [[maybe_unused]] CArchive& operator>>(CArchive& ar, class_name*& pOb) {                    \
    pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));                \
    return ar;                                                                               \
  }
