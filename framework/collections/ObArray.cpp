#include "framework/collections/ObArray.h"

#include "framework/files/Archive.h"

void CObArray::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(GetSize()));
    for (INT_PTR i = 0; i < GetSize(); ++i) ar << GetAt(i);
  } else {
    for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) Add(ar.ReadObject(nullptr));
  }
}
