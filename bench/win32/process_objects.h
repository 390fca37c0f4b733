#pragma once
// What another process holds: its USER and GDI objects and its private bytes, as Windows counts
// them (GetGuiResources, GetProcessMemoryInfo). Wine 8 answers 0 to both questions, so under Wine
// the counts come from what it does keep: the process's windows (the USER objects a program makes
// the most of), the entries of its GDI handle table, and its commit charge (PagefileUsage, which
// Windows too gives as the private bytes).

#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <cstdint>
#include <vector>

namespace velmok::bench {

struct ProcessObjects {
  std::size_t user = 0;
  std::size_t gdi = 0;
  std::size_t privateBytes = 0;
  bool userAreWindows = false;   // counted as windows (Wine)
  bool gdiFromTable = false;     // counted in the GDI handle table (Wine)
};

namespace detail {

inline std::size_t WindowsOf(DWORD processId) {
  struct Count {
    DWORD processId;
    std::size_t windows = 0;
  } count{processId};
  EnumWindows(
      [](HWND top, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Count*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        if (owner != c->processId) return TRUE;
        ++c->windows;
        EnumChildWindows(
            top, [](HWND, LPARAM inner) -> BOOL { return ++*reinterpret_cast<std::size_t*>(inner), TRUE; },
            reinterpret_cast<LPARAM>(&c->windows));
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.windows;
}

// The used entries of the process's GDI handle table, which the PEB points at (under Wine the
// table is the process's own).
inline std::size_t GdiTableEntries(HANDLE process) {
  struct Entry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint32_t type;
    std::uint64_t user;
  };
  constexpr std::size_t kEntries = 65536;
  constexpr std::size_t kTableInPeb = 0xF8;  // PEB.GdiSharedHandleTable, 64-bit
  using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  static const auto query = reinterpret_cast<QueryProcess>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) < 0) return 0;
  void* table = nullptr;
  if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + kTableInPeb, &table, sizeof table,
                         nullptr) ||
      !table)
    return 0;
  std::vector<Entry> entries(kEntries);
  if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(Entry), nullptr)) return 0;
  std::size_t used = 0;
  for (const Entry& e : entries) used += e.type != 0 ? 1 : 0;
  return used;
}

}  // namespace detail

inline ProcessObjects ObjectsOf(HANDLE process) {
  ProcessObjects o;
  o.user = GetGuiResources(process, GR_USEROBJECTS);
  o.gdi = GetGuiResources(process, GR_GDIOBJECTS);
  if (o.user == 0) {
    o.user = detail::WindowsOf(GetProcessId(process));
    o.userAreWindows = true;
  }
  if (o.gdi == 0) {
    o.gdi = detail::GdiTableEntries(process);
    o.gdiFromTable = true;
  }
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
    o.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
  return o;
}

}  // namespace velmok::bench
