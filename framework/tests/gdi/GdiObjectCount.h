// The number of GDI objects the process holds. Windows answers GetGuiResources; Wine does not
// implement it (it returns 0), so there the used slots of the process's GDI handle table are
// counted instead: the table the process environment block points to, 24-byte entries whose
// type byte is zero when the slot is free. Wine keeps one table per process.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <cstddef>

inline long GdiObjectCount() {
  DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (n != 0) return static_cast<long>(n);
  constexpr size_t kTableOffset = 0xF8;  // in the 64-bit process environment block
  constexpr size_t kEntrySize = 24, kTypeByte = 14, kEntries = 65536;
  using QueryFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (query == nullptr ||
      query(GetCurrentProcess(), ProcessBasicInformation, &info, sizeof info, nullptr) != 0)
    return -1;
  auto* peb = reinterpret_cast<const unsigned char*>(info.PebBaseAddress);
  auto* table = *reinterpret_cast<const unsigned char* const*>(peb + kTableOffset);
  if (table == nullptr) return -1;
  long used = 0;
  for (size_t i = 0; i < kEntries; ++i) used += table[i * kEntrySize + kTypeByte] != 0;
  return used;
}
