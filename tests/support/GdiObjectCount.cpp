#include "support/GdiObjectCount.h"

#include <windows.h>

#include <winternl.h>

#include <array>
#include <cstdint>

namespace {

// One entry of the handle table (64-bit layout): the handle of entry i is
// i with the entry's unique word in its upper half.
struct THandleEntry {
  std::uint64_t kernelObject;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t userPointer;
};
static_assert(sizeof(THandleEntry) == 24);

constexpr int kTableEntries = 0x10000;
constexpr std::size_t kTableOffset = 0xF8; // GdiSharedHandleTable in the 64-bit PEB

const THandleEntry* HandleTable() {
  using TQuery = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<TQuery>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
      !basic.PebBaseAddress)
    return nullptr;
  const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
  return *reinterpret_cast<const THandleEntry* const*>(peb + kTableOffset);
}

// Live objects by GetObjectType's answer (1 to 14); false without a table.
bool CountByKind(std::array<int, 15>& kinds) {
  kinds.fill(0);
  const THandleEntry* table = HandleTable();
  if (!table) return false;
  for (int i = 0; i < kTableEntries; ++i) {
    if (table[i].type == 0) continue;
    auto* handle = reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(i | (std::uint32_t{table[i].unique} << 16)));
    const DWORD kind = GetObjectType(handle);
    if (kind > 0 && kind < kinds.size()) ++kinds[kind];
  }
  return true;
}

} // namespace

int ProcessGdiObjects() {
  std::array<int, 15> kinds{};
  if (!CountByKind(kinds)) return -1;
  int total = 0;
  for (int n : kinds) total += n;
  return total;
}

std::string ProcessGdiObjectKinds() {
  static const char* const names[] = {"",       "pen",         "brush",    "dc",   "metadc", "palette", "font", "bitmap",
                                      "region", "metafile",    "memdc",    "extpen", "enhmetadc", "enhmetafile",
                                      "colorspace"};
  std::array<int, 15> kinds{};
  if (!CountByKind(kinds)) return "no handle table";
  std::string text;
  for (std::size_t k = 1; k < kinds.size(); ++k) {
    if (!kinds[k]) continue;
    if (!text.empty()) text += ", ";
    text += std::string(names[k]) + " " + std::to_string(kinds[k]);
  }
  return text;
}
