#include "framework/collections/ObList.h"

#include "framework/files/Archive.h"

void CObList::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(GetCount()));
    for (POSITION pos = GetHeadPosition(); pos;) ar << GetNext(pos);
  } else {
    for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) AddTail(ar.ReadObject(nullptr));
  }
}
